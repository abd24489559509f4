#include "clock/FaceFrame.h"

#include "settings/ClockSettings.h"

#include <cmath>

namespace kiv {
namespace {

constexpr int kNameLength = 8;

// The first character of a format that is neither a field letter nor a quote: the separator it uses.
QChar separatorOf(const QString& format, QChar fallback)
{
    for (const QChar c : format) {
        if (!c.isLetter() && c != u'\'' && c != u' ')
            return c;
    }
    return fallback;
}

// `value` (not negative) in `count` decimal digits, the first ones zeros: made every second, so without
// QString::arg's format parsing.
QString digits(int value, int count)
{
    QString text(count, u'0');
    for (qsizetype i = count - 1; i >= 0 && value > 0; --i, value /= 10)
        text[i] = QChar(u'0' + value % 10);
    return text;
}

QString twoDigits(int value)
{
    return digits(value, 2);
}

QString timeText(const QTime& time, bool twentyFourHour, QChar separator)
{
    if (twentyFourHour)
        return twoDigits(time.hour()) + separator + twoDigits(time.minute()) + separator + twoDigits(time.second());
    const int hour12 = time.hour() % 12 == 0 ? 12 : time.hour() % 12;
    // "hh:mm:ss AM/PM" with its last letter cut: "03:04:05 P".
    return twoDigits(hour12) + separator + twoDigits(time.minute()) + separator + twoDigits(time.second()) +
           (time.hour() < 12 ? QStringLiteral(" A") : QStringLiteral(" P"));
}

float fullCircleForZero(int degrees)
{
    return degrees == 0 ? 360.0f : float(degrees);
}

} // namespace

DateTimeTexts DateTimeTexts::fromLocale(const QLocale& system, const QLocale& language)
{
    DateTimeTexts texts;
    texts.locale = language;
    texts.timeSeparator = separatorOf(system.timeFormat(QLocale::ShortFormat), u':');
    texts.dateSeparator = separatorOf(system.dateFormat(QLocale::ShortFormat), u'/');
    return texts;
}

int evenFontSize(double pixels)
{
    int size = static_cast<int>(std::nearbyint(pixels));
    if (size % 2 != 0)
        --size;
    return size;
}

FaceFrame ComputeFaceFrame(const QDateTime& zoneTime, const ClockSettings& settings, const QString& clockName,
                           const DateTimeTexts& texts, bool isActive, int buttonState)
{
    const bool twentyFourHour = settings.TwelveOr24Hour != 0;
    const double diameter = 2.0 * settings.ClockRadius;
    const QDate date = zoneTime.date();
    const QTime time = zoneTime.time();

    FaceFrame frame;
    frame.ZoneTime = zoneTime;
    frame.IsActive = isActive;
    frame.TimeText = timeText(time, twentyFourHour, texts.timeSeparator);
    frame.TimeFontSize = evenFontSize(diameter / (twentyFourHour ? 5.3333333 : 6.0));
    frame.DateFontSize = evenFontSize(diameter / 8.0);
    frame.DateText = twoDigits(date.month()) + texts.dateSeparator + twoDigits(date.day()) + texts.dateSeparator +
                     digits(date.year(), 4);
    frame.NameText = clockName == u"Default" ? texts.locale.dayName(date.dayOfWeek(), QLocale::LongFormat)
                                             : clockName.left(kNameLength);
    frame.hour = time.hour();
    frame.minute = time.minute();
    frame.second = time.second();
    frame.displayHour = twentyFourHour || frame.hour < 12 ? frame.hour : frame.hour - 12;
    frame.HourSweep = fullCircleForZero(frame.displayHour * (twentyFourHour ? 15 : 30));
    frame.MinuteSweep = fullCircleForZero(frame.minute * 6);
    frame.SecondSweep = fullCircleForZero(frame.second * 6);
    frame.pmColour = !twentyFourHour && frame.hour >= 12;
    frame.showScale = settings.DisplayScale == 0;
    frame.buttonState = buttonState;
    return frame;
}

} // namespace kiv
