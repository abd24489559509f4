#pragma once

#include <QList>
#include <QRect>
#include <QString>
#include <QTimeZone>

#include <span>

namespace kiv {

class Registry;
class TimeZoneTable;
struct SystemZoneInfo;

// The settings of one clock; the fields carry the names of their registry values.
struct ClockSettings
{
    qint32 TimeZoneIndex = 0;
    qint32 TimeStandard = 0; // 0 standard time, 1 daylight time
    qint32 MonitorID = 0;
    qint32 Autorun = 0;        // 0 start with the session, 1 do not
    qint32 Top = 0;            // twips
    qint32 Left = 0;           // twips
    qint32 AlwaysOnTop = 0;    // only 1 means on top
    qint32 DisplayScale = 0;   // 0 draw the dial scale, 1 hide it
    qint32 TwelveOr24Hour = 0; // "12/24Hour": 0 12-hour, nonzero 24-hour
    qint32 HourCircleWidth = 0;
    qint32 MinuteCircleWidth = 0;
    qint32 SecondCircleWidth = 0;
    qint32 ClockRadius = 0;
    qint32 BackgroundOpacity = 0;
    qint32 AM24HourCircleColor = 0; // "AM/24HourCircleColor"; colours are 0xAARRGGBB
    qint32 PMHourCircleColor = 0;
    qint32 MinuteCircleColor = 0;
    qint32 SecondCircleColor = 0;
    qint32 TimeFontColor = 0;
    qint32 DateFontColor = 0;
    qint32 ClockScaleColor = 0;
    qint32 ClockTheme = 0; // 0 custom, 1 default, 2 blue night

    // A tz database zone ("Europe/Moscow"), stored as the string value ZoneId; empty for a clock on the
    // fixed table. A clock on such a zone stores TimeZoneIndex -1, and its TimeStandard is not used.
    QString ZoneId;

    // Derived by resolveClockZone, never stored: minutes east of UTC of the selected fixed zone, and the
    // tz database zone when ZoneId names one this system has.
    qint32 ZoneOffset = 0;
    QTimeZone Zone;

    bool operator==(const ClockSettings&) const = default;
};

// Which reset button restores a field.
enum class ResetGroup
{
    Never,
    Appearance,
    General,
};

// How a reload makes a stored value usable.
enum class RangeRule
{
    None,
    NonZero, // 0 means "not set" and becomes the reset value
    Bounded, // outside [minimum, maximum] becomes the reset value
};

// One row of the settings record: its value name, field, reset value and range rule.
struct SettingField
{
    const char16_t* name;
    qint32 ClockSettings::*field;
    qint32 resetValue;
    ResetGroup group;
    RangeRule rule;
    qint32 minimum = 0;
    qint32 maximum = 0;

    QString valueName() const { return QString::fromUtf16(name); }
};

// Every stored field in save order, Enable excluded (it is written first, as 1, and never kept).
std::span<const SettingField> settingFields();

// Restores the fields of one reset button (appearance = true: colours, radius, widths and theme;
// false: format, time standard, opacity, autorun, scale and on top). Nothing is saved.
void ResetClockSettings(ClockSettings& settings, bool appearance);

// Applies the defaults and range checks of a reload to a loaded record.
void applyRangeRules(ClockSettings& settings);

// Derives ZoneOffset and Zone from TimeZoneIndex and ZoneId. False when ZoneId names a zone this system
// lacks: the clock then keeps to the fixed zone TimeZoneIndex names, or to UTC, and ZoneId stays stored.
bool resolveClockZone(ClockSettings& settings, const TimeZoneTable& zones);
// What such a clock tells at start: the zone it lacks and the one it shows instead.
QString missingZoneMessage(const ClockSettings& settings, const TimeZoneTable& zones);

// Loads and saves one clock's settings under "HKEY_CURRENT_USER\Software\Kiv Clock\" + clock name.
class ClockSettingsStore
{
public:
    ClockSettingsStore(Registry& registry, const TimeZoneTable& zones, QString clockName);

    // Reads the clock's key into `settings` and returns the Enable value read (0: no saved record).
    // A clock without a saved record takes the system's zone (`system`).
    qint32 LoadClockSettings(ClockSettings& settings, const SystemZoneInfo& system) const;
    // Writes every value in one replacement of the store; false when the store could not be written.
    bool SaveClockSettings(const ClockSettings& settings);
    // LoadClockSettings, then the defaults and range checks.
    void ReloadClockSettings(ClockSettings& settings, const SystemZoneInfo& system) const;

    QString errorString() const;

private:
    Registry& m_registry;
    const TimeZoneTable& m_zones;
    QString m_keyPath;
};

// One monitor: its full rectangle and its work area (without panels), in pixels.
struct MonitorInfo
{
    QRect monitor;
    QRect workArea;
};

constexpr int MaxMonitors = 128;

// Moves a clock whose saved monitor no longer exists to the first monitor's work-area corner. The
// position is kept in twips; `twipsPerPixelX/Y` convert the work area.
void ValidateMonitorPosition(ClockSettings& settings, const QList<MonitorInfo>& monitors, qint32 twipsPerPixelX,
                             qint32 twipsPerPixelY);

} // namespace kiv
