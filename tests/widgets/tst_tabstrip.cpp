#include "widgets/tabstrip/TabStripModel.h"
#include "widgets/tabstrip/ucXTab.h"

#include <QLabel>
#include <QMetaProperty>
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
    // The contrast ratio of two colours (0x00BBGGRR) as WCAG 2 defines it.
    static double contrast(OleColor a, OleColor b)
    {
        const auto luminance = [](OleColor rgb) {
            double sum = 0;
            for (const auto& [shift, weight] : {std::pair{0, 0.2126}, {8, 0.7152}, {16, 0.0722}}) {
                const double c = ((rgb >> shift) & 0xFF) / 255.0;
                sum += weight * (c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4));
            }
            return sum;
        };
        const double la = luminance(a);
        const double lb = luminance(b);
        return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
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
        // Width 400 / 3 = 133.3 -> 133; the active tab stands 2 pixels taller; the last ends at the width - 1.
        QCOMPARE(QList({model.tab(0).rect, model.tab(1).rect, model.tab(2).rect}),
                 QList({QRect(QPoint(0, 2), QPoint(132, 19)), QRect(QPoint(133, 0), QPoint(265, 19)),
                        QRect(QPoint(266, 2), QPoint(398, 19))}));
        // A 10 x 10 close box 4 pixels inside the tab's right edge, 5 below its top.
        QCOMPARE(model.tab(1).closeBoxRect, QRect(266 - 14, 5, 10, 10));
        QCOMPARE(model.closeBoxAt(QPoint(255, 9)), 1);
        model.tab(0).enabled = false;
        QCOMPARE(QList({model.tabAt(QPoint(200, 10), 20), model.tabAt(QPoint(200, 25), 20),
                        model.tabAt(QPoint(10, 10), 20)}),
                 QList({1, -1, -1}));
        // Halves round to the even neighbour: 250 / 4 = 62.5 -> 62.
        TabStripModel four(4);
        four.layoutTabbedDialog(250, 0, 20, 18);
        QCOMPARE(four.tab(1).rect.left(), 62);
        // Pages of hidden tabs move further out than the widest strip reaches.
        QCOMPARE(pageShiftUnit(12000), 13000);
        QCOMPARE(fileDialogFilter(u"Sounds|*.wav;*.ogg|All|*.*"), u"Sounds (*.wav *.ogg);;All (*.*)"_s);
    }

    void captionsReadInEveryTheme()
    {
        // 4.5:1, the least contrast for text, between an active or inactive tab's caption and its background.
        using State = ucXTab::TabState;
        for (int theme = 0; theme < 5; ++theme) {
            m_tab->setTabTheme(theme);
            for (const State state : {State::Active, State::Inactive}) {
                const ucXTab::TabPaint paint = m_tab->tabPaint(state);
                for (const OleColor back : {paint.backStart, paint.backEnd})
                    QVERIFY2(contrast(paint.fore, back) >= 4.5,
                             qPrintable(u"theme %1, %2 tab"_s.arg(theme).arg(state == State::Active ? u"active"_s
                                                                                                    : u"inactive"_s)));
            }
        }
    }

    void themeThreeFillsTheStripBehindItsTabs()
    {
        m_tab->setTabTheme(3);
        m_tab->setTabStripBackColor(0x000000FF);
        const QImage image = m_tab->grab().toImage();
        // Above the inactive tab, which is lower than the active one.
        QCOMPARE(image.pixelColor(m_tab->tabRect(1).center().x(), 0), QColor(Qt::red));
    }

    void persistedPropertiesCarryPicturesAndAccessKeys()
    {
        QPixmap red(16, 16);
        red.fill(Qt::red);
        QPixmap blue(16, 16);
        blue.fill(Qt::blue);
        m_tab->CopyTabImagesFromImageList({red, blue});
        m_tab->setTabAccessKeys({'X'});
        m_tab->ShowHideFocus();
        // What a form stores of the strip and reads back into a new one.
        ucXTab copy;
        for (int i = 0; i < ucXTab::staticMetaObject.propertyCount(); ++i) {
            const QMetaProperty property = ucXTab::staticMetaObject.property(i);
            if (property.isWritable() && property.isStored())
                copy.setProperty(property.name(), m_tab->property(property.name()));
        }
        QCOMPARE(copy.TabPicture(1).toImage(), blue.toImage());
        QCOMPARE(QList({copy.TabAccessKey(0), copy.TabAccessKey(1)}), QList({int('X'), int('A')}));
        QCOMPARE(copy.property("ShowFocusRect").toBool(), false);
        // hwnd is the window the strip draws in; there is no device context (hdc).
        QCOMPARE(WId(m_tab->hwnd()), m_window->winId());
        QCOMPARE(m_tab->hdc(), qulonglong(0));
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

    void pagesFollowTheirTabs()
    {
        QLabel* first = page(0);
        QLabel* second = page(1);
        QCOMPARE(m_tab->ActiveTab(), 1);
        QCOMPARE(second->pos(), QPoint(20, 40));
        QVERIFY(!m_tab->rect().intersects(first->geometry()));
        m_tab->setActiveTab(0);
        QCOMPARE(first->pos(), QPoint(20, 40));
        QVERIFY(!m_tab->rect().intersects(second->geometry()));
        // A tab inserted before the page's tab keeps the page with its tab.
        QSignalSpy inserted(m_tab, &ucXTab::TabInsert);
        m_tab->InsertTab(0, u"&New"_s);
        QCOMPARE(inserted.first().first().toInt(), 1);
        QCOMPARE(QList({m_tab->TabCount(), m_tab->tabOfControl(first), m_tab->tabOfControl(second)}), QList({4, 0, 2}));
        m_tab->setActiveTab(2);
        QCOMPARE(second->pos(), QPoint(20, 40));
        // A switch cancelled before it happens changes nothing.
        connect(m_tab, &ucXTab::BeforeTabSwitch, this, [](int, bool* cancel) { *cancel = true; });
        QSignalSpy after(m_tab, &ucXTab::TabSwitch);
        m_tab->setActiveTab(0);
        QCOMPARE(m_tab->ActiveTab(), 2);
        QCOMPARE(m_tab->LastActiveTab(), 0);
        QCOMPARE(second->pos(), QPoint(20, 40));
        QCOMPARE(after.size(), 0);
    }

    void keys_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<int>("to");
        const int alt = Qt::AltModifier;
        QTest::newRow("Right stops before a disabled tab") << 2 << int(Qt::Key_Right) << 0 << 2;
        QTest::newRow("Right from a disabled tab wraps to the first") << 3 << int(Qt::Key_Right) << 0 << 0;
        QTest::newRow("Left from the first would wrap to a disabled tab") << 0 << int(Qt::Key_Left) << 0 << 0;
        QTest::newRow("Left moves to the tab before") << 2 << int(Qt::Key_Left) << 0 << 1;
        QTest::newRow("Control and Page Down move right")
            << 0 << int(Qt::Key_PageDown) << int(Qt::ControlModifier) << 1;
        QTest::newRow("Alt and an access key select its tab") << 1 << int(Qt::Key_G) << alt << 0;
        QTest::newRow("a disabled tab's access key does nothing") << 0 << int(Qt::Key_L) << alt << 0;
    }

    void keys()
    {
        QFETCH(int, from);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(int, to);
        m_tab->setTabCaptions({u"&General"_s, u"&Appearance"_s, u"&Add clock"_s, u"&&Save &Load"_s});
        m_tab->setTabEnabled(3, false);
        m_tab->setActiveTab(from); // code may select a disabled tab
        m_tab->setFocus();
        QWidget* target = modifiers == Qt::AltModifier ? m_window.get() : static_cast<QWidget*>(m_tab);
        QTest::keyClick(target, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(m_tab->ActiveTab(), to);
    }

    void tabsSharingAnAccessKeyWithAButtonAreVisitedInTurn()
    {
        m_tab->setTabCaptions({u"&General"_s, u"&Appearance"_s, u"&Add clock"_s});
        (new QPushButton(u"&Apply"_s, m_window.get()))->show();
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

    void clicksOnADisabledTabOrBelowTheTabsDoNothing()
    {
        // (tst_configdialog clicks through the enabled tabs of the settings dialog.)
        m_tab->setActiveTab(1);
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
};

QTEST_MAIN(TestTabStrip)
#include "tst_tabstrip.moc"
