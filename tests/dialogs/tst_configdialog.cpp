#include "FakeClockServices.h"
#include "alarms/AlarmDispatch.h"
#include "app/ClockApplication.h"
#include "clock/ClockWindow.h"
#include "dialogs/ConfigDialog.h"
#include "settings/ClockSettings.h"
#include "settings/Registry.h"
#include "settings/RegistryKeys.h"
#include "widgets/tabstrip/ucXTab.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>

using namespace kiv;

namespace {
const QString kKey = clockKeyPath(QStringLiteral("Default"));
}

// The settings dialog of a real clock application built over fakes of the desktop's services, driven by
// the dialog's control names: what it applies reaches the store and the running clock's window.
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
    void addedClockIsStartedAndListed();
    void closeRequestSavesAndEndsTheClock();
    void deletingTheCurrentClockEndsItWithoutSaving();

private:
    template <typename T> T* control(const char* name) const
    {
        T* found = m_dialog->findChild<T*>(QString::fromLatin1(name));
        if (!found)
            qFatal("no control %s", name);
        return found;
    }
    void click(const char* button) { QTest::mouseClick(control<QPushButton>(button), Qt::LeftButton); }
    RegistryValue stored(const QString& key, const QString& value) const
    {
        return Registry(Registry::defaultFilePath()).ReadRegistryValue(key, value);
    }
    void addAlarmAt(int hour, int minute, const QString& note);

    std::unique_ptr<test::FakeClockServices> m_fakes;
    std::unique_ptr<ClockApplication> m_app;
    ConfigDialog* m_dialog = nullptr;
};

void TestConfigDialog::init()
{
    // Every case starts from an empty store and data folder, as a first start does.
    QFile::remove(Registry::defaultFilePath());
    QDir(userDataHome()).removeRecursively();
    m_fakes = std::make_unique<test::FakeClockServices>();
    m_fakes->time.now = QDateTime(QDate(2026, 12, 6), QTime(9, 30, 0), Qt::LocalTime);
    m_app = std::make_unique<ClockApplication>(QStringLiteral("Default"), m_fakes->services());
    QVERIFY(m_app->start());
    m_app->openSettings(m_app->window());
    m_dialog = m_app->settingsDialog();
    QVERIFY(QTest::qWaitForWindowExposed(m_dialog));
}

void TestConfigDialog::cleanup()
{
    m_app.reset();
    m_fakes.reset();
}

void TestConfigDialog::opensOnTheGeneralPageWithTheSettings()
{
    auto* tabs = control<ucXTab>("TabConfig");
    QCOMPARE(tabs->ActiveTab(), 0);
    QCOMPARE(control<QStackedWidget>("PicConfigs")->currentIndex(), 0);
    QCOMPARE(control<QComboBox>("CombDisplayScale")->currentText(), QStringLiteral("是"));
    QCOMPARE(control<QComboBox>("CombOnTop")->currentText(), QStringLiteral("否"));
    QCOMPARE(control<QComboBox>("CombAutorun")->currentText(), QStringLiteral("否")); // no autostart entry yet
    QCOMPARE(control<QComboBox>("CombTimeZone0")->count(), 97);
    QCOMPARE(control<QComboBox>("CombTimeZone0")->currentIndex(), m_app->settings().TimeZoneIndex);
    QCOMPARE(control<QLineEdit>("TxtAmHourColor")->text(), QStringLiteral("&HFFDB5C1C"));
    QCOMPARE(control<QLineEdit>("TxtClockRadius")->text(), QStringLiteral("48"));
    QVERIFY(!control<QLineEdit>("TxtNote")->isHidden());
    QVERIFY(control<QLineEdit>("TxtParam")->isHidden());
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
    QCOMPARE(m_app->window()->size(), QSize(598, 598));
    QCOMPARE(m_app->window()->faceImage().size(), QSize(598, 598));
    QVERIFY(m_app->window()->onTop());
    QCOMPARE(m_app->settings().SecondCircleColor, qint32(0xFF0000FF));
    QCOMPARE(m_app->settings().TwelveOr24Hour, 1);
    QCOMPARE(m_app->settings().ZoneOffset, 540);
    QCOMPARE(stored(kKey, QStringLiteral("ClockRadius")), RegistryValue(128));
    QCOMPARE(stored(kKey, QStringLiteral("TimeZoneIndex")), RegistryValue(81));
    QCOMPARE(m_fakes->autorun.read(QStringLiteral("Kiv Clock - Default")), QStringLiteral("/usr/bin/kivclock Default"));
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
    QCOMPARE(m_app->settings().TimeFontColor, -1);
    QCOMPARE(m_app->settings().DateFontColor, qint32(0xFFDB5C1C));
    // Text that is no number applies as 0, which the reload replaces by the default colour.
    QCOMPARE(m_app->settings().ClockScaleColor, 0x77777777);
}

void TestConfigDialog::numberBoxesKeepToTheirRanges()
{
    QApplication::setActiveWindow(m_dialog);
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
    QCOMPARE(m_app->settings().HourCircleWidth, 18); // nothing is applied by leaving a box
}

void TestConfigDialog::blueNightRewritesTheColourBoxes()
{
    control<QComboBox>("CombTheme")->setCurrentIndex(2);
    QCOMPARE(control<QLineEdit>("TxtTimeColor")->text(), QStringLiteral("&HFF0099FF"));
    QCOMPARE(control<QLineEdit>("TxtDateColor")->text(), QStringLiteral("&HCC00B0E4"));
    QCOMPARE(control<QLineEdit>("TxtScaleColor")->text(), QStringLiteral("&H7700B0E4"));
    QCOMPARE(control<QLineEdit>("TxtAmHourColor")->text(), QStringLiteral("&HFFDB5C1C"));
    QCOMPARE(control<QLineEdit>("TxtScaleColor")->palette().color(QPalette::Base), QColor(0x00, 0xB0, 0xE4));
    QCOMPARE(m_app->settings().TimeFontColor, qint32(0xFF0099FF));
    control<QComboBox>("CombTheme")->setCurrentIndex(0);
    QCOMPARE(control<QLineEdit>("TxtTimeColor")->text(), QStringLiteral("&HFF0099FF"));
}

void TestConfigDialog::resetButtonsRestoreAndSave()
{
    m_app->settings().ClockRadius = 100;
    m_app->settings().AlwaysOnTop = 1;
    m_app->settings().Autorun = 0; // 0 is "yes"
    m_app->settings().TwelveOr24Hour = 1;
    m_dialog->IniConfig(true);
    click("CmdReset1"); // general
    QCOMPARE(m_app->settings().AlwaysOnTop, 0);
    QCOMPARE(m_app->settings().TwelveOr24Hour, 0);
    QCOMPARE(m_app->settings().Autorun, 0);
    QCOMPARE(m_app->settings().ClockRadius, 100);
    QCOMPARE(m_fakes->autorun.read(QStringLiteral("Kiv Clock - Default")), QStringLiteral("/usr/bin/kivclock Default"));
    QCOMPARE(control<QComboBox>("CombAutorun")->currentText(), QStringLiteral("是"));
    QCOMPARE(stored(kKey, QStringLiteral("AlwaysOnTop")), RegistryValue(0));
    click("CmdReset0"); // appearance
    QCOMPARE(m_app->settings().ClockRadius, 48);
    QCOMPARE(control<QLineEdit>("TxtClockRadius")->text(), QStringLiteral("48"));
    QCOMPARE(stored(kKey, QStringLiteral("ClockRadius")), RegistryValue(48));
    QCOMPARE(control<QComboBox>("CombTimeZone0")->count(), 97);
    QCOMPARE(control<QComboBox>("CombTimeZone")->count(), 97);
}

void TestConfigDialog::opacityChangesOnlyInMemoryUntilApplied()
{
    control<QComboBox>("CombOpacity")->setCurrentIndex(5);
    QCOMPARE(m_app->settings().BackgroundOpacity, 5);
    QVERIFY(stored(kKey, QStringLiteral("BackgroundOpacity")).isEmpty());
    m_dialog->close();
    QVERIFY(stored(kKey, QStringLiteral("BackgroundOpacity")).isEmpty());
}

void TestConfigDialog::pickingTheColourShownKeepsItsAlpha()
{
    click("CmdColor6"); // the scale colour 0x77777777, picked as it is shown
    QCOMPARE(m_fakes->pickers.alphaStart, 0x77);
    QCOMPARE(control<QLineEdit>("TxtScaleColor")->text(), QStringLiteral("&H77777777"));
    control<QComboBox>("CombTheme")->setCurrentIndex(1);
    m_fakes->pickers.colorToPick = QColor(0x12, 0x34, 0x56);
    click("CmdColor6");
    QCOMPARE(m_fakes->pickers.alphaStart, 255);
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
    QCOMPARE(m_fakes->messages.shown.size(), 1);
    QCOMPARE(m_fakes->messages.shown.first().text, QStringLiteral("警报已存在. 请检查和重设."));
    QCOMPARE(m_fakes->messages.shown.first().title, QStringLiteral("Kiv Clock"));
    QCOMPARE(m_app->alarms().table.AlarmCount(), 1);
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
    QCOMPARE(m_app->alarms().table[0].Text, QStringLiteral("alarm 1"));
    QCOMPARE(m_app->alarms().table[1].Text, QStringLiteral("alarm 3"));
    QCOMPARE(m_app->alarms().table[2].Text, QStringLiteral("alarm 4"));
    QByteArray expected;
    for (const AlarmRecord& record : m_app->alarms().table.records())
        expected += encodeAlarmRecord(record);
    QFile file(m_app->paths().AlarmFilePath);
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
    QVERIFY(LoadAlarms(m_app->paths().AlarmFilePath, saved, m_fakes->messages));
    QCOMPARE(saved[2].Enabled, 0);
    // Deleting every alarm removes the file.
    for (int i = 0; i < list->count(); ++i)
        list->item(i)->setSelected(true);
    click("CmdAlarm2");
    QVERIFY(!QFile::exists(m_app->paths().AlarmFilePath));
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
    m_fakes->pickers.fileToPick.clear(); // the browse dialog was cancelled
    click("CmdAlarm5");
    QCOMPARE(control<QLineEdit>("TxtSound")->text(), QStringLiteral("默认报警声音"));
    QApplication::setActiveWindow(m_dialog);
    auto* sound = control<QLineEdit>("TxtSound");
    sound->setFocus();
    sound->setText(QStringLiteral("/no/such/bell.wav"));
    control<QLineEdit>("TxtNote")->setFocus();
    QCOMPARE(sound->text(), QStringLiteral("默认报警声音"));
}

void TestConfigDialog::addedClockIsStartedAndListed()
{
    auto* name = control<QLineEdit>("TxtDisplayName");
    QCOMPARE(name->text(), QStringLiteral("添加时钟"));
    name->clear();
    QTest::keyClicks(name, QStringLiteral("{Tokyo}"));
    QCOMPARE(name->text(), QStringLiteral("Tokyo"));
    control<QComboBox>("CombTimeZone")->setCurrentIndex(81);
    click("CmdTimeZone0");
    QCOMPARE(m_fakes->instances.started, QStringList{QStringLiteral("Tokyo")});
    QCOMPARE(stored(clockKeyPath(QStringLiteral("Tokyo")), QStringLiteral("TimeZoneIndex")), RegistryValue(81));
    auto* list = control<QListWidget>("ListClock");
    QTRY_COMPARE(list->count(), 2);
    QCOMPARE(list->item(1)->text(), QStringLiteral("Tokyo -- 运行中"));
}

void TestConfigDialog::closeRequestSavesAndEndsTheClock()
{
    // A close request from another clock runs the exit: what the user changed on the clock is saved, the
    // autostart entry follows the setting, and the windows go.
    m_app->settings().DisplayScale = 0;
    m_app->settings().Autorun = 0; // 0 is "yes"
    m_fakes->instances.requestClose();
    QCOMPARE(stored(kKey, QStringLiteral("DisplayScale")), RegistryValue(0));
    QCOMPARE(m_fakes->autorun.read(QStringLiteral("Kiv Clock - Default")), QStringLiteral("/usr/bin/kivclock Default"));
    QVERIFY(!m_dialog->isVisible());
    QVERIFY(!m_app->window()->isVisible());
}

void TestConfigDialog::deletingTheCurrentClockEndsItWithoutSaving()
{
    // Saving on the way out would write the deleted record back.
    auto* list = control<QListWidget>("ListClock");
    QTRY_COMPARE(list->count(), 1);
    list->item(0)->setSelected(true);
    click("CmdTimeZone1");
    QVERIFY(!m_app->window()->isVisible());
    QVERIFY(!Registry(Registry::defaultFilePath()).snapshot().findKey(kKey));
}

QTEST_MAIN(TestConfigDialog)
#include "tst_configdialog.moc"
