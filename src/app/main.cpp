#include "app/ClockApplication.h"
#include "app/CommandLine.h"
#include "app/InterfaceLanguage.h"
#include "app/LinuxClockServices.h"
#include "platform/linux/DisplayCheck.h"
#include "platform/linux/TerminationSignals.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>

namespace {

// What the program says without a clock to run, in the interface's language: its usage, its version, or that
// its display cannot be opened (also told through the desktop's notifications). Returns the exit status.
int answerWithoutClock(kiv::CommandLineRequest request, const std::optional<QString>& display, int& qtArgc,
                       char** argv)
{
    const QCoreApplication core(qtArgc, argv);
    const kiv::InterfaceTranslation language(kiv::interfaceLocale(QLocale::system().uiLanguages()));
    if (request == kiv::CommandLineRequest::Help) {
        std::fputs(qPrintable(kiv::usageText()), stdout);
        return 0;
    }
    if (request == kiv::CommandLineRequest::Version) {
        std::printf("Kiv Clock %s\n", qPrintable(kiv::versionText()));
        return 0;
    }
    const QString line = kiv::StartupMessages::DisplayNotOpened().arg(display.value_or(QString()));
    std::fprintf(stderr, "%s: %s\n", qPrintable(kiv::StartupMessages::ErrorTitle()), qPrintable(line));
    std::fflush(stderr);
    if (const std::optional<QDBusConnection> bus = kiv::existingSessionBus())
        kiv::notifyDesktop(kiv::StartupMessages::NoDisplay(), line, *bus);
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    const QString clockName = kiv::clockNameFromArguments(argc, argv);
    const kiv::CommandLineRequest request = kiv::requestOf(clockName);
    kiv::keepMemoryCompact();
    // Qt gets the program's name only: the rest of the command line is the clock's name.
    int qtArgc = 1;
    kiv::preferX11Platform();
    // Qt's xcb platform ends the process with an abort when its display cannot be opened: check first.
    const std::optional<QString> display =
        request == kiv::CommandLineRequest::RunClock ? kiv::unopenableDisplay() : std::nullopt;
    if (request != kiv::CommandLineRequest::RunClock || display)
        return answerWithoutClock(request, display, qtArgc, argv);
    QApplication application(qtArgc, argv);
    application.setQuitOnLastWindowClosed(false);
    // Chinese, or English where the desktop prefers English.
    const kiv::InterfaceTranslation language(kiv::interfaceLocale(QLocale::system().uiLanguages()));
    kiv::LinuxClockServices services(QCoreApplication::applicationFilePath());
    kiv::ClockApplication clock(clockName, services.services());
    if (!clock.start())
        return clock.exitCode();
    // The end of the session, a closed terminal or Ctrl+C end the clock as its close button does.
    kiv::TerminationSignals termination([&clock] { clock.ExitClock(true); });
    QTimer::singleShot(std::chrono::seconds(3), &kiv::giveBackStartupMemory);
    return application.exec();
}
