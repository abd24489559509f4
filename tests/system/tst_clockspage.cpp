#include "DesktopClock.h"
#include "KivTest.h"
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

namespace {

QString lineText(const QListWidget* list, int row)
{
    return row < list->count() ? list->item(row)->text() : QString();
}

bool tokyoShown()
{
    return !test::windowsCaptioned(u"^Kiv Clock \\{Tokyo\\}$"_s).isEmpty();
}

QString tokyoEntry()
{
    return XdgAutorunEntries(XdgAutorunEntries::defaultFolder(), QString()).entryPath(u"Kiv Clock - Tokyo"_s);
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
    m_app = std::make_unique<ClockApplication>(u"Default"_s, m_services->services());
    QVERIFY(m_app->start());
    m_app->openSettings(m_app->window());
    QVERIFY(QTest::qWaitForWindowExposed(m_app->settingsDialog(), 20000));
}

void TestClocksPage::cleanupTestCase()
{
    // Whatever a failed step left running is closed through its own channel.
    LocalSocketInstances().close(u"Tokyo"_s);
    m_app.reset();
}

void TestClocksPage::selectOnly(const QString& name)
{
    auto* list = control<QListWidget>("ListClock");
    list->clearSelection();
    for (int i = 0; i < list->count(); ++i) {
        if (list->item(i)->text().startsWith(name + u" -- "_s))
            list->item(i)->setSelected(true);
    }
}

void TestClocksPage::addStopRunAndDeleteAClock()
{
    const QString tokyoKey = clockKeyPath(u"Tokyo"_s);
    control<QLineEdit>("TxtDisplayName")->setText(u"Tokyo"_s);
    control<QComboBox>("CombTimeZone")->setCurrentIndex(81);
    click("CmdTimeZone0");
    QTRY_VERIFY_WITH_TIMEOUT(tokyoShown(), 10000);
    auto* list = control<QListWidget>("ListClock");
    QTRY_COMPARE_WITH_TIMEOUT(lineText(list, 1), u"Tokyo -- 运行中"_s, 5000);

    selectOnly(u"Tokyo"_s);
    click("CmdTimeZone3"); // stop: the clock saves its settings and ends
    QTRY_VERIFY_WITH_TIMEOUT(!tokyoShown(), 10000);
    QCOMPARE(m_registry.ReadRegistryValue(tokyoKey, u"TimeZoneIndex"_s), RegistryValue(81));
    QVERIFY(!m_registry.ReadRegistryValue(tokyoKey, u"Left"_s).isEmpty());
    QTRY_COMPARE_WITH_TIMEOUT(lineText(list, 1), u"Tokyo -- 已停止"_s, 5000);
    QVERIFY(QFile::exists(tokyoEntry())); // it starts with the session: a stopped clock keeps its entry

    selectOnly(u"Tokyo"_s);
    click("CmdTimeZone2"); // run
    QTRY_VERIFY_WITH_TIMEOUT(tokyoShown(), 10000);

    selectOnly(u"Tokyo"_s);
    click("CmdTimeZone1"); // delete: stopped, then every trace removed
    QTRY_VERIFY_WITH_TIMEOUT(!tokyoShown(), 10000);
    QVERIFY(!m_registry.snapshot().findKey(tokyoKey));
    QVERIFY(!QFile::exists(tokyoEntry()));
    QTRY_COMPARE_WITH_TIMEOUT(list->count(), 1, 5000);
}

void TestClocksPage::stoppingTheCurrentClockEndsIt()
{
    // Stopping this very clock runs its exit with saving: the record is written and the windows go.
    selectOnly(u"Default"_s);
    click("CmdTimeZone3");
    QVERIFY(!m_registry.ReadRegistryValue(clockKeyPath(u"Default"_s), u"Left"_s).isEmpty());
    QVERIFY(!m_app->window()->isVisible());
    QVERIFY(!m_app->settingsDialog()->isVisible());
}

QTEST_MAIN(TestClocksPage)
#include "tst_clockspage.moc"
