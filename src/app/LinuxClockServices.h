#pragma once

#include "app/ClockServices.h"
#include "dialogs/DialogPickers.h"
#include "platform/linux/DesktopOpener.h"
#include "platform/linux/DetachedClockLauncher.h"
#include "platform/linux/InstanceChannel.h"
#include "platform/linux/LogindPowerActions.h"
#include "platform/linux/LazyAlarmSound.h"
#include "platform/linux/QtUserMessages.h"
#include "platform/linux/XdgAutorunEntries.h"
#include "platform/WindowSystem.h"
#include "timezone/ZoneTime.h"

#include <memory>

namespace kiv {

// The services of a clock on a Linux desktop. Built after the QApplication, since the window system
// asks it for the display connection.
class LinuxClockServices final
{
public:
    explicit LinuxClockServices(const QString& programPath);
    ClockServices services();

private:
    QString m_programPath;
    QtUserMessages m_messages;
    LocalSocketInstances m_otherClocks;
    InstanceServer m_channel;
    DetachedClockLauncher m_launcher;
    XdgAutorunEntries m_autorun;
    LazyAlarmSound m_sound;
    LogindPowerActions m_power;
    DesktopOpener m_opener;
    std::unique_ptr<WindowSystem> m_windowSystem;
    QtDialogPickers m_pickers;
    SystemTimeSource m_time;
};

} // namespace kiv
