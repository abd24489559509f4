#include "widgets/tabstrip/ucXTab.h"

#include <QDir>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using namespace kiv;

namespace {

QColor rgb(OleColor ole)
{
    return QColor(int(ole & 0xFF), int((ole >> 8) & 0xFF), int((ole >> 16) & 0xFF));
}

bool near(QColor actual, QColor expected, int tolerance = 3)
{
    return std::abs(actual.red() - expected.red()) <= tolerance &&
           std::abs(actual.green() - expected.green()) <= tolerance &&
           std::abs(actual.blue() - expected.blue()) <= tolerance;
}

QString describe(QColor c)
{
    return c.name();
}

} // namespace

class TestXTab final : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void settingTheActiveTab_data();
    void settingTheActiveTab();
    void cancelledSwitchChangesNothing();
    void pagesOfOtherTabsMoveOutOfSight();
    void arrowKeysStopAtADisabledTab();
    void accessKeySelectsItsTab();
    void wheelWrapsForwardAndStopsAtTheFirst();
    void clickingATabSwitchesToIt();
    void closeBoxRemovesATabButNeverTheLast();
    void insertedTabKeepsTheShownPage();
    void propertiesArePersistedByName();
    void renderingUsesTheThemeColours_data();
    void renderingUsesTheThemeColours();
    void closeBoxStates();
    void gallery();

private:
    std::unique_ptr<QWidget> m_window;
    ucXTab* m_tab = nullptr;
};

void TestXTab::init()
{
    m_window = std::make_unique<QWidget>();
    m_window->resize(420, 200);
    m_tab = new ucXTab(m_window.get());
    m_tab->setGeometry(10, 10, 400, 180);
    m_tab->setTabCaptions({QStringLiteral("&General"), QStringLiteral("&Appearance"), QStringLiteral("&Clocks")});
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void TestXTab::cleanup()
{
    m_window.reset();
}

void TestXTab::settingTheActiveTab_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("requested");
    QTest::addColumn<int>("active");
    QTest::addColumn<int>("switches");
    QTest::newRow("itself raises nothing") << 1 << 1 << 1 << 0;
    QTest::newRow("-1 selects tab 0") << 2 << -1 << 0 << 1;
    QTest::newRow("TabCount selects tab 0") << 2 << 3 << 0 << 1;
    QTest::newRow("a valid tab") << 0 << 2 << 2 << 1;
}

void TestXTab::settingTheActiveTab()
{
    QFETCH(int, from);
    QFETCH(int, requested);
    QFETCH(int, active);
    QFETCH(int, switches);
    m_tab->setActiveTab(from);
    QSignalSpy before(m_tab, &ucXTab::BeforeTabSwitch);
    QSignalSpy after(m_tab, &ucXTab::TabSwitch);
    m_tab->setActiveTab(requested);
    QCOMPARE(m_tab->ActiveTab(), active);
    QCOMPARE(before.size(), switches);
    QCOMPARE(after.size(), switches);
    if (switches) {
        QCOMPARE(after.first().first().toInt(), from);
        QCOMPARE(m_tab->LastActiveTab(), from);
    }
}

void TestXTab::cancelledSwitchChangesNothing()
{
    auto* page = new QLabel(QStringLiteral("page 0"));
    m_tab->AddControl(page, 20, 40, 100, 20);
    m_tab->setActiveTab(1);
    m_tab->setActiveTab(0);
    connect(m_tab, &ucXTab::BeforeTabSwitch, this, [](int, bool* cancel) { *cancel = true; });
    QSignalSpy after(m_tab, &ucXTab::TabSwitch);
    m_tab->setActiveTab(2);
    QCOMPARE(m_tab->ActiveTab(), 0);
    QCOMPARE(m_tab->LastActiveTab(), 1);
    QCOMPARE(page->pos(), QPoint(20, 40));
    QCOMPARE(after.size(), 0);
}

void TestXTab::pagesOfOtherTabsMoveOutOfSight()
{
    auto* first = new QLabel(QStringLiteral("first"));
    auto* second = new QLabel(QStringLiteral("second"));
    m_tab->AddControl(first, 20, 40, 100, 20, 0);
    m_tab->AddControl(second, 20, 40, 100, 20, 1);
    QCOMPARE(m_tab->ActiveTab(), 1);
    QCOMPARE(second->pos(), QPoint(20, 40));
    QVERIFY(!m_tab->rect().intersects(first->geometry()));
    m_tab->setActiveTab(0);
    QCOMPARE(first->pos(), QPoint(20, 40));
    QVERIFY(!m_tab->rect().intersects(second->geometry()));
    QCOMPARE(m_tab->tabOfControl(first), 0);
    QCOMPARE(m_tab->tabOfControl(second), 1);
}

void TestXTab::arrowKeysStopAtADisabledTab()
{
    m_tab->setTabEnabled(2, false);
    m_tab->setActiveTab(1);
    m_tab->setFocus();
    QSignalSpy keys(m_tab, &ucXTab::KeyDown);
    QTest::keyClick(m_tab, Qt::Key_Right);
    QCOMPARE(m_tab->ActiveTab(), 1);
    QCOMPARE(keys.size(), 1);
    QCOMPARE(keys.first().first().toInt(), 39);
    m_tab->setActiveTab(2); // code may select a disabled tab
    QTest::keyClick(m_tab, Qt::Key_Right);
    QCOMPARE(m_tab->ActiveTab(), 0);
    QTest::keyClick(m_tab, Qt::Key_PageDown, Qt::ControlModifier);
    QCOMPARE(m_tab->ActiveTab(), 1);
    QTest::keyClick(m_tab, Qt::Key_Left);
    QCOMPARE(m_tab->ActiveTab(), 0);
}

void TestXTab::accessKeySelectsItsTab()
{
    m_tab->setTabCaption(2, QStringLiteral("&&Save &Load"));
    QCOMPARE(m_tab->TabAccessKey(2), int('L'));
    m_tab->setFocus();
    QTest::keyClick(m_window.get(), Qt::Key_L, Qt::AltModifier);
    QCOMPARE(m_tab->ActiveTab(), 2);
    m_tab->setTabEnabled(1, false);
    QTest::keyClick(m_window.get(), Qt::Key_A, Qt::AltModifier);
    QCOMPARE(m_tab->ActiveTab(), 2);
    QTest::keyClick(m_window.get(), Qt::Key_G, Qt::AltModifier);
    QCOMPARE(m_tab->ActiveTab(), 0);
    // Tabs sharing a key are visited in turn, also when a button has the same key.
    m_tab->setTabEnabled(1, true);
    m_tab->setTabCaptions({QStringLiteral("&General"), QStringLiteral("&Appearance"), QStringLiteral("&Add clock")});
    auto* apply = new QPushButton(QStringLiteral("&Apply"), m_window.get());
    apply->move(10, 195);
    apply->show();
    QSignalSpy switches(m_tab, &ucXTab::TabSwitch);
    QSet<int> visited;
    for (int press = 0; press < 4; ++press) {
        QTest::keyClick(m_window.get(), Qt::Key_A, Qt::AltModifier);
        visited.insert(m_tab->ActiveTab());
    }
    QCOMPARE(visited, QSet<int>({1, 2}));
    QVERIFY(switches.size() >= 2);
}

void TestXTab::wheelWrapsForwardAndStopsAtTheFirst()
{
    m_tab->setActiveTab(2);
    QSignalSpy up(m_tab, &ucXTab::MouseScrollUp);
    QSignalSpy down(m_tab, &ucXTab::MouseScrollDown);
    const QPoint centre = m_tab->rect().center();
    QWheelEvent towardUser(centre, m_tab->mapToGlobal(centre), {}, {0, -120}, Qt::NoButton, Qt::NoModifier,
                           Qt::NoScrollPhase, false);
    QApplication::sendEvent(m_tab, &towardUser);
    QCOMPARE(m_tab->ActiveTab(), 0);
    QCOMPARE(up.size(), 1);
    QWheelEvent away(centre, m_tab->mapToGlobal(centre), {}, {0, 120}, Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                     false);
    QApplication::sendEvent(m_tab, &away);
    QCOMPARE(m_tab->ActiveTab(), 0);
    QCOMPARE(down.size(), 1);
}

void TestXTab::clickingATabSwitchesToIt()
{
    for (int i : {2, 0, 1}) {
        QTest::mouseClick(m_tab, Qt::LeftButton, {}, m_tab->tabRect(i).center());
        QCOMPARE(m_tab->ActiveTab(), i);
    }
    m_tab->setTabEnabled(2, false);
    QTest::mouseClick(m_tab, Qt::LeftButton, {}, m_tab->tabRect(2).center());
    QCOMPARE(m_tab->ActiveTab(), 1);
    QTest::mouseClick(m_tab, Qt::LeftButton, {}, QPoint(m_tab->tabRect(0).center().x(), 100));
    QCOMPARE(m_tab->ActiveTab(), 1);
}

void TestXTab::closeBoxRemovesATabButNeverTheLast()
{
    m_tab->setUseControlBox(true);
    QSignalSpy removed(m_tab, &ucXTab::TabRemove);
    QSignalSpy boxUp(m_tab, &ucXTab::ControlBoxMouseUp);
    QTest::mouseClick(m_tab, Qt::LeftButton, {}, m_tab->closeBoxRect(1).center());
    QCOMPARE(m_tab->TabCount(), 2);
    QCOMPARE(removed.size(), 1);
    QCOMPARE(removed.first().first().toInt(), 1);
    QCOMPARE(boxUp.size(), 1);
    QCOMPARE(m_tab->TabCaptions(), QStringList({QStringLiteral("&General"), QStringLiteral("&Clocks")}));
    QTest::mouseClick(m_tab, Qt::LeftButton, {}, m_tab->closeBoxRect(0).center());
    QCOMPARE(m_tab->TabCount(), 1);
    QTest::mouseClick(m_tab, Qt::LeftButton, {}, m_tab->closeBoxRect(0).center());
    QCOMPARE(m_tab->TabCount(), 1);
    QCOMPARE(removed.size(), 2);
}

void TestXTab::insertedTabKeepsTheShownPage()
{
    auto* page = new QLabel(QStringLiteral("appearance"));
    m_tab->AddControl(page, 20, 40, 100, 20, 1);
    QSignalSpy inserted(m_tab, &ucXTab::TabInsert);
    m_tab->InsertTab(0, QStringLiteral("&New"));
    QCOMPARE(inserted.first().first().toInt(), 1);
    QCOMPARE(m_tab->TabCount(), 4);
    QCOMPARE(m_tab->ActiveTab(), 2);
    QCOMPARE(m_tab->tabOfControl(page), 2);
    QCOMPARE(page->pos(), QPoint(20, 40));
    m_tab->setActiveTab(1);
    QVERIFY(!m_tab->rect().intersects(page->geometry()));
}

void TestXTab::propertiesArePersistedByName()
{
    QVERIFY(m_tab->setProperty("TabTheme", 4));
    QVERIFY(m_tab->setProperty("TabStyle", 1));
    QVERIFY(m_tab->setProperty("ActiveTab", 2));
    QVERIFY(m_tab->setProperty("HoverColor", 0x00112233u));
    QCOMPARE(m_tab->property("TabTheme").toInt(), 4);
    QCOMPARE(m_tab->property("ActiveTab").toInt(), 2);
    QCOMPARE(m_tab->property("HoverColor").toUInt(), 0x00112233u);
    QCOMPARE(m_tab->property("TabCount").toInt(), 3);
    QCOMPARE(m_tab->property("ActiveTabHeight").toInt(), 20);
    QCOMPARE(m_tab->property("InActiveTabHeight").toInt(), 18);
    QCOMPARE(m_tab->property("XRadius").toInt(), 10);
    QCOMPARE(m_tab->property("PictureMaskColor").toUInt(), 0x00C0C0C0u);
    QCOMPARE(m_tab->property("TabCaptions").toStringList().size(), 3);
}

void TestXTab::renderingUsesTheThemeColours_data()
{
    QTest::addColumn<int>("theme");
    QTest::addColumn<int>("style");
    for (int style = 0; style < 2; ++style) {
        for (int theme : {1, 3, 4})
            QTest::newRow(qPrintable(QStringLiteral("theme %1, style %2").arg(theme).arg(style))) << theme << style;
    }
}

void TestXTab::renderingUsesTheThemeColours()
{
    QFETCH(int, theme);
    QFETCH(int, style);
    m_tab->setTabTheme(theme);
    m_tab->setTabStyle(style);
    m_tab->setActiveTab(1);
    const QImage image = m_tab->grab().toImage();
    const QRect active = m_tab->tabRect(1);
    const QRect inactive = m_tab->tabRect(0);
    // The active tab's gradient: its start colour at the top, the page below in its end colour.
    const QColor top = image.pixelColor(active.left() + 20, active.top() + 3);
    QVERIFY2(near(top, rgb(m_tab->GetRGBFromOLE(m_tab->ActiveTabBackStartColor())), 6), qPrintable(describe(top)));
    const QColor page = image.pixelColor(200, 120);
    QVERIFY2(near(page, rgb(m_tab->GetRGBFromOLE(m_tab->ActiveTabBackEndColor())), 2), qPrintable(describe(page)));
    const QColor inactiveTop = image.pixelColor(inactive.left() + 20, inactive.top() + 3);
    QVERIFY2(near(inactiveTop, rgb(m_tab->GetRGBFromOLE(m_tab->InActiveTabBackStartColor())), 6),
             qPrintable(describe(inactiveTop)));
    // The page frame: outer border at the right and bottom edges.
    const QColor corner = image.pixelColor(image.width() - 1, image.height() - 10);
    QVERIFY2(near(corner, rgb(m_tab->GetRGBFromOLE(m_tab->OuterBorderColor())), 0), qPrintable(describe(corner)));
}

void TestXTab::closeBoxStates()
{
    m_tab->setTabTheme(1);
    m_tab->setUseControlBox(true);
    const QRect box = m_tab->closeBoxRect(0);
    const QPoint inside(box.left() + 2, box.top() + 2);
    const QColor normal = m_tab->grab().toImage().pixelColor(inside);
    QTest::mouseMove(m_tab, box.center());
    const QColor hot = m_tab->grab().toImage().pixelColor(box.left() + 2, box.bottom() - 3);
    QTest::mousePress(m_tab, Qt::LeftButton, {}, box.center());
    const QColor pressed = m_tab->grab().toImage().pixelColor(inside);
    QVERIFY2(near(normal, rgb(0x00FBFDFB), 6), qPrintable(describe(normal)));
    QVERIFY2(hot.red() < normal.red() - 20, qPrintable(describe(hot)));
    QVERIFY2(near(pressed, rgb(shiftColor(0x00FBFDFB, -48)), 2), qPrintable(describe(pressed)));
    QTest::mouseRelease(m_tab, Qt::LeftButton, {}, QPoint(5, 150)); // released elsewhere: nothing removed
    QCOMPARE(m_tab->TabCount(), 3);
}

void TestXTab::gallery()
{
    // Both styles in every theme, one strip per row, saved for people to look at.
    const int rows = 10;
    QImage gallery(420, rows * 90 + 10, QImage::Format_RGB32);
    gallery.fill(QColor(0xE0, 0xE0, 0xE0));
    QPainter painter(&gallery);
    int row = 0;
    for (int style = 0; style < 2; ++style) {
        for (int theme = 0; theme < 5; ++theme) {
            QWidget holder;
            holder.resize(400, 80);
            ucXTab strip(&holder);
            strip.setGeometry(0, 0, 400, 80);
            strip.setTabCaptions(
                {QStringLiteral("常规"), QStringLiteral("外观"), QStringLiteral("添加时钟"), QStringLiteral("警报")});
            strip.setTabTheme(theme);
            strip.setTabStyle(style);
            strip.setUseControlBox(theme % 2 == 1);
            strip.setTabEnabled(3, theme != 2);
            strip.setActiveTab(1);
            auto* label = new QLabel(QStringLiteral("Style %1, theme %2").arg(style).arg(theme));
            strip.AddControl(label, 12, 35, 200, 20);
            holder.show();
            QVERIFY(QTest::qWaitForWindowExposed(&holder));
            painter.drawImage(10, 10 + row * 90, strip.grab().toImage());
            ++row;
        }
    }
    painter.end();
    const QString folder = qEnvironmentVariable("KIV_SCREENSHOT_DIR", QDir::currentPath());
    QVERIFY(gallery.save(folder + QStringLiteral("/tabstrip-gallery.png")));
}

QTEST_MAIN(TestXTab)
#include "tst_ucxtab.moc"
