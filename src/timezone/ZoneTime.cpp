#include "timezone/ZoneTime.h"

#include <QFileInfo>
#include <QFileSystemWatcher>

#include <time.h>

#include <algorithm>

namespace kiv {
namespace {

constexpr int kDaylightShiftMinutes = 60;
constexpr qint64 kYearSeconds = 366LL * 24 * 3600;

// A zone observes daylight saving now when it has a transition within a year either side.
bool observesDaylightSaving(const QTimeZone& zone, const QDateTime& at)
{
    if (!zone.hasTransitions())
        return zone.hasDaylightTime();
    const QTimeZone::OffsetData next = zone.nextTransition(at);
    const QTimeZone::OffsetData previous = zone.previousTransition(at);
    return (next.atUtc.isValid() && at.secsTo(next.atUtc) < kYearSeconds) ||
           (previous.atUtc.isValid() && previous.atUtc.secsTo(at) < kYearSeconds);
}

// The lowest offset from UTC in force in the half year either side of `at`: the zone's standard time. The
// tz data of some zones marks winter as "daylight" with a negative saving (Europe/Dublin, Africa/Casablanca),
// so the zone's own standard/daylight flags cannot be taken as they are.
int standardOffsetAround(const QTimeZone& zone, const QDateTime& at)
{
    const QDateTime from = at.addSecs(-kYearSeconds / 2);
    int lowest = std::min(zone.offsetFromUtc(from), zone.offsetFromUtc(at));
    for (const QTimeZone::OffsetData& transition : zone.transitions(from, at.addSecs(kYearSeconds / 2)))
        lowest = std::min(lowest, transition.offsetFromUtc);
    return lowest;
}

} // namespace

SystemZoneInfo querySystemZone(const QTimeZone& zone, const QDateTime& at)
{
    if (!zone.isValid())
        return {0, -1};
    if (!zone.hasTransitions()) {
        const bool daylight = zone.isDaylightTime(at);
        return {-zone.standardTimeOffset(at) / 60, daylight ? 2 : (zone.hasDaylightTime() ? 1 : 0)};
    }
    const int standard = standardOffsetAround(zone, at);
    SystemZoneInfo info;
    info.Bias = -standard / 60;
    if (zone.offsetFromUtc(at) > standard)
        info.State = 2;
    else
        info.State = observesDaylightSaving(zone, at) ? 1 : 0;
    return info;
}

namespace {

qint64 clockMs(clockid_t clock)
{
    timespec now{};
    ::clock_gettime(clock, &now);
    return qint64(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

class SystemCountdownClock final : public CountdownClock
{
public:
    qint64 monotonicMs() const override { return clockMs(CLOCK_MONOTONIC); }
    qint64 bootMs() const override { return clockMs(CLOCK_BOOTTIME); }
};

} // namespace

const CountdownClock& systemCountdownClock()
{
    static const SystemCountdownClock clock;
    return clock;
}

struct SystemTimeSource::Cache
{
    QTimeZone zone;
    SystemZoneInfo info;
    qint64 minute = -1; // the UTC minute it was read in
    QFileSystemWatcher watcher;
};

SystemTimeSource::SystemTimeSource() : m_cache(std::make_unique<Cache>())
{
    // The files are replaced rather than written, so their folder is watched too.
    for (const QString& path : {QStringLiteral("/etc/localtime"), QStringLiteral("/etc/timezone")}) {
        if (QFileInfo::exists(path))
            m_cache->watcher.addPath(path);
    }
    m_cache->watcher.addPath(QStringLiteral("/etc"));
    connect(&m_cache->watcher, &QFileSystemWatcher::fileChanged, this, &SystemTimeSource::refresh);
    connect(&m_cache->watcher, &QFileSystemWatcher::directoryChanged, this, &SystemTimeSource::refresh);
}

SystemTimeSource::~SystemTimeSource() = default;

void SystemTimeSource::refresh() const
{
    m_cache->minute = -1;
}

void SystemTimeSource::refreshWhenStale(const QDateTime& utc) const
{
    const qint64 minute = utc.toSecsSinceEpoch() / 60;
    if (minute == m_cache->minute)
        return;
    m_cache->minute = minute;
    m_cache->zone = QTimeZone::systemTimeZone();
    m_cache->info = querySystemZone(m_cache->zone, utc);
}

QDateTime SystemTimeSource::localNow() const
{
    // The local time from the kept zone: Qt's own local time would look at the zone files every time.
    QDateTime utc = QDateTime::currentDateTimeUtc();
    utc = utc.addMSecs(-utc.time().msec());
    refreshWhenStale(utc);
    const int offset = m_cache->zone.isValid() ? m_cache->zone.offsetFromUtc(utc) : 0;
    return utc.toOffsetFromUtc(offset);
}

SystemZoneInfo SystemTimeSource::systemZone() const
{
    refreshWhenStale(QDateTime::currentDateTimeUtc());
    return m_cache->info;
}

qint64 SystemTimeSource::msecsSinceEpoch() const
{
    return QDateTime::currentMSecsSinceEpoch();
}

qint32 zoneShiftMinutes(const SystemZoneInfo& system, qint32 zoneOffset, qint32 timeStandard)
{
    // A failed query counts as a system on UTC without daylight time.
    const qint32 bias = system.State < 0 ? 0 : system.Bias;
    qint32 minutes = zoneOffset + bias;
    if (system.State == 2 && timeStandard == 0)
        minutes -= kDaylightShiftMinutes;
    else if (system.State != 2 && timeStandard != 0)
        minutes += kDaylightShiftMinutes;
    return minutes;
}

QDateTime ComputeZoneTime(const QDateTime& localNow, const SystemZoneInfo& system, qint32 zoneOffset,
                          qint32 timeStandard)
{
    // Calendar arithmetic on the wall-clock fields: a UTC date-time has no gaps or repeated hours.
    const QTime time = localNow.time();
    const QDateTime wallClock(localNow.date(), QTime(time.hour(), time.minute(), time.second()), Qt::UTC);
    return wallClock.addSecs(qint64(zoneShiftMinutes(system, zoneOffset, timeStandard)) * 60);
}

QDateTime ComputeZoneTime(const QDateTime& localNow, const QTimeZone& zone)
{
    const QDateTime there = localNow.toTimeZone(zone);
    const QTime time = there.time();
    return QDateTime(there.date(), QTime(time.hour(), time.minute(), time.second()), Qt::UTC);
}

} // namespace kiv
