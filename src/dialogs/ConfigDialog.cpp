#include "dialogs/ConfigDialog.h"

#include "alarms/AlarmDispatch.h"
#include "core/NumberText.h"
#include "core/TextUtils.h"
#include "core/ColorConversions.h"
#include "core/ColorRef.h"
#include "dialogs/ConfigLogic.h"
#include "dialogs/DialogPickers.h"
#include "platform/ClockInstances.h"
#include "platform/UserMessages.h"
#include "settings/ClockList.h"
#include "settings/ClockSettings.h"
#include "settings/Registry.h"
#include "settings/RegistryKeys.h"
#include "timezone/TimeZoneTable.h"
#include "timezone/TzDatabaseZones.h"
#include "timezone/ZoneTime.h"
#include "ui_ConfigDialog.h"

#include <QApplication>
#include <QKeyEvent>
#include <QStandardItemModel>
#include <QTimer>

namespace kiv {
namespace {

constexpr int kSettlePollMs = 100; // how often the clock list looks whether clocks just started or stopped are so

// The seven colour fields in row order.
constexpr std::array<qint32 ClockSettings::*, 7> kColorFields{
    &ClockSettings::AM24HourCircleColor, &ClockSettings::PMHourCircleColor, &ClockSettings::MinuteCircleColor,
    &ClockSettings::SecondCircleColor,   &ClockSettings::TimeFontColor,     &ClockSettings::DateFontColor,
    &ClockSettings::ClockScaleColor};

void setIndexQuietly(QComboBox* list, int index)
{
    // A list given an index it cannot show keeps its selection.
    if (index < 0 || index >= list->count())
        return;
    const QSignalBlocker blocker(list);
    list->setCurrentIndex(index);
}

qint32 numberOf(const QLineEdit* box)
{
    return NumberOfText(box->text()).value_or(0);
}

// Fills a zone list: the fixed zones at their table indices, then the tz database's zones under a heading
// per region, each holding its zone id. Headings and the separator cannot be chosen.
void fillZoneList(QComboBox* list, const TimeZoneTable& zones)
{
    for (qint32 index = 0; index < TimeZoneCount; ++index)
        list->addItem(zones.shownName(index));
    auto* model = qobject_cast<QStandardItemModel*>(list->model());
    for (const TzRegion& region : tzDatabaseRegions()) {
        list->insertSeparator(list->count());
        list->addItem(QStringLiteral("[%1]").arg(region.name));
        if (model)
            model->item(list->count() - 1)->setEnabled(false);
        for (const TzZoneItem& zone : region.zones)
            list->addItem(zone.city, zone.id);
    }
}

// Selects the clock's zone: its tz database zone, else its fixed zone. A zone the list cannot show (a tz
// database zone this system lacks, an index outside the table) selects nothing in the clock's `own` list, so
// that applying keeps it as stored; the new clock's list then keeps its selection.
void selectZone(QComboBox* list, const ClockSettings& settings, bool own)
{
    int row = settings.Zone.isValid() ? list->findData(settings.Zone.id()) : -1;
    if (row < 0 && settings.ZoneId.isEmpty() && TimeZoneTable::isValidIndex(settings.TimeZoneIndex))
        row = settings.TimeZoneIndex;
    if (row < 0 && !own)
        return;
    const QSignalBlocker blocker(list);
    list->setCurrentIndex(row);
}

} // namespace

ConfigDialog::ConfigDialog(ConfigContext context, QWidget* owner)
    : QDialog(owner), m_context(std::move(context)), m_ui(std::make_unique<Ui::FrmConfig>())
{
    m_ui->setupUi(this);
    setWindowFlag(Qt::WindowStaysOnTopHint, m_context.settings.AlwaysOnTop == 1);
    // Return must never press a button that changes or resets settings: no button becomes the default.
    for (QPushButton* button : findChildren<QPushButton*>())
        button->setAutoDefault(false);
    // The pages lie inside the frame the tab strip draws below its tabs.
    m_ui->PicConfigs->setContentsMargins(m_ui->TabConfig->pageMargins());
    m_applied = preview();
    fillLists();
    connectControls();
    IniConfig(false);
}

ConfigDialog::~ConfigDialog() = default;

void ConfigDialog::fillLists()
{
    m_ui->CombDST->addItems({tr("标准时间"), tr("夏令时间")});
    for (QComboBox* zones : {m_ui->CombTimeZone0, m_ui->CombTimeZone})
        fillZoneList(zones, m_context.zones);
    m_ui->CombTimeFormat->addItems({tr("12 小时"), tr("24 小时")});
    m_ui->CombOnTop->addItems({tr("否"), tr("是")});
    m_ui->CombDisplayScale->addItems({tr("是"), tr("否")});
    m_ui->CombOpacity->addItems({QStringLiteral("100%"), QStringLiteral("90%"), QStringLiteral("80%"),
                                 QStringLiteral("70%"), QStringLiteral("60%"), QStringLiteral("50%")});
    m_ui->CombAutorun->addItems({tr("是"), tr("否")});
    m_ui->CombTheme->addItems({tr("自定义"), tr("默认"), tr("蓝色之夜")});
    m_ui->CombHour->addItems(hourListEntries());
    m_ui->CombMinute->addItems(minuteListEntries());
    m_ui->CombAction->addItems({tr("显示提示"), tr("关闭计算机"), tr("重启计算机"), tr("锁定计算机"), tr("关机不保存"),
                                tr("重启不保存"), tr("执行一个文件 (程序,文档,网址...)")});
    m_ui->CombPlaytime->addItems({tr("1 分钟"), tr("2 分钟"), tr("3 分钟"), tr("5 分钟"), tr("圈")});
}

void ConfigDialog::connectControls()
{
    connect(m_ui->TabConfig, &ucXTab::TabSwitch, this,
            [this] { m_ui->PicConfigs->setCurrentIndex(m_ui->TabConfig->ActiveTab()); });
    const std::array<QPushButton*, 3> configButtons{m_ui->CmdConfig0, m_ui->CmdConfig1, m_ui->CmdConfig2};
    for (int i = 0; i < 3; ++i)
        connect(configButtons[i], &QPushButton::clicked, this, [this, i] { CmdConfig_Click(i); });
    connect(m_ui->CmdReset0, &QPushButton::clicked, this, [this] { CmdReset_Click(0); });
    connect(m_ui->CmdReset1, &QPushButton::clicked, this, [this] { CmdReset_Click(1); });
    const std::array<QPushButton*, 7> colorButtons{m_ui->CmdColor0, m_ui->CmdColor1, m_ui->CmdColor2, m_ui->CmdColor3,
                                                   m_ui->CmdColor4, m_ui->CmdColor5, m_ui->CmdColor6};
    for (int i = 0; i < 7; ++i)
        connect(colorButtons[i], &QPushButton::clicked, this, [this, i] { CmdColor_Click(i); });
    connect(m_ui->CombTheme, &QComboBox::currentIndexChanged, this, &ConfigDialog::SetTheme);
    connect(m_ui->CombTimeZone0, &QComboBox::currentIndexChanged, this, &ConfigDialog::showDaylightOfZone);
    connect(m_ui->CombOpacity, &QComboBox::currentIndexChanged, this,
            [this](int index) { m_context.settings.BackgroundOpacity = index; });
    const std::array<QPushButton*, 5> clockButtons{m_ui->CmdTimeZone0, m_ui->CmdTimeZone1, m_ui->CmdTimeZone2,
                                                   m_ui->CmdTimeZone3, m_ui->CmdTimeZone4};
    for (int i = 0; i < 5; ++i)
        connect(clockButtons[i], &QPushButton::clicked, this, [this, i] { CmdTimeZone_Click(i); });
    const std::array<QPushButton*, 6> alarmButtons{m_ui->CmdAlarm0, m_ui->CmdAlarm1, m_ui->CmdAlarm2,
                                                   m_ui->CmdAlarm3, m_ui->CmdAlarm4, m_ui->CmdAlarm5};
    for (int i = 0; i < 6; ++i)
        connect(alarmButtons[i], &QPushButton::clicked, this, [this, i] { CmdAlarm_Click(i); });
    connect(m_ui->CombAction, &QComboBox::currentIndexChanged, this, &ConfigDialog::CombAction_Click);
    connect(m_ui->ListAlarm, &QListWidget::itemClicked, this, &ConfigDialog::ListAlarm_Click);
    // The arrow keys select too: a line selected by keyboard fills the group as a click does.
    connect(m_ui->ListAlarm, &QListWidget::itemSelectionChanged, this, &ConfigDialog::ListAlarm_Click);
    for (QLineEdit* box : {m_ui->TxtHourCircle, m_ui->TxtMinuteCircle, m_ui->TxtSecondCircle, m_ui->TxtClockRadius,
                           m_ui->TxtDisplayName, m_ui->TxtSound})
        box->installEventFilter(this);
}

QLineEdit* ConfigDialog::colorBox(int row) const
{
    const std::array<QLineEdit*, 7> boxes{m_ui->TxtAmHourColor, m_ui->TxtPmHourColor, m_ui->TxtMinuteColor,
                                          m_ui->TxtSecondColor, m_ui->TxtTimeColor,   m_ui->TxtDateColor,
                                          m_ui->TxtScaleColor};
    return boxes[size_t(row)];
}

void ConfigDialog::showColor(int row, qint32 argb)
{
    QLineEdit* box = colorBox(row);
    box->setText(colorBoxText(argb));
    QPalette palette = box->palette();
    const QColor back = colorFromColorref(ColorTransfer(argb));
    palette.setColor(QPalette::Base, back);
    palette.setColor(QPalette::Text, back.lightness() < 128 ? Qt::white : Qt::black);
    box->setPalette(palette);
}

void ConfigDialog::IniConfig(bool reload)
{
    ClockSettings& s = m_context.settings;
    if (!reload) {
        m_ui->TabConfig->setTabCaptions(ConfigTexts::TabCaptions());
        m_ui->TabConfig->setActiveTab(0);
        m_ui->PicConfigs->setCurrentIndex(0);
    }
    m_ui->TxtHourCircle->setText(QString::number(s.HourCircleWidth));
    m_ui->TxtMinuteCircle->setText(QString::number(s.MinuteCircleWidth));
    m_ui->TxtSecondCircle->setText(QString::number(s.SecondCircleWidth));
    m_ui->TxtClockRadius->setText(QString::number(s.ClockRadius));
    for (int row = 0; row < 7; ++row)
        showColor(row, s.*kColorFields[size_t(row)]);
    setIndexQuietly(m_ui->CombTheme, s.ClockTheme);
    SetTheme(s.ClockTheme);
    setIndexQuietly(m_ui->CombTimeFormat, s.TwelveOr24Hour);
    setIndexQuietly(m_ui->CombDisplayScale, s.DisplayScale);
    setIndexQuietly(m_ui->CombOnTop, s.AlwaysOnTop);
    setIndexQuietly(m_ui->CombOpacity, s.BackgroundOpacity);
    setIndexQuietly(m_ui->CombAutorun, m_context.clockList.GetAutorunState());
    selectZone(m_ui->CombTimeZone0, s, true);
    selectZone(m_ui->CombTimeZone, s, false);
    setIndexQuietly(m_ui->CombDST, s.TimeStandard);
    showDaylightOfZone();
    RefreshClockList();
    for (QComboBox* list : {m_ui->CombHour, m_ui->CombMinute, m_ui->CombPlaytime})
        setIndexQuietly(list, 0);
    setIndexQuietly(m_ui->CombAction, 0);
    CombAction_Click();
    RefreshAlarmList();
}

void ConfigDialog::ApplyConfig()
{
    ClockSettings& s = m_context.settings;
    s.TwelveOr24Hour = m_ui->CombTimeFormat->currentIndex();
    s.AlwaysOnTop = m_ui->CombOnTop->currentIndex();
    s.BackgroundOpacity = m_ui->CombOpacity->currentIndex();
    s.DisplayScale = m_ui->CombDisplayScale->currentIndex();
    s.Autorun = m_ui->CombAutorun->currentIndex();
    // A zone the list could not show stays as stored. A tz database zone keeps its own daylight rules: the
    // time standard stays as it was.
    if (m_ui->CombTimeZone0->currentIndex() >= 0) {
        s.ZoneId = QString::fromLatin1(m_ui->CombTimeZone0->currentData().toByteArray());
        s.TimeZoneIndex = s.ZoneId.isEmpty() ? m_ui->CombTimeZone0->currentIndex() : -1;
    }
    if (s.ZoneId.isEmpty())
        s.TimeStandard = m_ui->CombDST->currentIndex();
    m_context.registry.WriteRegistryValue(clockKeyPath(m_context.clockName), QStringLiteral("TimeZoneIndex"),
                                          QString::number(s.TimeZoneIndex), RegDword);
    resolveClockZone(s, m_context.zones);
    for (int row = 0; row < 7; ++row)
        s.*kColorFields[size_t(row)] = numberOf(colorBox(row));
    s.ClockTheme = m_ui->CombTheme->currentIndex();
    s.HourCircleWidth = numberOf(m_ui->TxtHourCircle);
    s.MinuteCircleWidth = numberOf(m_ui->TxtMinuteCircle);
    s.SecondCircleWidth = numberOf(m_ui->TxtSecondCircle);
    s.ClockRadius = numberOf(m_ui->TxtClockRadius);
    m_context.reloadClock();
    m_context.clockList.SetAutorun(s.Autorun);
    m_context.saveSettings();
    m_applied = preview();
}

void ConfigDialog::CmdConfig_Click(int index)
{
    switch (index) {
    case 0:
        ApplyConfig();
        close();
        break;
    case 1:
        if (m_context.showAbout)
            m_context.showAbout();
        break;
    case 2:
        ApplyConfig();
        break;
    default:
        break;
    }
}

void ConfigDialog::CmdReset_Click(int index)
{
    const bool appearance = index == 0;
    ResetClockSettings(m_context.settings, appearance);
    IniConfig(true);
    m_context.reloadClock();
    if (!appearance) {
        m_context.clockList.SetAutorun(m_context.settings.Autorun);
        // The list was filled before the entry was written: show the entry as it is now.
        setIndexQuietly(m_ui->CombAutorun, m_context.clockList.GetAutorunState());
    }
    m_context.saveSettings();
    m_applied = preview();
}

ConfigDialog::Preview ConfigDialog::preview() const
{
    Preview current;
    for (size_t row = 0; row < kColorFields.size(); ++row)
        current.colors[row] = m_context.settings.*kColorFields[row];
    current.backgroundOpacity = m_context.settings.BackgroundOpacity;
    return current;
}

void ConfigDialog::done(int result)
{
    if (preview() != m_applied) {
        for (size_t row = 0; row < kColorFields.size(); ++row)
            m_context.settings.*kColorFields[row] = m_applied.colors[row];
        m_context.settings.BackgroundOpacity = m_applied.backgroundOpacity;
        if (m_context.redrawClock)
            m_context.redrawClock();
    }
    QDialog::done(result);
}

void ConfigDialog::CmdColor_Click(int row)
{
    const qint32 initial = ColorTransfer(NumberOfText(colorBox(row)->text()).value_or(0));
    const qint32 argb = m_context.settings.*kColorFields[size_t(row)];
    const std::optional<QColor> chosen = m_context.pickers.pickColor(colorFromColorref(initial), this);
    if (!chosen)
        return;
    const qint32 result = colorrefFromColor(*chosen);
    const int alpha = m_context.pickers.pickAlpha(alphaAfterPicking(result, initial, argb), m_context.settings.AlwaysOnTop == 1, this);
    showColor(row, RGBToARGB(result, quint8(alpha)));
    m_ui->CombTheme->setCurrentIndex(0);
}

void ConfigDialog::SetTheme(int themeId)
{
    if (themeId == 0)
        return;
    if (const auto colors = themeColors(themeId)) {
        for (size_t row = 0; row < kColorFields.size(); ++row)
            m_context.settings.*kColorFields[row] = (*colors)[row];
    }
    for (int row = 0; row < 7; ++row)
        showColor(row, m_context.settings.*kColorFields[size_t(row)]);
}

void ConfigDialog::RefreshClockList()
{
    m_context.clockList.LoadClockList();
    m_ui->ListClock->clear();
    for (const ClockListEntry& entry : m_context.clockList.entries()) {
        auto* item = new QListWidgetItem(clockLineText(entry), m_ui->ListClock);
        item->setData(Qt::UserRole, entry.Name);
    }
}

QStringList ConfigDialog::selectedClockNames() const
{
    QStringList names;
    for (const QListWidgetItem* item : m_ui->ListClock->selectedItems())
        names.append(item->data(Qt::UserRole).toString());
    return names;
}

void ConfigDialog::refreshWhenSettled(const QStringList& names, bool running, QDeadlineTimer deadline)
{
    const bool settled = std::all_of(names.begin(), names.end(), [this, running](const QString& name) {
        return m_context.instances.find(name, false) == running;
    });
    if (settled || deadline.hasExpired()) {
        RefreshClockList();
        return;
    }
    QTimer::singleShot(kSettlePollMs, this,
                       [this, names, running, deadline] { refreshWhenSettled(names, running, deadline); });
}

bool ConfigDialog::forEachSelectedClock(const std::function<void(const ClockListEntry&)>& act)
{
    ClockList& list = m_context.clockList;
    const QStringList selected = selectedClockNames();
    list.LoadClockList();
    bool current = false;
    // Another process may have added or deleted clocks since the list was shown, moving the lines: the names
    // selected are what counts, and a name no longer listed is skipped.
    for (const ClockListEntry& entry : list.entries()) {
        if (!selected.contains(entry.Name))
            continue;
        if (sameClock(CleanString(entry.Name), m_context.clockName))
            current = true;
        else
            act(entry);
    }
    return current;
}

void ConfigDialog::showDaylightOfZone()
{
    // A tz database zone shows whether its daylight time is in force now, and that cannot be changed.
    // An empty id would give the system's zone.
    const QByteArray id = m_ui->CombTimeZone0->currentData().toByteArray();
    const QTimeZone zone = id.isEmpty() ? QTimeZone() : QTimeZone(id);
    const bool fixed = m_ui->CombTimeZone0->currentIndex() >= 0 ? !zone.isValid() : m_context.settings.ZoneId.isEmpty();
    m_ui->CombDST->setEnabled(fixed);
    if (zone.isValid()) {
        const QDateTime now = QDateTime::currentDateTimeUtc();
        setIndexQuietly(m_ui->CombDST, querySystemZone(zone, now).State == 2 ? 1 : 0);
    } else {
        // Back on a fixed zone the clock's own time standard shows again, not the last zone's daylight state.
        setIndexQuietly(m_ui->CombDST, m_context.settings.TimeStandard);
    }
}

void ConfigDialog::CmdTimeZone_Click(int index)
{
    ClockList& list = m_context.clockList;
    QStringList acted; // the clocks started or stopped, whose new state the list waits for
    bool running = true;
    switch (index) {
    case 0:
        if (list.AddClock(m_ui->TxtDisplayName->text(), m_ui->CombTimeZone->currentIndex(),
                          QString::fromLatin1(m_ui->CombTimeZone->currentData().toByteArray())))
            acted.append(CleanString(m_ui->TxtDisplayName->text()));
        break;
    case 1:
        // The current clock goes last: it ends this process, without saving what it is deleting.
        if (forEachSelectedClock([&list](const ClockListEntry& entry) { list.StopAndDeleteClock(entry.Name); })) {
            m_context.exitClock(false);
            list.DeleteClock(m_context.clockName);
            return;
        }
        break;
    case 2:
        // Starting the current clock again only brings it to the front.
        if (forEachSelectedClock([this, &acted](const ClockListEntry& entry) {
                m_context.launcher.startClock(CleanString(entry.Name));
                acted.append(CleanString(entry.Name));
            }))
            m_context.launcher.startClock(m_context.clockName);
        break;
    case 3:
        running = false;
        if (forEachSelectedClock([this, &acted](const ClockListEntry& entry) {
                if (entry.Window)
                    m_context.instances.close(CleanString(entry.Name));
                acted.append(CleanString(entry.Name));
            })) {
            m_context.exitClock(true);
            return;
        }
        break;
    case 4:
        break;
    default:
        return;
    }
    refreshWhenSettled(acted, running, QDeadlineTimer(m_context.settleTimeoutMs));
}

void ConfigDialog::CmdAlarm_Click(int index)
{
    switch (index) {
    case 0:
        AddAlarm();
        break;
    case 1:
        m_ui->TxtParam->setText(
            m_context.pickers.pickFile(ConfigTexts::FileDialogTitle(), QStringLiteral("*.*"), this));
        break;
    case 2:
        DeleteAlarm();
        break;
    case 3:
        SetAlarm(true);
        break;
    case 4:
        SetAlarm(false);
        break;
    case 5: {
        const QString sound = m_context.pickers.pickFile(ConfigTexts::FileDialogTitle(), QStringLiteral("*.wav"), this);
        m_ui->TxtSound->setText(sound.trimmed().isEmpty() ? soundBoxText(DefaultSoundText) : sound);
        break;
    }
    default:
        break;
    }
    RefreshAlarmList();
}

void ConfigDialog::AddAlarm()
{
    NewAlarm alarm;
    alarm.hour = m_ui->CombHour->currentIndex();
    alarm.minute = m_ui->CombMinute->currentIndex();
    alarm.action = m_ui->CombAction->currentIndex();
    alarm.note = m_ui->TxtNote->text();
    alarm.param = m_ui->TxtParam->text();
    alarm.playTime = m_ui->CombPlaytime->currentIndex();
    alarm.sound = storedSoundText(m_ui->TxtSound->text());
    switch (addAlarm(m_context.alarms.table, alarm)) {
    case AddAlarmResult::Duplicate:
        m_context.messages.show(ConfigTexts::AlarmExists(), ConfigTexts::AlarmTitle, MessageIcon::Exclamation);
        return;
    case AddAlarmResult::Full:
        m_context.messages.show(AlarmMessages::TableFull(), ConfigTexts::AlarmTitle, MessageIcon::Exclamation);
        return;
    case AddAlarmResult::Added:
        break;
    }
    SaveAlarms(m_context.alarmFilePath, m_context.alarms.table, m_context.messages);
}

QList<qint32> ConfigDialog::selectedAlarms() const
{
    QList<qint32> indices;
    for (int i = 0; i < m_ui->ListAlarm->count(); ++i) {
        if (m_ui->ListAlarm->item(i)->isSelected())
            indices.append(m_ui->ListAlarm->item(i)->data(Qt::UserRole).toInt());
    }
    return indices;
}

void ConfigDialog::DeleteAlarm()
{
    AlarmState& alarms = m_context.alarms;
    const QList<qint32> selected = selectedAlarms();
    // The tip window keeps pointing at the alarm it shows, wherever that alarm moves.
    if (alarms.CurrentAlarm >= 0) {
        if (selected.contains(alarms.CurrentAlarm)) {
            alarms.CurrentAlarm = -1;
        } else {
            alarms.CurrentAlarm -= qint32(
                std::count_if(selected.begin(), selected.end(), [&](qint32 i) { return i < alarms.CurrentAlarm; }));
        }
    }
    deleteAlarms(alarms.table, selected);
    SaveAlarms(m_context.alarmFilePath, alarms.table, m_context.messages);
}

void ConfigDialog::SetAlarm(bool enable)
{
    setAlarmsEnabled(m_context.alarms.table, selectedAlarms(), enable);
    SaveAlarms(m_context.alarmFilePath, m_context.alarms.table, m_context.messages);
}

void ConfigDialog::RefreshAlarmList()
{
    m_ui->ListAlarm->clear();
    for (const AlarmLine& line : alarmLines(m_context.alarms.table, m_context.settings.TwelveOr24Hour != 0)) {
        auto* item = new QListWidgetItem(line.text, m_ui->ListAlarm);
        item->setData(Qt::UserRole, line.index);
    }
}

void ConfigDialog::CombAction_Click()
{
    const bool run = m_ui->CombAction->currentIndex() == 6;
    m_ui->LabNote->setText(run ? ConfigTexts::ParamNote() : ConfigTexts::TipNote());
    m_ui->CmdAlarm1->setVisible(run);
    m_ui->TxtNote->setVisible(!run);
    m_ui->TxtParam->setVisible(run);
}

void ConfigDialog::ListAlarm_Click()
{
    const AlarmTable& table = m_context.alarms.table;
    QListWidgetItem* current = m_ui->ListAlarm->currentItem();
    if (table.AlarmCount() == 0 || !current || !current->isSelected())
        return;
    const AlarmRecord& alarm = table[current->data(Qt::UserRole).toInt()];
    const QTime time = QTime::fromString(alarmTimeText(alarm.Time), QStringLiteral("HH:mm"));
    setIndexQuietly(m_ui->CombHour, time.hour());
    setIndexQuietly(m_ui->CombMinute, time.minute());
    m_ui->CombAction->setCurrentIndex(alarm.Action);
    CombAction_Click();
    setIndexQuietly(m_ui->CombPlaytime, alarm.PlayTime);
    if (alarm.Action >= ActionRun) {
        m_ui->TxtParam->setText(CleanString(alarm.Text));
    } else {
        m_ui->TxtNote->setText(withoutTrailingSpaces(alarm.Text));
    }
    m_ui->TxtSound->setText(soundBoxText(CleanString(alarm.Sound)));
}

void ConfigDialog::checkLeftBox(QLineEdit* box)
{
    if (box == m_ui->TxtClockRadius)
        box->setText(checkedRadiusText(box->text()));
    else if (box == m_ui->TxtSound && !FileExists(box->text()))
        box->setText(soundBoxText(DefaultSoundText));
    else if (box != m_ui->TxtDisplayName && box != m_ui->TxtSound)
        box->setText(checkedWidthText(box->text()));
}

bool ConfigDialog::eventFilter(QObject* watched, QEvent* event)
{
    auto* box = qobject_cast<QLineEdit*>(watched);
    if (!box)
        return QDialog::eventFilter(watched, event);
    const bool numberBox = box != m_ui->TxtDisplayName && box != m_ui->TxtSound;
    if (event->type() == QEvent::KeyPress) {
        const QString typed = static_cast<QKeyEvent*>(event)->text();
        if (!typed.isEmpty() && typed[0].isPrint()) {
            if (numberBox && !numberBoxAccepts(typed[0]))
                return true;
            if (box == m_ui->TxtDisplayName && (typed[0] == u'{' || typed[0] == u'}'))
                return true;
        }
    } else if (event->type() == QEvent::FocusOut) {
        // Only a move to another control of the dialog checks the box: switching to another window keeps a
        // half-typed text as it is.
        const QWidget* next = QApplication::focusWidget();
        if (next && next->window() == this)
            checkLeftBox(box);
    } else if (event->type() == QEvent::FocusIn && box == m_ui->TxtDisplayName) {
        QTimer::singleShot(0, box, &QLineEdit::selectAll);
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace kiv
