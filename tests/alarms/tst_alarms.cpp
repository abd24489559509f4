#include "AlarmRecords.h"
#include "FakePlatform.h"
#include "KivTest.h"
#include "alarms/AlarmDispatch.h"
#include "alarms/AlarmTip.h"
#include "alarms/TipWindow.h"
#include "core/TextUtils.h"
#include "settings/ClockSettings.h"

#include <QLabel>
#include <QPushButton>
#include <QtEndian>

namespace {

// An enabled tip alarm at 07:30 playing one minute, built byte by byte from the file layout.
QByteArray handBuiltRecord(const QByteArray& textBytes, const QByteArray& soundBytes)
{
    QByteArray bytes = QByteArray::fromHex("000000000000D43F"); // 0.3125 days
    bytes += QByteArray::fromHex("01000000");                   // Enabled
    bytes += QByteArray(12, '\0');                              // Shown, Action, PlayTime
    bytes += QByteArray(32, '\0');                              // Reserved
    return bytes + textBytes.leftJustified(255, ' ') + soundBytes.leftJustified(255, ' ');
}

} // namespace

using test::alarmAt;
using test::readFile;

// The alarm file byte for byte; the alarm check driving the real tip window, its countdown and its sound.
class TestAlarms final : public QObject
{
    Q_OBJECT

    QString path() const { return m_dir->filePath(u"Default.cfg"_s); }
    QLabel* label() const { return m_host->window()->findChild<QLabel*>(u"LabTip"_s); }
    QPushButton* button() const { return m_host->window()->findChild<QPushButton*>(u"CmdTip"_s); }
    void add(const AlarmRecord& alarm) { m_state->table.append(alarm); }
    // A fresh tip, dispatcher and fakes, for each row of a table.
    void restart()
    {
        cleanup();
        init();
    }
    void check(int hour, int minute, int second = 0, int day = 6)
    {
        m_dispatcher->CheckAlarms(QDateTime(QDate(2026, 12, day), QTime(hour, minute, second), Qt::UTC));
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    test::RecordingMessages m_messages;
    test::RecordingAlarmServices m_services;
    test::FakeCountdownClock m_clock;
    ClockSettings m_settings;
    std::unique_ptr<AlarmState> m_state;
    std::unique_ptr<AlarmTip> m_tip;
    std::unique_ptr<TipWindowHost> m_host;
    std::unique_ptr<AlarmDispatcher> m_dispatcher;

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_messages = {};
        m_services.calls.clear();
        m_settings.TwelveOr24Hour = 1;
        m_state = std::make_unique<AlarmState>();
        m_clock = {};
        m_tip = std::make_unique<AlarmTip>(*m_state, m_settings, u"Default"_s, u"/data/alarm.wav"_s, m_services,
                                           m_services, m_clock);
        // The clock sits on a second monitor.
        m_host = std::make_unique<TipWindowHost>(*m_tip, [] { return QRect(1280, 0, 1024, 768); });
        m_dispatcher = std::make_unique<AlarmDispatcher>(*m_state, *m_host, m_services);
    }

    void cleanup()
    {
        m_dispatcher.reset();
        m_host.reset();
        m_tip.reset();
    }

    void fileHoldsTheHandBuiltBytes()
    {
        QByteArray lock = handBuiltRecord(QByteArray::fromHex("d6d0") + "-text", "/home/u/ring.wav");
        qToLittleEndian<qint32>(ActionLock, lock.data() + 16);
        qToLittleEndian<qint32>(4, lock.data() + 20);
        AlarmTable table;
        table.append(alarmAt(7, 30, ActionTip, u"起床"_s));
        table.append(alarmAt(7, 30, ActionLock, u"中-text"_s));
        table[1].PlayTime = 4;
        table[1].Sound = u"/home/u/ring.wav"_s;
        table[1].Shown = 1;
        table.append(alarmAt(7, 30, ActionTip, QString(200, QChar(u'中'))));
        QVERIFY(SaveAlarms(path(), table, m_messages));
        lock[12] = 1;
        const QByteArray defaultSound = QByteArray::fromHex("c4acc8cfb1a8beafc9f9d2f4");
        QCOMPARE(readFile(path()),
                 handBuiltRecord(QByteArray::fromHex("c6f0b4b2"), defaultSound) + lock +
                     handBuiltRecord(QByteArray::fromHex("d6d0").repeated(128).left(255), defaultSound));
        // 127 characters fill 254 bytes; the 255th holds half of the 128th, which does not come back.
        QVERIFY(LoadAlarms(path(), table, m_messages));
        QCOMPARE(CleanString(table[2].Text), QString(127, QChar(u'中')));
        // A file read back saves to the same bytes, reserved ones included, but no alarm is loaded as shown.
        for (int i = 24; i < 56; ++i)
            lock[i] = char(i);
        QVERIFY(test::writeFile(path(), lock));
        QVERIFY(LoadAlarms(path(), table, m_messages));
        QCOMPARE(table[0].Shown, 0);
        QVERIFY(SaveAlarms(path(), table, m_messages));
        lock[12] = 0;
        QCOMPARE(readFile(path()), lock);
        QVERIFY(m_messages.shown.isEmpty());
    }

    void recordCountSavesLoadsAndTheDefaultSound()
    {
        // The file's size and the records it loads as: whole records; 300 extra bytes round up to another,
        // 200 down; exactly half a record rounds to even (2, then 4); less than half a record is nothing; of
        // 130 records the first 128.
        const std::pair<int, int> rows[] = {{3 * 566, 3},       {3 * 566 + 300, 4}, {3 * 566 + 200, 3},
                                            {2 * 566 + 283, 2}, {3 * 566 + 283, 4}, {200, 0},
                                            {130 * 566, 128}};
        for (const auto& [bytes, count] : rows) {
            QByteArray data;
            while (data.size() < bytes)
                data += handBuiltRecord(QByteArray::number(data.size() / 566), "");
            QVERIFY(test::writeFile(path(), data.left(bytes)));
            AlarmTable table;
            // A file of whole records loads; one cut short or too long loads what it can, says so and is kept
            // aside, since the next save writes back only what was loaded.
            const bool whole = bytes == count * 566;
            QCOMPARE(LoadAlarms(path(), table, m_messages), whole);
            QCOMPARE(table.AlarmCount(), count);
            if (bytes % 566 > 283) // the short last record is filled with zeros: its texts read as empty
                QCOMPARE(CleanString(table[count - 1].Sound), QString());
            if (count == MaxAlarms) // nor does the table take a 129th
                QVERIFY(CleanString(table[127].Text) == u"127"_s && !table.append(alarmAt(7, 0)));
            const QStringList kept = QDir(m_dir->path()).entryList({u"Default.cfg.unreadable-*"_s});
            QCOMPARE(kept.size(), whole ? 0 : 1);
            if (!kept.isEmpty()) {
                QCOMPARE(QFileInfo(m_dir->filePath(kept.first())).size(), bytes);
                QVERIFY(m_messages.shown.last().text.contains(kept.first()));
                QFile::remove(m_dir->filePath(kept.first()));
            }
        }
        restart(); // no file, no messages
        AlarmTable table;
        table.append(alarmAt(7, 30));
        QVERIFY(!SaveAlarms(m_dir->filePath(u"no/such/folder/Default.cfg"_s), table, m_messages));
        QCOMPARE(m_messages.shown.size(), 1);
        QCOMPARE(m_messages.shown.first().text, AlarmMessages::SaveFailed());
        // No file is no alarms, and no message. (tst_configdialog deletes every alarm and sees the file go.)
        QVERIFY(LoadAlarms(path(), table, m_messages));
        QCOMPARE(table.AlarmCount(), 0);
        QCOMPARE(m_messages.shown.size(), 1);
        // The default sound replaces what is in its place. (tst_alarmsound plays it in a loop.)
        const QString wav = m_dir->filePath(u"alarm.wav"_s);
        QVERIFY(test::writeFile(wav, "a user's own file"));
        QVERIFY(ExtractResourceFile(wav, u"ALARM"_s) && !ExtractResourceFile(wav, u"NO SUCH RESOURCE"_s));
        QVERIFY(readFile(wav).startsWith("RIFF"));
    }

    void timeTextAndTheFirstEnabledAlarmFiresOncePerMinute()
    {
        // Midnight; a whole date keeps its time, as does one before 1899; a second short of a minute rounds up.
        const std::pair<double, QString> rows[] = {
            {0.0, u"00:00"_s}, {46000.75, u"18:00"_s}, {-1.25, u"06:00"_s}, {(8 * 3600 + 59.6) / 86400.0, u"08:01"_s}};
        for (const auto& [time, text] : rows)
            QCOMPARE(alarmTimeText(time), text);
        check(7, 31); // nothing to fire, so nothing is remembered
        add(alarmAt(7, 31, ActionTip, u"off"_s, 0));
        add(alarmAt(7, 31, ActionTip, u"odd flag"_s, 2));
        add(alarmAt(7, 31, ActionTip, u"first"_s));
        add(alarmAt(7, 31, ActionTip, u"second"_s));
        check(7, 30, 59);
        QVERIFY(!m_host->isOpen());
        check(7, 31, 5);
        QCOMPARE(m_state->CurrentAlarm, 2);
        QCOMPARE(label()->text(), u"first"_s);
        m_host->close();
        check(7, 31, 30);
        QVERIFY(!m_host->isOpen());
        // The next day's 07:31 fires again.
        check(7, 32);
        check(7, 31, 0, 7);
        QVERIFY(m_host->isOpen());
    }

    void runAlarmOpensItsCleanedTextAndAShownAlarmIsNotShownAgain()
    {
        // Spaces around a program go; an empty text still asks.
        add(alarmAt(7, 30, ActionRun, u"  firefox  "_s));
        add(alarmAt(7, 31, ActionRun));
        check(7, 30);
        check(7, 31);
        QCOMPARE(m_services.calls, QStringList({u"open [firefox]"_s, u"open []"_s}));
        QVERIFY(m_state->CurrentAlarm == -1 && !m_host->isOpen());
        // An alarm already shown is not shown again.
        restart();
        add(alarmAt(7, 0, ActionTip, u"x"_s));
        m_state->table[0].Shown = 1;
        check(7, 0);
        QVERIFY(m_services.calls.isEmpty() && label()->text().isEmpty());
    }

    void countdownActsAtZeroUnlessTheTipIsClosed()
    {
        // The action, the call it makes, what closes the tip (nothing: the countdown runs out).
        const std::tuple<qint32, QString, QString> rows[] = {{ActionShutdown, u"shutdown"_s, {}},
                                                             {ActionRestart, u"restart"_s, {}},
                                                             {ActionLock, u"lock"_s, {}},
                                                             {ActionForceShutdown, u"force shutdown"_s, {}},
                                                             {ActionForceRestart, u"force restart"_s, {}},
                                                             {ActionForceRestart, u"force restart"_s, u"button"_s},
                                                             {ActionShutdown, u"shutdown"_s, u"close box"_s}};
        for (const auto& [action, call, closedBy] : rows) {
            restart();
            add(alarmAt(22, 0, action));
            check(22, 0);
            QVERIFY(label()->alignment() & Qt::AlignHCenter);
            QCOMPARE(label()->text(), QString()); // the first second shows what was there before
            for (int tick = 1; tick <= (closedBy.isEmpty() ? 30 : 1); ++tick) {
                QCOMPARE(m_services.powerActions(), 0);
                m_clock.run(1000);
                m_tip->countdownTick();
                if (tick == 1)
                    QCOMPARE(button()->text(), u"取消(&C) (29)"_s);
                if (tick == 20)
                    QVERIFY2(label()->text().startsWith(u"计算机") && label()->text().endsWith(u"10 秒后"),
                             qPrintable(label()->text()));
            }
            if (closedBy == u"button")
                QTest::mouseClick(button(), Qt::LeftButton);
            else if (closedBy == u"close box")
                m_host->window()->close();
            QCOMPARE(m_services.calls.count(call), closedBy.isEmpty() ? 1 : 0);
            QCOMPARE(m_services.powerActions(), closedBy.isEmpty() ? 1 : 0);
            // The window closes, which stops the countdown and the sound and frees the alarm.
            QVERIFY(!m_host->isOpen() && !m_tip->countdownActive() && !m_tip->playTimerActive());
            QCOMPARE(m_services.calls.last(), u"stop"_s);
            QCOMPARE(std::pair(m_state->CurrentAlarm, m_state->table[0].Shown), std::pair(-1, 0));
        }
    }

    void countdownKeepsToItsDeadline()
    {
        // The ms the clock runs before each tick (negative: ms asleep), and the tick that acts (0: none). Late
        // ticks act 30 s after the start, not after 30 ticks (ticks a second apart act at the 30th, as each row
        // of the case above shows); so does a tick after the process was frozen 20 s; a sleep cancels the
        // countdown, but one of a second is a jitter.
        const std::pair<QList<int>, int> rows[] = {{QList<int>(20, 1600), 19},
                                                   {QList<int>(10, 1000) << 20000, 11},
                                                   {QList<int>(5, 1000) << -3600000 << 1000 << 1000, 0},
                                                   {QList<int>(5, 1000) << -1000 << QList<int>(25, 1000), 31}};
        for (const auto& [steps, actsAfterTicks] : rows) {
            restart();
            add(alarmAt(22, 0, ActionShutdown));
            check(22, 0);
            int ticks = 0; // acting closes the tip, which ends the countdown
            for (; ticks < steps.size() && m_tip->countdownActive(); ++ticks) {
                steps[ticks] < 0 ? m_clock.sleep(-steps[ticks]) : m_clock.run(steps[ticks]);
                m_tip->countdownTick();
            }
            QCOMPARE(m_services.powerActions(), actsAfterTicks ? 1 : 0);
            QCOMPARE(actsAfterTicks ? ticks : 0, actsAfterTicks);
            if (!actsAfterTicks)
                QCOMPARE(label()->text(), TipTexts::CancelledBySleep());
        }
    }

    void alarmsFireOnceAndNeverLate()
    {
        // A shut-down alarm at 09:45 and a tip at 10:00; each row is the times the clock shows at its checks,
        // and the alarm times shown: steady time; the clock jumping forward 09:44:30 to 10:01; a suspend 09:44
        // to 10:30; the clock set back 10:01 to 09:40; a short jump 09:44:30 to 09:47, which fires late.
        QList<QTime> steady;
        for (QTime t(9, 44); t <= QTime(10, 1); t = t.addSecs(60))
            steady << t;
        const QStringList onTime{u"09:45"_s, u"10:00"_s}, missed{u"09:45  (已错过)"_s, u"10:00  (已错过)"_s};
        const std::pair<QList<QTime>, QStringList> rows[] = {
            {steady, onTime},
            {{QTime(9, 44, 30), QTime(10, 1)}, missed},
            {{QTime(9, 44), QTime(10, 30)}, missed},
            {steady + QList<QTime>{QTime(9, 40)} + steady, onTime},
            {{QTime(9, 44, 30), QTime(9, 47), QTime(9, 48)}, {u"09:45"_s}}};
        for (const auto& [checks, shown] : rows) {
            restart();
            add(alarmAt(9, 45, ActionShutdown));
            add(alarmAt(10, 0, ActionTip, u"B"_s));
            QStringList seen;
            connect(m_tip.get(), &AlarmTip::viewChanged, this,
                    [&] { seen << m_tip->view().caption.section(u"警报: "_s, 1); });
            for (const QTime& time : checks) {
                check(time.hour(), time.minute(), time.second());
                m_host->close(); // whoever shows, the user closes it at once
            }
            QCOMPARE(seen, shown);
            QCOMPARE(m_services.powerActions(), 0);
        }
    }

    void tipDuringACountdownStopsItAndOpensCentred()
    {
        add(alarmAt(19, 30, ActionShutdown));
        add(alarmAt(19, 31, ActionTip, u"tea"_s));
        check(19, 30);
        for (int i = 0; i < 10; ++i) {
            m_clock.run(1000);
            m_tip->countdownTick();
        }
        check(19, 31);
        QCOMPARE(QList({m_state->CurrentAlarm, m_state->table[0].Shown, m_state->table[1].Shown}), QList({1, 0, 1}));
        QVERIFY(!m_tip->countdownActive());
        // The tip shows its text with the designed button and label.
        QCOMPARE(label()->text(), u"tea"_s);
        QVERIFY(!(label()->alignment() & Qt::AlignHCenter));
        QCOMPARE(button()->text(), TipTexts::OkCaption());
        QCOMPARE(m_services.powerActions(), 0);
        // It opens centred on the clock's monitor, its caption the alarm's time in the clock's format.
        // (tst_clockwindow reads the caption of a real tip; tst_configdialog lists 12-hour times.)
        QCOMPARE(m_host->window()->windowTitle(), u"时钟: Default  -  警报: 19:31"_s);
        QCOMPARE(m_host->window()->pos(), QPoint(1280 + (1024 - 435) / 2, (768 - 279) / 2));
    }

    void soundPlaysForItsPlayTimeFromItsFileOrTheDefault()
    {
        // The play time and its seconds: 1 minute, 5 minutes, and 0, until the tip closes.
        for (const auto& [playTime, seconds] : {std::pair{0, 60}, {3, 300}, {4, 0}}) {
            restart();
            add(alarmAt(7, 0));
            m_state->table[0].PlayTime = playTime;
            check(7, 0);
            QCOMPARE(m_services.calls, QStringList{u"play /data/alarm.wav"_s});
            QCOMPARE(m_tip->playTimerActive(), seconds > 0);
            for (int tick = 1; tick < seconds; ++tick)
                m_tip->playTick();
            QVERIFY(!m_services.calls.contains(u"stop"_s));
            if (seconds > 0) {
                m_tip->playTick();
                QCOMPARE(m_services.calls.last(), u"stop"_s);
                QVERIFY(!m_tip->playTimerActive());
            }
            QVERIFY(m_host->isOpen()); // the tip stays until it is closed
        }
        // The alarm's own sound file, or the default one when there is none or it is missing.
        restart();
        const QString own = m_dir->filePath(u"bell.wav"_s);
        QVERIFY(test::writeFile(own, {}));
        add(alarmAt(7, 0));
        m_state->table[0].Sound = QString(u"  "_s + own).leftJustified(255, u' ');
        add(alarmAt(7, 1));
        add(alarmAt(7, 2));
        m_state->table[2].Sound = u"/no/such/file.wav"_s;
        QStringList played;
        for (int minute : {0, 1, 2}) {
            check(7, minute);
            played.append(m_tip->soundToPlay());
        }
        QCOMPARE(played, QStringList({own, u"/data/alarm.wav"_s, u"/data/alarm.wav"_s}));
    }
};

QTEST_MAIN(TestAlarms)
#include "tst_alarms.moc"
