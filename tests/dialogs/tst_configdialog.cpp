#include "AlarmRecords.h"
#include "FakeClockServices.h"
#include "KivTest.h"
#include "alarms/AlarmDispatch.h"
#include "app/ClockApplication.h"
#include "app/InterfaceLanguage.h"
#include "clock/ClockWindow.h"
#include "core/TextUtils.h"
#include "dialogs/ConfigDialog.h"
#include "dialogs/ConfigLogic.h"
#include "dialogs/SmallDialogs.h"
#include "settings/ClockList.h"
#include "settings/ClockSettings.h"
#include "settings/Registry.h"
#include "settings/RegistryKeys.h"
#include "timezone/TzDatabaseZones.h"
#include "widgets/tabstrip/ucXTab.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMetaProperty>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QStackedWidget>

namespace {
const QString kKey = clockKeyPath(u"Default"_s);
const QString kAutorun = u"Kiv Clock - Default"_s;
const QString kAutorunCommand = u"/usr/bin/kivclock Default"_s;
} // namespace

// The settings dialog of a real clock application built over fakes of the desktop's services, driven by
// the dialog's control names: what it applies reaches the store and the running clock's window.
class TestConfigDialog final : public QObject
{
    Q_OBJECT

    template <typename T = QLineEdit> T* control(const char* name) const
    {
        T* found = m_dialog->findChild<T*>(QString::fromLatin1(name));
        if (!found)
            qFatal("no control %s", name);
        return found;
    }
    QComboBox* combo(const char* name) const { return control<QComboBox>(name); }
    QListWidget* list(const char* name) const { return control<QListWidget>(name); }
    void click(const char* button) { QTest::mouseClick(control<QPushButton>(button), Qt::LeftButton); }
    ClockSettings& settings() { return m_app->settings(); }
    RegistryValue stored(const QString& value, const QString& key = kKey) const
    {
        return Registry(Registry::defaultFilePath()).ReadRegistryValue(key, value);
    }
    static QStringList lines(const QListWidget* list)
    {
        QStringList texts;
        for (int i = 0; i < list->count(); ++i)
            texts.append(list->item(i)->text());
        return texts;
    }
    static void select(QListWidget* list, const QList<int>& rows)
    {
        for (int row : rows)
            list->item(row)->setSelected(true);
    }
    // The texts that `root` and its children show: every text property (texts, titles, tool tips, the tab
    // strip's captions) and the entries of lists.
    static QStringList shownTexts(QObject* root)
    {
        QStringList texts;
        const QList<QObject*> objects = root->findChildren<QObject*>() << root;
        for (QObject* object : objects) {
            for (int i = 0; i < object->metaObject()->propertyCount(); ++i) {
                const QVariant value = object->metaObject()->property(i).read(object);
                if (value.typeId() == QMetaType::QString || value.typeId() == QMetaType::QStringList)
                    texts += value.toStringList();
            }
            for (int i = 0; qobject_cast<QComboBox*>(object) && i < static_cast<QComboBox*>(object)->count(); ++i)
                texts.append(static_cast<QComboBox*>(object)->itemText(i));
            if (auto* list = qobject_cast<QListWidget*>(object))
                texts += lines(list);
        }
        return texts;
    }
    void addAlarmAt(int hour, int minute, const QString& note)
    {
        combo("CombHour")->setCurrentIndex(hour);
        combo("CombMinute")->setCurrentIndex(minute);
        control("TxtNote")->setText(note);
        click("CmdAlarm0");
    }

    std::unique_ptr<test::FakeClockServices> m_fakes;
    std::unique_ptr<ClockApplication> m_app;
    ConfigDialog* m_dialog = nullptr;

private slots:
    void init()
    {
        // Every case starts from an empty store and data folder, as a first start does.
        QFile::remove(Registry::defaultFilePath());
        QDir(userDataHome()).removeRecursively();
        m_fakes = std::make_unique<test::FakeClockServices>();
        m_fakes->time.now = QDateTime(QDate(2026, 12, 6), QTime(9, 30, 0), Qt::LocalTime);
        m_app = std::make_unique<ClockApplication>(u"Default"_s, m_fakes->services());
        QVERIFY(m_app->start());
        m_app->openSettings(m_app->window());
        m_dialog = m_app->settingsDialog();
        QVERIFY(QTest::qWaitForWindowExposed(m_dialog));
    }

    void cleanup()
    {
        m_app.reset();
        m_fakes.reset();
    }

    void everySettingShownComesBackUnchanged()
    {
        // The tab strip frames the pages below its tabs; OK and Apply stand apart. (The dialog opens on the
        // general page, and a tab shows its page, in opacityAndColoursStayInTheDialogUntilApplied.)
        auto* tabs = control<ucXTab>("TabConfig");
        QVERIFY(tabs->height() > tabs->tabRowHeight() + 100);
        QVERIFY(control<QPushButton>("CmdConfig0")->geometry().right() + 1 < control<QPushButton>("CmdConfig2")->x());
        // Distinct values, so that a setting lost, swapped or shown in the wrong box on the way through the
        // form shows as a difference.
        ClockSettings& s = settings();
        s.HourCircleWidth = 20;
        s.MinuteCircleWidth = 30;
        s.SecondCircleWidth = 40;
        s.ClockRadius = 100;
        s.MinuteCircleColor = 0x12345678;
        s.TimeFontColor = 0x00FFFFFF;
        s.TwelveOr24Hour = s.DisplayScale = s.TimeStandard = 1;
        s.BackgroundOpacity = 3;
        s.Autorun = 1; // the form shows the autostart entry as it is: there is none
        s.TimeZoneIndex = 81;
        s.ZoneOffset = 540;
        s.ClockTheme = 0;
        const ClockSettings before = s;
        m_dialog->IniConfig(true);
        QCOMPARE(control("TxtTimeColor")->text(), u"&HFFFFFF"_s); // no leading zeros
        click("CmdConfig2");                                      // Apply
        QCOMPARE(settings(), before);
        // What it saved is the whole record, every value a DWORD as other versions of the program read it.
        const QList<RegistryEntry> values = Registry(Registry::defaultFilePath()).snapshot().findKey(kKey)->values;
        QVERIFY(values.size() == 23 &&
                std::all_of(values.begin(), values.end(), [](const RegistryEntry& e) { return e.type == RegDword; }));
        // Each zone list holds every zone once, however often the page is filled: the fixed ones at their
        // indices, then a separator, a heading and the zones of each tz database region.
        int count = 97;
        for (const TzRegion& region : tzDatabaseRegions())
            count += 2 + int(region.zones.size());
        QCOMPARE(QList({combo("CombTimeZone0")->count(), combo("CombTimeZone")->count()}), QList({count, count}));
    }

    void tzDatabaseZoneChosenInTheDialog()
    {
        // Moscow has kept UTC+3 all year since 2014; the fixed table still says UTC+04:00.
        m_fakes->time.now = QDateTime(QDate(2026, 7, 1), QTime(12, 0, 0), Qt::UTC);
        settings().TimeStandard = 1;
        m_dialog->IniConfig(true);
        QComboBox* zones = combo("CombTimeZone0");
        zones->setCurrentIndex(zones->findData(QByteArray("Europe/Moscow")));
        QVERIFY(!combo("CombDST")->isEnabled());
        click("CmdConfig2"); // Apply
        QCOMPARE(m_app->window()->shownZoneTime(), QDateTime(QDate(2026, 7, 1), QTime(15, 0, 0), Qt::UTC));
        QCOMPARE(std::pair(CleanString(stored(u"ZoneId"_s).toString()), stored(u"TimeZoneIndex"_s)),
                 std::pair(u"Europe/Moscow"_s, RegistryValue(-1)));
        // A fixed zone again: the id goes from the store, and the clock's own time standard (daylight) shows
        // again and can be chosen, not Moscow's daylight state.
        zones->setCurrentIndex(59);
        QVERIFY(combo("CombDST")->isEnabled() && combo("CombDST")->currentIndex() == 1);
        click("CmdConfig2");
        QVERIFY(!stored(u"ZoneId"_s).isText() && settings().ZoneOffset == 240 && stored(u"TimeStandard"_s) == RegistryValue(1));
        // A zone this system lacks is shown as none and kept as stored by an Apply.
        std::tie(settings().ZoneId, settings().TimeZoneIndex) = std::pair(u"Nowhere/Atlantis"_s, -1);
        m_dialog->IniConfig(true);
        QCOMPARE(zones->currentIndex(), -1);
        click("CmdConfig2");
        QCOMPARE(std::pair(CleanString(stored(u"ZoneId"_s).toString()), stored(u"TimeZoneIndex"_s)),
                 std::pair(u"Nowhere/Atlantis"_s, RegistryValue(-1)));
        // Typing a city's first letters finds its zone.
        QTest::keyClicks(zones, u"Kathm"_s);
        QCOMPARE(zones->currentData().toByteArray(), "Asia/Kathmandu");
    }

    void returnPressesNoButtonThatChangesSettings()
    {
        // Return in a list, a box or the tab strip used to press the first button (restore the general defaults).
        const QByteArray store = test::readFile(Registry::defaultFilePath());
        for (QWidget* widget : m_dialog->findChildren<QWidget*>()) {
            if ((widget->focusPolicy() & Qt::TabFocus) && !qobject_cast<QPushButton*>(widget))
                QTest::keyClick(widget, Qt::Key_Return);
        }
        QCOMPARE(test::readFile(Registry::defaultFilePath()), store);
        QVERIFY(m_fakes->autorun.entries.isEmpty() && m_fakes->instances.started.isEmpty() && m_dialog->isVisible());
        QCOMPARE(m_app->alarms().table.AlarmCount(), 0);
    }

    void applyChangesTheStoreAndTheRunningClockAtOnce()
    {
        control("TxtClockRadius")->setText(u"128"_s);
        for (const char* width : {"TxtHourCircle", "TxtMinuteCircle", "TxtSecondCircle"})
            control(width)->setText(u"50"_s);
        control("TxtScaleColor")->setText(u"blue"_s); // no number: 0, which the reload makes the default
        combo("CombOnTop")->setCurrentIndex(1);
        combo("CombAutorun")->setCurrentIndex(0);
        combo("CombTimeZone0")->setCurrentIndex(81);
        click("CmdConfig2"); // Apply
        QCOMPARE(std::pair(m_app->window()->size(), m_app->window()->faceImage().size()),
                 std::pair(QSize(598, 598), QSize(598, 598)));
        QVERIFY(m_app->window()->onTop());
        QCOMPARE(std::pair(settings().ClockScaleColor, settings().ZoneOffset), std::pair(0x77777777, 540));
        QCOMPARE(QList({stored(u"ClockRadius"_s), stored(u"TimeZoneIndex"_s)}),
                 QList({RegistryValue(128), RegistryValue(81)}));
        QCOMPARE(m_fakes->autorun.read(kAutorun), kAutorunCommand);
        click("CmdConfig0"); // OK applies and closes
        QVERIFY(!m_dialog->isVisible());
    }

    void resetButtonsRestoreAndSave()
    {
        settings().ClockRadius = 100;
        settings().AlwaysOnTop = 1;
        settings().Autorun = 0; // 0 is "yes"
        settings().TimeZoneIndex = settings().MonitorID = settings().Left = settings().Top = 7;
        settings().ZoneOffset = -180;
        m_dialog->IniConfig(true);
        click("CmdReset1"); // general: the appearance stays
        QCOMPARE(QList({settings().AlwaysOnTop, settings().Autorun, settings().ClockRadius}), QList({0, 0, 100}));
        QCOMPARE(std::pair(m_fakes->autorun.read(kAutorun), combo("CombAutorun")->currentIndex()),
                 std::pair(kAutorunCommand, 0));
        QCOMPARE(stored(u"AlwaysOnTop"_s), RegistryValue(0));
        click("CmdReset0"); // appearance
        QCOMPARE(control("TxtClockRadius")->text(), u"48"_s);
        QCOMPARE(stored(u"ClockRadius"_s), RegistryValue(48));
        // Neither button moves the clock to another zone or place.
        QCOMPARE(QList({settings().TimeZoneIndex, settings().MonitorID, settings().Left, settings().Top}),
                 QList({7, 7, 7, 7}));
    }

    void opacityAndColoursStayInTheDialogUntilApplied()
    {
        combo("CombTheme")->setCurrentIndex(2); // blue night
        QCOMPARE(control("TxtScaleColor")->text(), u"&H7700B0E4"_s);
        QCOMPARE(control("TxtScaleColor")->palette().color(QPalette::Base), QColor(0x00, 0xB0, 0xE4));
        QCOMPARE(settings().TimeFontColor, qint32(0xFF0099FF));
        combo("CombTheme")->setCurrentIndex(0); // "custom" keeps the colours shown
        QCOMPARE(control("TxtTimeColor")->text(), u"&HFF0099FF"_s);
        // A colour picked as it is shown keeps its alpha; another one starts opaque; either makes the theme
        // "custom".
        combo("CombTheme")->setCurrentIndex(1);
        click("CmdColor6"); // the scale colour 0x77777777
        QCOMPARE(m_fakes->pickers.alphaStart, 0x77);
        QCOMPARE(control("TxtScaleColor")->text(), u"&H77777777"_s);
        combo("CombTheme")->setCurrentIndex(1);
        m_fakes->pickers.colorToPick = QColor(0x12, 0x34, 0x56);
        click("CmdColor6");
        QCOMPARE(std::pair(m_fakes->pickers.alphaStart, control("TxtScaleColor")->text()),
                 std::pair(255, u"&HFF123456"_s));
        QCOMPARE(combo("CombTheme")->currentIndex(), 0);
        // The lists change the settings in memory at once; closing by the frame applies nothing and puts back
        // what was there; the dialog opens again afresh on the general page, whichever tab showed its page.
        combo("CombTimeFormat")->setCurrentIndex(1);
        combo("CombOpacity")->setCurrentIndex(5);
        combo("CombTheme")->setCurrentIndex(2);
        QCOMPARE(settings().BackgroundOpacity, 5);
        auto* tabs = control<ucXTab>("TabConfig");
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(3).center());
        QCOMPARE(control<QStackedWidget>("PicConfigs")->currentIndex(), 3);
        m_dialog->close();
        QCOMPARE(std::pair(settings().BackgroundOpacity, settings().TimeFontColor), std::pair(0, qint32(0xFFFFFFFF)));
        QVERIFY(stored(u"BackgroundOpacity"_s).isEmpty());
        m_app->openSettings(m_app->window());
        m_dialog = m_app->settingsDialog();
        QCOMPARE(
            QList({control<ucXTab>("TabConfig")->ActiveTab(), control<QStackedWidget>("PicConfigs")->currentIndex(),
                   combo("CombTimeFormat")->currentIndex(), combo("CombOpacity")->currentIndex()}),
            QList({0, 0, 0, 0}));
        QCOMPARE(control("TxtTimeColor")->text(), u"&HFFFFFFFF"_s);
        click("CmdConfig0");
        QCOMPARE(QList({stored(u"12/24Hour"_s), stored(u"BackgroundOpacity"_s)}),
                 QList({RegistryValue(0), RegistryValue(0)}));
    }

    void boxesPutTheirTextRightAndAlarmsAreAddedOnceDeletedAndDisabled()
    {
        control("TxtHourCircle")->clear();
        QTest::keyClicks(control("TxtHourCircle"), u"-9x"_s);
        QCOMPARE(control("TxtHourCircle")->text(), u"-9"_s); // a number box takes digits and signs, no letters
        // A box is checked when the focus moves to another control of the dialog, not when another window
        // takes it: a half-typed text waits. Leaving a box applies nothing.
        QWidget other;
        other.show();
        auto* tabs = control<ucXTab>("TabConfig");
        const std::tuple<int, const char*, QString, QString> boxes[] = {
            {3, "TxtSound", u"/no/such/bell.wav"_s, DefaultSoundText},
            {1, "TxtHourCircle", u"5"_s, u"18"_s},
            {1, "TxtClockRadius", u"1"_s, u"48"_s}};
        for (const auto& [tab, box, typed, checked] : boxes) {
            tabs->setActiveTab(tab);
            QApplication::setActiveWindow(m_dialog);
            control(box)->setFocus();
            control(box)->setText(typed);
            QApplication::setActiveWindow(&other);
            QCOMPARE(control(box)->text(), typed);
            QApplication::setActiveWindow(m_dialog);
            QCOMPARE(QApplication::focusWidget(), control(box));
            tabs->setFocus();
            QCOMPARE(control(box)->text(), checked);
        }
        QCOMPARE(settings().HourCircleWidth, 18);
        m_fakes->pickers.fileToPick.clear(); // the browse dialog is cancelled
        control("TxtSound")->setText(u"x"_s);
        click("CmdAlarm5");
        QCOMPARE(control("TxtSound")->text(), DefaultSoundText);
        // Alarms are added once, deleted and disabled.
        addAlarmAt(8, 0, u"早会"_s);
        combo("CombAction")->setCurrentIndex(1);
        addAlarmAt(8, 0, u"again"_s);
        QCOMPARE(m_fakes->messages.shown.size(), 1);
        QCOMPARE(m_fakes->messages.shown.first().text, ConfigTexts::AlarmExists());
        QCOMPARE(lines(list("ListAlarm")), QStringList{u"08:00 AM - 启用"_s});
        // Of five alarms, the first and third are deleted. (Deleting saves at once: deleting every alarm
        // below removes the file; tst_alarms checks the file byte for byte.)
        select(list("ListAlarm"), {0});
        click("CmdAlarm2");
        for (int i = 0; i < 5; ++i)
            addAlarmAt(6 + i, 15, u"alarm %1"_s.arg(i));
        select(list("ListAlarm"), {0, 2});
        click("CmdAlarm2");
        const AlarmTable& table = m_app->alarms().table;
        QCOMPARE(QStringList({table[0].Text, table[1].Text, table[2].Text}),
                 QStringList({u"alarm 1"_s, u"alarm 3"_s, u"alarm 4"_s}));
        QCOMPARE(table.AlarmCount(), 3);
        // Disabling two of them shows them disabled and saves at once.
        select(list("ListAlarm"), {0, 2});
        click("CmdAlarm4");
        QCOMPARE(lines(list("ListAlarm")),
                 QStringList({u"07:15 AM - 禁用"_s, u"09:15 AM - 启用"_s, u"10:15 AM - 禁用"_s}));
        AlarmTable saved;
        QVERIFY(LoadAlarms(m_app->paths().AlarmFilePath, saved, m_fakes->messages));
        QCOMPARE(saved[2].Enabled, 0);
        // Deleting every alarm removes the file.
        select(list("ListAlarm"), {0, 1, 2});
        click("CmdAlarm2");
        QVERIFY(!QFile::exists(m_app->paths().AlarmFilePath));
    }

    void clickedAlarmFillsTheUpperGroup()
    {
        QVERIFY(control("TxtParam")->isHidden()); // a tip has no parameter
        combo("CombAction")->setCurrentIndex(6);
        QVERIFY(!control("TxtParam")->isHidden() && !control<QPushButton>("CmdAlarm1")->isHidden());
        control("TxtParam")->setText(u"https://example.org"_s);
        combo("CombPlaytime")->setCurrentIndex(4);
        addAlarmAt(21, 45, u"hidden note"_s);
        combo("CombAction")->setCurrentIndex(0);
        combo("CombHour")->setCurrentIndex(0);
        auto* alarms = list("ListAlarm");
        QTest::mouseClick(alarms->viewport(), Qt::LeftButton, {}, alarms->visualItemRect(alarms->item(0)).center());
        QCOMPARE(QList({combo("CombHour")->currentIndex(), combo("CombMinute")->currentIndex(),
                        combo("CombAction")->currentIndex(), combo("CombPlaytime")->currentIndex()}),
                 QList({21, 45, 6, 4}));
        QVERIFY(control("TxtParam")->text() == u"https://example.org"_s && !control("TxtParam")->isHidden());
        // A line selected with the arrow keys fills the group too.
        combo("CombAction")->setCurrentIndex(0);
        addAlarmAt(7, 5, u"早"_s);
        QTest::mouseClick(alarms->viewport(), Qt::LeftButton, {}, alarms->visualItemRect(alarms->item(0)).center());
        QTest::keyClick(alarms, Qt::Key_Down);
        QCOMPARE(QList({combo("CombHour")->currentIndex(), combo("CombMinute")->currentIndex()}), QList({7, 5}));
        QVERIFY(control("TxtNote")->text() == u"早"_s && control("TxtParam")->isHidden());
    }

    void clocksPageAddsListsAndDeletesBySelectedNames()
    {
        auto* name = control("TxtDisplayName");
        name->clear();
        QTest::keyClicks(name, u"{Tokyo}"_s);
        QCOMPARE(name->text(), u"Tokyo"_s); // braces would break the clock list
        combo("CombTimeZone")->setCurrentIndex(81);
        m_fakes->instances.startedClocksAnswer = false; // a clock slow to start on a busy machine
        click("CmdTimeZone0");
        QCOMPARE(m_fakes->instances.started, QStringList{u"Tokyo"_s});
        QCOMPARE(stored(u"TimeZoneIndex"_s, clockKeyPath(u"Tokyo"_s)), RegistryValue(81));
        // It answers only after the page has looked for it once: the page shows it running all the same.
        QTRY_VERIFY(m_fakes->instances.asked.contains(u"Tokyo"_s));
        m_fakes->instances.running.insert(u"Tokyo"_s);
        QTRY_COMPARE(lines(list("ListClock")), QStringList({u"Default -- 运行中"_s, u"Tokyo -- 运行中"_s}));
        // Deleting acts on the names selected, whatever other processes did to the list meanwhile.
        Registry registry(Registry::defaultFilePath());
        registry.WriteRegistryValue(SystemKey, u"Clocks"_s, u"{A}{B}{C}"_s, RegSz);
        click("CmdTimeZone4");          // refresh
        select(list("ListClock"), {2}); // B
        // Another process deletes A: the lines move up, and line 2 is C now.
        registry.WriteRegistryValue(SystemKey, u"Clocks"_s, u"{B}{C}"_s, RegSz);
        click("CmdTimeZone1");
        QCOMPARE(stored(u"Clocks"_s, SystemKey).toString().left(3), u"{C}"_s);
        QTRY_COMPARE(list("ListClock")->count(), 2);
        // A delete the store refuses says why, and the clock stays listed.
        const QString lock = Registry::defaultFilePath() + u".lock"_s;
        QFile::remove(lock);
        QVERIFY(QDir().mkpath(lock));
        select(list("ListClock"), {1});
        click("CmdTimeZone1");
        QVERIFY(QDir().rmdir(lock));
        QCOMPARE(m_fakes->messages.shown.size(), 1);
        QVERIFY(m_fakes->messages.shown.first().text.startsWith(ClockMessages::DeleteFailed()));
        QVERIFY(m_fakes->messages.shown.first().text.size() > ClockMessages::DeleteFailed().size()); // the reason
        QTRY_COMPARE(list("ListClock")->count(), 2);
    }

    void englishDesktopGetsAnEnglishInterface()
    {
        // Under an English desktop the dialog's pages, its small dialogs, the menu, the tip window and the
        // messages show no Chinese; the alarm file keeps the sound box's default as the Chinese interface writes it.
        cleanup();
        const InterfaceTranslation english(interfaceLocale({u"en-US"_s, u"zh-CN"_s}));
        init();
        combo("CombAction")->setCurrentIndex(1); // a countdown: the tip window shows all its texts
        addAlarmAt(9, 30, u"wake"_s);            // the clock's minute
        addAlarmAt(9, 30, u"again"_s);           // a message
        control("TxtDisplayName")->clear();
        click("CmdTimeZone0"); // another
        QCOMPARE(CleanString(m_app->alarms().table[0].Sound), u"默认报警声"_s);
        AboutDialog about(u"1.0.0"_s, {});
        AlphaDialog alpha(255, false);
        QStringList texts;
        const auto windowTexts = [&texts] {
            texts.clear();
            for (QWidget* window : QApplication::topLevelWidgets())
                texts += shownTexts(window);
            return texts;
        };
        QTRY_VERIFY(!windowTexts().filter(u"&Cancel ("_s).isEmpty()); // the tip window counts down
        for (const auto& message : std::as_const(m_fakes->messages.shown))
            texts << message.text << message.title;
        QTimer menuCloser; // the menu runs its own event loop until it closes
        connect(&menuCloser, &QTimer::timeout, this, [&] {
            if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget()); menu && menu->close())
                texts += shownTexts(menu);
        });
        menuCloser.start(10);
        m_app->openMenu(QPoint(10, 10));
        QVERIFY(texts.contains(u"E&xit"_s));
        const QStringList chinese = texts.filter(QRegularExpression(u"[\\x{3000}-\\x{9fff}\\x{ff00}-\\x{ffef}]"_s));
        QVERIFY2(chinese.isEmpty(), qPrintable(chinese.join(u'\n')));
    }

    void deletingTheCurrentClockEndsItWithoutSaving()
    {
        // Saving on the way out would write the deleted record back.
        QTRY_COMPARE(list("ListClock")->count(), 1);
        select(list("ListClock"), {0});
        click("CmdTimeZone1");
        QVERIFY(!m_app->window()->isVisible() && !Registry(Registry::defaultFilePath()).snapshot().findKey(kKey));
    }

    void opacityLabelFollowsEveryChangeAndLinksUnderline()
    {
        AlphaDialog alpha(0x77, false);
        auto* bar = alpha.findChild<QScrollBar*>(u"HSValue"_s);
        const auto shown = [&] {
            return alpha.findChild<QLabel*>(u"LabValue"_s)->text() == u"Alpha 值: %1"_s.arg(bar->value());
        };
        QVERIFY(shown());
        QTest::keyClick(bar, Qt::Key_Right);
        QVERIFY(bar->value() != 0x77 && shown());
        bar->triggerAction(QAbstractSlider::SliderPageStepAdd); // a click on the track
        QVERIFY(shown());
        // A link of the about box is underlined while the pointer is over it, which the label passes on to
        // the dialog.
        AboutDialog about(u"1.0.0"_s, [](const QString&) {});
        about.show();
        auto* link = about.findChild<QLabel*>(u"LabHome1"_s);
        const QPointF inside(5, 5);
        QEnterEvent enter(inside, inside, link->mapToGlobal(inside));
        QApplication::sendEvent(link, &enter);
        QMouseEvent move(QEvent::MouseMove, inside, link->mapToGlobal(inside), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(link, &move);
        QVERIFY(link->font().underline());
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(link, &leave);
        QVERIFY(!link->font().underline());
    }

    // The dialog's rules apart from its widgets.

    void numberBoxRulesAlarmLinesAndTheirLimit()
    {
        // The text, what a width box and the radius box make of it: 10 is the narrowest ring, too small a
        // radius; 50 the widest ring; 9 too narrow; 51 too wide, a radius; 128 the largest radius; 129 too large;
        // empty is the defaults.
        const std::tuple<QString, QString, QString> rows[] = {
            {u"10"_s, u"10"_s, u"48"_s},  {u"50"_s, u"50"_s, u"50"_s},   {u"9"_s, u"18"_s, u"48"_s},
            {u"51"_s, u"18"_s, u"51"_s},  {u"128"_s, u"18"_s, u"128"_s}, {u"129"_s, u"18"_s, u"48"_s},
            {QString(), u"18"_s, u"48"_s}};
        for (const auto& [text, width, radius] : rows)
            QCOMPARE(std::pair(checkedWidthText(text), checkedRadiusText(text)), std::pair(width, radius));
        // An alarm whose flag is neither 1 nor 0 is not listed; the lines know their alarms.
        AlarmTable table;
        for (const auto& [hour, enabled] : {std::pair{19, 1}, {0, -1}, {0, 0}})
            table.append(test::alarmAt(hour, 5, ActionTip, {}, enabled));
        const QList<AlarmLine> lines = alarmLines(table, false);
        QCOMPARE(QStringList({lines[0].text, lines.value(1).text, alarmLines(table, true)[0].text}),
                 QStringList({u"07:05 PM - 启用"_s, u"12:05 AM - 禁用"_s, u"19:05 - 启用"_s}));
        QCOMPARE(std::pair(lines.size(), lines[1].index), std::pair(qsizetype(2), 2));
        // Adding stops at 128 alarms.
        table.clear();
        for (int i = 0; i < MaxAlarms; ++i)
            QCOMPARE(addAlarm(table, NewAlarm{i / 60, i % 60, 0, {}, {}, 0, {}}), AddAlarmResult::Added);
        QCOMPARE(addAlarm(table, NewAlarm{23, 59, 0, {}, {}, 0, {}}), AddAlarmResult::Full);
        QCOMPARE(table.AlarmCount(), 128);
    }
};

QTEST_MAIN(TestConfigDialog)
#include "tst_configdialog.moc"
