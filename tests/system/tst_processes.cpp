#include "alarms/AlarmFile.h"
#include "core/TextUtils.h"
#include "platform/linux/InstanceChannel.h"
#include "settings/ClockList.h"
#include "settings/Registry.h"
#include "settings/RegistryKeys.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

using namespace kiv;

namespace {

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Starts the helper and waits until it prints `ready` on its first line.
std::unique_ptr<QProcess> startHelper(const QStringList& args, const QByteArray& ready)
{
    auto process = std::make_unique<QProcess>();
    process->setProgram(QStringLiteral(KIV_STORE_HELPER));
    process->setArguments(args);
    process->start();
    if (!process->waitForStarted(5000))
        return nullptr;
    if (!ready.isEmpty()) {
        while (!process->canReadLine() && process->waitForReadyRead(10000)) {
        }
        if (!process->readLine().startsWith(ready))
            return nullptr;
    }
    return process;
}

void stop(QProcess& process)
{
    if (process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished(5000);
    }
}

} // namespace

class TestProcesses final : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void channelFindsRaisesAndClosesAnotherProcess_data();
    void channelFindsRaisesAndClosesAnotherProcess();
    void secondServerForTheSameClockIsRefused();
    void staleSocketOfAKilledClockIsReplaced();
    void twoProcessesAddingClocksLoseNothing();
    void killDuringSettingsSavesLeavesOldOrNewFile();
    void killDuringAlarmSavesLeavesOldOrNewFile();

private:
    QString runtime() const { return m_dir->filePath(QStringLiteral("runtime")); }
    QString marker() const { return m_dir->filePath(QStringLiteral("marker")); }
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestProcesses::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
}

void TestProcesses::channelFindsRaisesAndClosesAnotherProcess_data()
{
    QTest::addColumn<QString>("runtimeFolder");
    QTest::newRow("runtime folder") << QStringLiteral("runtime");
    // Deeper than a socket address can hold (a build tree's test folders can be).
    QTest::newRow("deep runtime folder") << QStringLiteral("runtime/") + QString(110, u'd');
}

void TestProcesses::channelFindsRaisesAndClosesAnotherProcess()
{
    QFETCH(QString, runtimeFolder);
    const QString folder = m_dir->filePath(runtimeFolder);
    const QString socket = InstanceChannel::socketPath(QStringLiteral("New York"), folder);
    QVERIFY(QFile::encodeName(socket).size() <= 107);
    QVERIFY(socket != InstanceChannel::socketPath(QStringLiteral("New York"), folder + u'e'));
    auto clock = startHelper({QStringLiteral("serve"), folder, QStringLiteral("New York"), marker()}, "listening");
    QVERIFY(clock);
    QCOMPARE(QFileInfo(QFileInfo(socket).absolutePath()).permissions() & 0x0077, QFileDevice::Permissions());
    LocalSocketInstances instances(folder);
    QVERIFY(instances.find(QStringLiteral("New York"), false));
    QVERIFY(instances.find(QStringLiteral("new york"), false)); // one clock, whatever the case
    QVERIFY(!instances.find(QStringLiteral("Tokyo"), false));
    QCOMPARE(readFile(marker()), QByteArray());
    QVERIFY(instances.find(QStringLiteral("New York"), true));
    QCOMPARE(readFile(marker()), QByteArray("raise\n"));
    // The close request returns once the clock has run its exit; then the process ends.
    QVERIFY(instances.close(QStringLiteral("New York")));
    QCOMPARE(readFile(marker()), QByteArray("raise\nclose\n"));
    QVERIFY(clock->waitForFinished(5000));
    QCOMPARE(clock->exitCode(), 0);
    QVERIFY(!instances.find(QStringLiteral("New York"), false));
    QVERIFY(!instances.close(QStringLiteral("New York")));
}

void TestProcesses::secondServerForTheSameClockIsRefused()
{
    auto first = startHelper({QStringLiteral("serve"), runtime(), QStringLiteral("Default"), marker()}, "listening");
    QVERIFY(first);
    auto second = startHelper({QStringLiteral("serve"), runtime(), QStringLiteral("Default"), marker()}, "refused");
    QVERIFY(second);
    QVERIFY(second->waitForFinished(5000));
    QCOMPARE(second->exitCode(), 3);
    QVERIFY(LocalSocketInstances(runtime()).find(QStringLiteral("Default"), false));
    stop(*first);
}

void TestProcesses::staleSocketOfAKilledClockIsReplaced()
{
    auto killed = startHelper({QStringLiteral("serve"), runtime(), QStringLiteral("Default"), marker()}, "listening");
    QVERIFY(killed);
    stop(*killed);
    QVERIFY(QFile::exists(InstanceChannel::socketPath(QStringLiteral("Default"), runtime())));
    LocalSocketInstances instances(runtime());
    QVERIFY(!instances.find(QStringLiteral("Default"), false));
    auto restarted =
        startHelper({QStringLiteral("serve"), runtime(), QStringLiteral("Default"), marker()}, "listening");
    QVERIFY(restarted);
    QVERIFY(instances.find(QStringLiteral("Default"), false));
    QVERIFY(instances.close(QStringLiteral("Default")));
    QVERIFY(restarted->waitForFinished(5000));
}

void TestProcesses::twoProcessesAddingClocksLoseNothing()
{
    const QString registryPath = m_dir->filePath(QStringLiteral("registry.reg"));
    auto first = startHelper({QStringLiteral("add"), registryPath, QStringLiteral("P"), QStringLiteral("40")}, {});
    auto second = startHelper({QStringLiteral("add"), registryPath, QStringLiteral("Q"), QStringLiteral("40")}, {});
    QVERIFY(first && second);
    QVERIFY(first->waitForFinished(60000));
    QVERIFY(second->waitForFinished(60000));
    QCOMPARE(first->exitCode(), 0);
    QCOMPARE(second->exitCode(), 0);
    Registry registry(registryPath);
    const QStringList names =
        ParseClockNames(CleanString(registry.ReadRegistryValue(SystemKey, QStringLiteral("Clocks")).toString()));
    QCOMPARE(names.size(), 80);
    for (int i = 0; i < 40; ++i) {
        for (const QString& prefix : {QStringLiteral("P-"), QStringLiteral("Q-")}) {
            const QString name = prefix + QString::number(i);
            QVERIFY2(names.contains(name), qPrintable(name));
            QCOMPARE(registry.ReadRegistryValue(clockKeyPath(name), QStringLiteral("TimeZoneIndex")),
                     RegistryValue(i % 97));
        }
    }
}

void TestProcesses::killDuringSettingsSavesLeavesOldOrNewFile()
{
    const QString registryPath = m_dir->filePath(QStringLiteral("registry.reg"));
    const QString key = clockKeyPath(QStringLiteral("Default"));
    for (int round = 0; round < 10; ++round) {
        auto saver = startHelper({QStringLiteral("save-settings"), registryPath}, "saving");
        QVERIFY(saver);
        QTest::qWait(QRandomGenerator::global()->bounded(20, 150));
        stop(*saver);

        RegistryDocument::ParseResult parsed = RegistryDocument::parse(readFile(registryPath));
        QCOMPARE(parsed.unreadableLines, 0);
        const RegistryKey* stored = parsed.document.findKey(key);
        QVERIFY(stored);
        QCOMPARE(stored->values.size(), 23);
        const RegistryValue radius =
            RegistryEditor(parsed.document).ReadRegistryValue(key, QStringLiteral("ClockRadius"));
        QVERIFY(radius == RegistryValue(60) || radius == RegistryValue(100));
    }
}

void TestProcesses::killDuringAlarmSavesLeavesOldOrNewFile()
{
    const QString alarmPath = m_dir->filePath(QStringLiteral("Default.cfg"));
    for (int round = 0; round < 10; ++round) {
        auto saver = startHelper({QStringLiteral("save-alarms"), alarmPath}, "saving");
        QVERIFY(saver);
        QTest::qWait(QRandomGenerator::global()->bounded(20, 150));
        stop(*saver);

        const qint64 size = QFileInfo(alarmPath).size();
        QVERIFY2(size == 5 * AlarmRecordSize || size == 7 * AlarmRecordSize, qPrintable(QString::number(size)));
        const AlarmFileContents alarms = parseAlarmFile(readFile(alarmPath));
        QCOMPARE(CleanString(alarms.records.last().Text), QStringLiteral("提醒 %1").arg(alarms.records.size() - 1));
    }
}

QTEST_GUILESS_MAIN(TestProcesses)
#include "tst_processes.moc"
