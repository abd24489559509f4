#include "KivTest.h"
#include "widgets/tabstrip/TabStripModel.h"
#include "widgets/tabstrip/ucXTab.h"

#include <QPushButton>
#include <QSignalSpy>

// The tab strip as the settings dialog uses it: access keys, the keyboard, the wheel and the mouse. (The
// dialog uses neither close boxes, nor inserted tabs, nor controls placed on pages.)
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

    void settingTheActiveTab()
    {
        // Itself raises nothing; -1 and TabCount select tab 0; a valid tab is selected. A switch is announced
        // before and after, with the tab it left.
        for (const auto& [from, requested, active] : {std::tuple{1, 1, 1}, {2, -1, 0}, {2, 3, 0}, {0, 2, 2}}) {
            m_tab->setActiveTab(from);
            QSignalSpy before(m_tab, &ucXTab::BeforeTabSwitch);
            QSignalSpy after(m_tab, &ucXTab::TabSwitch);
            m_tab->setActiveTab(requested);
            const int switches = from == active ? 0 : 1;
            QCOMPARE(QList({m_tab->ActiveTab(), int(before.size()), int(after.size())}),
                     QList({active, switches, switches}));
            if (switches)
                QCOMPARE(QList({after.first().first().toInt(), m_tab->LastActiveTab()}), QList({from, from}));
        }
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

    void wheelAndClicks()
    {
        m_tab->setActiveTab(2);
        QSignalSpy up(m_tab, &ucXTab::MouseScrollUp);
        QSignalSpy down(m_tab, &ucXTab::MouseScrollDown);
        for (const auto& [delta, active] : {std::pair{120, 1}, {-120, 2}, {-120, 0}, {120, 0}}) {
            wheel(delta);
            QCOMPARE(m_tab->ActiveTab(), active);
        }
        QCOMPARE(std::pair(up.size(), down.size()), std::pair(qsizetype(2), qsizetype(2)));
        // Clicks on a disabled tab or below the tabs do nothing. (tst_configdialog clicks an enabled tab.)
        m_tab->setActiveTab(1);
        m_tab->setTabEnabled(2, false);
        QTest::mouseClick(m_tab, Qt::LeftButton, {}, m_tab->tabRect(2).center());
        QCOMPARE(m_tab->ActiveTab(), 1);
        QTest::mouseClick(m_tab, Qt::LeftButton, {}, QPoint(m_tab->tabRect(0).center().x(), 100));
        QCOMPARE(m_tab->ActiveTab(), 1);
    }
};

QTEST_MAIN(TestTabStrip)
#include "tst_tabstrip.moc"
