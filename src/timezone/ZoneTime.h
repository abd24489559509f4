#pragma once

#include <QDateTime>
#include <QObject>
#include <QTimeZone>

#include <memory>

namespace kiv {

// What the system says of its own time zone.
struct SystemZoneInfo
{
    qint32 Bias = 0;   // SystemZoneBias: minutes west of UTC of standard time (UTC+08:00 is -480)
    qint32 State = -1; // SystemZoneState: 0 no daylight saving, 1 standard in force, 2 daylight in force, -1 unknown
};

// Where the current time and the system zone come from; tests hand in a fixed one.
class TimeSource
{
public:
    virtual ~TimeSource() = default;
    // The local date and time, in whole seconds.
    virtual QDateTime localNow() const = 0;
    virtual SystemZoneInfo systemZone() const = 0;
    // Milliseconds since 1970 UTC, for timers that keep to the wall-clock second.
    virtual qint64 msecsSinceEpoch() const = 0;
    // The wall clock jumped or the computer woke up: whatever is kept of the system zone is read again.
    virtual void refresh() const {}
};

// The clocks a countdown runs by; tests hand in their own.
class CountdownClock
{
public:
    virtual ~CountdownClock() = default;
    // Milliseconds that stop while the computer sleeps (CLOCK_MONOTONIC).
    virtual qint64 monotonicMs() const = 0;
    // Milliseconds that go on while the computer sleeps (CLOCK_BOOTTIME).
    virtual qint64 bootMs() const = 0;
};
const CountdownClock& systemCountdownClock();

// The computer's clock and time zone. The zone is read once and kept: the clock asks for it every second,
// and reading it means looking at files. It is read again when /etc/localtime or /etc/timezone change,
// once a minute at the latest, and when refresh() is called (after a wake from suspend).
class SystemTimeSource final : public QObject, public TimeSource
{
    Q_OBJECT

public:
    SystemTimeSource();
    ~SystemTimeSource() override;

    QDateTime localNow() const override;
    SystemZoneInfo systemZone() const override;
    qint64 msecsSinceEpoch() const override;
    void refresh() const override;

private:
    void refreshWhenStale(const QDateTime& utc) const;

    struct Cache;
    std::unique_ptr<Cache> m_cache;
};

// The bias and daylight state of `zone` at the instant `at`; an invalid zone gives bias 0, state -1.
SystemZoneInfo querySystemZone(const QTimeZone& zone, const QDateTime& at);

// The current date and time in a clock's zone, as a wall-clock time (its time spec is UTC, its fields are
// the zone's date and time). `localNow` is the local wall-clock time; the system's daylight shift and a
// chosen daylight time each count 60 minutes.
QDateTime ComputeZoneTime(const QDateTime& localNow, const SystemZoneInfo& system, qint32 zoneOffset,
                          qint32 timeStandard);

// The current date and time in a tz database zone, as a wall-clock time: daylight time follows the zone's
// own rules.
QDateTime ComputeZoneTime(const QDateTime& localNow, const QTimeZone& zone);

// The minutes that ComputeZoneTime adds to the local time.
qint32 zoneShiftMinutes(const SystemZoneInfo& system, qint32 zoneOffset, qint32 timeStandard);

} // namespace kiv
