#pragma once

#include <QLoggingCategory>

// The program's logging categories. Debug and info messages are off unless the user turns them on, for
// example with QT_LOGGING_RULES="kiv.*=true"; warnings are shown.
namespace kiv {

Q_DECLARE_LOGGING_CATEGORY(lcStartup)   // kiv.startup: the display, the clock's name, start and exit
Q_DECLARE_LOGGING_CATEGORY(lcStore)     // kiv.store: the settings file, its lock and the clock list
Q_DECLARE_LOGGING_CATEGORY(lcAlarms)    // kiv.alarms: the alarm file, alarms that fire or were missed
Q_DECLARE_LOGGING_CATEGORY(lcInstances) // kiv.instances: the channel between clock processes
Q_DECLARE_LOGGING_CATEGORY(lcDesktop)   // kiv.desktop: power actions, sound, opening files, notifications

} // namespace kiv
