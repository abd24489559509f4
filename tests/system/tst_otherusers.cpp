#include "FakePlatform.h"
#include "alarms/AlarmFile.h"
#include "core/AppPaths.h"
#include "platform/linux/InstanceChannel.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

using namespace kiv;

namespace {

// A user id that no file of the test belongs to; setpriv runs a command as it without an account.
constexpr int kOtherUser = 4242;

QStringList asOtherUser(const QStringList& command)
{
    const QString id = QString::number(kOtherUser);
    return QStringList{QStringLiteral("--reuid=") + id, QStringLiteral("--regid=") + id, QStringLiteral("--clear-groups")} +
           command;
}

int runAsOtherUser(const QStringList& command)
{
    QProcess process;
    process.start(QStringLiteral("setpriv"), asOtherUser(command));
    process.waitForFinished(10000);
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

// A server that answers "ok" to every request, as a clock would, planted by another user.
const char* const kImpostor = R"(
import socket, sys
server = socket.socket(socket.AF_UNIX)
server.bind(sys.argv[1])
server.listen(8)
open(sys.argv[2], "w").close()
while True:
    client, _ = server.accept()
    client.recv(64)
    client.sendall(b"ok\n")
    client.close()
)";

} // namespace

// What another local user can do to this user's clocks: nothing. Runs as root, acting as another user id.
class TestOtherUsers final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void alarmFilesAreForThisUserAlone();
    void fallbackFolderMadeByAnotherUserIsRefused();
    void socketPlantedByAnotherUserIsNotBelieved();
};

void TestOtherUsers::initTestCase()
{
    if (::getuid() != 0)
        QSKIP("acting as another user needs root");
}

void TestOtherUsers::alarmFilesAreForThisUserAlone()
{
    // Even where every folder above can be entered by others, the data folder and the file are closed.
    QTemporaryDir home;
    QFile::setPermissions(home.path(), QFileDevice::Permissions(0x7555));
    const AppPaths paths = InitPaths(QStringLiteral("Tokyo"), QStringLiteral("/usr/bin"), home.path());
    AlarmTable table;
    AlarmRecord record;
    record.Text = QStringLiteral("私人的提醒").leftJustified(255, u' ');
    table.append(record);
    test::RecordingMessages messages;
    QVERIFY(SaveAlarms(paths.AlarmFilePath, table, messages));
    QCOMPARE(QFileInfo(paths.AlarmFilePath).permissions() & 0x0077, QFileDevice::Permissions());
    QCOMPARE(QFileInfo(paths.DataFolder).permissions() & 0x0077, QFileDevice::Permissions());
    QCOMPARE(QFileInfo(paths.MakerFolder).permissions() & 0x0077, QFileDevice::Permissions());
    QVERIFY(runAsOtherUser({QStringLiteral("cat"), paths.AlarmFilePath}) != 0);
}

void TestOtherUsers::fallbackFolderMadeByAnotherUserIsRefused()
{
    // Without a runtime folder the sockets go under the temporary folder, where another user may have
    // made the folders first, open to all.
    QTemporaryDir temp;
    QFile::setPermissions(temp.path(), QFileDevice::Permissions(0x7777));
    const QByteArray oldTemp = qgetenv("TMPDIR");
    const QByteArray oldRuntime = qgetenv("XDG_RUNTIME_DIR");
    qputenv("TMPDIR", temp.path().toLocal8Bit());
    qunsetenv("XDG_RUNTIME_DIR");
    for (const QString& name : {QStringLiteral("runtime-root"), QStringLiteral("kivclock-0")})
        QCOMPARE(runAsOtherUser({QStringLiteral("mkdir"), QStringLiteral("-m"), QStringLiteral("777"),
                                 temp.filePath(name)}),
                 0);
    InstanceServer server;
    const bool listening = server.listen(QStringLiteral("Tokyo"));
    qputenv("TMPDIR", oldTemp);
    qputenv("XDG_RUNTIME_DIR", oldRuntime);
    QVERIFY(!listening);
    QVERIFY(!server.otherIsRunning());
}

void TestOtherUsers::socketPlantedByAnotherUserIsNotBelieved()
{
    QTemporaryDir runtime;
    QFile::setPermissions(runtime.path(), QFileDevice::Permissions(0x7555));
    const QString folder = runtime.filePath(QStringLiteral("kivclock"));
    QVERIFY(QDir().mkdir(folder));
    QFile::setPermissions(folder, QFileDevice::Permissions(0x7777));
    const QString socket = InstanceChannel::socketPath(QStringLiteral("Tokyo"), folder);
    const QString ready = folder + QStringLiteral("/impostor-ready");
    QProcess impostor;
    impostor.start(QStringLiteral("setpriv"), asOtherUser({QStringLiteral("/usr/bin/python3"), QStringLiteral("-c"),
                                                           QString::fromUtf8(kImpostor), socket, ready}));
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(ready), 10000);

    LocalSocketInstances instances(folder);
    QVERIFY(!instances.find(QStringLiteral("Tokyo"), true));
    QVERIFY(!instances.close(QStringLiteral("Tokyo")));
    // So `kivclock Tokyo` starts: its own server takes the name.
    InstanceServer server(folder);
    QVERIFY2(server.listen(QStringLiteral("Tokyo")), qPrintable(server.errorString()));

    impostor.kill();
    impostor.waitForFinished(5000);
}

QTEST_MAIN(TestOtherUsers)
#include "tst_otherusers.moc"
