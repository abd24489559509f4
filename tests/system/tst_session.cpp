#include "DesktopClock.h"
#include "KivTest.h"
#include "platform/linux/InstanceChannel.h"

#include <QRegularExpression>

#include <signal.h>

using test::windowsCaptioned;

// The clock through a desktop session: what ends it from outside, and which names start it at all.
class TestSession final : public QObject
{
    Q_OBJECT

    std::unique_ptr<test::ClockHome> m_home;
    std::vector<std::unique_ptr<QProcess>> m_clocks;

    QProcess& start(const QString& name)
    {
        QProcess& clock = *m_clocks.emplace_back(std::make_unique<QProcess>());
        m_home->start(clock, name);
        return clock;
    }
    static QString waitForClock(const QString& name)
    {
        return test::waitForWindow(u"^Kiv Clock \\{"_s + QRegularExpression::escape(name) + u"\\}$"_s);
    }
    static void pressKey(const QString& window, const QString& key)
    {
        test::xdotool({u"windowactivate"_s, u"--sync"_s, window, u"key"_s, key});
    }

private slots:
    void init() { m_home = std::make_unique<test::ClockHome>(); }

    void cleanup()
    {
        for (auto& clock : m_clocks)
            test::stop(*clock);
        m_clocks.clear();
    }

    void terminationSavesWhatChangedOnTheClock()
    {
        // The session ends (SIGTERM), the terminal closes (SIGHUP), Ctrl+C (SIGINT).
        for (const int signal : {SIGTERM, SIGHUP, SIGINT}) {
            init();
            QProcess& clock = start(u"Default"_s);
            const QString window = waitForClock(u"Default"_s);
            QVERIFY(!window.isEmpty());
            pressKey(window, u"Next"_s); // Page Down: the dial scale goes
            // The key reached the clock before this request: once the clock answers, its event loop has gone past
            // the key.
            QVERIFY(LocalSocketInstances(m_home->filePath(u"runtime/kivclock"_s)).find(u"Default"_s, false));
            ::kill(pid_t(clock.processId()), signal);
            QVERIFY(clock.waitForFinished(10000));
            QCOMPARE(std::pair(clock.exitStatus(), clock.exitCode()), std::pair(QProcess::NormalExit, 0));
            QVERIFY2(m_home->stored(u"DisplayScale"_s) == RegistryValue(1), qPrintable(QString::number(signal)));
        }
    }

    void changeOutlivesAKillAndANameInAnotherCaseRaisesTheClock()
    {
        QProcess& clock = start(u"Default"_s);
        const QString window = waitForClock(u"Default"_s);
        QVERIFY(!window.isEmpty());
        // (tst_clockwindow sees Escape put the clock on top and keep it on every workspace.)
        pressKey(window, u"Escape"_s); // always on top
        QTRY_COMPARE_WITH_TIMEOUT(m_home->stored(u"AlwaysOnTop"_s), RegistryValue(1), 5000);
        clock.kill();
        QVERIFY(clock.waitForFinished(10000));
        QCOMPARE(m_home->stored(u"AlwaysOnTop"_s), RegistryValue(1));
        // A second start under the name in another case raises the clock running and ends.
        start(u"Default"_s);
        QVERIFY(!waitForClock(u"Default"_s).isEmpty());
        QProcess& second = start(u"default"_s);
        QVERIFY(second.waitForFinished(20000));
        QCOMPARE(second.exitCode(), 0);
        QCOMPARE(windowsCaptioned(u"^Kiv Clock \\{[Dd]efault\\}$"_s).size(), 1);
    }

    void badNamesAndHelpStartNoClock()
    {
        // A line break; a path out of the data folder; braces of the clock list; the key of the clock list.
        for (const QString& name : {u"a\nb"_s, u"../x"_s, u"{x}"_s, u"system"_s}) {
            init();
            QProcess& clock = start(name);
            QStringList box;
            QTRY_VERIFY_WITH_TIMEOUT(!(box = windowsCaptioned(u"^Kiv Clock 错误$"_s)).isEmpty(), 20000);
            pressKey(box.first(), u"Return"_s);
            QVERIFY(clock.waitForFinished(10000));
            QCOMPARE(clock.exitCode(), 2);
            QVERIFY(QString::fromUtf8(clock.readAllStandardError()).contains(u"无法启动时钟"_s));
            QVERIFY2(!QFile::exists(m_home->filePath(u"config"_s)) && !QFile::exists(m_home->filePath(u"data"_s)),
                     qPrintable(name));
        }
        for (const QString& word : {u"--help"_s, u"-h"_s, u"--version"_s}) {
            QProcess& clock = start(word);
            QVERIFY(clock.waitForFinished(10000));
            QCOMPARE(clock.exitCode(), 0);
            QVERIFY(clock.readAllStandardOutput().contains(word == u"--version" ? "Kiv Clock 1." : "kivclock"));
        }
        QVERIFY(!QFile::exists(m_home->filePath(u"config"_s)));
    }
};

QTEST_MAIN(TestSession)
#include "tst_session.moc"
