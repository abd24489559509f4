#pragma once

#include "alarms/AlarmDispatch.h"
#include "alarms/AlarmTip.h"
#include "alarms/TipWindow.h"
#include "app/ClockServices.h"
#include "clock/ClockLayout.h"
#include "core/AppPaths.h"
#include "platform/ClockInstances.h"
#include "settings/ClockList.h"
#include "settings/ClockSettings.h"
#include "settings/Registry.h"
#include "timezone/TimeZoneTable.h"
#include "timezone/ZoneTime.h"

#include <QCoreApplication>
#include <QTimer>

#include <memory>

namespace kiv {

class AboutDialog;
class ClockWindow;
class ConfigDialog;

// The instance channel as this process uses it: its own clock is found without asking itself (the
// process cannot answer its own request while it waits for the answer).
class OwnClockAwareInstances final : public ClockInstances
{
public:
    OwnClockAwareInstances(ClockInstances& others, const QString& ownName) : m_others(others), m_ownName(ownName) {}
    bool find(const QString& clockName, bool raise) override;
    bool close(const QString& clockName) override;
    void setRunning(bool running) { m_running = running; }

private:
    ClockInstances& m_others;
    const QString& m_ownName;
    bool m_running = false;
};

struct StartupMessages
{
    Q_DECLARE_TR_FUNCTIONS(kiv::StartupMessages)

public:
    static QString ErrorTitle() { return tr("Kiv Clock 错误"); }
    // Shown when there is no display or drawing surface to draw the clock on.
    static QString NoDisplay() { return tr("无法打开显示。"); }
    // The one line that says which display could not be opened (%1, the value of DISPLAY) and what to do.
    static QString DisplayNotOpened()
    {
        return tr("无法打开显示 DISPLAY=\"%1\"。请启动 XWayland 或 X 会话，或用 QT_QPA_PLATFORM 选择其他平台。");
    }
    // Shown when the clock cannot open the channel through which other clocks find it.
    static QString CannotStart() { return tr("无法启动时钟 {%1}：%2"); }
    // Shown when the settings of a clock could not be written.
    static QString NotSaved() { return tr("时钟 {%1} 的设置没有保存：%2"); }
};

// One clock process: its state, its services and its window, from start-up to exit.
class ClockApplication final : public QObject
{
    Q_OBJECT

public:
    // `clockName` is the cleaned command line; "" lets start-up decide.
    ClockApplication(QString clockName, ClockServices services);
    ~ClockApplication() override;

    // Runs start-up; false when the process is to end at once with exitCode().
    bool start();
    int exitCode() const { return m_exitCode; }

    // Ends the clock: autorun entry, settings (when asked), windows, then the event loop. Runs once.
    void ExitClock(bool saveSettings);
    // Saves the settings just applied, reads them back checked, and rebuilds the window with them.
    void ReloadClock();

    const QString& clockName() const { return m_clockName; }
    ClockSettings& settings() { return m_settings; }
    ClockWindow* window() const { return m_window.get(); }
    AlarmState& alarms() { return m_alarms; }
    const AppPaths& paths() const { return m_paths; }

    // The settings dialog (one per process), owned by the clock window or, from Page Up, by nobody.
    void openSettings(QWidget* owner);
    void openAbout();
    // The clock's pop-up menu at `globalPosition`.
    void openMenu(QPoint globalPosition);
    ConfigDialog* settingsDialog() const { return m_config.get(); }

private:
    QString resolveClockName();
    void reportStartFailure(const QString& reason, int exitCode);
    void prepareState();
    void readScreens();
    void createWindow();
    void createAlarmHandling();
    void raiseWindow();
    void closeRequested();
    void saveSoon();
    enum class SaveMoment
    {
        Apply,
        Exit,
        Background, // a change made on the clock, or the session manager's request
    };
    // Saves the settings record; a failure is reported (in a message box unless in the background).
    bool saveSettings(SaveMoment moment);
    QRect monitorOfClock() const;

    QString m_clockName;
    int m_exitCode = 0;
    QTimer m_saveTimer; // coalesces the changes made on the clock into one save
    bool m_exiting = false;
    bool m_closedDuringStartup = false;

    // Process-wide state.
    AppPaths m_paths;
    TimeZoneTable m_zones;
    SystemZoneInfo m_systemZone;
    ClockSettings m_settings;
    AlarmState m_alarms;
    qint32 m_twipsPerPixelX = 15;
    qint32 m_twipsPerPixelY = 15;
    QList<MonitorInfo> m_monitors;
    ClockLayout m_layout;

    // Services.
    ClockServices m_services;
    Registry m_registry;
    OwnClockAwareInstances m_instances{m_services.otherClocks, m_clockName};
    ClockList m_clockList;
    std::unique_ptr<ClockSettingsStore> m_store;

    // Windows and what drives them.
    std::unique_ptr<ClockWindow> m_window;
    std::unique_ptr<AlarmTip> m_tip;
    std::unique_ptr<TipWindowHost> m_tipWindow;
    std::unique_ptr<AlarmDispatcher> m_dispatcher;
    std::unique_ptr<ConfigDialog> m_config;
    std::unique_ptr<AboutDialog> m_about;
};

} // namespace kiv
