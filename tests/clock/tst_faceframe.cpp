#include "clock/FaceFrame.h"
#include "settings/ClockSettings.h"

#include <QTest>

using namespace kiv;

namespace {
ClockSettings settingsOf(int radius, bool twentyFourHour)
{
    ClockSettings settings;
    settings.ClockRadius = radius;
    settings.TwelveOr24Hour = twentyFourHour ? 1 : 0;
    return settings;
}

QDateTime at(int hour, int minute, int second)
{
    return QDateTime(QDate(2026, 12, 6), QTime(hour, minute, second), Qt::UTC);
}
} // namespace

class TestFaceFrame final : public QObject
{
    Q_OBJECT

private slots:
    void texts_data();
    void texts();
    void sweeps_data();
    void sweeps();
    void fontSizes_data();
    void fontSizes();
    void nameLine();
    void separatorsComeFromTheLocale();
    void framesCompareByWhatTheyShow();
};

void TestFaceFrame::texts_data()
{
    QTest::addColumn<QDateTime>("time");
    QTest::addColumn<bool>("twentyFourHour");
    QTest::addColumn<QString>("timeText");
    QTest::addColumn<QString>("dateText");
    QTest::newRow("afternoon, 12-hour ends in P")
        << at(15, 4, 5) << false << QStringLiteral("03:04:05 P") << QStringLiteral("12/06/2026");
    QTest::newRow("afternoon, 24-hour") << at(15, 4, 5) << true << QStringLiteral("15:04:05")
                                        << QStringLiteral("12/06/2026");
    QTest::newRow("midnight is 12 A") << at(0, 0, 0) << false << QStringLiteral("12:00:00 A")
                                      << QStringLiteral("12/06/2026");
    QTest::newRow("noon is 12 P") << at(12, 30, 0) << false << QStringLiteral("12:30:00 P")
                                  << QStringLiteral("12/06/2026");
    QTest::newRow("early year pads the date") << QDateTime(QDate(987, 3, 4), QTime(9, 8, 7), Qt::UTC) << true
                                              << QStringLiteral("09:08:07") << QStringLiteral("03/04/0987");
}

void TestFaceFrame::texts()
{
    QFETCH(QDateTime, time);
    QFETCH(bool, twentyFourHour);
    QFETCH(QString, timeText);
    QFETCH(QString, dateText);
    const FaceFrame frame = ComputeFaceFrame(time, settingsOf(48, twentyFourHour), QStringLiteral("Office"),
                                             DateTimeTexts(), false, ButtonOutside);
    QCOMPARE(frame.TimeText, timeText);
    QCOMPARE(frame.DateText, dateText);
}

void TestFaceFrame::sweeps_data()
{
    QTest::addColumn<QDateTime>("time");
    QTest::addColumn<bool>("twentyFourHour");
    QTest::addColumn<float>("hour");
    QTest::addColumn<float>("minute");
    QTest::addColumn<float>("second");
    QTest::addColumn<bool>("pm");
    QTest::newRow("midnight: three full circles") << at(0, 0, 0) << false << 360.f << 360.f << 360.f << false;
    QTest::newRow("one second past midnight") << at(0, 0, 1) << false << 360.f << 360.f << 6.f << false;
    QTest::newRow("13:05 in 12-hour mode") << at(13, 5, 0) << false << 30.f << 30.f << 360.f << true;
    QTest::newRow("13:05 in 24-hour mode") << at(13, 5, 0) << true << 195.f << 30.f << 360.f << false;
    QTest::newRow("noon in 12-hour mode is full") << at(12, 0, 30) << false << 360.f << 360.f << 180.f << true;
    QTest::newRow("23:59:59 in 24-hour mode") << at(23, 59, 59) << true << 345.f << 354.f << 354.f << false;
}

void TestFaceFrame::sweeps()
{
    QFETCH(QDateTime, time);
    QFETCH(bool, twentyFourHour);
    QFETCH(float, hour);
    QFETCH(float, minute);
    QFETCH(float, second);
    QFETCH(bool, pm);
    const FaceFrame frame = ComputeFaceFrame(time, settingsOf(48, twentyFourHour), QStringLiteral("Office"),
                                             DateTimeTexts(), false, ButtonOutside);
    QCOMPARE(frame.HourSweep, hour);
    QCOMPARE(frame.MinuteSweep, minute);
    QCOMPARE(frame.SecondSweep, second);
    QCOMPARE(frame.pmColour, pm);
}

void TestFaceFrame::fontSizes_data()
{
    QTest::addColumn<int>("radius");
    QTest::addColumn<bool>("twentyFourHour");
    QTest::addColumn<int>("timeSize");
    QTest::addColumn<int>("dateSize");
    QTest::newRow("smallest, 24-hour") << 48 << true << 18 << 12;
    QTest::newRow("smallest, 12-hour") << 48 << false << 16 << 12;
    QTest::newRow("largest, 24-hour") << 128 << true << 48 << 32;
    QTest::newRow("largest, 12-hour") << 128 << false << 42 << 32;
    QTest::newRow("odd rounding is made even") << 75 << true << 28 << 18;
}

void TestFaceFrame::fontSizes()
{
    QFETCH(int, radius);
    QFETCH(bool, twentyFourHour);
    QFETCH(int, timeSize);
    QFETCH(int, dateSize);
    const FaceFrame frame = ComputeFaceFrame(at(1, 2, 3), settingsOf(radius, twentyFourHour), QStringLiteral("x"),
                                             DateTimeTexts(), false, ButtonOutside);
    QCOMPARE(frame.TimeFontSize, timeSize);
    QCOMPARE(frame.DateFontSize, dateSize);
    QCOMPARE(evenFontSize(2.5), 2);
    QCOMPARE(evenFontSize(3.5), 4);
    QCOMPARE(evenFontSize(17.9), 18);
    QCOMPARE(evenFontSize(16.9), 16);
}

void TestFaceFrame::nameLine()
{
    const ClockSettings settings = settingsOf(48, true);
    DateTimeTexts chinese = DateTimeTexts::fromLocale(QLocale(QLocale::Chinese, QLocale::China));
    QCOMPARE(ComputeFaceFrame(at(1, 0, 0), settings, QStringLiteral("Default"), DateTimeTexts(), false, -1).NameText,
             QStringLiteral("Sunday"));
    QCOMPARE(ComputeFaceFrame(at(1, 0, 0), settings, QStringLiteral("Default"), chinese, false, -1).NameText,
             QStringLiteral("星期日"));
    QCOMPARE(ComputeFaceFrame(at(1, 0, 0), settings, QStringLiteral("Shanghai1"), chinese, false, -1).NameText,
             QStringLiteral("Shanghai"));
    QCOMPARE(ComputeFaceFrame(at(1, 0, 0), settings, QStringLiteral("default"), chinese, false, -1).NameText,
             QStringLiteral("default"));
}

void TestFaceFrame::separatorsComeFromTheLocale()
{
    const DateTimeTexts german = DateTimeTexts::fromLocale(QLocale(QLocale::German, QLocale::Germany));
    QCOMPARE(german.dateSeparator, QChar(u'.'));
    QCOMPARE(german.timeSeparator, QChar(u':'));
    const FaceFrame frame =
        ComputeFaceFrame(at(15, 4, 5), settingsOf(48, true), QStringLiteral("x"), german, false, -1);
    QCOMPARE(frame.DateText, QStringLiteral("12.06.2026"));
    const DateTimeTexts c = DateTimeTexts::fromLocale(QLocale::c());
    QCOMPARE(c.dateSeparator, QChar(u'/'));
    QCOMPARE(c.timeSeparator, QChar(u':'));
}

void TestFaceFrame::framesCompareByWhatTheyShow()
{
    ClockSettings settings = settingsOf(48, true);
    const auto frame = [&](const QDateTime& time, bool active, int button) {
        return ComputeFaceFrame(time, settings, QStringLiteral("x"), DateTimeTexts(), active, button);
    };
    QCOMPARE(frame(at(1, 2, 3), false, -1), frame(at(1, 2, 3), false, -1));
    QVERIFY(frame(at(1, 2, 3), false, -1) != frame(at(1, 2, 4), false, -1));
    QVERIFY(frame(at(1, 2, 3), false, -1) != frame(at(1, 2, 3), true, -1));
    QVERIFY(frame(at(1, 2, 3), false, -1) != frame(at(1, 2, 3), false, 0));
    const FaceFrame withScale = frame(at(1, 2, 3), false, -1);
    settings.DisplayScale = 1;
    QVERIFY(frame(at(1, 2, 3), false, -1) != withScale);
}

QTEST_GUILESS_MAIN(TestFaceFrame)
#include "tst_faceframe.moc"
