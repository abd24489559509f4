#include "DesktopClock.h"
#include "app/ClockApplication.h"
#include "app/LinuxClockServices.h"
#include "clock/ClockWindow.h"
#include "dialogs/ConfigDialog.h"
#include "platform/linux/InstanceChannel.h"
#include "platform/linux/XdgAutorunEntries.h"
#include "settings/Registry.h"
#include "settings/RegistryKeys.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

using test::xdotool;

// The clocks page of the settings dialog of a real clock application, with the desktop's own services:
// the other clocks are real processes on a private X server, started, stopped and deleted from the dialog.
class TestClocksPage final : public QObject
{
    Q_OBJECT

    std::unique_ptr<LinuxClockServices> m_services;
    std::unique_ptr<ClockApplication> m_app;
    Registry m_registry{Registry::defaultFilePath()};

    template <typename T> T* control(const char* name) const
    {
        return m_app->settingsDialog()->findChild<T*>(QString::fromLatin1(name));
    }
    QString line(int row) const
    {
        auto* list = control<QListWidget>("ListClock");
        return row < list->count() ? list->item(row)->text() : QString();
    }
    void click(const char* name) { QTest::mouseClick(control<QPushButton>(name), Qt::LeftButton); }
    // Selects the line of the clock `name` alone, then clicks `button`.
    void act(const QString& name, const char* button)
    {
        auto* list = control<QListWidget>("ListClock");
        for (int i = 0; i < list->count(); ++i)
            list->item(i)->setSelected(list->item(i)->text().startsWith(name + u" -- "_s));
        click(button);
    }
    static bool shown(const QString& name)
    {
        return !test::windowsCaptioned(u"^Kiv Clock \\{"_s + name + u"\\}$"_s).isEmpty();
    }
    static bool autostarts(const QString& name)
    {
        return QFile::exists(
            XdgAutorunEntries(XdgAutorunEntries::defaultFolder(), QString()).entryPath(u"Kiv Clock - "_s + name));
    }

private slots:
    void initTestCase()
    {
        // The folders of this test (fresh for each run) are the ones the started clocks use too.
        QFile::remove(Registry::defaultFilePath());
        QDir(XdgAutorunEntries::defaultFolder()).removeRecursively();
        m_services = std::make_unique<LinuxClockServices>(QStringLiteral(KIVCLOCK));
        m_app = std::make_unique<ClockApplication>(u"Default"_s, m_services->services());
        QVERIFY(m_app->start());
        m_app->openSettings(m_app->window());
        QVERIFY(QTest::qWaitForWindowExposed(m_app->settingsDialog(), 20000));
    }

    void cleanupTestCase()
    {
        // Whatever a failed step left running is closed through its own channel.
        LocalSocketInstances().close(u"Tokyo"_s);
        m_app.reset();
    }

    void addStopRunAndDeleteAClock()
    {
        const QString tokyoKey = clockKeyPath(u"Tokyo"_s);
        control<QLineEdit>("TxtDisplayName")->setText(u"Tokyo"_s);
        control<QComboBox>("CombTimeZone")->setCurrentIndex(81);
        click("CmdTimeZone0");
        // Listed as running once it answers, however long its start takes on a busy machine.
        QTRY_COMPARE_WITH_TIMEOUT(line(1), u"Tokyo -- 运行中"_s, 15000);
        QVERIFY(shown(u"Tokyo"_s));

        // Looking whether the other clocks run must not bring them to the front.
        QWidget* dialog = m_app->settingsDialog();
        dialog->activateWindow();
        QTRY_VERIFY_WITH_TIMEOUT(dialog->isActiveWindow(), 10000);
        click("CmdTimeZone4");
        // A raise asked of Tokyo has been handled once it answers again; the window manager's part once it has
        // answered a request of its own made after that.
        QVERIFY(LocalSocketInstances().find(u"Tokyo"_s, false));
        const QString desktops = QString::number(xdotool({u"get_num_desktops"_s}).toInt() + 1);
        xdotool({u"set_num_desktops"_s, desktops});
        QTRY_COMPARE_WITH_TIMEOUT(xdotool({u"get_num_desktops"_s}), desktops, 10000);
        QCOMPARE(xdotool({u"getactivewindow"_s}), QString::number(dialog->winId()));

        act(u"Tokyo"_s, "CmdTimeZone3"); // stop: the clock saves its settings and ends
        QTRY_VERIFY_WITH_TIMEOUT(!shown(u"Tokyo"_s), 10000);
        QCOMPARE(m_registry.ReadRegistryValue(tokyoKey, u"TimeZoneIndex"_s), RegistryValue(81));
        QVERIFY(!m_registry.ReadRegistryValue(tokyoKey, u"Left"_s).isEmpty());
        QTRY_COMPARE_WITH_TIMEOUT(line(1), u"Tokyo -- 已停止"_s, 5000);
        QVERIFY(autostarts(u"Tokyo"_s)); // a stopped clock still starts with the session

        act(u"Tokyo"_s, "CmdTimeZone2"); // run
        QTRY_COMPARE_WITH_TIMEOUT(line(1), u"Tokyo -- 运行中"_s, 15000);
        QVERIFY(shown(u"Tokyo"_s));

        act(u"Tokyo"_s, "CmdTimeZone1"); // delete: stopped, then every trace removed
        QTRY_VERIFY_WITH_TIMEOUT(!shown(u"Tokyo"_s), 10000);
        QVERIFY(!m_registry.snapshot().findKey(tokyoKey) && !autostarts(u"Tokyo"_s));
        QTRY_COMPARE_WITH_TIMEOUT(control<QListWidget>("ListClock")->count(), 1, 5000);
    }

    void stoppingTheCurrentClockEndsIt()
    {
        // Stopping this very clock runs its exit with saving: the record is written and the windows go.
        act(u"Default"_s, "CmdTimeZone3");
        QVERIFY(!m_registry.ReadRegistryValue(clockKeyPath(u"Default"_s), u"Left"_s).isEmpty());
        QVERIFY(!m_app->window()->isVisible() && !m_app->settingsDialog()->isVisible());
    }
};

QTEST_MAIN(TestClocksPage)
#include "tst_clockspage.moc"
