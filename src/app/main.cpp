#include "app/ClockApplication.h"
#include "app/CommandLine.h"
#include "app/LinuxClockServices.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    const QString clockName = kiv::clockNameFromArguments(argc, argv);
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
    return application.exec();
}
