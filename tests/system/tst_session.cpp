#include "DesktopClock.h"
#include "KivTest.h"
#include "settings/Registry.h"
#include "settings/RegistryKeys.h"

#include <QRegularExpression>

#include <signal.h>

using test::windowsCaptioned;

// The clock through a desktop session: what ends it from outside, and which names start it at all.
class TestSession final : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void terminationSavesWhatChangedOnTheClock_data();
    void terminationSavesWhatChangedOnTheClock();
    void changeOnTheClockOutlivesAKill();
    void nameInAnotherCaseRaisesTheRunningClock();
    void badNameIsRefusedBeforeAnythingIsWritten_data();
    void badNameIsRefusedBeforeAnythingIsWritten();
    void helpAndVersionStartNoClock();

private:
    std::unique_ptr<QProcess> start(const QString& name);
    QString waitForClock(const QString& name);
    void pressKey(const QString& window, const QString& key);
    RegistryValue stored(const QString& value) const
    {
        return Registry(m_home->registryPath()).ReadRegistryValue(clockKeyPath(QStringLiteral("Default")), value);
    }

    std::unique_ptr<test::ClockHome> m_home;
    std::vector<std::unique_ptr<QProcess>> m_clocks;
};

void TestSession::init()
{
    m_home = std::make_unique<test::ClockHome>();
}

void TestSession::cleanup()
{
    for (auto& clock : m_clocks)
        test::stop(*clock);
    m_clocks.clear();
}

std::unique_ptr<QProcess> TestSession::start(const QString& name)
{
    auto clock = std::make_unique<QProcess>();
    m_home->start(*clock, name);
    return clock;
}

QString TestSession::waitForClock(const QString& name)
{
    return test::waitForWindow(QStringLiteral("^Kiv Clock \\{") + QRegularExpression::escape(name) +
                               QStringLiteral("\\}$"));
}

void TestSession::pressKey(const QString& window, const QString& key)
{
    test::xdotool({QStringLiteral("windowactivate"), QStringLiteral("--sync"), window, QStringLiteral("key"), key});
}

void TestSession::terminationSavesWhatChangedOnTheClock_data()
{
    QTest::addColumn<int>("signal");
    QTest::newRow("the session ends (SIGTERM)") << SIGTERM;
    QTest::newRow("the terminal closes (SIGHUP)") << SIGHUP;
    QTest::newRow("Ctrl+C (SIGINT)") << SIGINT;
}

void TestSession::terminationSavesWhatChangedOnTheClock()
{
    QFETCH(int, signal);
    auto& clock = m_clocks.emplace_back(start(QStringLiteral("Default")));
    const QString window = waitForClock(QStringLiteral("Default"));
    QVERIFY(!window.isEmpty());
    pressKey(window, QStringLiteral("Next")); // Page Down: the dial scale goes
    ::kill(pid_t(clock->processId()), signal);
    QVERIFY(clock->waitForFinished(10000));
    QCOMPARE(clock->exitStatus(), QProcess::NormalExit);
    QCOMPARE(clock->exitCode(), 0);
    QCOMPARE(stored(QStringLiteral("DisplayScale")), RegistryValue(1));
}

void TestSession::changeOnTheClockOutlivesAKill()
{
    auto& clock = m_clocks.emplace_back(start(QStringLiteral("Default")));
    const QString window = waitForClock(QStringLiteral("Default"));
    QVERIFY(!window.isEmpty());
    pressKey(window, QStringLiteral("Escape")); // always on top
    QTRY_COMPARE_WITH_TIMEOUT(stored(QStringLiteral("AlwaysOnTop")), RegistryValue(1), 5000);
    clock->kill();
    QVERIFY(clock->waitForFinished(10000));
    QCOMPARE(stored(QStringLiteral("AlwaysOnTop")), RegistryValue(1));
}

void TestSession::nameInAnotherCaseRaisesTheRunningClock()
{
    m_clocks.emplace_back(start(QStringLiteral("Default")));
    QVERIFY(!waitForClock(QStringLiteral("Default")).isEmpty());
    auto& second = m_clocks.emplace_back(start(QStringLiteral("default")));
    QVERIFY(second->waitForFinished(20000));
    QCOMPARE(second->exitCode(), 0);
    QCOMPARE(windowsCaptioned(QStringLiteral("^Kiv Clock \\{[Dd]efault\\}$")).size(), 1);
}

void TestSession::badNameIsRefusedBeforeAnythingIsWritten_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("a line break") << QStringLiteral("a\nb");
    QTest::newRow("a path out of the data folder") << QStringLiteral("../x");
    QTest::newRow("braces of the clock list") << QStringLiteral("{x}");
    QTest::newRow("the key of the clock list") << QStringLiteral("system");
}

void TestSession::badNameIsRefusedBeforeAnythingIsWritten()
{
    QFETCH(QString, name);
    auto& clock = m_clocks.emplace_back(start(name));
    QStringList box;
    QTRY_VERIFY_WITH_TIMEOUT(!(box = windowsCaptioned(QStringLiteral("^Kiv Clock 错误$"))).isEmpty(), 20000);
    pressKey(box.first(), QStringLiteral("Return"));
    QVERIFY(clock->waitForFinished(10000));
    QCOMPARE(clock->exitCode(), 2);
    QVERIFY(QString::fromUtf8(clock->readAllStandardError()).contains(QStringLiteral("无法启动时钟")));
    QVERIFY(!QFile::exists(m_home->filePath(QStringLiteral("config"))));
    QVERIFY(!QFile::exists(m_home->filePath(QStringLiteral("data"))));
}

void TestSession::helpAndVersionStartNoClock()
{
    for (const QString& word : {QStringLiteral("--help"), QStringLiteral("-h"), QStringLiteral("--version")}) {
        auto& clock = m_clocks.emplace_back(start(word));
        QVERIFY(clock->waitForFinished(10000));
        QCOMPARE(clock->exitCode(), 0);
        QVERIFY(clock->readAllStandardOutput().contains(word == u"--version" ? "Kiv Clock 1." : "kivclock"));
    }
    QVERIFY(!QFile::exists(m_home->filePath(QStringLiteral("config"))));
}

QTEST_MAIN(TestSession)
#include "tst_session.moc"
