#pragma once

#include <QString>

#include <functional>

namespace kiv {

// Plays one alarm sound at a time, looping, until stopped. A file that cannot be played, or a machine
// without sound, gives silence.
class AlarmSound
{
public:
    virtual ~AlarmSound() = default;
    virtual void play(const QString& wavPath) = 0;
    virtual void stop() = 0;
};

// Shut down, restart or lock the computer. The forced variants end the session without giving programs a
// chance to save; they tell the user when the right to shut down is missing.
class PowerActions
{
public:
    virtual ~PowerActions() = default;
    virtual void ShutdownComputer() = 0;
    virtual void RestartComputer() = 0;
    virtual void LockComputer() = 0;
    virtual void ForceShutdown() = 0;
    virtual void ForceRestart() = 0;
    // Calls `aboutToSleep` each time the computer is about to suspend or hibernate, until unwatchSleep().
    // A system that cannot tell never calls it.
    virtual void watchSleep(std::function<void()> aboutToSleep) { (void)aboutToSleep; }
    virtual void unwatchSleep() {}
};

// Opens a file, document, program or web address with the desktop's default handler.
class DocumentOpener
{
public:
    virtual ~DocumentOpener() = default;
    virtual void open(const QString& target) = 0;
};

// The tip window as the alarm check sees it.
class TipWindowPresenter
{
public:
    virtual ~TipWindowPresenter() = default;
    virtual bool isOpen() const = 0;
    // Opens the window on the clock's monitor, on top, and fills it for the current alarm.
    virtual void open() = 0;
    // Refills the open window for the current alarm.
    virtual void showTip() = 0;
};

} // namespace kiv
