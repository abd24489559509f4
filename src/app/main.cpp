#include "app/ClockApplication.h"
#include "app/CommandLine.h"
#include "app/LinuxClockServices.h"
#include "platform/linux/TerminationSignals.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    const QString clockName = kiv::clockNameFromArguments(argc, argv);
    switch (kiv::requestOf(clockName)) {
    case kiv::CommandLineRequest::Help:
        std::fputs(qPrintable(kiv::usageText()), stdout);
        return 0;
    case kiv::CommandLineRequest::Version:
        std::printf("Kiv Clock %s\n", qPrintable(kiv::versionText()));
        return 0;
    case kiv::CommandLineRequest::RunClock:
        break;
    }
    kiv::keepMemoryCompact();
    kiv::preferX11Platform();
    if (!kiv::displayAvailable()) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(kiv::StartupMessages::ErrorTitle),
                     qPrintable(kiv::StartupMessages::NoDisplay));
        return 1;
    }
    // Qt gets the program's name only: the rest of the command line is the clock's name.
    int qtArgc = 1;
    QApplication application(qtArgc, argv);
    application.setQuitOnLastWindowClosed(false);
    kiv::LinuxClockServices services(QCoreApplication::applicationFilePath());
    kiv::ClockApplication clock(clockName, services.services());
    if (!clock.start())
        return clock.exitCode();
    // The end of the session, a closed terminal or Ctrl+C end the clock as its close button does.
    kiv::TerminationSignals termination([&clock] { clock.ExitClock(true); });
    return application.exec();
}
