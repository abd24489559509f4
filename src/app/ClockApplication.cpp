#include "app/ClockApplication.h"

#include "app/ClockChooser.h"
#include "clock/ClockWindow.h"
#include "clock/WindowPlacement.h"
#include "platform/WindowSystem.h"

#include <QApplication>
#include <QScreen>

#include <cstdio>

namespace kiv {

ClockApplication::ClockApplication(QString clockName)
    : m_clockName(std::move(clockName)), m_registry(Registry::defaultFilePath()),
      m_launcher(QCoreApplication::applicationFilePath()),
      m_autorun(XdgAutorunEntries::defaultFolder(), QCoreApplication::applicationFilePath()),
      m_clockList({m_registry, m_instances, m_launcher, m_autorun, m_messages}, QString(),
                  QCoreApplication::applicationFilePath()),
      m_power(m_messages)
{
}

ClockApplication::~ClockApplication() = default;

bool ClockApplication::start()
{
    m_systemZone = m_time.systemZone();
    m_clockList.LoadClockList();
    m_clockName = resolveClockName();
    m_clockList.setCurrentClock(m_clockName);
    // A clock runs once: a second start only brings the running one to the front, before anything is written.
    if (m_clockList.FindClockWindow(m_clockName))
        return false;
    if (!m_server.listen(m_clockName))
        return false; // the same clock started at the same moment and answers now
    m_server.setRaiseHandler([this] { raiseWindow(); });
    m_server.setCloseHandler([this] { ExitClock(true); });
    prepareState();
    createAlarmHandling();
    createWindow();
    QCoreApplication::processEvents();
    m_window->show();
    return true;
}

QString ClockApplication::resolveClockName()
{
    if (!m_clockName.isEmpty())
        return m_clockName;
    if (m_clockList.ClockCount() == 1)
        return DefaultClockName;
    QStringList names;
    for (const ClockListEntry& entry : m_clockList.entries())
        names.append(entry.Name);
    return ClockChooser::choose(names);
}

void ClockApplication::prepareState()
{
    m_paths = InitPaths(m_clockName, QCoreApplication::applicationDirPath(), userDataHome());
    m_clockList.WriteAppInfo(KIV_VERSION_MAJOR, KIV_VERSION_MINOR, KIV_VERSION_PATCH);
    ExtractResourceFile(m_paths.DefaultSoundPath, QStringLiteral("ALARM"));
    LoadAlarms(m_paths.AlarmFilePath, m_alarms.table, m_messages);
    m_store = std::make_unique<ClockSettingsStore>(m_registry, m_zones, m_clockName);
    m_store->ReloadClockSettings(m_settings, m_systemZone);
    readScreens();
    m_layout = ComputeClockLayout(m_settings);
    m_alarms.CurrentAlarm = -1;
    ValidateMonitorPosition(m_settings, m_monitors, m_twipsPerPixelX, m_twipsPerPixelY);
}

void ClockApplication::readScreens()
{
    const QScreen* primary = QGuiApplication::primaryScreen();
    const double dpi = primary ? primary->logicalDotsPerInch() : 96.0;
    m_twipsPerPixelX = m_twipsPerPixelY = twipsPerPixel(dpi);
    m_monitors.clear();
    for (const QScreen* screen : QGuiApplication::screens())
        m_monitors.append({screen->geometry(), screen->availableGeometry()});
}

void ClockApplication::createWindow()
{
    m_windowSystem = createWindowSystem();
    ClockWindowContext context{m_clockName,     m_settings, m_layout, m_time, *m_windowSystem,
                               m_monitors,      m_twipsPerPixelX, m_twipsPerPixelY};
    ClockWindowActions actions;
    actions.exitClock = [this](bool save) { ExitClock(save); };
    actions.checkAlarms = [this] { checkAlarms(); };
    m_window = std::make_unique<ClockWindow>(context, actions);
}

void ClockApplication::createAlarmHandling()
{
    m_tip = std::make_unique<AlarmTip>(m_alarms, m_settings, m_clockName, m_paths.DefaultSoundPath, m_sound, m_power);
    m_tipWindow = std::make_unique<TipWindowHost>(*m_tip, [this] { return monitorOfClock(); });
    m_dispatcher = std::make_unique<AlarmDispatcher>(m_alarms, *m_tipWindow, m_opener);
}

QRect ClockApplication::monitorOfClock() const
{
    if (m_settings.MonitorID >= 0 && m_settings.MonitorID < m_monitors.size())
        return m_monitors[m_settings.MonitorID].monitor;
    return m_monitors.isEmpty() ? QRect() : m_monitors.first().monitor;
}

void ClockApplication::checkAlarms()
{
    m_dispatcher->CheckAlarms(ComputeZoneTime(m_time.localNow(), m_time.systemZone(), m_settings.ZoneOffset,
                                              m_settings.TimeStandard));
}

void ClockApplication::raiseWindow()
{
    if (!m_window)
        return;
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

void ClockApplication::ReloadClock()
{
    if (!m_store->SaveClockSettings(m_settings))
        std::fprintf(stderr, "kivclock: %s\n", qPrintable(m_store->errorString()));
    m_store->ReloadClockSettings(m_settings, m_time.systemZone());
    m_layout = ComputeClockLayout(m_settings);
    m_window->rebuild();
    m_window->show();
    m_window->applyStacking();
}

void ClockApplication::ExitClock(bool saveSettings)
{
    // The window's close and the instance channel can both ask; the first one ends the clock.
    if (m_exiting)
        return;
    m_exiting = true;
    if (m_window)
        m_window->finishPendingMove();
    m_clockList.SetAutorun(m_settings.Autorun);
    if (saveSettings && m_store && !m_store->SaveClockSettings(m_settings))
        std::fprintf(stderr, "kivclock: the settings were not saved: %s\n", qPrintable(m_store->errorString()));
    if (m_tipWindow)
        m_tipWindow->close();
    if (m_window)
        m_window->hide();
    QCoreApplication::quit();
}

} // namespace kiv
