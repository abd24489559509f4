#pragma once

#include "FakePlatform.h"
#include "app/ClockServices.h"
#include "dialogs/DialogPickers.h"
#include "platform/WindowSystem.h"

#include <memory>

namespace kiv::test {

// Answers the choosers as a test scripts them: the colour to pick (or the initial one), the alpha it was
// asked to start at (returned unchanged), the file to pick ("" is a cancelled dialog).
class ScriptedPickers final : public DialogPickers
{
public:
    std::optional<QColor> pickColor(const QColor& initial, QWidget*) override
    {
        return colorToPick ? colorToPick : std::optional<QColor>(initial);
    }
    int pickAlpha(int start, bool, QWidget*) override { return alphaStart = start; }
    QString pickFile(const QString&, const QString&, QWidget*) override { return fileToPick; }
    std::optional<QColor> colorToPick;
    int alphaStart = -1;
    QString fileToPick;
};

// A whole set of fakes for a clock application; the window system is the one of the platform the test
// runs on (a neutral one offscreen).
class FakeClockServices final
{
public:
    FakeClockServices() : windowSystem(createWindowSystem()) {}
    ClockServices services()
    {
        return {messages,      instances,     instances,     instances, autorun, alarmServices,
                alarmServices, alarmServices, *windowSystem, pickers,   time,    QStringLiteral("/usr/bin/kivclock")};
    }
    RecordingMessages messages;
    FakeInstances instances;
    MemoryAutorun autorun;
    RecordingAlarmServices alarmServices;
    std::unique_ptr<WindowSystem> windowSystem;
    ScriptedPickers pickers;
    FixedTimeSource time;
};

} // namespace kiv::test
