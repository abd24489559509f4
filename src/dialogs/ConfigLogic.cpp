#include "dialogs/ConfigLogic.h"

#include "alarms/AlarmFile.h"
#include "core/NumberText.h"
#include "core/ColorConversions.h"
#include "settings/ClockList.h"

#include <QTime>

#include <algorithm>

namespace kiv {

namespace {

struct SoundMarker
{
    const char* context; // where the translation of `text` is found
    const char* text;    // as the alarm file keeps it
};
constexpr std::array<SoundMarker, 2> kSoundMarkers{
    {{"FrmConfig", "默认报警声"}, {"kiv::ConfigTexts", QT_TRANSLATE_NOOP("kiv::ConfigTexts", "默认报警声音")}}};

} // namespace

QString soundBoxText(const QString& stored)
{
    for (const SoundMarker& marker : kSoundMarkers) {
        if (stored == QString::fromUtf8(marker.text))
            return QCoreApplication::translate(marker.context, marker.text);
    }
    return stored;
}

QString storedSoundText(const QString& shown)
{
    for (const SoundMarker& marker : kSoundMarkers) {
        if (shown == QCoreApplication::translate(marker.context, marker.text))
            return QString::fromUtf8(marker.text);
    }
    return shown;
}

QStringList hourListEntries()
{
    QStringList entries;
    for (int hour = 0; hour < 24; ++hour) {
        const int hour12 = hour % 12 == 0 ? 12 : hour % 12;
        entries.append(QStringLiteral("%1%2 (%3)")
                           .arg(hour < 12 ? QStringLiteral("AM") : QStringLiteral("PM"))
                           .arg(hour12, 2, 10, QLatin1Char('0'))
                           .arg(hour, 2, 10, QLatin1Char('0')));
    }
    return entries;
}

QStringList minuteListEntries()
{
    QStringList entries;
    for (int minute = 0; minute < 60; ++minute)
        entries.append(QStringLiteral("%1").arg(minute, 2, 10, QLatin1Char('0')));
    return entries;
}

QString colorBoxText(qint32 argb)
{
    return QStringLiteral("&H") + QString::number(quint32(argb), 16).toUpper();
}

namespace {

QString checkedText(const QString& text, int minimum, int maximum, const QString& fallback)
{
    const std::optional<qint32> value = NumberOfText(text);
    return value && *value >= minimum && *value <= maximum ? text : fallback;
}

} // namespace

QString checkedWidthText(const QString& text)
{
    return checkedText(text, 10, 50, QStringLiteral("18"));
}

QString checkedRadiusText(const QString& text)
{
    return checkedText(text, 48, 128, QStringLiteral("48"));
}

bool numberBoxAccepts(QChar typed)
{
    return typed.unicode() <= 57;
}

std::optional<std::array<qint32, 7>> themeColors(int theme)
{
    if (theme == 1)
        return std::array<qint32, 7>{qint32(0xFFDB5C1C), qint32(0xFFFFC90E), qint32(0xFF2272CD), qint32(0xFF71A713),
                                     qint32(0xFFFFFFFF), qint32(0xFF777777), qint32(0x77777777)};
    if (theme == 2)
        return std::array<qint32, 7>{qint32(0xFFDB5C1C), qint32(0xFFFFC90E), qint32(0xFF2272CD), qint32(0xFF71A713),
                                     qint32(0xFF0099FF), qint32(0xCC00B0E4), qint32(0x7700B0E4)};
    return std::nullopt;
}

quint8 alphaAfterPicking(qint32 chosen, qint32 initial, qint32 argb)
{
    return chosen != initial ? 255 : GetAlphaByte(argb);
}

QString clockLineText(const ClockListEntry& entry)
{
    return entry.Name + (entry.Window ? ConfigTexts::Running() : ConfigTexts::Stopped());
}

QList<AlarmLine> alarmLines(const AlarmTable& table, bool twentyFourHour)
{
    QList<AlarmLine> lines;
    for (qint32 i = 0; i < table.AlarmCount(); ++i) {
        const qint32 enabled = table[i].Enabled;
        if (enabled != 0 && enabled != 1)
            continue;
        lines.append({i, alarmTimeText(table[i].Time, twentyFourHour) +
                             (enabled == 1 ? ConfigTexts::EnabledMark() : ConfigTexts::DisabledMark())});
    }
    return lines;
}

AddAlarmResult addAlarm(AlarmTable& table, const NewAlarm& alarm)
{
    const double time = alarmTimeOf(alarm.hour, alarm.minute);
    for (const AlarmRecord& existing : table.records()) {
        if (existing.Time == time)
            return AddAlarmResult::Duplicate;
    }
    if (table.isFull())
        return AddAlarmResult::Full;
    AlarmRecord record;
    record.Time = time;
    record.Enabled = 1;
    record.Action = alarm.action;
    record.PlayTime = alarm.playTime;
    record.Text = (alarm.action < ActionRun ? alarm.note : alarm.param).left(AlarmTextLength);
    record.Sound = alarm.sound.left(AlarmTextLength);
    table.append(record);
    return AddAlarmResult::Added;
}

void deleteAlarms(AlarmTable& table, const QList<qint32>& selected)
{
    QList<qint32> indices = selected;
    std::sort(indices.begin(), indices.end(), std::greater<>());
    indices.erase(std::unique(indices.begin(), indices.end()), indices.end());
    for (const qint32 index : indices) {
        if (index >= 0 && index < table.AlarmCount())
            table.removeAt(index);
    }
}

void setAlarmsEnabled(AlarmTable& table, const QList<qint32>& selected, bool enabled)
{
    for (const qint32 index : selected) {
        if (index >= 0 && index < table.AlarmCount())
            table[index].Enabled = enabled ? 1 : 0;
    }
}

} // namespace kiv
