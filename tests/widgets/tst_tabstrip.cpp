#include "widgets/tabstrip/TabStripModel.h"
#include "widgets/tabstrip/ucXTab.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using namespace kiv;
using namespace Qt::StringLiterals;

// The tab strip: its rules without a window (access keys, tab geometry), and the widget with the keyboard,
// the wheel, the mouse and its close boxes.
class TestTabStrip final : public QObject
{
    Q_OBJECT

    std::unique_ptr<QWidget> m_window;
    ucXTab* m_tab = nullptr;

    void wheel(int delta)
    {
        const QPointF centre = m_tab->rect().center();
        QWheelEvent event(centre, m_tab->mapToGlobal(centre), {}, {0, delta}, Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(m_tab, &event);
    }
    QLabel* page(int tab)
    {
        auto* label = new QLabel(u"page"_s);
        m_tab->AddControl(label, 20, 40, 100, 20, tab);
        return label;
    }

private slots:
    void init()
    {
        m_window = std::make_unique<QWidget>();
        m_window->resize(420, 200);
        m_tab = new ucXTab(m_window.get());
        m_tab->setGeometry(10, 10, 400, 180);
        m_tab->setTabCaptions({u"&General"_s, u"&Appearance"_s, u"&Clocks"_s});
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }

    void cleanup() { m_window.reset(); }

    void accessKeys_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("visible");
        QTest::newRow("literal ampersand then a key") << u"&&Save &Load"_s << int('L') << u"&Save Load"_s;
        QTest::newRow("only a literal ampersand") << u"Save && Load"_s << 0 << u"Save & Load"_s;
        QTest::newRow("lower-case key becomes upper case") << u"&general"_s << int('G') << u"general"_s;
        QTest::newRow("the last single ampersand counts") << u"&a &b"_s << int('B') << u"a b"_s;
        QTest::newRow("no ampersand") << u"常规"_s << 0 << u"常规"_s;
        QTest::newRow("trailing ampersand") << u"x&"_s << 0 << u"x&"_s;
    }

    void accessKeys()
    {
        QFETCH(QString, caption);
        QFETCH(int, key);
        QFETCH(QString, visible);
        QCOMPARE(accessKeyOf(caption), key);
        QCOMPARE(visibleCaption(caption), visible);
    }

    void tabbedDialogGeometry()
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
        // Pages of hidden tabs move further out than the widest strip reaches.
        QCOMPARE(pageShiftUnit(12000), 13000);
    }

    void settingTheActiveTab_data()
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

    void settingTheActiveTab()
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

    void cancelledSwitchChangesNothing()
    {
        QLabel* shown = page(0);
        m_tab->setActiveTab(1);
        m_tab->setActiveTab(0);
        connect(m_tab, &ucXTab::BeforeTabSwitch, this, [](int, bool* cancel) { *cancel = true; });
        QSignalSpy after(m_tab, &ucXTab::TabSwitch);
        m_tab->setActiveTab(2);
        QCOMPARE(m_tab->ActiveTab(), 0);
        QCOMPARE(m_tab->LastActiveTab(), 1);
        QCOMPARE(shown->pos(), QPoint(20, 40));
        QCOMPARE(after.size(), 0);
    }

    void pagesOfOtherTabsMoveOutOfSight()
    {
        QLabel* first = page(0);
        QLabel* second = page(1);
        QCOMPARE(m_tab->ActiveTab(), 1);
        QCOMPARE(second->pos(), QPoint(20, 40));
        QVERIFY(!m_tab->rect().intersects(first->geometry()));
        m_tab->setActiveTab(0);
        QCOMPARE(first->pos(), QPoint(20, 40));
        QVERIFY(!m_tab->rect().intersects(second->geometry()));
        QCOMPARE(m_tab->tabOfControl(second), 1);
    }

    void arrowKeysStopAtADisabledTab()
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
        QTest::keyClick(m_tab, Qt::Key_Left); // would wrap to the disabled tab
        QCOMPARE(m_tab->ActiveTab(), 0);
        QTest::keyClick(m_tab, Qt::Key_PageDown, Qt::ControlModifier);
        QCOMPARE(m_tab->ActiveTab(), 1);
        QTest::keyClick(m_tab, Qt::Key_Left);
        QCOMPARE(m_tab->ActiveTab(), 0);
    }

    void accessKeySelectsItsTab()
    {
        m_tab->setTabCaption(2, u"&&Save &Load"_s);
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
        m_tab->setTabCaptions({u"&General"_s, u"&Appearance"_s, u"&Add clock"_s});
        auto* apply = new QPushButton(u"&Apply"_s, m_window.get());
        apply->move(10, 195);
        apply->show();
        QSet<int> visited;
        for (int press = 0; press < 4; ++press) {
            QTest::keyClick(m_window.get(), Qt::Key_A, Qt::AltModifier);
            visited.insert(m_tab->ActiveTab());
        }
        QCOMPARE(visited, QSet<int>({1, 2}));
    }

    void wheelWrapsForwardAndStopsAtTheFirst()
    {
        m_tab->setActiveTab(2);
        QSignalSpy up(m_tab, &ucXTab::MouseScrollUp);
        QSignalSpy down(m_tab, &ucXTab::MouseScrollDown);
        for (const auto& [delta, active] : {std::pair{120, 1}, {-120, 2}, {-120, 0}, {120, 0}}) {
            wheel(delta);
            QCOMPARE(m_tab->ActiveTab(), active);
        }
        QCOMPARE(up.size(), 2);
        QCOMPARE(down.size(), 2);
    }

    void clickingATabSwitchesToIt()
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

    void closeBoxRemovesATabButNeverTheLast()
    {
        m_tab->setUseControlBox(true);
        QSignalSpy removed(m_tab, &ucXTab::TabRemove);
        QSignalSpy boxUp(m_tab, &ucXTab::ControlBoxMouseUp);
        // A press on a close box released elsewhere removes nothing.
        QTest::mousePress(m_tab, Qt::LeftButton, {}, m_tab->closeBoxRect(0).center());
        QTest::mouseRelease(m_tab, Qt::LeftButton, {}, QPoint(5, 150));
        QCOMPARE(m_tab->TabCount(), 3);
        QTest::mouseClick(m_tab, Qt::LeftButton, {}, m_tab->closeBoxRect(1).center());
        QCOMPARE(m_tab->TabCaptions(), QStringList({u"&General"_s, u"&Clocks"_s}));
        QCOMPARE(removed.size(), 1);
        QCOMPARE(removed.first().first().toInt(), 1);
        QCOMPARE(boxUp.size(), 1);
        QTest::mouseClick(m_tab, Qt::LeftButton, {}, m_tab->closeBoxRect(0).center());
        QTest::mouseClick(m_tab, Qt::LeftButton, {}, m_tab->closeBoxRect(0).center());
        QCOMPARE(m_tab->TabCount(), 1);
        QCOMPARE(removed.size(), 2);
    }

    void insertedTabKeepsTheShownPage()
    {
        QLabel* shown = page(1);
        QSignalSpy inserted(m_tab, &ucXTab::TabInsert);
        m_tab->InsertTab(0, u"&New"_s);
        QCOMPARE(inserted.first().first().toInt(), 1);
        QCOMPARE(m_tab->TabCount(), 4);
        QCOMPARE(m_tab->ActiveTab(), 2);
        QCOMPARE(m_tab->tabOfControl(shown), 2);
        QCOMPARE(shown->pos(), QPoint(20, 40));
        m_tab->setActiveTab(1);
        QVERIFY(!m_tab->rect().intersects(shown->geometry()));
    }

    void drawsTheActiveTabAndThePageInTheThemeColours()
    {
        const auto colour = [this](OleColor ole) {
            const OleColor rgb = m_tab->GetRGBFromOLE(ole);
            return QColor(int(rgb & 0xFF), int((rgb >> 8) & 0xFF), int((rgb >> 16) & 0xFF));
        };
        const auto near = [](QColor a, QColor b) {
            return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue()) < 12;
        };
        const QImage image = m_tab->grab().toImage();
        const QRect active = m_tab->tabRect(m_tab->ActiveTab());
        QVERIFY(near(image.pixelColor(active.left() + 20, active.top() + 3), colour(m_tab->ActiveTabBackStartColor())));
        QVERIFY(near(image.pixelColor(200, 120), colour(m_tab->ActiveTabBackEndColor())));
        QVERIFY(near(image.pixelColor(image.width() - 1, image.height() - 10), colour(m_tab->OuterBorderColor())));
    }
};

QTEST_MAIN(TestTabStrip)
#include "tst_tabstrip.moc"
