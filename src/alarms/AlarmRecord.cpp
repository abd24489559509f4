#include "alarms/AlarmRecord.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <QtEndian>

#include <cmath>
#include <cstring>

namespace kiv {
namespace {

constexpr qsizetype kTextOffset = 56;
constexpr qsizetype kSoundOffset = kTextOffset + AlarmTextLength;
constexpr const char* kCodePage = "CP936";

template <typename T> void putLittleEndian(QByteArray& bytes, qsizetype offset, T value)
{
    qToLittleEndian<T>(value, bytes.data() + offset);
}

template <typename T> T getLittleEndian(const QByteArray& bytes, qsizetype offset)
{
    return qFromLittleEndian<T>(bytes.constData() + offset);
}

} // namespace

QByteArray encodeAlarmText(const QString& text)
{
    QStringEncoder encoder(kCodePage);
    QByteArray bytes = encoder.encode(text.left(AlarmTextLength).leftJustified(AlarmTextLength, u' '));
    // Characters outside the code page become "?" and may shorten the text; pad with spaces again.
    bytes = bytes.left(AlarmTextLength);
    return bytes.leftJustified(AlarmTextLength, ' ');
}

QString decodeAlarmText(QByteArrayView bytes)
{
    QStringDecoder decoder(kCodePage);
    return decoder.decode(bytes);
}

QByteArray encodeAlarmRecord(const AlarmRecord& record)
{
    QByteArray bytes(AlarmRecordSize, '\0');
    quint64 timeBits = 0;
    std::memcpy(&timeBits, &record.Time, sizeof timeBits);
    putLittleEndian<quint64>(bytes, 0, timeBits);
    putLittleEndian<qint32>(bytes, 8, record.Enabled);
    putLittleEndian<qint32>(bytes, 12, record.Shown);
    putLittleEndian<qint32>(bytes, 16, record.Action);
    putLittleEndian<qint32>(bytes, 20, record.PlayTime);
    std::memcpy(bytes.data() + 24, record.Reserved.data(), record.Reserved.size());
    bytes.replace(kTextOffset, AlarmTextLength, encodeAlarmText(record.Text));
    bytes.replace(kSoundOffset, AlarmTextLength, encodeAlarmText(record.Sound));
    return bytes;
}

AlarmRecord decodeAlarmRecord(QByteArrayView view)
{
    QByteArray bytes = view.first(std::min<qsizetype>(view.size(), AlarmRecordSize)).toByteArray();
    bytes.resize(AlarmRecordSize, '\0');
    AlarmRecord record;
    const quint64 timeBits = getLittleEndian<quint64>(bytes, 0);
    std::memcpy(&record.Time, &timeBits, sizeof timeBits);
    record.Enabled = getLittleEndian<qint32>(bytes, 8);
    record.Shown = getLittleEndian<qint32>(bytes, 12);
    record.Action = getLittleEndian<qint32>(bytes, 16);
    record.PlayTime = getLittleEndian<qint32>(bytes, 20);
    std::memcpy(record.Reserved.data(), bytes.constData() + 24, record.Reserved.size());
    record.Text = decodeAlarmText(QByteArrayView(bytes).sliced(kTextOffset, AlarmTextLength));
    record.Sound = decodeAlarmText(QByteArrayView(bytes).sliced(kSoundOffset, AlarmTextLength));
    return record;
}

double alarmTimeOf(int hour, int minute)
{
    return (hour * 60 + minute) / 1440.0;
}

QString alarmTimeText(double time)
{
    if (!std::isfinite(time))
        return QStringLiteral("00:00");
    // The fraction of the day is the time, also for dates before 1899-12-30 (negative days).
    const double fraction = std::fabs(time - std::trunc(time));
    const qint64 seconds = std::llround(fraction * 86400.0) % 86400;
    return QStringLiteral("%1:%2")
        .arg(seconds / 3600, 2, 10, QLatin1Char('0'))
        .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'));
}

QString alarmTimeText(double time, bool twentyFourHour)
{
    const QString text = alarmTimeText(time);
    if (twentyFourHour)
        return text;
    const int hour = QStringView(text).left(2).toInt();
    const int hour12 = hour % 12 == 0 ? 12 : hour % 12;
    return QStringLiteral("%1%2 %3")
        .arg(hour12, 2, 10, QLatin1Char('0'))
        .arg(text.mid(2))
        .arg(hour < 12 ? QStringLiteral("AM") : QStringLiteral("PM"));
}

} // namespace kiv
