#pragma once

#include <QColor>
#include <QDialog>

#include <functional>
#include <memory>
#include <optional>

namespace Ui {
class FrmConfig;
}

class QLineEdit;

namespace kiv {

class ClockInstances;
class ClockLauncher;
class ClockList;
class DialogPickers;
class Registry;
class TimeZoneTable;
class UserMessages;
struct AlarmState;
struct ClockListEntry;
struct ClockSettings;

// What the settings dialog works on, and the choosers it opens.
struct ConfigContext
{
    ClockSettings& settings;
    const TimeZoneTable& zones;
    ClockList& clockList;
    ClockInstances& instances;
    ClockLauncher& launcher;
    AlarmState& alarms;
    Registry& registry;
    UserMessages& messages;
    DialogPickers& pickers;
    QString clockName = {};
    QString alarmFilePath = {};
    std::function<void()> reloadClock = {};  // save, reload checked, rebuild the clock window
    std::function<void()> saveSettings = {}; // save the settings record
    std::function<void(bool saveSettings)> exitClock = {};
    std::function<void()> showAbout = {};
    int settleMs = 1000; // the pause before the clock list shows clocks just started or stopped
};

// The settings dialog: general options, appearance, the clocks and the alarms of this clock.
class ConfigDialog final : public QDialog
{
    Q_OBJECT

public:
    ConfigDialog(ConfigContext context, QWidget* owner);
    ~ConfigDialog() override;

    void IniConfig(bool reload);
    void ApplyConfig();
    void CmdConfig_Click(int index);
    void CmdReset_Click(int index);
    void CmdColor_Click(int index);
    void SetTheme(int themeId);
    void RefreshClockList();
    void CmdTimeZone_Click(int index);
    void CmdAlarm_Click(int index);
    void RefreshAlarmList();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void connectControls();
    void fillLists();
    QLineEdit* colorBox(int row) const;
    void showColor(int row, qint32 argb);
    void AddAlarm();
    void DeleteAlarm();
    void SetAlarm(bool enable);
    void CombAction_Click();
    void ListAlarm_Click();
    QList<qint32> selectedAlarms() const;
    QList<int> selectedClockLines() const;
    // Runs `act` for every selected clock but this one; true when this clock was selected too.
    bool forEachSelectedClock(const std::function<void(const ClockListEntry&, const QString&)>& act);
    void settlingRefresh();

    ConfigContext m_context;
    std::unique_ptr<Ui::FrmConfig> m_ui;
};

} // namespace kiv
