#include "app/LinuxClockServices.h"

#include "app/CommandLine.h"

#include <QFileInfo>

namespace kiv {

LinuxClockServices::LinuxClockServices(const QString& programPath)
    : m_programPath(programPath), m_launcher(programPath),
      m_autorun(XdgAutorunEntries::defaultFolder(), programPath),
      m_sound(soundModulePaths(QFileInfo(programPath).absolutePath())), m_power(m_messages),
      m_windowSystem(createWindowSystem())
{
    // The application has connected to the display by now.
    forgetPlatformChoices();
}

ClockServices LinuxClockServices::services()
{
    return {m_messages, m_otherClocks, m_channel, m_launcher, m_autorun,  m_sound,
            m_power,    m_opener,      *m_windowSystem, m_pickers,  m_time, m_programPath};
}

} // namespace kiv
