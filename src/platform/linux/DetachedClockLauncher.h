#pragma once

#include "platform/ClockInstances.h"

namespace kiv {

// Starts a clock as a detached process of `program` with the clock's name as its one argument.
class DetachedClockLauncher final : public ClockLauncher
{
public:
    explicit DetachedClockLauncher(QString program) : m_program(std::move(program)) {}
    bool startClock(const QString& clockName) override;

private:
    QString m_program;
};

} // namespace kiv
