#include "app/ClockApplication.h"

#include "app/ClockChooser.h"
#include "app/CommandLine.h"
#include "core/ClockName.h"
#include "core/Logging.h"
#include "clock/ClockIcon.h"
#include "clock/ClockWindow.h"
#include "clock/FaceRenderer.h"
#include "clock/WindowPlacement.h"
#include "dialogs/ConfigDialog.h"
#include "dialogs/SmallDialogs.h"
#include "platform/AlarmServices.h"
#include "platform/UserMessages.h"
#include "platform/WindowSystem.h"
#include "timezone/ZoneTime.h"

#include <QApplication>
#include <QIcon>
#include <QMenu>
#include <QScreen>

#include <cstdio>

namespace kiv {

namespace {

const QString kWebSite = AboutTexts::WebSite;
// Changes made on the clock reach the store this long after the first of them: a drag, or keys pressed
// in a row, make one save, and a clock killed or cut off from its display loses at most this much.
constexpr int kSaveDelayMs = 1000;

} // namespace

bool OwnClockAwareInstances::find(const QString& clockName, bool raise)
{
    if (m_running && sameClock(clockName, m_ownName))
        return true;
    return m_others.find(clockName, raise);
}

bool OwnClockAwareInstances::close(const QString& clockName)
{
    return sameClock(clockName, m_ownName) && m_running ? false : m_others.close(clockName);
}

ClockApplication::ClockApplication(QString clockName, ClockServices services)
    : m_clockName(std::move(clockName)), m_services(services), m_registry(Registry::defaultFilePath()),
      m_clockList({m_registry, m_instances, m_services.launcher, m_services.autorun, m_services.messages}, QString(),
                  m_services.programPath)
{
    m_registry.setUnreadableNotice([this](const QString& message) {
        m_services.messages.show(message, StartupMessages::ErrorTitle(), MessageIcon::Exclamation);
    });
}

ClockApplication::~ClockApplication() = default;

bool ClockApplication::start()
{
    m_systemZone = m_services.time.systemZone();
    m_clockList.LoadClockList();
    m_clockName = resolveClockName();
    qCInfo(lcStartup) << "starting the clock" << m_clockName << "on" << QGuiApplication::platformName();
    // The name becomes a key of the store and a file name: check it before anything is written.
    if (const QString problem = clockNameProblem(m_clockName); !problem.isEmpty()) {
        reportStartFailure(problem, 2);
        return false;
    }
    m_clockList.setCurrentClock(m_clockName);
    // A clock runs once: a second start only brings the running one to the front, before anything is written.
    if (m_clockList.FindClockWindow(m_clockName)) {
        qCInfo(lcStartup) << "the clock" << m_clockName << "already runs: its window was brought to the front";
        return false;
    }
    if (!m_services.channel.listen(m_clockName)) {
        // The same clock started at the same moment and answers now; anything else is a fault to report.
        if (!m_services.channel.otherIsRunning())
            reportStartFailure(m_services.channel.errorString(), 1);
        return false;
    }
    m_instances.setRunning(true);
    m_services.channel.setRaiseHandler([this] { raiseWindow(); });
    m_services.channel.setCloseHandler([this] { closeRequested(); });
    prepareState();
    if (m_closedDuringStartup)
        return false;
    createAlarmHandling();
    createWindow();
    m_saveTimer.setSingleShot(true);
    m_saveTimer.setInterval(kSaveDelayMs);
    connect(&m_saveTimer, &QTimer::timeout, this, [this] { saveSettings(SaveMoment::Background); });
    // The session manager asks running programs to save before the session ends.
    if (auto* gui = qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        connect(gui, &QGuiApplication::commitDataRequest, this, [this] { saveSettings(SaveMoment::Background); });
    QCoreApplication::processEvents();
    m_window->show();
    return true;
}

void ClockApplication::closeRequested()
{
    if (m_window) {
        ExitClock(true);
        return;
    }
    // A message of start-up is open and the clock is not built yet: the message goes, and start-up ends
    // without writing anything (nothing was changed that a save would keep; the autostart entry stays).
    m_closedDuringStartup = true;
    if (QWidget* box = QApplication::activeModalWidget())
        box->close();
}

void ClockApplication::reportStartFailure(const QString& reason, int exitCode)
{
    m_exitCode = exitCode;
    const QString text = StartupMessages::CannotStart().arg(m_clockName, reason);
    std::fprintf(stderr, "%s: %s\n", qPrintable(StartupMessages::ErrorTitle()), qPrintable(text));
    m_services.messages.show(text, StartupMessages::ErrorTitle(), MessageIcon::Critical);
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
    LoadAlarms(m_paths.AlarmFilePath, m_alarms.table, m_services.messages);
    m_store = std::make_unique<ClockSettingsStore>(m_registry, m_zones, m_clockName);
    m_store->ReloadClockSettings(m_settings, m_systemZone);
    if (!m_settings.ZoneId.isEmpty() && !m_settings.Zone.isValid())
        m_services.messages.show(missingZoneMessage(m_settings, m_zones), ClockMessages::ErrorTitle(),
                                 MessageIcon::Exclamation);
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
    QApplication::setWindowIcon(clockIcon());
    ClockWindowContext context{m_clockName,
                               m_settings,
                               m_layout,
                               m_services.time,
                               m_services.windowSystem,
                               m_monitors,
                               m_twipsPerPixelX,
                               m_twipsPerPixelY};
    ClockWindowActions actions;
    actions.exitClock = [this](bool save) { ExitClock(save); };
    actions.checkAlarms = [this](const QDateTime& zoneTime) { m_dispatcher->CheckAlarms(zoneTime); };
    actions.openSettings = [this](QWidget* owner) { openSettings(owner); };
    actions.openAbout = [this] { openAbout(); };
    actions.openMenu = [this](QPoint position) { openMenu(position); };
    actions.settingsChanged = [this] { saveSoon(); };
    m_window = std::make_unique<ClockWindow>(context, actions);
}

void ClockApplication::createAlarmHandling()
{
    m_tip = std::make_unique<AlarmTip>(m_alarms, m_settings, m_clockName, m_paths.DefaultSoundPath,
                                       m_services.sound, m_services.power);
    m_tipWindow = std::make_unique<TipWindowHost>(*m_tip, [this] { return monitorOfClock(); });
    m_dispatcher = std::make_unique<AlarmDispatcher>(m_alarms, *m_tipWindow, m_services.opener);
}

QRect ClockApplication::monitorOfClock() const
{
    if (m_settings.MonitorID >= 0 && m_settings.MonitorID < m_monitors.size())
        return m_monitors[m_settings.MonitorID].monitor;
    return m_monitors.isEmpty() ? QRect() : m_monitors.first().monitor;
}

void ClockApplication::openSettings(QWidget* owner)
{
    // Each opening starts from the settings as they are, on the general page, as a dialog loaded anew does;
    // an open dialog is only brought to the front.
    if (m_config && !m_config->isVisible())
        m_config.reset();
    if (!m_config) {
        ConfigContext context{m_settings,          m_zones,           m_clockList,
                              m_instances,         m_services.launcher, m_alarms,
                              m_registry,          m_services.messages, m_services.pickers,
                              m_clockName,         m_paths.AlarmFilePath};
        context.reloadClock = [this] { ReloadClock(); };
        context.saveSettings = [this] { saveSettings(SaveMoment::Apply); };
        context.exitClock = [this](bool save) { ExitClock(save); };
        context.showAbout = [this] { openAbout(); };
        context.redrawClock = [this] { m_window->rebuild(); };
        m_config = std::make_unique<ConfigDialog>(context, owner);
    }
    m_config->show();
    m_config->raise();
    m_config->activateWindow();
}

void ClockApplication::openAbout()
{
    if (!m_about)
        m_about = std::make_unique<AboutDialog>(versionText(), [this](const QString& url) { m_services.opener.open(url); });
    m_about->show();
    m_about->raise();
    m_about->activateWindow();
}

void ClockApplication::openMenu(QPoint globalPosition)
{
    QMenu menu(QStringLiteral("TrayMenu"));
    menu.addAction(tr("配置(&C)"), this, [this] { openSettings(m_window.get()); });
    menu.addAction(tr("关于Kiv Clock(&A)"), this, [this] { openAbout(); });
    menu.addAction(tr("访问我们的网站(&V)"), this, [this] { m_services.opener.open(kWebSite); });
    menu.addSeparator();
    menu.addAction(tr("退出(&E)"), this, [this] { ExitClock(true); });
    menu.exec(globalPosition);
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
    // A failed save is told, and what the user applied stays in force rather than being replaced by the
    // values still in the store.
    if (saveSettings(SaveMoment::Apply))
        m_store->ReloadClockSettings(m_settings, m_services.time.systemZone());
    m_layout = ComputeClockLayout(m_settings);
    m_window->rebuild();
    m_window->show();
    m_window->applyStacking();
}

void ClockApplication::saveSoon()
{
    if (!m_saveTimer.isActive())
        m_saveTimer.start();
}

bool ClockApplication::saveSettings(SaveMoment moment)
{
    m_saveTimer.stop();
    if (!m_store || m_store->SaveClockSettings(m_settings))
        return true;
    const QString text = StartupMessages::NotSaved().arg(m_clockName, m_store->errorString());
    // A save in the background is retried at the next change and at exit; the user hears of it when
    // they applied something or the clock ends.
    if (moment != SaveMoment::Background)
        m_services.messages.show(text, StartupMessages::ErrorTitle(), MessageIcon::Exclamation);
    return false;
}

void ClockApplication::ExitClock(bool saveSettings)
{
    // The window's close and the instance channel can both ask; the first one ends the clock.
    if (m_exiting)
        return;
    m_exiting = true;
    qCInfo(lcStartup) << "ending the clock" << m_clockName << (saveSettings ? "with its settings saved" : "");
    if (m_window)
        m_window->finishPendingMove();
    m_clockList.SetAutorun(m_settings.Autorun);
    m_saveTimer.stop();
    // The settings dialog goes first: what it shows and did not apply is not saved.
    if (m_config)
        m_config->close();
    if (saveSettings)
        this->saveSettings(SaveMoment::Exit);
    if (m_tipWindow)
        m_tipWindow->close();
    if (m_about)
        m_about->close();
    if (m_window)
        m_window->hide();
    QCoreApplication::quit();
}

} // namespace kiv
