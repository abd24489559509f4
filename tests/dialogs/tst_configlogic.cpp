#include "KivTest.h"
#include "alarms/AlarmFile.h"
#include "core/ColorConversions.h"
#include "dialogs/ConfigLogic.h"

// The settings dialog's rules apart from its widgets (tst_configdialog drives the dialog itself).
class TestConfigLogic final : public QObject
{
    Q_OBJECT

private slots:
    void colourConversions()
    {
        // Red and blue change places between 0xAARRGGBB and the picker's 0x00BBGGRR, whose top byte is ignored;
        // a colour box writes no leading zeros. (tst_configdialog picks and types colours through the dialog.)
        QCOMPARE(quint32(ColorTransfer(qint32(0x7700B0E4u))), 0x00E4B000u);
        QCOMPARE(quint32(RGBToARGB(qint32(0x5AE4B000u), GetAlphaByte(qint32(0x7700B0E4u)))), 0x7700B0E4u);
        QCOMPARE(colorBoxText(0x00FFFFFF), u"&HFFFFFF"_s);
    }

    void numberBoxes_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("width");
        QTest::addColumn<QString>("radius");
        QTest::newRow("10: the narrowest ring, too small a radius") << u"10"_s << u"10"_s << u"48"_s;
        QTest::newRow("50: the widest ring, a radius") << u"50"_s << u"50"_s << u"50"_s;
        QTest::newRow("9: too narrow, too small") << u"9"_s << u"18"_s << u"48"_s;
        QTest::newRow("51: too wide, a radius") << u"51"_s << u"18"_s << u"51"_s;
        QTest::newRow("128: too wide, the largest radius") << u"128"_s << u"18"_s << u"128"_s;
        QTest::newRow("129: too wide, too large") << u"129"_s << u"18"_s << u"48"_s;
        QTest::newRow("empty: the defaults") << QString() << u"18"_s << u"48"_s;
    }

    void numberBoxes()
    {
        QFETCH(QString, text);
        QFETCH(QString, width);
        QFETCH(QString, radius);
        QCOMPARE(checkedWidthText(text), width);
        QCOMPARE(checkedRadiusText(text), radius);
        QVERIFY(numberBoxAccepts(u'7') && numberBoxAccepts(u'-') && !numberBoxAccepts(u'a'));
    }

    void alarmListShowsEnabledAndDisabledAlarms()
    {
        AlarmTable table;
        for (const auto& [hour, enabled] : {std::pair{19, 1}, {0, -1}, {0, 0}}) {
            AlarmRecord alarm;
            alarm.Time = alarmTimeOf(hour, 5);
            alarm.Enabled = enabled;
            table.append(alarm);
        }
        const QList<AlarmLine> lines = alarmLines(table, false);
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines[0].text, u"07:05 PM - 启用"_s);
        QCOMPARE(lines[1].text, u"12:05 AM - 禁用"_s);
        QCOMPARE(lines[1].index, 2);
        QCOMPARE(alarmLines(table, true)[0].text, u"19:05 - 启用"_s);
        const QStringList hours = hourListEntries();
        QCOMPARE(hours.size(), 24);
        QCOMPARE(hours[0] + hours[12] + hours[23], u"AM12 (00)PM12 (12)PM11 (23)"_s);
    }

    void addingStopsAt128Alarms()
    {
        AlarmTable table;
        for (int i = 0; i < MaxAlarms; ++i)
            QCOMPARE(addAlarm(table, NewAlarm{i / 60, i % 60, 0, {}, {}, 0, {}}), AddAlarmResult::Added);
        QCOMPARE(addAlarm(table, NewAlarm{23, 59, 0, {}, {}, 0, {}}), AddAlarmResult::Full);
        QCOMPARE(table.AlarmCount(), 128);
    }
};

QTEST_GUILESS_MAIN(TestConfigLogic)
#include "tst_configlogic.moc"
