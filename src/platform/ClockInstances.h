#pragma once

#include <QString>

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

// Starts a clock as a process of its own.
class ClockLauncher
{
public:
    virtual ~ClockLauncher() = default;
    virtual bool startClock(const QString& clockName) = 0;
};

} // namespace kiv
