#include "widgets/tabstrip/TabStripModel.h"

#include <QTest>

using namespace kiv;

class TestTabStripModel final : public QObject
{
    Q_OBJECT

private slots:
    void accessKeys_data();
    void accessKeys();
    void arrowsStopAtADisabledNeighbour();
    void wheel();
    void tabbedDialogGeometry();
    void insertAndRemove();
    void themeColors();
    void themeThreeAndBack();
    void themeFourClampsPerChannel();
    void pageShiftUnit();
};

void TestTabStripModel::accessKeys_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("visible");
    QTest::newRow("literal ampersand then a key")
        << QStringLiteral("&&Save &Load") << int('L') << QStringLiteral("&Save Load");
    QTest::newRow("only a literal ampersand") << QStringLiteral("Save && Load") << 0 << QStringLiteral("Save & Load");
    QTest::newRow("lower-case key becomes upper case")
        << QStringLiteral("&general") << int('G') << QStringLiteral("general");
    QTest::newRow("the last single ampersand counts") << QStringLiteral("&a &b") << int('B') << QStringLiteral("a b");
    QTest::newRow("no ampersand") << QStringLiteral("常规") << 0 << QStringLiteral("常规");
    QTest::newRow("trailing ampersand") << QStringLiteral("x&") << 0 << QStringLiteral("x&");
}

void TestTabStripModel::accessKeys()
{
    QFETCH(QString, caption);
    QFETCH(int, key);
    QFETCH(QString, visible);
    QCOMPARE(accessKeyOf(caption), key);
    QCOMPARE(visibleCaption(caption), visible);
}

void TestTabStripModel::arrowsStopAtADisabledNeighbour()
{
    TabStripModel model(3);
    model.tab(2).enabled = false;
    QCOMPARE(model.arrowTarget(1, true), -1);  // Right from 1: tab 2 is disabled
    QCOMPARE(model.arrowTarget(2, true), 0);   // Right from 2 wraps to 0
    QCOMPARE(model.arrowTarget(0, false), -1); // Left from 0 would wrap to the disabled 2
    QCOMPARE(model.arrowTarget(1, false), 0);
    QCOMPARE(model.arrowTarget(0, true), 1);
    TabStripModel single(1);
    QCOMPARE(single.arrowTarget(0, false), -1);
    QCOMPARE(single.arrowTarget(0, true), -1);
}

void TestTabStripModel::wheel()
{
    TabStripModel model(4);
    QCOMPARE(model.wheelTarget(3, -120), 0); // from the last tab forward wraps to 0
    QCOMPARE(model.wheelTarget(1, -120), 2);
    QCOMPARE(model.wheelTarget(0, 120), -1); // back from 0 stays
    QCOMPARE(model.wheelTarget(0, 0), -1);
    QCOMPARE(model.wheelTarget(2, 120), 1);
}

void TestTabStripModel::tabbedDialogGeometry()
{
    TabStripModel model(3);
    model.layoutTabbedDialog(400, 1, 20, 18);
    // Width 400 / 3 = 133.3 -> 133; the last tab ends at the inner width - 1.
    QCOMPARE(model.tab(0).rect, QRect(QPoint(0, 2), QPoint(132, 19)));
    QCOMPARE(model.tab(1).rect, QRect(QPoint(133, 0), QPoint(265, 19)));
    QCOMPARE(model.tab(2).rect, QRect(QPoint(266, 2), QPoint(398, 19)));
    // A 10 x 10 close box 4 pixels inside the tab's right edge, 5 below its top.
    QCOMPARE(model.tab(1).closeBoxRect, QRect(266 - 14, 5, 10, 10));
    QCOMPARE(model.tabAt(QPoint(200, 10), 20), 1);
    QCOMPARE(model.tabAt(QPoint(200, 25), 20), -1);
    QCOMPARE(model.closeBoxAt(QPoint(255, 9)), 1);
    model.tab(0).enabled = false;
    QCOMPARE(model.tabAt(QPoint(10, 10), 20), -1);
    // Halves round to the even neighbour: 250 / 4 = 62.5 -> 62.
    TabStripModel four(4);
    four.layoutTabbedDialog(250, 0, 20, 18);
    QCOMPARE(four.tab(1).rect.left(), 62);
}

void TestTabStripModel::insertAndRemove()
{
    TabStripModel model(3);
    QCOMPARE(model.insertTab(0, QStringLiteral("&New")), 1);
    QCOMPARE(model.count(), 4);
    QCOMPARE(model.tab(1).caption, QStringLiteral("&New"));
    QCOMPARE(model.tab(1).accessKey, int('N'));
    QCOMPARE(model.tab(2).caption, QStringLiteral("Tab 1"));
    QVERIFY(model.removeTab(1));
    QCOMPARE(model.tab(1).caption, QStringLiteral("Tab 1"));
    TabStripModel single(1);
    QVERIFY(!single.removeTab(0));
    QCOMPARE(single.count(), 1);
}

void TestTabStripModel::themeColors()
{
    TabColors colors;
    ResetColorsToDefault(colors, 1, 0x00123456, 0);
    QCOMPARE(colors.ActiveTabBackStartColor, 0x00FBFDFBu);
    QCOMPARE(colors.InActiveTabBackEndColor, 0x00EAF0F0u);
    QCOMPARE(colors.TabStripBackColor, 0x00123456u);
    QCOMPARE(colors.OuterBorderColor, 0x009B9C91u);
    ResetColorsToDefault(colors, 2, 0x00123456, 0);
    QCOMPARE(colors.InActiveTabForeColor, GrayTextColor);
    QCOMPARE(colors.TabStripBackColor, LightColor3D);
    QCOMPARE(colors.OuterBorderColor, HighlightColor3D);
}

void TestTabStripModel::themeThreeAndBack()
{
    TabColors theme0;
    ResetColorsToDefault(theme0, 0, 0x00ABCDEF, 0);
    TabColors colors = theme0;
    ResetColorsToDefault(colors, 3, 0x00ABCDEF, 0);
    QCOMPARE(colors.ActiveTabBackStartColor, 0x00F8F8F8u);
    QCOMPARE(colors.ActiveTabBackEndColor, theme0.ActiveTabBackEndColor);     // left unchanged
    QCOMPARE(colors.InActiveTabBackEndColor, theme0.InActiveTabBackEndColor); // left unchanged
    QCOMPARE(colors.ActiveTabForeColor, 0x00A76D50u);
    ResetColorsToDefault(colors, 0, 0x00ABCDEF, 0);
    QCOMPARE(colors, theme0);
}

void TestTabStripModel::themeFourClampsPerChannel()
{
    TabColors colors;
    colors.PictureSize = 1;
    colors.UseFocusedColor = false;
    colors.UseThemeDetection = true;
    // Active caption R 0x80, G 0xFF, B 0x00 (0x00BBGGRR = 0x0000FF80).
    ResetColorsToDefault(colors, 4, 0, 0x0000FF80);
    QCOMPARE(colors.HoverColor, 0x0010FF90u);
    QCOMPARE(colors.FocusedColor, 0x0000EF70u);
    QCOMPARE(colors.PictureSize, 0);
    QVERIFY(colors.UseFocusedColor);
    QVERIFY(colors.UseMaskColor);
    QVERIFY(!colors.UseThemeDetection);
    QCOMPARE(shiftColor(0x00FFFFFF, -192), 0x003F3F3Fu);
}

void TestTabStripModel::pageShiftUnit()
{
    QCOMPARE(kiv::pageShiftUnit(400), 10000);
    QCOMPARE(kiv::pageShiftUnit(12000), 13000);
}

QTEST_GUILESS_MAIN(TestTabStripModel)
#include "tst_tabstripmodel.moc"
