#include "app/CommandLine.h"

#include "core/TextUtils.h"

#include <QStringList>

namespace kiv {

QString clockNameFromArguments(int argc, const char* const* argv)
{
    QStringList words;
    for (int i = 1; i < argc; ++i)
        words.append(QString::fromLocal8Bit(argv[i]));
    return CleanString(words.join(u' '));
}

void preferX11Platform()
{
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        return;
    if (qEnvironmentVariable("XDG_SESSION_TYPE") == u"wayland" || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");
}

bool displayAvailable()
{
    const QString platform = qEnvironmentVariable("QT_QPA_PLATFORM");
    if (!platform.isEmpty() && !platform.startsWith(u"xcb"))
        return true;
    return !qEnvironmentVariableIsEmpty("DISPLAY");
}

} // namespace kiv
