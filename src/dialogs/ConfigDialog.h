#pragma once

#include <QColor>
#include <QDeadlineTimer>
#include <QDialog>

#include <array>
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
    std::function<void()> redrawClock = {}; // rebuild the clock window from the settings in memory, unsaved
    // How long the clock list waits at most for clocks just started or stopped to show their new state.
    int settleTimeoutMs = 8000;
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
    void showDaylightOfZone();
    void CmdAlarm_Click(int index);
    void RefreshAlarmList();

    // Closing in any way (OK, the frame, Escape, the clock's exit) keeps only what was applied: the colours and
    // the opacity that the theme and opacity lists put into the settings at once are put back.
    void done(int result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The settings the dialog changes in memory before they are applied.
    struct Preview
    {
        std::array<qint32, 7> colors{};
        qint32 backgroundOpacity = 0;
        bool operator==(const Preview&) const = default;
    };
    Preview preview() const;
    void checkLeftBox(QLineEdit* box);
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
    QStringList selectedClockNames() const;
    // Runs `act` for every selected clock but this one that is still listed; true when this clock was selected.
    bool forEachSelectedClock(const std::function<void(const ClockListEntry&)>& act);
    // Refreshes the list once every clock of `names` runs (or, with `running` false, has stopped), checking
    // again and again without blocking, for at most settleTimeoutMs.
    void refreshWhenSettled(const QStringList& names, bool running, QDeadlineTimer deadline);

    ConfigContext m_context;
    std::unique_ptr<Ui::FrmConfig> m_ui;
    Preview m_applied; // the preview settings as last applied or saved
};

} // namespace kiv
