#include "KivTest.h"
#include "widgets/tabstrip/TabStripModel.h"
#include "widgets/tabstrip/ucXTab.h"

#include <QPushButton>

// The tab strip as the settings dialog uses it: access keys, the keyboard, the wheel and the mouse. (The
// dialog uses neither close boxes, nor inserted tabs, nor controls placed on pages, nor cancelled switches;
// tst_configdialog sees its page follow a clicked tab.)
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

    void accessKeys()
    {
        // A literal ampersand then a key; only a literal one; a lower-case key; the last single ampersand
        // counts; none; a trailing one.
        const std::tuple<QString, int, QString> rows[] = {{u"&&Save &Load"_s, 'L', u"&Save Load"_s},
                                                          {u"Save && Load"_s, 0, u"Save & Load"_s},
                                                          {u"&general"_s, 'G', u"general"_s},
                                                          {u"&a &b"_s, 'B', u"a b"_s},
                                                          {u"常规"_s, 0, u"常规"_s},
                                                          {u"x&"_s, 0, u"x&"_s}};
        for (const auto& [caption, key, visible] : rows)
            QCOMPARE(std::pair(accessKeyOf(caption), visibleCaption(caption)), std::pair(key, visible));
    }

    void keys()
    {
        m_tab->setTabCaptions({u"&General"_s, u"&Appearance"_s, u"&Add clock"_s, u"&&Save &Load"_s});
        m_tab->setTabEnabled(3, false);
        const int alt = Qt::AltModifier, control = Qt::ControlModifier;
        const std::tuple<int, Qt::Key, int, int> rows[] = {
            {2, Qt::Key_Right, 0, 2},          // Right stops before a disabled tab
            {3, Qt::Key_Right, 0, 0},          // Right from a disabled tab (code may select one) wraps
            {0, Qt::Key_Left, 0, 0},           // Left from the first would wrap to a disabled tab
            {2, Qt::Key_Left, 0, 1},           // Left moves to the tab before
            {0, Qt::Key_PageDown, control, 1}, // Control and Page Down move right
            {1, Qt::Key_G, alt, 0},            // Alt and an access key select its tab
            {0, Qt::Key_L, alt, 0}};           // a disabled tab's access key does nothing
        for (const auto& [from, key, modifiers, to] : rows) {
            m_tab->setActiveTab(from);
            m_tab->setFocus();
            QWidget* target = modifiers == alt ? m_window.get() : static_cast<QWidget*>(m_tab);
            QTest::keyClick(target, key, Qt::KeyboardModifiers(modifiers));
            QVERIFY2(m_tab->ActiveTab() == to, qPrintable(u"from %1, key %2"_s.arg(from).arg(key)));
        }
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

    void wheelAndClicksBelowTheTabs()
    {
        m_tab->setActiveTab(2);
        for (const auto& [delta, active] : {std::pair{120, 1}, {-120, 2}, {-120, 0}, {120, 0}}) {
            wheel(delta);
            QCOMPARE(m_tab->ActiveTab(), active);
        }
        // A click below the tabs does nothing. (tst_configdialog clicks a tab.)
        QTest::mouseClick(m_tab, Qt::LeftButton, {}, QPoint(m_tab->tabRect(2).center().x(), 100));
        QCOMPARE(m_tab->ActiveTab(), 0);
    }
};

QTEST_MAIN(TestTabStrip)
#include "tst_tabstrip.moc"
