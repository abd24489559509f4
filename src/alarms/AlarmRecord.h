#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <array>

namespace kiv {

enum AlarmAction : qint32
{
    ActionTip = 0,
    ActionShutdown = 1,
    ActionRestart = 2,
    ActionLock = 3,
    ActionForceShutdown = 4,
    ActionForceRestart = 5,
    ActionRun = 6,
};

constexpr int AlarmRecordSize = 566;
constexpr int AlarmTextLength = 255;
constexpr int MaxAlarms = 128;
// What the editor writes for the default sound (the settings dialog shows it translated).
inline const QString DefaultSoundText = QStringLiteral("默认报警声音");

// One alarm as the alarm file stores it.
struct AlarmRecord
{
    double Time = 0;     // date as days since 1899-12-30; only its time of day is used
    qint32 Enabled = 0;  // 1 enabled, 0 disabled
    qint32 Shown = 0;    // 1 while the tip window shows this alarm
    qint32 Action = 0;   // AlarmAction
    qint32 PlayTime = 0; // index into the play-time list
    std::array<char, 32> Reserved{};
    QString Text;  // up to 255 characters; readers ignore trailing spaces and anything after a NUL
    QString Sound; // the WAV file to play; a path that names no file means the default sound

    bool operator==(const AlarmRecord&) const = default;
};

// The 566 bytes of a record: the numbers little-endian, each text space-padded to 255 characters and
// stored in code page 936, cut at 255 bytes.
QByteArray encodeAlarmRecord(const AlarmRecord& record);
// The record in `bytes`; bytes missing at the end read as zero.
AlarmRecord decodeAlarmRecord(QByteArrayView bytes);

// A text field as it is stored (255 bytes) and back.
QByteArray encodeAlarmText(const QString& text);
QString decodeAlarmText(QByteArrayView bytes);

// The alarm time of an hour and a minute, as a date of day 0.
double alarmTimeOf(int hour, int minute);
// "HH:mm" of an alarm time, to the nearest second.
QString alarmTimeText(double time);
// The alarm time as people read it: "19:05", or "07:05 PM" in 12-hour mode.
QString alarmTimeText(double time, bool twentyFourHour);

} // namespace kiv
