#include "app/CommandLine.h"

#include "core/TextUtils.h"

#include <QCoreApplication>
#include <QStringList>

#include <malloc.h>

namespace kiv {

QString clockNameFromArguments(int argc, const char* const* argv)
{
    QStringList words;
    for (int i = 1; i < argc; ++i)
        words.append(QString::fromLocal8Bit(argv[i]));
    return CleanString(words.join(u' '));
}

CommandLineRequest requestOf(const QString& cleanedCommandLine)
{
    if (cleanedCommandLine == u"-h" || cleanedCommandLine == u"--help")
        return CommandLineRequest::Help;
    if (cleanedCommandLine == u"--version")
        return CommandLineRequest::Version;
    return CommandLineRequest::RunClock;
}

QString usageText()
{
    return QCoreApplication::translate(
        "CommandLine", "用法: kivclock [时钟名称]\n"
                       "启动名为 \"时钟名称\" 的时钟; 没有名称时启动默认时钟, 或在添加过其他时钟时让您选择一个.\n"
                       "这个时钟已在运行时, 把它的窗口带到最前面.\n\n"
                       "  -h, --help   显示本帮助\n"
                       "  --version    显示版本\n");
}

QString versionText()
{
    return QStringLiteral("%1.%2.%3").arg(KIV_VERSION_MAJOR).arg(KIV_VERSION_MINOR).arg(KIV_VERSION_PATCH);
}

namespace {
// The value that marks the variable as set here, not by the user.
constexpr char kPlainImagesByClock[] = "kivclock";
// Whether preferX11Platform chose the platform, rather than the user.
bool platformChosenHere = false;
} // namespace

void preferX11Platform()
{
    // The clock pushes a small piece of its window to the X server once a second. Through shared memory
    // (MIT-SHM) each push waits for the server's word that it is done, which wakes the X reader thread and
    // the GUI thread once more; a plain image request needs no answer. Qt reads this when it connects.
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM"))
        qputenv("QT_XCB_NO_MITSHM", kPlainImagesByClock);
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        return;
    if (qEnvironmentVariable("XDG_SESSION_TYPE") == u"wayland" || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        qputenv("QT_QPA_PLATFORM", "xcb");
        platformChosenHere = true;
    }
}

void keepMemoryCompact()
{
    // A clock runs for days with a handful of threads that allocate little: one heap for all of them, and
    // large blocks (images) always given back to the system when freed, keep its private memory small.
    mallopt(M_ARENA_MAX, 1);
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
}

void giveBackStartupMemory()
{
    // Starting (fonts, translations, the first frame) frees much of what it allocated, in pieces smaller than
    // the allocator gives back on its own.
    malloc_trim(0);
}

void forgetPlatformChoices()
{
    if (qgetenv("QT_XCB_NO_MITSHM") == kPlainImagesByClock)
        qunsetenv("QT_XCB_NO_MITSHM");
    // Programs the clock starts on a Wayland desktop run natively.
    if (platformChosenHere && qgetenv("QT_QPA_PLATFORM") == "xcb")
        qunsetenv("QT_QPA_PLATFORM");
    platformChosenHere = false;
}

} // namespace kiv
