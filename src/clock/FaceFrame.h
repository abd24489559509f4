#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>

namespace kiv {

struct ClockSettings;

// Where the mouse is as far as the button strip is concerned.
enum ButtonState : int
{
    ButtonOutside = -1, // outside the window: no strip
    ButtonNone = 0,     // inside, not on a button
    ButtonClose = 1,
    ButtonSettings = 2,
    ButtonMove = 3,
};

// How dates and times are written: the system's separators, the day names of the interface's language.
struct DateTimeTexts
{
    QChar timeSeparator = u':';
    QChar dateSeparator = u'/';
    QLocale locale = QLocale::c(); // its day names

    // The separators of `system`, the day names of `language`.
    static DateTimeTexts fromLocale(const QLocale& system, const QLocale& language);
    static DateTimeTexts fromLocale(const QLocale& locale) { return fromLocale(locale, locale); }
};

// Everything one frame of the face shows; two equal frames draw the same pixels.
struct FaceFrame
{
    QDateTime ZoneTime;
    bool IsActive = false;
    QString TimeText;
    QString DateText;
    QString NameText;
    int TimeFontSize = 0;
    int DateFontSize = 0;
    int hour = 0; // 0..23
    int displayHour = 0;
    int minute = 0;
    int second = 0;
    float HourSweep = 0; // degrees, clockwise from twelve o'clock
    float MinuteSweep = 0;
    float SecondSweep = 0;
    bool pmColour = false; // the hour ring takes the PM colour
    bool showScale = true;
    int buttonState = ButtonOutside;

    bool operator==(const FaceFrame&) const = default;
};

// The frame for the zone time `zoneTime` (a wall-clock time) of the clock `clockName`.
FaceFrame ComputeFaceFrame(const QDateTime& zoneTime, const ClockSettings& settings, const QString& clockName,
                           const DateTimeTexts& texts, bool isActive, int buttonState);

// A font size of `diameter / divisor` pixels, rounded half to even and then made even.
int evenFontSize(double pixels);

} // namespace kiv
