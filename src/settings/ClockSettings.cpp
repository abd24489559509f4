#include "settings/ClockSettings.h"

#include "core/TextUtils.h"
#include "settings/Registry.h"
#include "settings/RegistryKeys.h"
#include "timezone/TimeZoneTable.h"
#include "timezone/ZoneTime.h"

#include <QCoreApplication>

#include <array>

namespace kiv {
namespace {

using S = ClockSettings;
using G = ResetGroup;
using R = RangeRule;

// The record in save order. The reset value doubles as the value a reload puts in place of a bad one.
const std::array<SettingField, 22> kFields{{
    {u"TimeZoneIndex", &S::TimeZoneIndex, 0, G::Never, R::None},
    {u"TimeStandard", &S::TimeStandard, 0, G::General, R::None},
    {u"MonitorID", &S::MonitorID, 0, G::Never, R::None},
    {u"Autorun", &S::Autorun, 0, G::General, R::None},
    {u"Top", &S::Top, 0, G::Never, R::None},
    {u"Left", &S::Left, 0, G::Never, R::None},
    {u"AlwaysOnTop", &S::AlwaysOnTop, 0, G::General, R::None},
    {u"DisplayScale", &S::DisplayScale, 0, G::General, R::None},
    {u"12/24Hour", &S::TwelveOr24Hour, 0, G::General, R::None},
    {u"HourCircleWidth", &S::HourCircleWidth, 18, G::Appearance, R::Bounded, 10, 50},
    {u"MinuteCircleWidth", &S::MinuteCircleWidth, 18, G::Appearance, R::Bounded, 10, 50},
    {u"SecondCircleWidth", &S::SecondCircleWidth, 18, G::Appearance, R::Bounded, 10, 50},
    {u"ClockRadius", &S::ClockRadius, 48, G::Appearance, R::Bounded, 48, 128},
    {u"BackgroundOpacity", &S::BackgroundOpacity, 0, G::General, R::Bounded, 0, 6},
    {u"AM/24HourCircleColor", &S::AM24HourCircleColor, qint32(0xFFDB5C1C), G::Appearance, R::NonZero},
    {u"PMHourCircleColor", &S::PMHourCircleColor, qint32(0xFFFFC90E), G::Appearance, R::NonZero},
    {u"MinuteCircleColor", &S::MinuteCircleColor, qint32(0xFF2272CD), G::Appearance, R::NonZero},
    {u"SecondCircleColor", &S::SecondCircleColor, qint32(0xFF71A713), G::Appearance, R::NonZero},
    {u"TimeFontColor", &S::TimeFontColor, qint32(0xFFFFFFFF), G::Appearance, R::NonZero},
    {u"DateFontColor", &S::DateFontColor, qint32(0xFF777777), G::Appearance, R::NonZero},
    {u"ClockScaleColor", &S::ClockScaleColor, qint32(0x77777777), G::Appearance, R::NonZero},
    {u"ClockTheme", &S::ClockTheme, 1, G::Appearance, R::None},
}};

const QString kEnable = QStringLiteral("Enable");
const QString kZoneId = QStringLiteral("ZoneId");

// Fields read only when a saved record exists, each by its own rule.
bool hasOwnLoadRule(const SettingField& field)
{
    return field.field == &S::TimeZoneIndex || field.field == &S::TimeStandard || field.field == &S::ClockTheme;
}

// A value that is missing reads as 0; one that is not a number leaves the field as it was.
void readInto(const RegistryEditor& reader, const QString& key, const SettingField& field, ClockSettings& settings)
{
    if (const std::optional<qint32> number = reader.ReadRegistryValue(key, field.valueName()).toNumber())
        settings.*field.field = *number;
}

const SettingField& fieldOf(qint32 ClockSettings::*member)
{
    for (const SettingField& field : kFields) {
        if (field.field == member)
            return field;
    }
    Q_UNREACHABLE();
}

} // namespace

std::span<const SettingField> settingFields()
{
    return kFields;
}

void ResetClockSettings(ClockSettings& settings, bool appearance)
{
    const ResetGroup group = appearance ? ResetGroup::Appearance : ResetGroup::General;
    for (const SettingField& field : kFields) {
        if (field.group == group)
            settings.*field.field = field.resetValue;
    }
}

void applyRangeRules(ClockSettings& settings)
{
    for (const SettingField& field : kFields) {
        qint32& value = settings.*field.field;
        if (field.rule == RangeRule::NonZero && value == 0)
            value = field.resetValue;
        if (field.rule == RangeRule::Bounded && (value < field.minimum || value > field.maximum))
            value = field.resetValue;
    }
}

ClockSettingsStore::ClockSettingsStore(Registry& registry, const TimeZoneTable& zones, QString clockName)
    : m_registry(registry), m_zones(zones), m_keyPath(clockKeyPath(clockName))
{}

qint32 ClockSettingsStore::LoadClockSettings(ClockSettings& settings, const SystemZoneInfo& system) const
{
    RegistryDocument document = m_registry.snapshot();
    const RegistryEditor reader(document);
    const qint32 enable = reader.ReadRegistryValue(m_keyPath, kEnable).toNumber().value_or(0);

    if (enable != 0) {
        readInto(reader, m_keyPath, fieldOf(&S::TimeZoneIndex), settings);
        const RegistryValue zoneId = reader.ReadRegistryValue(m_keyPath, kZoneId);
        settings.ZoneId = zoneId.isText() ? CleanString(zoneId.toString()) : QString();
        resolveClockZone(settings, m_zones);
    } else {
        settings.ZoneId.clear();
        settings.Zone = QTimeZone();
        const qint32 index = m_zones.freshClockZoneIndex(system.Bias);
        if (index >= 0) {
            settings.ZoneOffset = -system.Bias;
            if (system.State == 2)
                settings.TimeStandard = 1;
            settings.TimeZoneIndex = index;
        }
    }
    if (enable == 1)
        readInto(reader, m_keyPath, fieldOf(&S::TimeStandard), settings);

    for (const SettingField& field : kFields) {
        if (!hasOwnLoadRule(field))
            readInto(reader, m_keyPath, field, settings);
    }

    if (enable != 0)
        readInto(reader, m_keyPath, fieldOf(&S::ClockTheme), settings);
    else
        settings.ClockTheme = 1;
    return enable;
}

bool ClockSettingsStore::SaveClockSettings(const ClockSettings& settings)
{
    return m_registry.transaction([&](RegistryEditor& writer) {
        writer.WriteRegistryValue(m_keyPath, kEnable, QStringLiteral("1"), RegDword);
        for (const SettingField& field : kFields)
            writer.WriteRegistryValue(m_keyPath, field.valueName(), QString::number(settings.*field.field), RegDword);
        if (settings.ZoneId.isEmpty())
            writer.DeleteRegistryValue(m_keyPath, kZoneId);
        else
            writer.WriteRegistryValue(m_keyPath, kZoneId, settings.ZoneId, RegSz);
    });
}

bool resolveClockZone(ClockSettings& settings, const TimeZoneTable& zones)
{
    // An index outside the table keeps the offset it had; a missing tz database zone without a fixed one is UTC.
    if (TimeZoneTable::isValidIndex(settings.TimeZoneIndex))
        settings.ZoneOffset = zones[settings.TimeZoneIndex].Offset;
    else if (!settings.ZoneId.isEmpty())
        settings.ZoneOffset = 0;
    settings.Zone = settings.ZoneId.isEmpty() ? QTimeZone() : QTimeZone(settings.ZoneId.toLatin1());
    return settings.ZoneId.isEmpty() || settings.Zone.isValid();
}

QString missingZoneMessage(const ClockSettings& settings, const TimeZoneTable& zones)
{
    const QString shown = TimeZoneTable::isValidIndex(settings.TimeZoneIndex) ? zones.shownName(settings.TimeZoneIndex)
                                                                               : QStringLiteral("UTC");
    return QCoreApplication::translate("ClockSettings", "这个系统没有时区 %1, 时钟按 %2 显示.").arg(settings.ZoneId, shown);
}

void ClockSettingsStore::ReloadClockSettings(ClockSettings& settings, const SystemZoneInfo& system) const
{
    LoadClockSettings(settings, system);
    applyRangeRules(settings);
}

QString ClockSettingsStore::errorString() const
{
    return m_registry.errorString();
}

void ValidateMonitorPosition(ClockSettings& settings, const QList<MonitorInfo>& monitors, qint32 twipsPerPixelX,
                             qint32 twipsPerPixelY)
{
    const qsizetype MonitorCount = std::min<qsizetype>(monitors.size(), MaxMonitors);
    // A negative index names no monitor either; it is treated like one that is gone.
    if (settings.MonitorID >= 0 && settings.MonitorID < MonitorCount)
        return;
    const QRect workArea = monitors.isEmpty() ? QRect() : monitors.first().workArea;
    settings.Left = workArea.left() * twipsPerPixelX;
    settings.Top = workArea.top() * twipsPerPixelY;
    settings.MonitorID = 0;
}

} // namespace kiv
