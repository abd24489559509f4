#include "FakeClockServices.h"
#include "alarms/AlarmDispatch.h"
#include "app/ClockApplication.h"
#include "clock/ClockWindow.h"
#include "dialogs/ConfigDialog.h"
#include "dialogs/SmallDialogs.h"
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
#include <QScrollBar>
#include <QStackedWidget>
#include <QTest>

using namespace kiv;

namespace {
const QString kKey = clockKeyPath(QStringLiteral("Default"));

QString lineText(const QListWidget* list, int row)
{
    return row < list->count() ? list->item(row)->text() : QString();
}
} // namespace

// The settings dialog of a real clock application built over fakes of the desktop's services, driven by
// the dialog's control names: what it applies reaches the store and the running clock's window.
class TestConfigDialog final : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void opensOnTheGeneralPageWithTheSettings();
    void returnPressesNoButtonThatChangesSettings();
    void reopeningShowsTheSettingsNotWhatWasDiscarded();
    void tabsSwitchThePages();
    void applyChangesTheRunningClockAtOnce();
    void hexTextOfFourDigitsAppliesAsSixteenBits();
    void numberBoxesKeepToTheirRanges();
    void blueNightRewritesTheColourBoxes();
    void resetButtonsRestoreAndSave();
    void pickingTheColourShownKeepsItsAlpha();
    void addingTheSameMinuteTwiceIsRefused();
    void deletingTheFirstAndThirdOfFiveAlarms();
    void clickedAlarmFillsTheUpperGroup();
    void soundBoxFallsBackToTheDefaultSound();
    void switchingWindowsKeepsAHalfTypedBox_data();
    void switchingWindowsKeepsAHalfTypedBox();
    void addedClockIsStartedAndListed();
    void clocksPageActsOnTheSelectedNames();
    void opacityLabelFollowsEveryChange();
    void linksAreUnderlinedUnderThePointer();
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
    static QByteArray readAll(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
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
    // The tab strip frames the pages below its tabs; OK and Apply stand apart.
    QVERIFY(tabs->height() > tabs->tabRowHeight() + 100);
    QVERIFY(control<QPushButton>("CmdConfig0")->geometry().right() + 1 < control<QPushButton>("CmdConfig2")->x());
}

void TestConfigDialog::returnPressesNoButtonThatChangesSettings()
{
    // Return in a list, a box or the tab strip used to press the first button (restore the general defaults).
    const QByteArray store = readAll(Registry::defaultFilePath());
    for (QWidget* widget : m_dialog->findChildren<QWidget*>()) {
        if ((widget->focusPolicy() & Qt::TabFocus) && !qobject_cast<QPushButton*>(widget))
            QTest::keyClick(widget, Qt::Key_Return);
    }
    QCOMPARE(readAll(Registry::defaultFilePath()), store);
    QVERIFY(m_fakes->autorun.entries.isEmpty());
    QCOMPARE(m_app->alarms().table.AlarmCount(), 0);
    QVERIFY(m_fakes->instances.started.isEmpty());
    QVERIFY(m_dialog->isVisible());
}

void TestConfigDialog::reopeningShowsTheSettingsNotWhatWasDiscarded()
{
    auto* tabs = control<ucXTab>("TabConfig");
    control<QComboBox>("CombTimeFormat")->setCurrentIndex(1);
    control<QComboBox>("CombOpacity")->setCurrentIndex(5);
    control<QComboBox>("CombTheme")->setCurrentIndex(2);
    QCOMPARE(m_app->settings().BackgroundOpacity, 5); // the lists change the settings in memory at once
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(3).center());
    m_dialog->close(); // by the frame: nothing was applied
    QCOMPARE(m_app->settings().BackgroundOpacity, 0);
    QCOMPARE(m_app->settings().TimeFontColor, qint32(0xFFFFFFFF));
    m_app->openSettings(m_app->window());
    m_dialog = m_app->settingsDialog();
    QCOMPARE(control<ucXTab>("TabConfig")->ActiveTab(), 0);
    QCOMPARE(control<QStackedWidget>("PicConfigs")->currentIndex(), 0);
    QCOMPARE(control<QComboBox>("CombTimeFormat")->currentIndex(), 0);
    QCOMPARE(control<QComboBox>("CombOpacity")->currentIndex(), 0);
    QCOMPARE(control<QLineEdit>("TxtTimeColor")->text(), QStringLiteral("&HFFFFFFFF"));
    click("CmdConfig0");
    QCOMPARE(stored(kKey, QStringLiteral("12/24Hour")), RegistryValue(0));
    QCOMPARE(stored(kKey, QStringLiteral("BackgroundOpacity")), RegistryValue(0));
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
    // Letters are refused; what a box falls back to when left is checked by switchingWindowsKeepsAHalfTypedBox.
    auto* width = control<QLineEdit>("TxtHourCircle");
    width->clear();
    QTest::keyClicks(width, QStringLiteral("9x"));
    QCOMPARE(width->text(), QStringLiteral("9"));
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
    // A line selected with the arrow keys fills the group too.
    control<QComboBox>("CombAction")->setCurrentIndex(0);
    addAlarmAt(7, 5, QStringLiteral("早"));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(0)).center());
    QTest::keyClick(list, Qt::Key_Down);
    QCOMPARE(control<QComboBox>("CombHour")->currentIndex(), 7);
    QCOMPARE(control<QComboBox>("CombMinute")->currentIndex(), 5);
    QCOMPARE(control<QLineEdit>("TxtNote")->text(), QStringLiteral("早"));
    QVERIFY(control<QLineEdit>("TxtParam")->isHidden());
}

void TestConfigDialog::soundBoxFallsBackToTheDefaultSound()
{
    m_fakes->pickers.fileToPick.clear(); // the browse dialog was cancelled
    click("CmdAlarm5");
    QCOMPARE(control<QLineEdit>("TxtSound")->text(), QStringLiteral("默认报警声音"));
}

void TestConfigDialog::switchingWindowsKeepsAHalfTypedBox_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("checked"); // the text once the focus moves to another control of the dialog
    QTest::newRow("a sound path") << 3 << QStringLiteral("TxtSound") << QStringLiteral("/no/such/bell.wav")
                                  << QStringLiteral("默认报警声音");
    QTest::newRow("a ring width") << 1 << QStringLiteral("TxtHourCircle") << QStringLiteral("5")
                                  << QStringLiteral("18");
    QTest::newRow("the radius") << 1 << QStringLiteral("TxtClockRadius") << QStringLiteral("1") << QStringLiteral("48");
}

void TestConfigDialog::switchingWindowsKeepsAHalfTypedBox()
{
    QFETCH(int, tab);
    QFETCH(QString, box);
    QFETCH(QString, typed);
    QFETCH(QString, checked);
    auto* edit = m_dialog->findChild<QLineEdit*>(box);
    auto* tabs = control<ucXTab>("TabConfig");
    tabs->setActiveTab(tab);
    QApplication::setActiveWindow(m_dialog);
    edit->setFocus();
    edit->setText(typed);
    QWidget other;
    other.show();
    QApplication::setActiveWindow(&other);
    QCOMPARE(edit->text(), typed);
    QApplication::setActiveWindow(m_dialog);
    QCOMPARE(QApplication::focusWidget(), edit);
    tabs->setFocus();
    QCOMPARE(edit->text(), checked);
    QCOMPARE(m_app->settings().HourCircleWidth, 18); // nothing is applied by leaving a box
}

void TestConfigDialog::addedClockIsStartedAndListed()
{
    auto* name = control<QLineEdit>("TxtDisplayName");
    QCOMPARE(name->text(), QStringLiteral("添加时钟"));
    name->clear();
    QTest::keyClicks(name, QStringLiteral("{Tokyo}"));
    QCOMPARE(name->text(), QStringLiteral("Tokyo"));
    control<QComboBox>("CombTimeZone")->setCurrentIndex(81);
    m_fakes->instances.startedClocksAnswer = false; // a clock slow to start on a busy machine
    click("CmdTimeZone0");
    QCOMPARE(m_fakes->instances.started, QStringList{QStringLiteral("Tokyo")});
    QCOMPARE(stored(clockKeyPath(QStringLiteral("Tokyo")), QStringLiteral("TimeZoneIndex")), RegistryValue(81));
    // It answers only after the page has looked for it once: the page shows it running all the same.
    QTRY_VERIFY(m_fakes->instances.asked.contains(QStringLiteral("Tokyo")));
    m_fakes->instances.running.insert(QStringLiteral("Tokyo"));
    auto* list = control<QListWidget>("ListClock");
    QTRY_COMPARE(lineText(list, 1), QStringLiteral("Tokyo -- 运行中"));
}

void TestConfigDialog::clocksPageActsOnTheSelectedNames()
{
    Registry registry(Registry::defaultFilePath());
    const QString clocks = QStringLiteral("Clocks");
    registry.WriteRegistryValue(SystemKey, clocks, QStringLiteral("{A}{B}{C}"), RegSz);
    click("CmdTimeZone4"); // refresh
    auto* list = control<QListWidget>("ListClock");
    list->item(2)->setSelected(true); // B
    // Another process deletes A: the lines move up, and line 2 is C now.
    registry.WriteRegistryValue(SystemKey, clocks, QStringLiteral("{B}{C}"), RegSz);
    click("CmdTimeZone1");
    QCOMPARE(stored(SystemKey, clocks).toString().left(3), QStringLiteral("{C}"));
    QTRY_COMPARE(list->count(), 2);
    // A delete the store refuses says why, and the clock stays listed.
    const QString lock = Registry::defaultFilePath() + QStringLiteral(".lock");
    QFile::remove(lock);
    QVERIFY(QDir().mkpath(lock));
    list->item(1)->setSelected(true);
    click("CmdTimeZone1");
    QVERIFY(QDir().rmdir(lock));
    QCOMPARE(m_fakes->messages.shown.size(), 1);
    QVERIFY(m_fakes->messages.shown.first().text.startsWith(QStringLiteral("删除时钟失败. ")));
    QTRY_COMPARE(list->count(), 2);
}

void TestConfigDialog::opacityLabelFollowsEveryChange()
{
    AlphaDialog dialog(0x77, false);
    auto* bar = dialog.findChild<QScrollBar*>(QStringLiteral("HSValue"));
    auto* label = dialog.findChild<QLabel*>(QStringLiteral("LabValue"));
    const auto shown = [&] { return label->text() == QStringLiteral("Alpha 值: %1").arg(bar->value()); };
    QVERIFY(shown());
    QTest::keyClick(bar, Qt::Key_Right);
    QVERIFY(bar->value() != 0x77 && shown());
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd); // a click on the track
    QVERIFY(shown());
}

void TestConfigDialog::linksAreUnderlinedUnderThePointer()
{
    AboutDialog about(QStringLiteral("1.0.0"), [](const QString&) {});
    about.show();
    auto* link = about.findChild<QLabel*>(QStringLiteral("LabHome1"));
    const QPointF inside(5, 5);
    QEnterEvent enter(inside, inside, link->mapToGlobal(inside));
    QApplication::sendEvent(link, &enter);
    // A move over the label, which the label passes on to the dialog.
    QMouseEvent move(QEvent::MouseMove, inside, link->mapToGlobal(inside), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(link, &move);
    QVERIFY(link->font().underline());
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(link, &leave);
    QVERIFY(!link->font().underline());
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
