#include "alarms/AlarmFile.h"
#include "dialogs/ColorConversions.h"
#include "dialogs/ConfigLogic.h"

#include <QTest>

using namespace kiv;
using namespace Qt::StringLiterals;

// The settings dialog's rules apart from its widgets (tst_configdialog drives the dialog itself).
class TestConfigLogic final : public QObject
{
    Q_OBJECT

private slots:
    void colours_data()
    {
        QTest::addColumn<quint32>("argb");
        QTest::addColumn<quint32>("colorref");
        QTest::addColumn<QString>("boxText");
        QTest::newRow("opaque colour: red and blue change places") << 0xFFDB5C1Cu << 0x001C5CDBu << u"&HFFDB5C1C"_s;
        QTest::newRow("translucent colour keeps its alpha apart") << 0x7700B0E4u << 0x00E4B000u << u"&H7700B0E4"_s;
        QTest::newRow("no alpha: the box drops leading zeros") << 0x00FFFFFFu << 0x00FFFFFFu << u"&HFFFFFF"_s;
    }

    void colours()
    {
        QFETCH(quint32, argb);
        QFETCH(quint32, colorref);
        QFETCH(QString, boxText);
        const quint8 alpha = GetAlphaByte(qint32(argb));
        QCOMPARE(alpha, quint8(argb >> 24));
        QCOMPARE(quint32(ColorTransfer(qint32(argb))), colorref);
        // A picked colour whose top byte is set still converts by its three colour bytes.
        QCOMPARE(quint32(RGBToARGB(qint32(colorref | 0x5A000000u), alpha)), argb);
        QCOMPARE(colorBoxText(qint32(argb)), boxText);
    }

    void numberBoxes_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("width");
        QTest::addColumn<QString>("radius");
        QTest::newRow("10") << u"10"_s << u"10"_s << u"48"_s;
        QTest::newRow("50") << u"50"_s << u"50"_s << u"50"_s;
        QTest::newRow("9") << u"9"_s << u"18"_s << u"48"_s;
        QTest::newRow("51") << u"51"_s << u"18"_s << u"51"_s;
        QTest::newRow("128") << u"128"_s << u"18"_s << u"128"_s;
        QTest::newRow("129") << u"129"_s << u"18"_s << u"48"_s;
        QTest::newRow("empty") << QString() << u"18"_s << u"48"_s;
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
        for (const qint32 enabled : {1, 0, -1}) {
            AlarmRecord alarm;
            alarm.Time = alarmTimeOf(19, 30 + table.AlarmCount());
            alarm.Enabled = enabled;
            table.append(alarm);
        }
        const QList<AlarmLine> lines = alarmLines(table, false);
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines[0].text, u"07:30 PM - 启用"_s);
        QCOMPARE(lines[1].text, u"07:31 PM - 禁用"_s);
        QCOMPARE(lines[1].index, 1);
        QCOMPARE(alarmLines(table, true)[0].text, u"19:30 - 启用"_s);
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
