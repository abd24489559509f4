#include "platform/linux/DesktopOpener.h"

#include "core/Logging.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

namespace kiv {

OpenTarget resolveOpenTarget(const QString& text)
{
    OpenTarget target;
    if (text.isEmpty())
        return target;
    const QFileInfo file(text);
    if (file.isAbsolute() && file.exists()) {
        if (file.isFile() && file.isExecutable()) {
            target.kind = OpenTarget::Program;
            target.program = file.absoluteFilePath();
        } else {
            target.kind = OpenTarget::File;
            target.url = QUrl::fromLocalFile(file.absoluteFilePath());
        }
        return target;
    }
    const QString program = QStandardPaths::findExecutable(text);
    if (!program.isEmpty()) {
        target.kind = OpenTarget::Program;
        target.program = program;
        return target;
    }
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*:"));
    const QUrl url = scheme.match(text).hasMatch() ? QUrl(text) : QUrl::fromUserInput(text);
    if (url.isValid()) {
        target.kind = OpenTarget::Address;
        target.url = url;
    }
    return target;
}

void DesktopOpener::open(const QString& text)
{
    const OpenTarget target = resolveOpenTarget(text);
    switch (target.kind) {
    case OpenTarget::Program:
        if (!QProcess::startDetached(target.program, {}))
            qCWarning(lcDesktop) << "cannot start" << target.program;
        break;
    case OpenTarget::File:
    case OpenTarget::Address:
        if (!QDesktopServices::openUrl(target.url))
            qCWarning(lcDesktop) << "cannot open" << target.url.toDisplayString();
        break;
    case OpenTarget::Nothing:
        qCInfo(lcDesktop) << "nothing to open for" << text;
        break;
    }
}

} // namespace kiv
