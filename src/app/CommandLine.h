#pragma once

#include <QString>

namespace kiv {

// The clock name of a command line: every argument after the program's name, joined by single spaces,
// then cleaned. Read before Qt sees the arguments, so that no word of a name is taken as a Qt option.
QString clockNameFromArguments(int argc, const char* const* argv);

// What a command line asks for: a clock (by the name it gives), or one of the program's own words.
enum class CommandLineRequest
{
    RunClock,
    Help,    // -h, --help: the usage text
    Version, // --version
};
CommandLineRequest requestOf(const QString& cleanedCommandLine);
QString usageText();
QString versionText();

// Chooses the X11 platform on a Wayland session unless QT_QPA_PLATFORM says otherwise: Wayland lets no
// client place its window or keep it on top.
void preferX11Platform();
// Tunes the allocator for a long-running process with few threads; called before any thread starts.
void keepMemoryCompact();
// Gives the heap's free pages back to the system, once the clock has started.
void giveBackStartupMemory();
// Takes back what preferX11Platform() put into the environment only for this process's connection to the
// display (once the application has connected), so that programs the clock starts do not inherit it.
void forgetPlatformChoices();

} // namespace kiv
