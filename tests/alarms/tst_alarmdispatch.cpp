#include "alarms/AlarmDispatch.h"
#include "platform/AlarmServices.h"
#include "alarms/AlarmTip.h"
#include "settings/ClockSettings.h"
#include "timezone/ZoneTime.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace kiv;

namespace {

struct Recorder final : AlarmSound, PowerActions, DocumentOpener
{
    void play(const QString& path) override { calls.append(QStringLiteral("play ") + path); }
    void stop() override { calls.append(QStringLiteral("stop")); }
    void ShutdownComputer() override { calls.append(QStringLiteral("shutdown")); }
    void RestartComputer() override { calls.append(QStringLiteral("restart")); }
    void LockComputer() override { calls.append(QStringLiteral("lock")); }
    void ForceShutdown() override { calls.append(QStringLiteral("force shutdown")); }
    void ForceRestart() override { calls.append(QStringLiteral("force restart")); }
    void open(const QString& target) override { calls.append(QStringLiteral("open [") + target + u']'); }
    QStringList calls;
};

// The tip window as the dispatcher sees it, driving the real tip behaviour.
struct TipPresenter final : TipWindowPresenter
{
    explicit TipPresenter(AlarmTip& behaviour) : tip(behaviour) {}
    bool isOpen() const override { return opened; }
    void open() override
    {
        opened = true;
        ++openings;
        tip.ShowTip();
    }
    void showTip() override { tip.ShowTip(); }
    void close()
    {
        tip.unload();
        opened = false;
    }
    AlarmTip& tip;
    bool opened = false;
    int openings = 0;
};

AlarmRecord alarmAt(int hour, int minute, qint32 action = ActionTip, qint32 enabled = 1, const QString& text = {})
{
    AlarmRecord record;
    record.Time = alarmTimeOf(hour, minute);
    record.Enabled = enabled;
    record.Action = action;
    record.Text = text.leftJustified(255, u' ');
    record.Sound = DefaultSoundText.leftJustified(255, u' ');
    return record;
}

QDateTime at(int hour, int minute, int second = 0)
{
    return QDateTime(QDate(2026, 12, 6), QTime(hour, minute, second), Qt::UTC);
}

} // namespace

class TestAlarmDispatch final : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void noAlarmsDoNothing();
    void firstOfTwoAlarmsInAMinuteFires();
    void disabledAlarmDoesNotBlockALaterOne();
    void firesOncePerMinute();
    void firesByTheClocksZoneTime();
    void runAlarmOpensItsCleanedText_data();
    void runAlarmOpensItsCleanedText();
    void tipDuringACountdownStopsIt();
    void countdownShowsEverySecondAndActsOnceAtZero_data();
    void countdownShowsEverySecondAndActsOnceAtZero();
    void closingCancelsTheCountdownAndTheSound();
    void captionShowsTheClockAndTheAlarmTime_data();
    void captionShowsTheClockAndTheAlarmTime();
    void soundPlaysForItsPlayTime_data();
    void soundPlaysForItsPlayTime();
    void soundFileOrTheDefault();
    void anAlarmAlreadyShownIsNotShownTwice();

private:
    std::unique_ptr<AlarmState> m_state;
    ClockSettings m_settings;
    Recorder m_recorder;
    std::unique_ptr<AlarmTip> m_tip;
    std::unique_ptr<TipPresenter> m_presenter;
    std::unique_ptr<AlarmDispatcher> m_dispatcher;
};

void TestAlarmDispatch::init()
{
    m_state = std::make_unique<AlarmState>();
    m_settings = ClockSettings();
    m_settings.TwelveOr24Hour = 1;
    m_recorder = Recorder();
    m_tip = std::make_unique<AlarmTip>(*m_state, m_settings, QStringLiteral("Default"),
                                       QStringLiteral("/data/alarm.wav"), m_recorder, m_recorder);
    m_presenter = std::make_unique<TipPresenter>(*m_tip);
    m_dispatcher = std::make_unique<AlarmDispatcher>(*m_state, *m_presenter, m_recorder);
}

void TestAlarmDispatch::noAlarmsDoNothing()
{
    m_dispatcher->CheckAlarms(at(7, 30));
    QVERIFY(m_recorder.calls.isEmpty());
    QCOMPARE(m_presenter->openings, 0);
    // An alarm added afterwards for the minute shown still fires: nothing was remembered.
    m_state->table.append(alarmAt(7, 30));
    m_dispatcher->CheckAlarms(at(7, 30, 5));
    QCOMPARE(m_presenter->openings, 1);
}

void TestAlarmDispatch::firstOfTwoAlarmsInAMinuteFires()
{
    m_state->table.append(alarmAt(7, 30, ActionTip, 1, QStringLiteral("first")));
    m_state->table.append(alarmAt(7, 30, ActionTip, 1, QStringLiteral("second")));
    m_dispatcher->CheckAlarms(at(7, 30));
    QCOMPARE(m_state->CurrentAlarm, 0);
    QCOMPARE(m_tip->view().labelText, QStringLiteral("first"));
    m_dispatcher->CheckAlarms(at(7, 30, 1));
    QCOMPARE(m_state->CurrentAlarm, 0);
}

void TestAlarmDispatch::disabledAlarmDoesNotBlockALaterOne()
{
    m_state->table.append(alarmAt(7, 30, ActionTip, 0, QStringLiteral("off")));
    m_state->table.append(alarmAt(7, 30, ActionTip, 2, QStringLiteral("odd flag")));
    m_state->table.append(alarmAt(7, 30, ActionTip, 1, QStringLiteral("on")));
    m_dispatcher->CheckAlarms(at(7, 30));
    QCOMPARE(m_state->CurrentAlarm, 2);
    QCOMPARE(m_tip->view().labelText, QStringLiteral("on"));
}

void TestAlarmDispatch::firesOncePerMinute()
{
    m_state->table.append(alarmAt(7, 30));
    m_dispatcher->CheckAlarms(at(7, 29, 59));
    QCOMPARE(m_presenter->openings, 0);
    m_dispatcher->CheckAlarms(at(7, 30, 0));
    QCOMPARE(m_presenter->openings, 1);
    m_presenter->close();
    m_dispatcher->CheckAlarms(at(7, 30, 30));
    QCOMPARE(m_presenter->openings, 1);
    // The next day's 07:30 fires again.
    m_dispatcher->CheckAlarms(at(7, 31, 0));
    m_dispatcher->CheckAlarms(at(7, 30, 0).addDays(1));
    QCOMPARE(m_presenter->openings, 2);
}

void TestAlarmDispatch::firesByTheClocksZoneTime()
{
    m_state->table.append(alarmAt(7, 30));
    // The computer's clock shows 23:30 in Beijing; the clock is set to a zone eight hours ahead.
    const QDateTime local(QDate(2026, 12, 6), QTime(23, 30, 0), Qt::LocalTime);
    m_dispatcher->CheckAlarms(ComputeZoneTime(local, SystemZoneInfo{-480, 0}, 480, 0));
    QCOMPARE(m_presenter->openings, 0);
    m_dispatcher->CheckAlarms(ComputeZoneTime(local, SystemZoneInfo{-480, 0}, 960, 0));
    QCOMPARE(m_presenter->openings, 1);
}

void TestAlarmDispatch::runAlarmOpensItsCleanedText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("opened");
    QTest::newRow("spaces around a program") << QStringLiteral("  firefox  ") << QStringLiteral("firefox");
    QTest::newRow("address") << QStringLiteral("https://example.org/a b") << QStringLiteral("https://example.org/a b");
    QTest::newRow("empty text still asks") << QString() << QString();
}

void TestAlarmDispatch::runAlarmOpensItsCleanedText()
{
    QFETCH(QString, text);
    QFETCH(QString, opened);
    m_state->table.append(alarmAt(7, 30, ActionRun, 1, text));
    m_dispatcher->CheckAlarms(at(7, 30));
    QCOMPARE(m_recorder.calls, QStringList{QStringLiteral("open [") + opened + u']'});
    QCOMPARE(m_state->CurrentAlarm, -1);
    QCOMPARE(m_presenter->openings, 0);
}

void TestAlarmDispatch::tipDuringACountdownStopsIt()
{
    m_state->table.append(alarmAt(7, 30, ActionShutdown));
    m_state->table.append(alarmAt(7, 31, ActionTip, 1, QStringLiteral("tea")));
    m_dispatcher->CheckAlarms(at(7, 30));
    for (int i = 0; i < 10; ++i)
        m_tip->countdownTick();
    QVERIFY(m_tip->countdownActive());
    QCOMPARE(m_tip->view().buttonCaption, QStringLiteral("取消(&C) (20)"));
    m_dispatcher->CheckAlarms(at(7, 31));
    QCOMPARE(m_presenter->openings, 1);
    QCOMPARE(m_state->CurrentAlarm, 1);
    QCOMPARE(m_state->table[0].Shown, 0);
    QCOMPARE(m_state->table[1].Shown, 1);
    QVERIFY(!m_tip->countdownActive());
    // The tip shows its text with the designed button and label.
    QCOMPARE(m_tip->view().labelText, QStringLiteral("tea"));
    QCOMPARE(m_tip->view().buttonCaption, QStringLiteral("确定(&O)"));
    QVERIFY(!m_tip->view().labelCentred);
    QVERIFY(!m_recorder.calls.contains(QStringLiteral("shutdown")));
}

void TestAlarmDispatch::countdownShowsEverySecondAndActsOnceAtZero_data()
{
    QTest::addColumn<int>("action");
    QTest::addColumn<QString>("call");
    QTest::addColumn<QString>("label10");
    QTest::newRow("shut down") << int(ActionShutdown) << QStringLiteral("shutdown")
                               << QStringLiteral("计算机将被关闭,在 10 秒后");
    QTest::newRow("restart") << int(ActionRestart) << QStringLiteral("restart")
                             << QStringLiteral("计算机将会重启,在 10 秒后");
    QTest::newRow("lock") << int(ActionLock) << QStringLiteral("lock") << QStringLiteral("计算机将会被锁定,在 10 秒后");
    QTest::newRow("forced shut down") << int(ActionForceShutdown) << QStringLiteral("force shutdown")
                                      << QStringLiteral("计算机将会被关闭不保存,在 10 秒后");
    QTest::newRow("forced restart") << int(ActionForceRestart) << QStringLiteral("force restart")
                                    << QStringLiteral("计算机将会重启不保存,在10 秒后");
}

void TestAlarmDispatch::countdownShowsEverySecondAndActsOnceAtZero()
{
    QFETCH(int, action);
    QFETCH(QString, call);
    QFETCH(QString, label10);
    m_state->table.append(alarmAt(22, 0, action));
    QSignalSpy finished(m_tip.get(), &AlarmTip::finished);
    m_dispatcher->CheckAlarms(at(22, 0));
    QVERIFY(m_tip->view().labelCentred);
    QCOMPARE(m_tip->view().labelText, QString()); // the first second shows what was there before
    QStringList captions;
    for (int tick = 1; tick <= 30; ++tick) {
        QVERIFY(!m_recorder.calls.contains(call));
        m_tip->countdownTick();
        captions.append(m_tip->view().buttonCaption);
        if (tick == 20)
            QCOMPARE(m_tip->view().labelText, label10);
    }
    QCOMPARE(captions.first(), QStringLiteral("取消(&C) (29)"));
    QCOMPARE(captions.last(), QStringLiteral("取消(&C) (0)"));
    QCOMPARE(captions.size(), 30);
    QCOMPARE(m_recorder.calls.count(call), 1);
    QCOMPARE(finished.size(), 1);
    QVERIFY(!m_tip->countdownActive());
}

void TestAlarmDispatch::closingCancelsTheCountdownAndTheSound()
{
    m_state->table.append(alarmAt(22, 0, ActionShutdown));
    m_dispatcher->CheckAlarms(at(22, 0));
    m_tip->countdownTick();
    QCOMPARE(m_tip->view().buttonCaption, QStringLiteral("取消(&C) (29)"));
    m_presenter->close();
    QVERIFY(!m_tip->countdownActive());
    QVERIFY(!m_tip->playTimerActive());
    QCOMPARE(m_recorder.calls.last(), QStringLiteral("stop"));
    QCOMPARE(m_state->CurrentAlarm, -1);
    QCOMPARE(m_state->table[0].Shown, 0);
    QVERIFY(!m_recorder.calls.contains(QStringLiteral("shutdown")));
}

void TestAlarmDispatch::captionShowsTheClockAndTheAlarmTime_data()
{
    QTest::addColumn<int>("hour");
    QTest::addColumn<bool>("twentyFourHour");
    QTest::addColumn<QString>("caption");
    QTest::newRow("24-hour") << 19 << true << QStringLiteral("时钟: Default  -  警报: 19:05");
    QTest::newRow("12-hour evening") << 19 << false << QStringLiteral("时钟: Default  -  警报: 07:05 PM");
    QTest::newRow("12-hour after midnight") << 0 << false << QStringLiteral("时钟: Default  -  警报: 12:05 AM");
}

void TestAlarmDispatch::captionShowsTheClockAndTheAlarmTime()
{
    QFETCH(int, hour);
    QFETCH(bool, twentyFourHour);
    QFETCH(QString, caption);
    m_settings.TwelveOr24Hour = twentyFourHour ? 1 : 0;
    m_state->table.append(alarmAt(hour, 5));
    m_dispatcher->CheckAlarms(at(hour, 5));
    QCOMPARE(m_tip->view().caption, caption);
}

void TestAlarmDispatch::soundPlaysForItsPlayTime_data()
{
    QTest::addColumn<int>("playTime");
    QTest::addColumn<int>("seconds"); // 0: until the window closes
    QTest::newRow("1 minute") << 0 << 60;
    QTest::newRow("2 minutes") << 1 << 120;
    QTest::newRow("3 minutes") << 2 << 180;
    QTest::newRow("5 minutes") << 3 << 300;
    QTest::newRow("loop") << 4 << 0;
}

void TestAlarmDispatch::soundPlaysForItsPlayTime()
{
    QFETCH(int, playTime);
    QFETCH(int, seconds);
    AlarmRecord alarm = alarmAt(7, 0);
    alarm.PlayTime = playTime;
    m_state->table.append(alarm);
    m_dispatcher->CheckAlarms(at(7, 0));
    QCOMPARE(m_recorder.calls, QStringList{QStringLiteral("play /data/alarm.wav")});
    QCOMPARE(m_tip->playTimerActive(), seconds > 0);
    for (int tick = 1; tick < seconds; ++tick)
        m_tip->playTick();
    QVERIFY(!m_recorder.calls.contains(QStringLiteral("stop")));
    if (seconds > 0) {
        m_tip->playTick();
        QCOMPARE(m_recorder.calls.last(), QStringLiteral("stop"));
        QVERIFY(!m_tip->playTimerActive());
    }
    QCOMPARE(m_tip->view().labelText, QString()); // the text stays until the window closes
    QVERIFY(m_presenter->isOpen());
}

void TestAlarmDispatch::soundFileOrTheDefault()
{
    QTemporaryDir dir;
    const QString own = dir.filePath(QStringLiteral("bell.wav"));
    QFile file(own);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    AlarmRecord alarm = alarmAt(7, 0);
    alarm.Sound = QString(QStringLiteral("  ") + own).leftJustified(255, u' ');
    m_state->table.append(alarm);
    m_state->table.append(alarmAt(7, 1)); // "默认报警声音"
    AlarmRecord missing = alarmAt(7, 2);
    missing.Sound = QStringLiteral("/no/such/file.wav");
    m_state->table.append(missing);
    m_dispatcher->CheckAlarms(at(7, 0));
    QCOMPARE(m_tip->soundToPlay(), own);
    m_dispatcher->CheckAlarms(at(7, 1));
    QCOMPARE(m_tip->soundToPlay(), QStringLiteral("/data/alarm.wav"));
    m_dispatcher->CheckAlarms(at(7, 2));
    QCOMPARE(m_tip->soundToPlay(), QStringLiteral("/data/alarm.wav"));
}

void TestAlarmDispatch::anAlarmAlreadyShownIsNotShownTwice()
{
    AlarmRecord alarm = alarmAt(7, 0, ActionTip, 1, QStringLiteral("x"));
    alarm.Shown = 1;
    m_state->table.append(alarm);
    m_dispatcher->CheckAlarms(at(7, 0));
    QCOMPARE(m_presenter->openings, 1);
    QVERIFY(m_recorder.calls.isEmpty());
    QCOMPARE(m_tip->view().labelText, QString());
}

QTEST_GUILESS_MAIN(TestAlarmDispatch)
#include "tst_alarmdispatch.moc"
