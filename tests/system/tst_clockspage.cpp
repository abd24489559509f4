#include "app/ClockApplication.h"
#include "app/LinuxClockServices.h"
#include "clock/ClockWindow.h"
#include "dialogs/ConfigDialog.h"
#include "platform/linux/InstanceChannel.h"
#include "platform/linux/XdgAutorunEntries.h"
#include "settings/Registry.h"
#include "settings/RegistryKeys.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QTest>

using namespace kiv;

namespace {

QString lineText(const QListWidget* list, int row)
{
    return row < list->count() ? list->item(row)->text() : QString();
}

QString xdotool(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral("xdotool"), arguments);
    process.waitForFinished(5000);
    return QString::fromUtf8(process.readAllStandardOutput().trimmed());
}

bool windowShown(const QString& name)
{
    return !xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
                     QStringLiteral("^Kiv Clock \\{") + name + QStringLiteral("\\}$")})
                .isEmpty();
}

// Returns once the window manager has handled every request made before the call: it answers one of its own.
void syncWithWindowManager()
{
    const int desktops = xdotool({QStringLiteral("get_num_desktops")}).toInt();
    const QString more = QString::number(desktops + 1);
    xdotool({QStringLiteral("set_num_desktops"), more});
    QTRY_COMPARE_WITH_TIMEOUT(xdotool({QStringLiteral("get_num_desktops")}), more, 10000);
}

} // namespace

// The clocks page of the settings dialog of a real clock application, with the desktop's own services:
// the other clocks are real processes on a private X server, started, stopped and deleted from the dialog.
class TestClocksPage final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void addStopRunAndDeleteAClock();
    void stoppingTheCurrentClockEndsIt();

private:
    template <typename T> T* control(const char* name) const
    {
        return m_app->settingsDialog()->findChild<T*>(QString::fromLatin1(name));
    }
    void selectOnly(const QString& name);
    void refreshKeepsTheKeyboard();
    void click(const char* name) { QTest::mouseClick(control<QPushButton>(name), Qt::LeftButton); }

    std::unique_ptr<LinuxClockServices> m_services;
    std::unique_ptr<ClockApplication> m_app;
    Registry m_registry{Registry::defaultFilePath()};
};

void TestClocksPage::initTestCase()
{
    // The folders of this test (fresh for each run) are the ones the started clocks use too.
    QFile::remove(Registry::defaultFilePath());
    QDir(XdgAutorunEntries::defaultFolder()).removeRecursively();
    m_services = std::make_unique<LinuxClockServices>(QStringLiteral(KIVCLOCK));
    m_app = std::make_unique<ClockApplication>(QStringLiteral("Default"), m_services->services());
    QVERIFY(m_app->start());
    m_app->openSettings(m_app->window());
    QVERIFY(QTest::qWaitForWindowExposed(m_app->settingsDialog(), 20000));
}

void TestClocksPage::cleanupTestCase()
{
    // Whatever a failed step left running is closed through its own channel.
    LocalSocketInstances().close(QStringLiteral("Tokyo"));
    m_app.reset();
}

void TestClocksPage::selectOnly(const QString& name)
{
    auto* list = control<QListWidget>("ListClock");
    list->clearSelection();
    for (int i = 0; i < list->count(); ++i) {
        if (list->item(i)->text().startsWith(name + QStringLiteral(" -- ")))
            list->item(i)->setSelected(true);
    }
}

void TestClocksPage::addStopRunAndDeleteAClock()
{
    const QString tokyoKey = clockKeyPath(QStringLiteral("Tokyo"));
    control<QLineEdit>("TxtDisplayName")->setText(QStringLiteral("Tokyo"));
    control<QComboBox>("CombTimeZone")->setCurrentIndex(81);
    click("CmdTimeZone0");
    // Listed as running once it answers, however long its start takes on a busy machine.
    auto* list = control<QListWidget>("ListClock");
    QTRY_COMPARE_WITH_TIMEOUT(lineText(list, 1), QStringLiteral("Tokyo -- 运行中"), 15000);
    QVERIFY(windowShown(QStringLiteral("Tokyo")));
    refreshKeepsTheKeyboard();

    selectOnly(QStringLiteral("Tokyo"));
    click("CmdTimeZone3"); // stop: the clock saves its settings and ends
    QTRY_VERIFY_WITH_TIMEOUT(!windowShown(QStringLiteral("Tokyo")), 10000);
    QCOMPARE(m_registry.ReadRegistryValue(tokyoKey, QStringLiteral("TimeZoneIndex")), RegistryValue(81));
    QVERIFY(!m_registry.ReadRegistryValue(tokyoKey, QStringLiteral("Left")).isEmpty());
    QTRY_COMPARE_WITH_TIMEOUT(lineText(list, 1), QStringLiteral("Tokyo -- 已停止"), 5000);
    // It starts with the session: a stopped clock keeps its autostart entry.
    QVERIFY(QFile::exists(XdgAutorunEntries(XdgAutorunEntries::defaultFolder(), QString()).entryPath(QStringLiteral("Kiv Clock - Tokyo"))));

    selectOnly(QStringLiteral("Tokyo"));
    click("CmdTimeZone2"); // run
    QTRY_COMPARE_WITH_TIMEOUT(lineText(list, 1), QStringLiteral("Tokyo -- 运行中"), 15000);
    QVERIFY(windowShown(QStringLiteral("Tokyo")));

    selectOnly(QStringLiteral("Tokyo"));
    click("CmdTimeZone1"); // delete: stopped, then every trace removed
    QTRY_VERIFY_WITH_TIMEOUT(!windowShown(QStringLiteral("Tokyo")), 10000);
    QVERIFY(!m_registry.snapshot().findKey(tokyoKey));
    QVERIFY(!QFile::exists(XdgAutorunEntries(XdgAutorunEntries::defaultFolder(), QString()).entryPath(QStringLiteral("Kiv Clock - Tokyo"))));
    QTRY_COMPARE_WITH_TIMEOUT(list->count(), 1, 5000);
}

void TestClocksPage::refreshKeepsTheKeyboard()
{
    // Looking whether the other clocks run must not bring them to the front.
    QWidget* dialog = m_app->settingsDialog();
    dialog->activateWindow();
    QTRY_VERIFY_WITH_TIMEOUT(dialog->isActiveWindow(), 10000);
    click("CmdTimeZone4");
    // A raise asked of Tokyo has been handled once it answers again; the window manager's part once it has
    // answered a request made after that.
    QVERIFY(LocalSocketInstances().find(QStringLiteral("Tokyo"), false));
    syncWithWindowManager();
    QCOMPARE(xdotool({QStringLiteral("getactivewindow")}), QString::number(dialog->winId()));
}

void TestClocksPage::stoppingTheCurrentClockEndsIt()
{
    // Stopping this very clock runs its exit with saving: the record is written and the windows go.
    selectOnly(QStringLiteral("Default"));
    click("CmdTimeZone3");
    QVERIFY(!m_registry.ReadRegistryValue(clockKeyPath(QStringLiteral("Default")), QStringLiteral("Left")).isEmpty());
    QVERIFY(!m_app->window()->isVisible());
    QVERIFY(!m_app->settingsDialog()->isVisible());
}

QTEST_MAIN(TestClocksPage)
#include "tst_clockspage.moc"
