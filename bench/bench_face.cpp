// One frame of the clock face: computing what it shows, and drawing it whole and on the usual tick, at the default and the largest size.
#include "clock/ClockLayout.h"
#include "clock/FaceFrame.h"
#include "clock/FaceRenderer.h"
#include "settings/ClockSettings.h"

#include <QGuiApplication>
#include <QPainter>

#include <benchmark/benchmark.h>

using namespace kiv;

namespace {

ClockSettings sized(int radius, int width)
{
    ClockSettings settings;
    ResetClockSettings(settings, true);
    ResetClockSettings(settings, false);
    settings.ClockRadius = radius;
    settings.HourCircleWidth = settings.MinuteCircleWidth = settings.SecondCircleWidth = width;
    return settings;
}

const QDateTime kTime(QDate(2026, 12, 6), QTime(13, 37, 42), Qt::UTC);

void BM_ComputeFrame(benchmark::State& state)
{
    const ClockSettings settings = sized(48, 18);
    const DateTimeTexts texts = DateTimeTexts::fromLocale(QLocale::system());
    for (auto _ : state)
        benchmark::DoNotOptimize(ComputeFaceFrame(kTime, settings, QStringLiteral("Default"), texts, true, -1));
}

// A whole frame: with `state.range(2)` after a change of the settings (every layer drawn again), without
// it at a change of the minute (the disc kept, everything else drawn again).
void BM_DrawFrame(benchmark::State& state)
{
    const ClockSettings settings = sized(int(state.range(0)), int(state.range(1)));
    const ClockLayout layout = ComputeClockLayout(settings);
    const DrawingTools tools = CreateDrawingTools(settings);
    const QImage strip = makeButtonStrip();
    const FaceFrame frames[] = {
        ComputeFaceFrame(kTime, settings, QStringLiteral("Default"), DateTimeTexts(), true, ButtonNone),
        ComputeFaceFrame(kTime.addSecs(60), settings, QStringLiteral("Default"), DateTimeTexts(), true, ButtonNone)};
    QImage image(layout.width(), layout.height(), QImage::Format_ARGB32_Premultiplied);
    FaceDrawer drawer;
    int minute = 0;
    for (auto _ : state) {
        if (state.range(2) != 0)
            drawer.reset();
        minute = 1 - minute;
        benchmark::DoNotOptimize(drawer.draw(image, layout, tools, frames[minute], strip));
    }
    state.SetLabel(std::to_string(layout.width()) + "x" + std::to_string(layout.height()));
}

// The frame of every second but the first of a minute: only the new piece of the seconds ring and the time
// text are drawn again.
void BM_DrawSecondChange(benchmark::State& state)
{
    const ClockSettings settings = sized(int(state.range(0)), int(state.range(1)));
    const ClockLayout layout = ComputeClockLayout(settings);
    const DrawingTools tools = CreateDrawingTools(settings);
    const QImage strip = makeButtonStrip();
    QImage image(layout.width(), layout.height(), QImage::Format_ARGB32_Premultiplied);
    FaceDrawer drawer;
    int second = 0;
    for (auto _ : state) {
        second = second % 59 + 1; // 1..59: the seconds within a minute
        const FaceFrame frame = ComputeFaceFrame(kTime.addSecs(second - kTime.time().second()), settings,
                                                 QStringLiteral("Default"), DateTimeTexts(), true, ButtonNone);
        if (second == 1) { // the minute's first frame is drawn whole, outside the measurement
            state.PauseTiming();
            drawer.draw(image, layout, tools, frame, strip);
            state.ResumeTiming();
            continue;
        }
        benchmark::DoNotOptimize(drawer.draw(image, layout, tools, frame, strip));
    }
    state.SetLabel(std::to_string(layout.width()) + "x" + std::to_string(layout.height()));
}

void BM_ComputeLayout(benchmark::State& state)
{
    const ClockSettings settings = sized(128, 50);
    for (auto _ : state)
        benchmark::DoNotOptimize(ComputeClockLayout(settings));
}

} // namespace

BENCHMARK(BM_ComputeFrame);
BENCHMARK(BM_DrawFrame)->Args({48, 18, 0})->Args({128, 50, 0})->Args({48, 18, 1})->Args({128, 50, 1})->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DrawSecondChange)->Args({48, 18})->Args({128, 50})->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ComputeLayout);

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QGuiApplication application(qtArgc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
