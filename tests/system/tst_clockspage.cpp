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

bool windowShown(const QString& name)
{
    QProcess xdotool;
    xdotool.start(QStringLiteral("xdotool"),
                  {QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
                   QStringLiteral("^Kiv Clock \\{") + name + QStringLiteral("\\}$")});
    xdotool.waitForFinished(5000);
    return !xdotool.readAllStandardOutput().trimmed().isEmpty();
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
    QTRY_VERIFY_WITH_TIMEOUT(windowShown(QStringLiteral("Tokyo")), 10000);
    auto* list = control<QListWidget>("ListClock");
    QTRY_COMPARE_WITH_TIMEOUT(lineText(list, 1), QStringLiteral("Tokyo -- 运行中"), 5000);

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
    QTRY_VERIFY_WITH_TIMEOUT(windowShown(QStringLiteral("Tokyo")), 10000);

    selectOnly(QStringLiteral("Tokyo"));
    click("CmdTimeZone1"); // delete: stopped, then every trace removed
    QTRY_VERIFY_WITH_TIMEOUT(!windowShown(QStringLiteral("Tokyo")), 10000);
    QVERIFY(!m_registry.snapshot().findKey(tokyoKey));
    QVERIFY(!QFile::exists(XdgAutorunEntries(XdgAutorunEntries::defaultFolder(), QString()).entryPath(QStringLiteral("Kiv Clock - Tokyo"))));
    QTRY_COMPARE_WITH_TIMEOUT(list->count(), 1, 5000);
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
