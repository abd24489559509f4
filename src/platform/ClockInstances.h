#pragma once

#include <QString>

#include <functional>

namespace kiv {

// Finds, raises and closes the running clock processes of this user, by clock name.
class ClockInstances
{
public:
    virtual ~ClockInstances() = default;
    // True when a clock of that name is running; with `raise` its window is also brought to the front.
    virtual bool find(const QString& clockName, bool raise) = 0;
    // Asks the running clock to exit and returns once it has run its exit (true) or did not answer (false).
    virtual bool close(const QString& clockName) = 0;
};

// This clock's side of the channel through which the other clocks find, raise and close it.
class InstanceListener
{
public:
    virtual ~InstanceListener() = default;
    // Starts answering for `clockName`. False when another process already answers for it, or the channel
    // cannot be opened (errorString() says why).
    virtual bool listen(const QString& clockName) = 0;
    virtual QString errorString() const = 0;
    // After a refused listen(): true when the refusal was another process answering for the name.
    virtual bool otherIsRunning() const = 0;
    // Called for a raise request; and for a close request, which is answered after the handler has returned.
    virtual void setRaiseHandler(std::function<void()> handler) = 0;
    virtual void setCloseHandler(std::function<void()> handler) = 0;
};

// Starts a clock as a process of its own.
class ClockLauncher
{
public:
    virtual ~ClockLauncher() = default;
    virtual bool startClock(const QString& clockName) = 0;
};

} // namespace kiv
