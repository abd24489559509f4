#pragma once

#include <QString>

#include <array>

namespace kiv {

struct TimeZoneEntry
{
    QString DisplayName;
    qint32 Offset = 0; // minutes east of UTC
};

constexpr int TimeZoneCount = 97;

// The 97 fixed zones, in the order of the settings dialog's lists: a list position is a table index.
class TimeZoneTable
{
public:
    // BuildTimeZoneTable: fills every entry in index order.
    TimeZoneTable();

    static bool isValidIndex(qint32 index) { return index >= 0 && index < TimeZoneCount; }
    const TimeZoneEntry& operator[](qint32 index) const { return m_entries[static_cast<size_t>(index)]; }
    const std::array<TimeZoneEntry, TimeZoneCount>& entries() const { return m_entries; }
    // The display name of the zone at `index` in the interface's language, as the zone lists show it.
    QString shownName(qint32 index) const;

    // The zone a clock without saved settings takes: the lowest index whose offset equals minus the
    // system's bias, or -1 when no zone has that offset.
    qint32 freshClockZoneIndex(qint32 systemZoneBias) const;

private:
    std::array<TimeZoneEntry, TimeZoneCount> m_entries;
};

// The offset that a display name states: "(UTC-04:30) ..." is -270, "(UTC) ..." is 0.
qint32 offsetOfDisplayName(QStringView displayName);

} // namespace kiv
