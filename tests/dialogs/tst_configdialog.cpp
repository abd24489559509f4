#include "FakePlatform.h"
#include "alarms/AlarmDispatch.h"
#include "clock/ClockLayout.h"
#include "clock/ClockWindow.h"
#include "dialogs/ConfigDialog.h"
#include "dialogs/SmallDialogs.h"
#include "platform/WindowSystem.h"
#include "settings/ClockList.h"
#include "settings/ClockSettings.h"
#include "settings/Registry.h"
#include "settings/RegistryKeys.h"
#include "timezone/TimeZoneTable.h"
#include "widgets/tabstrip/ucXTab.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTest>

using namespace kiv;

namespace {
const QString kKey = clockKeyPath(QStringLiteral("Default"));
}

// The settings dialog driven by its control names, over a real settings store and a real clock window.
class TestConfigDialog final : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void opensOnTheGeneralPageWithTheSettings();
    void tabsSwitchThePages();
    void applyChangesTheRunningClockAtOnce();
    void hexTextOfFourDigitsAppliesAsSixteenBits();
    void numberBoxesKeepToTheirRanges();
    void blueNightRewritesTheColourBoxes();
    void resetButtonsRestoreAndSave();
    void opacityChangesOnlyInMemoryUntilApplied();
    void pickingTheColourShownKeepsItsAlpha();
    void addingTheSameMinuteTwiceIsRefused();
    void deletingTheFirstAndThirdOfFiveAlarms();
    void clickedAlarmFillsTheUpperGroup();
    void soundBoxFallsBackToTheDefaultSound();
    void clocksPageAddsAndListsClocks();
    void screenshots();

private:
    template <typename T> T* control(const char* name) const
    {
        T* found = m_dialog->findChild<T*>(QString::fromLatin1(name));
        if (!found)
            qFatal("no control %s", name);
        return found;
    }
    void click(const char* button) { QTest::mouseClick(control<QPushButton>(button), Qt::LeftButton); }
    void reloadClock();
    void addAlarmAt(int hour, int minute, const QString& note);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<Registry> m_registry;
    TimeZoneTable m_zones;
    ClockSettings m_settings;
    test::FakeInstances m_instances;
    test::MemoryAutorun m_autorun;
    test::RecordingMessages m_messages;
    std::unique_ptr<ClockList> m_list;
    AlarmState m_alarms;
    std::unique_ptr<ClockSettingsStore> m_store;
    ClockLayout m_layout;
    test::FixedTimeSource m_time;
    std::unique_ptr<WindowSystem> m_windowSystem;
    QList<MonitorInfo> m_monitors{{QRect(0, 0, 1280, 1024), QRect(0, 0, 1280, 1024)}};
    std::unique_ptr<ClockWindow> m_window;
    std::unique_ptr<ConfigDialog> m_dialog;
    int m_reloads = 0;
    int m_saves = 0;
    std::optional<QColor> m_colorToPick;
    int m_alphaStart = -1;
    QString m_fileToPick;
};

void TestConfigDialog::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_registry = std::make_unique<Registry>(m_dir->filePath(QStringLiteral("registry.reg")));
    m_instances = {};
    m_autorun = {};
    m_messages = {};
    m_alarms = AlarmState();
    m_list =
        std::make_unique<ClockList>(ClockListServices{*m_registry, m_instances, m_instances, m_autorun, m_messages},
                                    QStringLiteral("Default"), QStringLiteral("/usr/bin/kivclock"));
    m_store = std::make_unique<ClockSettingsStore>(*m_registry, m_zones, QStringLiteral("Default"));
    m_settings = ClockSettings();
    m_store->ReloadClockSettings(m_settings, SystemZoneInfo{0, 0});
    m_layout = ComputeClockLayout(m_settings);
    m_time.now = QDateTime(QDate(2026, 12, 6), QTime(9, 30, 0), Qt::LocalTime);
    m_windowSystem = createWindowSystem();
    m_window = std::make_unique<ClockWindow>(ClockWindowContext{QStringLiteral("Default"), m_settings, m_layout, m_time,
                                                                *m_windowSystem, m_monitors, 15, 15},
                                             ClockWindowActions{});
    m_reloads = m_saves = 0;
    m_colorToPick.reset();
    m_alphaStart = -1;
    m_fileToPick.clear();

    ConfigContext context{m_settings,
                          m_zones,
                          *m_list,
                          m_instances,
                          m_instances,
                          m_alarms,
                          *m_registry,
                          m_messages,
                          QStringLiteral("Default"),
                          m_dir->filePath(QStringLiteral("Default.cfg"))};
    context.reloadClock = [this] { reloadClock(); };
    context.saveSettings = [this] {
        ++m_saves;
        m_store->SaveClockSettings(m_settings);
    };
    context.exitClock = [](bool) {};
    context.pickColor = [this](const QColor& initial, QWidget*) -> std::optional<QColor> {
        return m_colorToPick ? m_colorToPick : std::optional<QColor>(initial);
    };
    context.pickAlpha = [this](int start, QWidget*) {
        m_alphaStart = start;
        return start;
    };
    context.pickFile = [this](const QString&, const QString&, QWidget*) { return m_fileToPick; };
    context.settleMs = 0;
    m_dialog = std::make_unique<ConfigDialog>(context, m_window.get());
    m_dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_dialog.get()));
}

void TestConfigDialog::cleanup()
{
    m_dialog.reset();
    m_window.reset();
}

void TestConfigDialog::reloadClock()
{
    // What the clock process does on apply: save, read back checked, rebuild the window.
    ++m_reloads;
    m_store->SaveClockSettings(m_settings);
    m_store->ReloadClockSettings(m_settings, SystemZoneInfo{0, 0});
    m_layout = ComputeClockLayout(m_settings);
    m_window->rebuild();
}

void TestConfigDialog::opensOnTheGeneralPageWithTheSettings()
{
    QCOMPARE(m_dialog->windowTitle(), QStringLiteral("Kiv Clock 配置"));
    auto* tabs = control<ucXTab>("TabConfig");
    QCOMPARE(tabs->TabCaptions(), QStringList({QStringLiteral("常规(&G)"), QStringLiteral("外观(&A)"),
                                               QStringLiteral("添加时钟(&A)"), QStringLiteral("警报(&A)")}));
    QCOMPARE(tabs->ActiveTab(), 0);
    QCOMPARE(control<QStackedWidget>("PicConfigs")->currentIndex(), 0);
    QCOMPARE(control<QComboBox>("CombDisplayScale")->currentText(), QStringLiteral("是"));
    QCOMPARE(control<QComboBox>("CombOnTop")->currentText(), QStringLiteral("否"));
    QCOMPARE(control<QComboBox>("CombAutorun")->currentText(), QStringLiteral("否")); // no autostart entry yet
    QCOMPARE(control<QComboBox>("CombTimeZone0")->count(), 97);
    QCOMPARE(control<QComboBox>("CombTimeZone0")->currentIndex(), m_settings.TimeZoneIndex);
    QCOMPARE(control<QLineEdit>("TxtAmHourColor")->text(), QStringLiteral("&HFFDB5C1C"));
    QCOMPARE(control<QLineEdit>("TxtClockRadius")->text(), QStringLiteral("48"));
    QVERIFY(!(m_dialog->windowFlags() & Qt::WindowStaysOnTopHint));
    QVERIFY(!control<QLineEdit>("TxtNote")->isHidden());
    QVERIFY(control<QLineEdit>("TxtParam")->isHidden());
    QCOMPARE(control<QLabel>("LabNote")->text(), QStringLiteral("提示 (最大256个字符) :"));
}

void TestConfigDialog::tabsSwitchThePages()
{
    auto* tabs = control<ucXTab>("TabConfig");
    for (int tab : {3, 1, 2, 0}) {
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(tab).center());
        QCOMPARE(control<QStackedWidget>("PicConfigs")->currentIndex(), tab);
    }
}

void TestConfigDialog::applyChangesTheRunningClockAtOnce()
{
    control<QLineEdit>("TxtClockRadius")->setText(QStringLiteral("128"));
    for (const char* width : {"TxtHourCircle", "TxtMinuteCircle", "TxtSecondCircle"})
        control<QLineEdit>(width)->setText(QStringLiteral("50"));
    control<QLineEdit>("TxtSecondColor")->setText(QStringLiteral("&HFF0000FF"));
    control<QComboBox>("CombOnTop")->setCurrentIndex(1);
    control<QComboBox>("CombTimeFormat")->setCurrentIndex(1);
    control<QComboBox>("CombAutorun")->setCurrentIndex(0);
    control<QComboBox>("CombTimeZone0")->setCurrentIndex(81);
    click("CmdConfig2"); // Apply
    QCOMPARE(m_reloads, 1);
    QCOMPARE(m_window->size(), QSize(598, 598));
    QCOMPARE(m_window->faceImage().size(), QSize(598, 598));
    QVERIFY(m_window->onTop());
    QCOMPARE(m_settings.SecondCircleColor, qint32(0xFF0000FF));
    QCOMPARE(m_settings.TwelveOr24Hour, 1);
    QCOMPARE(m_settings.ZoneOffset, 540);
    QCOMPARE(m_registry->ReadRegistryValue(kKey, QStringLiteral("ClockRadius")), RegistryValue(128));
    QCOMPARE(m_registry->ReadRegistryValue(kKey, QStringLiteral("TimeZoneIndex")), RegistryValue(81));
    QCOMPARE(m_autorun.read(QStringLiteral("Kiv Clock - Default")), QStringLiteral("/usr/bin/kivclock Default"));
    QVERIFY(m_dialog->isVisible());
    click("CmdConfig0"); // OK closes
    QVERIFY(!m_dialog->isVisible());
}

void TestConfigDialog::hexTextOfFourDigitsAppliesAsSixteenBits()
{
    control<QLineEdit>("TxtTimeColor")->setText(QStringLiteral("&HFFFF"));
    control<QLineEdit>("TxtDateColor")->setText(QStringLiteral("&HFFDB5C1C"));
    control<QLineEdit>("TxtScaleColor")->setText(QStringLiteral("blue"));
    click("CmdConfig2");
    QCOMPARE(m_settings.TimeFontColor, -1);
    QCOMPARE(m_settings.DateFontColor, qint32(0xFFDB5C1C));
    // Text that is no number applies as 0, which the reload replaces by the default colour.
    QCOMPARE(m_settings.ClockScaleColor, 0x77777777);
}

void TestConfigDialog::numberBoxesKeepToTheirRanges()
{
    QApplication::setActiveWindow(m_dialog.get());
    auto* width = control<QLineEdit>("TxtHourCircle");
    auto* radius = control<QLineEdit>("TxtClockRadius");
    width->setFocus();
    width->clear();
    QTest::keyClicks(width, QStringLiteral("9x"));
    QCOMPARE(width->text(), QStringLiteral("9"));
    radius->setFocus();
    QCOMPARE(width->text(), QStringLiteral("18"));
    radius->setText(QStringLiteral("129"));
    width->setFocus();
    QCOMPARE(radius->text(), QStringLiteral("48"));
    width->setText(QStringLiteral("50"));
    radius->setFocus();
    QCOMPARE(width->text(), QStringLiteral("50"));
    QCOMPARE(m_settings.HourCircleWidth, 18); // nothing is applied by leaving a box
}

void TestConfigDialog::blueNightRewritesTheColourBoxes()
{
    control<QComboBox>("CombTheme")->setCurrentIndex(2);
    QCOMPARE(control<QLineEdit>("TxtTimeColor")->text(), QStringLiteral("&HFF0099FF"));
    QCOMPARE(control<QLineEdit>("TxtDateColor")->text(), QStringLiteral("&HCC00B0E4"));
    QCOMPARE(control<QLineEdit>("TxtScaleColor")->text(), QStringLiteral("&H7700B0E4"));
    QCOMPARE(control<QLineEdit>("TxtAmHourColor")->text(), QStringLiteral("&HFFDB5C1C"));
    QCOMPARE(control<QLineEdit>("TxtScaleColor")->palette().color(QPalette::Base), QColor(0x00, 0xB0, 0xE4));
    QCOMPARE(m_settings.TimeFontColor, qint32(0xFF0099FF));
    control<QComboBox>("CombTheme")->setCurrentIndex(0);
    QCOMPARE(control<QLineEdit>("TxtTimeColor")->text(), QStringLiteral("&HFF0099FF"));
}

void TestConfigDialog::resetButtonsRestoreAndSave()
{
    m_settings.ClockRadius = 100;
    m_settings.AlwaysOnTop = 1;
    m_settings.Autorun = 1;
    m_settings.TwelveOr24Hour = 1;
    m_dialog->IniConfig(true);
    click("CmdReset1"); // general
    QCOMPARE(m_settings.AlwaysOnTop, 0);
    QCOMPARE(m_settings.TwelveOr24Hour, 0);
    QCOMPARE(m_settings.Autorun, 0);
    QCOMPARE(m_settings.ClockRadius, 100);
    QCOMPARE(m_autorun.read(QStringLiteral("Kiv Clock - Default")), QStringLiteral("/usr/bin/kivclock Default"));
    QCOMPARE(control<QComboBox>("CombAutorun")->currentText(), QStringLiteral("是"));
    QCOMPARE(m_registry->ReadRegistryValue(kKey, QStringLiteral("AlwaysOnTop")), RegistryValue(0));
    click("CmdReset0"); // appearance
    QCOMPARE(m_settings.ClockRadius, 48);
    QCOMPARE(control<QLineEdit>("TxtClockRadius")->text(), QStringLiteral("48"));
    QCOMPARE(m_registry->ReadRegistryValue(kKey, QStringLiteral("ClockRadius")), RegistryValue(48));
    QCOMPARE(control<QComboBox>("CombTimeZone0")->count(), 97);
    QCOMPARE(control<QComboBox>("CombTimeZone")->count(), 97);
}

void TestConfigDialog::opacityChangesOnlyInMemoryUntilApplied()
{
    control<QComboBox>("CombOpacity")->setCurrentIndex(5);
    QCOMPARE(m_settings.BackgroundOpacity, 5);
    QVERIFY(m_registry->ReadRegistryValue(kKey, QStringLiteral("BackgroundOpacity")).isEmpty());
    m_dialog->close();
    QCOMPARE(m_reloads, 0);
}

void TestConfigDialog::pickingTheColourShownKeepsItsAlpha()
{
    click("CmdColor6"); // the scale colour 0x77777777, picked as it is shown
    QCOMPARE(m_alphaStart, 0x77);
    QCOMPARE(control<QLineEdit>("TxtScaleColor")->text(), QStringLiteral("&H77777777"));
    control<QComboBox>("CombTheme")->setCurrentIndex(1);
    m_colorToPick = QColor(0x12, 0x34, 0x56);
    click("CmdColor6");
    QCOMPARE(m_alphaStart, 255);
    QCOMPARE(control<QLineEdit>("TxtScaleColor")->text(), QStringLiteral("&HFF123456"));
    QCOMPARE(control<QComboBox>("CombTheme")->currentIndex(), 0);
}

void TestConfigDialog::addAlarmAt(int hour, int minute, const QString& note)
{
    control<QComboBox>("CombHour")->setCurrentIndex(hour);
    control<QComboBox>("CombMinute")->setCurrentIndex(minute);
    control<QLineEdit>("TxtNote")->setText(note);
    click("CmdAlarm0");
}

void TestConfigDialog::addingTheSameMinuteTwiceIsRefused()
{
    addAlarmAt(8, 0, QStringLiteral("早会"));
    control<QComboBox>("CombAction")->setCurrentIndex(1);
    addAlarmAt(8, 0, QStringLiteral("again"));
    QCOMPARE(m_messages.shown.size(), 1);
    QCOMPARE(m_messages.shown.first().text, QStringLiteral("警报已存在. 请检查和重设."));
    QCOMPARE(m_messages.shown.first().title, QStringLiteral("Kiv Clock"));
    QCOMPARE(m_alarms.table.AlarmCount(), 1);
    auto* list = control<QListWidget>("ListAlarm");
    QCOMPARE(list->count(), 1);
    QCOMPARE(list->item(0)->text(), QStringLiteral("08:00 AM - 启用"));
}

void TestConfigDialog::deletingTheFirstAndThirdOfFiveAlarms()
{
    for (int i = 0; i < 5; ++i)
        addAlarmAt(6 + i, 15, QStringLiteral("alarm %1").arg(i));
    auto* list = control<QListWidget>("ListAlarm");
    QCOMPARE(list->count(), 5);
    list->item(0)->setSelected(true);
    list->item(2)->setSelected(true);
    click("CmdAlarm2");
    QCOMPARE(list->count(), 3);
    QCOMPARE(m_alarms.table[0].Text, QStringLiteral("alarm 1"));
    QCOMPARE(m_alarms.table[1].Text, QStringLiteral("alarm 3"));
    QCOMPARE(m_alarms.table[2].Text, QStringLiteral("alarm 4"));
    QByteArray expected;
    for (const AlarmRecord& record : m_alarms.table.records())
        expected += encodeAlarmRecord(record);
    QFile file(m_dir->filePath(QStringLiteral("Default.cfg")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), expected);
    // Disabling two of them shows them disabled and saves at once.
    list->item(0)->setSelected(true);
    list->item(2)->setSelected(true);
    click("CmdAlarm4");
    QCOMPARE(list->item(0)->text(), QStringLiteral("07:15 AM - 禁用"));
    QCOMPARE(list->item(1)->text(), QStringLiteral("09:15 AM - 启用"));
    QCOMPARE(list->item(2)->text(), QStringLiteral("10:15 AM - 禁用"));
    AlarmTable saved;
    QVERIFY(LoadAlarms(m_dir->filePath(QStringLiteral("Default.cfg")), saved, m_messages));
    QCOMPARE(saved[2].Enabled, 0);
    // Deleting every alarm removes the file.
    for (int i = 0; i < list->count(); ++i)
        list->item(i)->setSelected(true);
    click("CmdAlarm2");
    QVERIFY(!QFile::exists(m_dir->filePath(QStringLiteral("Default.cfg"))));
}

void TestConfigDialog::clickedAlarmFillsTheUpperGroup()
{
    control<QComboBox>("CombAction")->setCurrentIndex(6);
    QVERIFY(!control<QLineEdit>("TxtParam")->isHidden());
    QVERIFY(!control<QPushButton>("CmdAlarm1")->isHidden());
    control<QLineEdit>("TxtParam")->setText(QStringLiteral("https://example.org"));
    control<QComboBox>("CombPlaytime")->setCurrentIndex(4);
    addAlarmAt(21, 45, QStringLiteral("hidden note"));
    control<QComboBox>("CombAction")->setCurrentIndex(0);
    control<QComboBox>("CombHour")->setCurrentIndex(0);
    auto* list = control<QListWidget>("ListAlarm");
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(0)).center());
    QCOMPARE(control<QComboBox>("CombHour")->currentIndex(), 21);
    QCOMPARE(control<QComboBox>("CombMinute")->currentIndex(), 45);
    QCOMPARE(control<QComboBox>("CombAction")->currentIndex(), 6);
    QCOMPARE(control<QComboBox>("CombPlaytime")->currentIndex(), 4);
    QCOMPARE(control<QLineEdit>("TxtParam")->text(), QStringLiteral("https://example.org"));
    QVERIFY(!control<QLineEdit>("TxtParam")->isHidden());
}

void TestConfigDialog::soundBoxFallsBackToTheDefaultSound()
{
    m_fileToPick.clear(); // the browse dialog was cancelled
    click("CmdAlarm5");
    QCOMPARE(control<QLineEdit>("TxtSound")->text(), QStringLiteral("默认报警声音"));
    QApplication::setActiveWindow(m_dialog.get());
    auto* sound = control<QLineEdit>("TxtSound");
    sound->setFocus();
    sound->setText(QStringLiteral("/no/such/bell.wav"));
    control<QLineEdit>("TxtNote")->setFocus();
    QCOMPARE(sound->text(), QStringLiteral("默认报警声音"));
}

void TestConfigDialog::clocksPageAddsAndListsClocks()
{
    auto* name = control<QLineEdit>("TxtDisplayName");
    QCOMPARE(name->text(), QStringLiteral("添加时钟"));
    name->clear();
    QTest::keyClicks(name, QStringLiteral("{Tokyo}"));
    QCOMPARE(name->text(), QStringLiteral("Tokyo"));
    control<QComboBox>("CombTimeZone")->setCurrentIndex(81);
    click("CmdTimeZone0");
    QCOMPARE(m_instances.started, QStringList{QStringLiteral("Tokyo")});
    QCOMPARE(m_registry->ReadRegistryValue(clockKeyPath(QStringLiteral("Tokyo")), QStringLiteral("TimeZoneIndex")),
             RegistryValue(81));
    auto* list = control<QListWidget>("ListClock");
    QTRY_COMPARE(list->count(), 2);
    QCOMPARE(list->item(1)->text(), QStringLiteral("Tokyo -- 运行中"));
    // Stop the other clock; the current one is not touched.
    list->item(1)->setSelected(true);
    click("CmdTimeZone3");
    QCOMPARE(m_instances.closed, QStringList{QStringLiteral("Tokyo")});
    QTRY_COMPARE(list->item(1)->text(), QStringLiteral("Tokyo -- 已停止"));
    // Delete it: its key goes.
    list->item(1)->setSelected(true);
    click("CmdTimeZone1");
    QTRY_COMPARE(list->count(), 1);
    QVERIFY(!m_registry->snapshot().findKey(clockKeyPath(QStringLiteral("Tokyo"))));
}

void TestConfigDialog::screenshots()
{
    // Every page and the small dialogs, saved for people to look at when KIV_SCREENSHOT_DIR is set.
    const QString folder = qEnvironmentVariable("KIV_SCREENSHOT_DIR");
    if (folder.isEmpty())
        QSKIP("KIV_SCREENSHOT_DIR is not set");
    addAlarmAt(7, 30, QStringLiteral("起床"));
    addAlarmAt(12, 0, QStringLiteral("午饭"));
    auto* tabs = control<ucXTab>("TabConfig");
    for (int tab = 0; tab < 4; ++tab) {
        tabs->setActiveTab(tab);
        QVERIFY(m_dialog->grab().save(folder + QStringLiteral("/settings-page-%1.png").arg(tab)));
    }
    AlphaDialog alpha(0x77, false);
    alpha.show();
    QVERIFY(QTest::qWaitForWindowExposed(&alpha));
    QVERIFY(alpha.grab().save(folder + QStringLiteral("/opacity-dialog.png")));
    AboutDialog about(QStringLiteral("1.0.0"), [](const QString&) {});
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    QVERIFY(about.grab().save(folder + QStringLiteral("/about-box.png")));
}

QTEST_MAIN(TestConfigDialog)
#include "tst_configdialog.moc"
