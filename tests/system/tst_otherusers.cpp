#include "AlarmRecords.h"
#include "FakePlatform.h"
#include "KivTest.h"
#include "alarms/AlarmFile.h"
#include "core/AppPaths.h"
#include "platform/linux/InstanceChannel.h"

#include <unistd.h>

namespace {

// A user id that no file of the test belongs to; setpriv runs a command as it without an account.
constexpr int kOtherUser = 4242;

QStringList asOtherUser(const QStringList& command)
{
    const QString id = QString::number(kOtherUser);
    return QStringList{u"--reuid="_s + id, u"--regid="_s + id, u"--clear-groups"_s} + command;
}

int runAsOtherUser(const QStringList& command)
{
    QProcess process;
    process.start(u"setpriv"_s, asOtherUser(command));
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
    void initTestCase()
    {
        if (::getuid() != 0)
            QSKIP("acting as another user needs root");
    }

    void alarmFilesAreForThisUserAlone()
    {
        // Even where every folder above can be entered by others, the data folder and the file are closed.
        QTemporaryDir home;
        QFile::setPermissions(home.path(), QFileDevice::Permissions(0x7555));
        const AppPaths paths = InitPaths(u"Tokyo"_s, u"/usr/bin"_s, home.path());
        AlarmTable table;
        table.append(test::alarmAt(7, 0, ActionTip, u"私人的提醒"_s));
        test::RecordingMessages messages;
        QVERIFY(SaveAlarms(paths.AlarmFilePath, table, messages));
        for (const QString& path : {paths.AlarmFilePath, paths.DataFolder, paths.MakerFolder})
            QVERIFY2((QFileInfo(path).permissions() & 0x0077) == QFileDevice::Permissions(), qPrintable(path));
        QVERIFY(runAsOtherUser({u"cat"_s, paths.AlarmFilePath}) != 0);
    }

    void fallbackFolderMadeByAnotherUserIsRefused()
    {
        // Without a runtime folder the sockets go under the temporary folder, where another user may have
        // made the folders first, open to all.
        QTemporaryDir temp;
        QFile::setPermissions(temp.path(), QFileDevice::Permissions(0x7777));
        const QByteArray oldTemp = qgetenv("TMPDIR");
        const QByteArray oldRuntime = qgetenv("XDG_RUNTIME_DIR");
        qputenv("TMPDIR", temp.path().toLocal8Bit());
        qunsetenv("XDG_RUNTIME_DIR");
        for (const QString& name : {u"runtime-root"_s, u"kivclock-0"_s})
            QCOMPARE(runAsOtherUser({u"mkdir"_s, u"-m"_s, u"777"_s, temp.filePath(name)}), 0);
        InstanceServer server;
        const bool listening = server.listen(u"Tokyo"_s);
        qputenv("TMPDIR", oldTemp);
        qputenv("XDG_RUNTIME_DIR", oldRuntime);
        QVERIFY(!listening);
        QVERIFY(!server.otherIsRunning());
    }

    void socketPlantedByAnotherUserIsNotBelieved()
    {
        QTemporaryDir runtime;
        QFile::setPermissions(runtime.path(), QFileDevice::Permissions(0x7555));
        const QString folder = runtime.filePath(u"kivclock"_s);
        QVERIFY(QDir().mkdir(folder));
        QFile::setPermissions(folder, QFileDevice::Permissions(0x7777));
        const QString socket = InstanceChannel::socketPath(u"Tokyo"_s, folder);
        const QString ready = folder + u"/impostor-ready"_s;
        QProcess impostor;
        impostor.start(u"setpriv"_s,
                       asOtherUser({u"/usr/bin/python3"_s, u"-c"_s, QString::fromUtf8(kImpostor), socket, ready}));
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(ready), 10000);

        LocalSocketInstances instances(folder);
        QVERIFY(!instances.find(u"Tokyo"_s, true));
        QVERIFY(!instances.close(u"Tokyo"_s));
        // So `kivclock Tokyo` starts: its own server takes the name.
        InstanceServer server(folder);
        QVERIFY2(server.listen(u"Tokyo"_s), qPrintable(server.errorString()));

        test::stop(impostor);
    }
};

QTEST_MAIN(TestOtherUsers)
#include "tst_otherusers.moc"
