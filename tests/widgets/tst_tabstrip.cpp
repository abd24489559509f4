#include "KivTest.h"
#include "widgets/tabstrip/TabStripModel.h"
#include "widgets/tabstrip/ucXTab.h"

#include <QMetaProperty>
#include <QPushButton>

#include <cmath>

// The tab strip as the settings dialog uses it: access keys, the keyboard, the wheel, the mouse, readable
// captions and the properties a form stores. (The dialog uses neither close boxes, nor inserted tabs, nor
// controls placed on pages, nor cancelled switches; tst_configdialog sees its page follow a clicked tab.)
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
            double sum = 0.05;
            for (const auto& [shift, weight] : {std::pair{0, 0.2126}, {8, 0.7152}, {16, 0.0722}}) {
                const double c = ((rgb >> shift) & 0xFF) / 255.0;
                sum += weight * (c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4));
            }
            return sum;
        };
        return std::max(luminance(a), luminance(b)) / std::min(luminance(a), luminance(b));
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
        QCOMPARE(fileDialogFilter(u"Sounds|*.wav;*.ogg|All|*.*"), u"Sounds (*.wav *.ogg);;All (*.*)"_s);
    }

    void captionsReadInEveryTheme()
    {
        // 4.5:1, the least contrast for text, between an active or inactive tab's caption and its background.
        for (int theme = 0; theme < 5; ++theme) {
            m_tab->setTabTheme(theme);
            for (const auto state : {ucXTab::TabState::Active, ucXTab::TabState::Inactive}) {
                const ucXTab::TabPaint paint = m_tab->tabPaint(state);
                for (const OleColor back : {paint.backStart, paint.backEnd})
                    QVERIFY2(contrast(paint.fore, back) >= 4.5,
                             qPrintable(u"theme %1, state %2"_s.arg(theme).arg(int(state))));
            }
        }
        // Theme 3 fills the strip above the inactive tab, which is lower than the active one.
        m_tab->setTabTheme(3);
        m_tab->setTabStripBackColor(0x000000FF);
        QCOMPARE(m_tab->grab().toImage().pixelColor(m_tab->tabRect(1).center().x(), 0), QColor(Qt::red));
    }

    void persistedPropertiesCarryPicturesAndAccessKeys()
    {
        QPixmap blue(16, 16);
        blue.fill(Qt::blue);
        m_tab->CopyTabImagesFromImageList({QPixmap(16, 16), blue});
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
    }

    void keysAndAccessKeysSharedWithAButton()
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
        // Tabs that share an access key with a button are visited in turn.
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
