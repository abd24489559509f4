#pragma once

#include <QString>

namespace kiv {

class AlarmSound;
class AutorunEntries;
class ClockInstances;
class ClockLauncher;
class DialogPickers;
class DocumentOpener;
class InstanceListener;
class PowerActions;
class TimeSource;
class UserMessages;
class WindowSystem;

// Everything a clock process needs from the desktop it runs on. The program hands in the Linux set
// (LinuxClockServices); tests hand in fakes and drive the real application.
struct ClockServices
{
    UserMessages& messages;
    ClockInstances& otherClocks; // finds, raises and closes the other running clocks
    InstanceListener& channel;   // this clock's side of that channel
    ClockLauncher& launcher;
    AutorunEntries& autorun;
    AlarmSound& sound;
    PowerActions& power;
    DocumentOpener& opener;
    WindowSystem& windowSystem;
    DialogPickers& pickers;
    TimeSource& time;
    // The program a clock is started as, and that its autostart entry runs.
    QString programPath;
};

} // namespace kiv
