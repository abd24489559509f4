#include "KivTest.h"
#include "alarms/AlarmFile.h"
#include "core/TextUtils.h"
#include "platform/linux/InstanceChannel.h"
#include "settings/ClockList.h"
#include "settings/Registry.h"
#include "settings/RegistryKeys.h"

#include <QRandomGenerator>

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using test::readFile;
using test::stop;

namespace {

// Starts the helper and waits until it prints `ready` on its first line.
std::unique_ptr<QProcess> startHelper(const QStringList& args, const QByteArray& ready)
{
    auto process = std::make_unique<QProcess>();
    process->start(QStringLiteral(KIV_STORE_HELPER), args);
    const bool started = process->waitForStarted(5000);
    while (started && !ready.isEmpty() && !process->canReadLine() && process->waitForReadyRead(10000)) {
    }
    return started && (ready.isEmpty() || process->readLine().startsWith(ready)) ? std::move(process) : nullptr;
}

// A new connection to the socket at `path` (a descriptor, to be closed).
int connectTo(const QString& path)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray name = QFile::encodeName(path);
    std::memcpy(address.sun_path, name.constData(), size_t(name.size()));
    const int socket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    ::connect(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    return socket;
}

// Sends `pieces` one after another over a new connection to the socket at `path`, then ends its side, and
// returns all the server sends back and "|closed" once the server closes the connection (nothing more when
// it keeps it open for five seconds).
QByteArray exchange(const QString& path, const QList<QByteArray>& pieces)
{
    const int socket = connectTo(path);
    for (const QByteArray& piece : pieces)
        ::send(socket, piece.constData(), size_t(piece.size()), MSG_NOSIGNAL);
    ::shutdown(socket, SHUT_WR);
    pollfd ready{socket, POLLIN, 0};
    char buffer[256];
    QByteArray received;
    ssize_t read = 1;
    while (read > 0 && ::poll(&ready, 1, 5000) > 0 && (read = ::recv(socket, buffer, sizeof buffer, 0)) > 0)
        received.append(buffer, read);
    if (read == 0 || (read < 0 && errno == ECONNRESET)) // reset: closed with what it did not read
        received += "|closed";
    ::close(socket);
    return received;
}

} // namespace

// Clocks as separate processes: the instance channel between them, clocks added at the same time, and
// saves cut short by a kill.
class TestProcesses final : public QObject
{
    Q_OBJECT

    QString runtime() const { return m_dir->filePath(u"runtime"_s); }
    QString marker() const { return m_dir->filePath(u"marker"_s); }
    // A clock's side of the instance channel in a process of its own.
    std::unique_ptr<QProcess> serve(const QString& folder, const QString& name, const QByteArray& ready = "listening")
    {
        return startHelper({u"serve"_s, folder, name, marker()}, ready);
    }
    std::unique_ptr<QTemporaryDir> m_dir;

private slots:
    void init() { m_dir = std::make_unique<QTemporaryDir>(); }

    void channelFindsRaisesAndClosesAnotherProcess()
    {
        // A runtime folder, one deeper than a socket address can hold (a build tree's test folders can be), and one
        // whose socket address would just fit but not within the shorter limit every clock keeps to.
        const qsizetype justFits = 107 - 30 - m_dir->filePath(u"runtime/"_s).size();
        for (const QString& runtimeFolder :
             QStringList{u"runtime"_s, u"runtime/"_s + QString(110, u'd'), u"runtime/"_s + QString(justFits, u'f')}) {
            QFile::remove(marker());
            const QString folder = m_dir->filePath(runtimeFolder);
            const QString socket = InstanceChannel::socketPath(u"New York"_s, folder);
            QVERIFY(QFile::encodeName(socket).size() <= 106);
            QVERIFY(socket != InstanceChannel::socketPath(u"New York"_s, folder + u'e'));
            auto clock = serve(folder, u"New York"_s);
            QVERIFY(clock);
            QCOMPARE(QFileInfo(QFileInfo(socket).absolutePath()).permissions() & 0x0077, QFileDevice::Permissions());
            LocalSocketInstances instances(folder);
            QVERIFY(instances.find(u"New York"_s, false));
            QVERIFY(instances.find(u"new york"_s, false)); // one clock, whatever the case
            QVERIFY(!instances.find(u"Tokyo"_s, false));
            QCOMPARE(readFile(marker()), QByteArray());
            QVERIFY(instances.find(u"New York"_s, true));
            QCOMPARE(readFile(marker()), QByteArray("raise\n"));
            // The close request returns once the clock has run its exit; then the process ends.
            QVERIFY(instances.close(u"New York"_s));
            QCOMPARE(readFile(marker()), QByteArray("raise\nclose\n"));
            QVERIFY(clock->waitForFinished(5000) && clock->exitCode() == 0);
            QVERIFY(!instances.find(u"New York"_s, false) && !instances.close(u"New York"_s));
        }
    }

    void secondServerIsRefusedAndAKilledClocksSocketReplaced()
    {
        auto first = serve(runtime(), u"Default"_s);
        QVERIFY(first);
        auto second = serve(runtime(), u"Default"_s, "refused");
        QVERIFY(second && second->waitForFinished(5000));
        QCOMPARE(second->exitCode(), 3);
        QVERIFY(LocalSocketInstances(runtime()).find(u"Default"_s, false));
        stop(*first);
        // A clock killed leaves its socket behind, which answers nobody; the next clock of the name replaces it.
        auto killed = serve(runtime(), u"Default"_s);
        QVERIFY(killed);
        stop(*killed);
        QVERIFY(QFile::exists(InstanceChannel::socketPath(u"Default"_s, runtime())));
        LocalSocketInstances instances(runtime());
        QVERIFY(!instances.find(u"Default"_s, false));
        auto restarted = serve(runtime(), u"Default"_s);
        QVERIFY(restarted && instances.find(u"Default"_s, false));
        QVERIFY(instances.close(u"Default"_s) && restarted->waitForFinished(5000));
    }

    void requestsOtherThanTheThreeWordsAreAnsweredOrDropped()
    {
        auto clock = serve(runtime(), u"Default"_s);
        QVERIFY(clock);
        const QString socket = InstanceChannel::socketPath(u"Default"_s, runtime());
        QCOMPARE(exchange(socket, {"pi", "ng\n"}), QByteArray("ok\n|closed"));
        QCOMPARE(exchange(socket, {"shutdown\n"}), QByteArray("unknown\n|closed"));
        QCOMPARE(exchange(socket, {QByteArray(300, 'x')}), QByteArray("|closed")); // no end of line: dropped
        QCOMPARE(exchange(socket, {}), QByteArray("|closed"));                     // nothing asked, nothing answered
        // Sixteen clients that connect and say nothing are all the clock keeps: one more is turned away, and
        // the clock answers again once they go.
        QList<int> silent;
        for (int i = 0; i < 16; ++i)
            silent << connectTo(socket);
        QTRY_COMPARE(exchange(socket, {"ping\n"}), QByteArray("|closed"));
        for (const int client : std::as_const(silent))
            ::close(client);
        QTRY_COMPARE(exchange(socket, {"ping\n"}), QByteArray("ok\n|closed"));
        QVERIFY(LocalSocketInstances(runtime()).find(u"Default"_s, false));
        QCOMPARE(readFile(marker()), QByteArray());
        QVERIFY(LocalSocketInstances(runtime()).close(u"Default"_s) && clock->waitForFinished(5000));
        QVERIFY(!QFile::exists(socket)); // the clock takes its socket with it
    }

    void twoProcessesAddingClocksLoseNothing()
    {
        const QString registryPath = m_dir->filePath(u"registry.reg"_s);
        auto first = startHelper({u"add"_s, registryPath, u"P"_s, u"40"_s}, {});
        auto second = startHelper({u"add"_s, registryPath, u"Q"_s, u"40"_s}, {});
        QVERIFY(first && second && first->waitForFinished(60000) && second->waitForFinished(60000));
        QCOMPARE(std::pair(first->exitCode(), second->exitCode()), std::pair(0, 0));
        Registry registry(registryPath);
        const QStringList names =
            ParseClockNames(CleanString(registry.ReadRegistryValue(SystemKey, u"Clocks"_s).toString()));
        QCOMPARE(names.size(), 80);
        for (int i = 0; i < 40; ++i) {
            for (const QString& prefix : {u"P-"_s, u"Q-"_s}) {
                const QString name = prefix + QString::number(i);
                QVERIFY2(names.contains(name), qPrintable(name));
                QCOMPARE(registry.ReadRegistryValue(clockKeyPath(name), u"TimeZoneIndex"_s), RegistryValue(i % 97));
            }
        }
    }

    // The helper saves two different records in turn until it is killed at a random moment; the file then
    // holds one of them, whole.
    void killDuringSavesLeavesTheOldOrTheNewFile()
    {
        for (const bool alarms : {false, true}) {
            const QString file = m_dir->filePath(alarms ? u"Default.cfg"_s : u"registry.reg"_s);
            for (int round = 0; round < 10; ++round) {
                auto saver = startHelper({alarms ? u"save-alarms"_s : u"save-settings"_s, file}, "saving");
                QVERIFY(saver);
                QTest::qWait(QRandomGenerator::global()->bounded(20, 150));
                stop(*saver);
                if (alarms) {
                    const qint64 size = QFileInfo(file).size();
                    QVERIFY2(size == 5 * AlarmRecordSize || size == 7 * AlarmRecordSize,
                             qPrintable(QString::number(size)));
                    const AlarmFileContents saved = parseAlarmFile(readFile(file));
                    QCOMPARE(CleanString(saved.records.last().Text), u"提醒 %1"_s.arg(saved.records.size() - 1));
                    continue;
                }
                RegistryDocument::ParseResult parsed = RegistryDocument::parse(readFile(file));
                const QString key = clockKeyPath(u"Default"_s);
                QVERIFY(parsed.unreadableLines == 0 && parsed.document.findKey(key));
                QCOMPARE(parsed.document.findKey(key)->values.size(), 23);
                const RegistryValue radius = RegistryEditor(parsed.document).ReadRegistryValue(key, u"ClockRadius"_s);
                QVERIFY(radius == RegistryValue(60) || radius == RegistryValue(100));
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestProcesses)
#include "tst_processes.moc"
