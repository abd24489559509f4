#include "alarms/AlarmFile.h"
#include "dialogs/ConfigLogic.h"
#include "settings/ClockList.h"

#include <QTest>

using namespace kiv;

class TestConfigLogic final : public QObject
{
    Q_OBJECT

private slots:
    void listEntries();
    void colorBoxText_data();
    void colorBoxText();
    void numberBoxes_data();
    void numberBoxes();
    void alphaAfterPickingKeepsTheOldAlphaOnlyForTheSameColour();
    void alarmListLines();
    void addingChecksTheMinuteAndTheRoom();
    void deletingKeepsTheOrderOfTheRest();
};

void TestConfigLogic::listEntries()
{
    const QStringList hours = hourListEntries();
    QCOMPARE(hours.size(), 24);
    QCOMPARE(hours[0], QStringLiteral("AM12 (00)"));
    QCOMPARE(hours[1], QStringLiteral("AM01 (01)"));
    QCOMPARE(hours[12], QStringLiteral("PM12 (12)"));
    QCOMPARE(hours[23], QStringLiteral("PM11 (23)"));
    QCOMPARE(minuteListEntries().size(), 60);
    QCOMPARE(minuteListEntries().last(), QStringLiteral("59"));
    QCOMPARE(clockLineText({QStringLiteral("Tokyo"), true}), QStringLiteral("Tokyo -- 运行中"));
    QCOMPARE(clockLineText({QStringLiteral("Office"), false}), QStringLiteral("Office -- 已停止"));
}

void TestConfigLogic::colorBoxText_data()
{
    QTest::addColumn<quint32>("argb");
    QTest::addColumn<QString>("text");
    QTest::newRow("opaque") << 0xFFDB5C1Cu << QStringLiteral("&HFFDB5C1C");
    QTest::newRow("half transparent") << 0x80123456u << QStringLiteral("&H80123456");
    QTest::newRow("no alpha drops leading zeros") << 0x001C5CDBu << QStringLiteral("&H1C5CDB");
}

void TestConfigLogic::colorBoxText()
{
    QFETCH(quint32, argb);
    QFETCH(QString, text);
    QCOMPARE(kiv::colorBoxText(qint32(argb)), text);
}

void TestConfigLogic::numberBoxes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("width");
    QTest::addColumn<QString>("radius");
    QTest::newRow("10") << QStringLiteral("10") << QStringLiteral("10") << QStringLiteral("48");
    QTest::newRow("50") << QStringLiteral("50") << QStringLiteral("50") << QStringLiteral("50");
    QTest::newRow("9") << QStringLiteral("9") << QStringLiteral("18") << QStringLiteral("48");
    QTest::newRow("51") << QStringLiteral("51") << QStringLiteral("18") << QStringLiteral("51");
    QTest::newRow("128") << QStringLiteral("128") << QStringLiteral("18") << QStringLiteral("128");
    QTest::newRow("129") << QStringLiteral("129") << QStringLiteral("18") << QStringLiteral("48");
    QTest::newRow("empty") << QString() << QStringLiteral("18") << QStringLiteral("48");
}

void TestConfigLogic::numberBoxes()
{
    QFETCH(QString, text);
    QFETCH(QString, width);
    QFETCH(QString, radius);
    QCOMPARE(checkedWidthText(text), width);
    QCOMPARE(checkedRadiusText(text), radius);
    QVERIFY(numberBoxAccepts(u'7'));
    QVERIFY(numberBoxAccepts(u'-'));
    QVERIFY(!numberBoxAccepts(u'a'));
}

void TestConfigLogic::alphaAfterPickingKeepsTheOldAlphaOnlyForTheSameColour()
{
    QCOMPARE(int(alphaAfterPicking(0x00E4B000, 0x00E4B000, qint32(0x7700B0E4))), 0x77);
    QCOMPARE(int(alphaAfterPicking(0x00E4B001, 0x00E4B000, qint32(0x7700B0E4))), 255);
}

void TestConfigLogic::alarmListLines()
{
    AlarmTable table;
    for (int i = 0; i < 3; ++i) {
        AlarmRecord alarm;
        alarm.Time = alarmTimeOf(19, 30 + i);
        alarm.Enabled = i == 1 ? 0 : (i == 2 ? -1 : 1);
        table.append(alarm);
    }
    const QList<AlarmLine> lines = alarmLines(table, false);
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines[0].text, QStringLiteral("07:30 PM - 启用"));
    QCOMPARE(lines[1].text, QStringLiteral("07:31 PM - 禁用"));
    QCOMPARE(lines[1].index, 1);
    QCOMPARE(alarmLines(table, true)[0].text, QStringLiteral("19:30 - 启用"));
}

void TestConfigLogic::addingChecksTheMinuteAndTheRoom()
{
    AlarmTable table;
    NewAlarm alarm{8,
                   0,
                   ActionRun,
                   QStringLiteral("note"),
                   QStringLiteral("  https://example.org  "),
                   2,
                   QStringLiteral("默认报警声音")};
    QCOMPARE(addAlarm(table, alarm), AddAlarmResult::Added);
    QCOMPARE(table[0].Text, QStringLiteral("  https://example.org  "));
    QCOMPARE(table[0].Enabled, 1);
    QCOMPARE(table[0].PlayTime, 2);
    alarm.action = ActionTip;
    QCOMPARE(addAlarm(table, alarm), AddAlarmResult::Duplicate);
    QCOMPARE(table.AlarmCount(), 1);
    for (int i = 1; i < MaxAlarms; ++i) // 00:01 ... 02:07, none at 08:00
        QCOMPARE(addAlarm(table, NewAlarm{i / 60, i % 60, 0, {}, {}, 0, {}}), AddAlarmResult::Added);
    QCOMPARE(table.AlarmCount(), 128);
    QCOMPARE(addAlarm(table, NewAlarm{23, 59, 0, {}, {}, 0, {}}), AddAlarmResult::Full);
}

void TestConfigLogic::deletingKeepsTheOrderOfTheRest()
{
    AlarmTable table;
    for (int i = 0; i < 5; ++i)
        addAlarm(table, NewAlarm{6 + i, 0, 0, QString::number(i), {}, 0, {}});
    deleteAlarms(table, {2, 0});
    QCOMPARE(table.AlarmCount(), 3);
    QCOMPARE(table[0].Text, QStringLiteral("1"));
    QCOMPARE(table[1].Text, QStringLiteral("3"));
    QCOMPARE(table[2].Text, QStringLiteral("4"));
    setAlarmsEnabled(table, {0, 2}, false);
    QCOMPARE(table[0].Enabled, 0);
    QCOMPARE(table[1].Enabled, 1);
    QCOMPARE(table[2].Enabled, 0);
}

QTEST_GUILESS_MAIN(TestConfigLogic)
#include "tst_configlogic.moc"
