#include "FakePlatform.h"
#include "alarms/AlarmDispatch.h"
#include "core/AppPaths.h"
#include "dialogs/ConfigDialog.h"
#include "platform/linux/DetachedClockLauncher.h"
#include "platform/linux/InstanceChannel.h"
#include "platform/linux/XdgAutorunEntries.h"
#include "settings/ClockList.h"
#include "settings/ClockSettings.h"
#include "settings/Registry.h"
#include "settings/RegistryKeys.h"
#include "timezone/TimeZoneTable.h"

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

// The clocks page of a settings dialog over the real clock list: clocks are real processes on a private X
// server, started, stopped and deleted from the dialog.
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
        return m_dialog->findChild<T*>(QString::fromLatin1(name));
    }
    void selectOnly(const QString& name);
    void click(const char* name) { QTest::mouseClick(control<QPushButton>(name), Qt::LeftButton); }

    std::unique_ptr<Registry> m_registry;
    TimeZoneTable m_zones;
    ClockSettings m_settings;
    LocalSocketInstances m_instances;
    std::unique_ptr<DetachedClockLauncher> m_launcher;
    std::unique_ptr<XdgAutorunEntries> m_autorun;
    test::RecordingMessages m_messages;
    std::unique_ptr<ClockList> m_list;
    AlarmState m_alarms;
    std::unique_ptr<ConfigDialog> m_dialog;
    QList<bool> m_exits;
};

void TestClocksPage::initTestCase()
{
    // The folders of this test (fresh for each run) are the ones the started clocks use too.
    QFile::remove(Registry::defaultFilePath());
    QDir(XdgAutorunEntries::defaultFolder()).removeRecursively();
    m_registry = std::make_unique<Registry>(Registry::defaultFilePath());
    m_launcher = std::make_unique<DetachedClockLauncher>(QStringLiteral(KIVCLOCK));
    m_autorun = std::make_unique<XdgAutorunEntries>(XdgAutorunEntries::defaultFolder(), QStringLiteral(KIVCLOCK));
    m_list =
        std::make_unique<ClockList>(ClockListServices{*m_registry, m_instances, *m_launcher, *m_autorun, m_messages},
                                    QStringLiteral("Default"), QStringLiteral(KIVCLOCK));
    ClockSettingsStore(*m_registry, m_zones, QStringLiteral("Default")).ReloadClockSettings(m_settings, {0, 0});
    ConfigContext context{m_settings,  m_zones,     *m_list,
                          m_instances, *m_launcher, m_alarms,
                          *m_registry, m_messages,  QStringLiteral("Default"),
                          QString()};
    context.reloadClock = [] {};
    context.saveSettings = [] {};
    context.exitClock = [this](bool save) { m_exits.append(save); };
    context.settleMs = 300;
    m_dialog = std::make_unique<ConfigDialog>(context, nullptr);
    m_dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_dialog.get(), 20000));
}

void TestClocksPage::cleanupTestCase()
{
    // Whatever a failed step left running is closed through its own channel.
    m_instances.close(QStringLiteral("Tokyo"));
    m_dialog.reset();
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
    QCOMPARE(m_registry->ReadRegistryValue(tokyoKey, QStringLiteral("TimeZoneIndex")), RegistryValue(81));
    QVERIFY(!m_registry->ReadRegistryValue(tokyoKey, QStringLiteral("Left")).isEmpty());
    QTRY_COMPARE_WITH_TIMEOUT(lineText(list, 1), QStringLiteral("Tokyo -- 已停止"), 5000);
    // It starts with the session: a stopped clock keeps its autostart entry.
    QVERIFY(QFile::exists(m_autorun->entryPath(QStringLiteral("Kiv Clock - Tokyo"))));

    selectOnly(QStringLiteral("Tokyo"));
    click("CmdTimeZone2"); // run
    QTRY_VERIFY_WITH_TIMEOUT(windowShown(QStringLiteral("Tokyo")), 10000);

    selectOnly(QStringLiteral("Tokyo"));
    click("CmdTimeZone1"); // delete: stopped, then every trace removed
    QTRY_VERIFY_WITH_TIMEOUT(!windowShown(QStringLiteral("Tokyo")), 10000);
    QVERIFY(!m_registry->snapshot().findKey(tokyoKey));
    QVERIFY(!QFile::exists(m_autorun->entryPath(QStringLiteral("Kiv Clock - Tokyo"))));
    QTRY_COMPARE_WITH_TIMEOUT(list->count(), 1, 5000);
}

void TestClocksPage::stoppingTheCurrentClockEndsIt()
{
    selectOnly(QStringLiteral("Default"));
    click("CmdTimeZone3");
    QCOMPARE(m_exits, QList<bool>{true}); // exit with saving
    selectOnly(QStringLiteral("Default"));
    click("CmdTimeZone1");
    QCOMPARE(m_exits, QList<bool>({true, false})); // delete: exit without saving
}

QTEST_MAIN(TestClocksPage)
#include "tst_clockspage.moc"
