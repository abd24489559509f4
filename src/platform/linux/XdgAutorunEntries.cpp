#include "platform/linux/XdgAutorunEntries.h"

#include "core/AppPaths.h"
#include "core/ClockName.h"
#include "core/PrivateFiles.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace kiv {
namespace {

// The escapes of a desktop entry's string values.
QString escapeValue(const QString& text)
{
    QString out;
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'\\':
            out += QStringLiteral("\\\\");
            break;
        case u'\n':
            out += QStringLiteral("\\n");
            break;
        case u'\t':
            out += QStringLiteral("\\t");
            break;
        case u'\r':
            out += QStringLiteral("\\r");
            break;
        default:
            out += c;
        }
    }
    return out;
}

QString unescapeValue(QStringView text)
{
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const QChar next = text[++i];
        switch (next.unicode()) {
        case u's':
            out += u' ';
            break;
        case u'n':
            out += u'\n';
            break;
        case u't':
            out += u'\t';
            break;
        case u'r':
            out += u'\r';
            break;
        default:
            out += next;
        }
    }
    return out;
}

// One argument of an Exec line: always quoted, with the characters that quoting does not cover escaped,
// and "%" doubled so that it is not a field code.
QString quoteArgument(const QString& argument)
{
    QString out = QStringLiteral("\"");
    for (const QChar c : argument) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            out += u'\\';
        out += c;
        if (c == u'%')
            out += u'%';
    }
    return out + u'"';
}

QStringList splitExecArguments(QStringView exec)
{
    QStringList arguments;
    QString current;
    bool inQuotes = false;
    bool hasArgument = false;
    for (qsizetype i = 0; i < exec.size(); ++i) {
        const QChar c = exec[i];
        if (inQuotes && c == u'\\' && i + 1 < exec.size()) {
            current += exec[++i];
        } else if (c == u'"') {
            inQuotes = !inQuotes;
            hasArgument = true;
        } else if (c == u'%' && i + 1 < exec.size() && exec[i + 1] == u'%') {
            current += c;
            ++i;
        } else if (!inQuotes && c == u' ') {
            if (hasArgument)
                arguments.append(current);
            current.clear();
            hasArgument = false;
        } else {
            current += c;
            hasArgument = true;
        }
    }
    if (hasArgument)
        arguments.append(current);
    return arguments;
}

} // namespace

QString desktopExecLine(const QString& program, const QString& argument)
{
    return escapeValue(quoteArgument(program) + u' ' + quoteArgument(argument));
}

QString commandOfExecLine(const QString& exec)
{
    return splitExecArguments(unescapeValue(exec)).join(u' ');
}

XdgAutorunEntries::XdgAutorunEntries(QString autostartFolder, QString program)
    : m_folder(withTrailingSlash(autostartFolder)), m_program(std::move(program))
{}

QString XdgAutorunEntries::defaultFolder()
{
    return withTrailingSlash(userConfigHome()) + QStringLiteral("autostart");
}

QString XdgAutorunEntries::entryPath(const QString& valueName) const
{
    // Named from the folded name: value names, like clock names, compare without regard to case.
    return pathOfHashedName(clockIdentity(valueName));
}

QString XdgAutorunEntries::pathOfHashedName(const QString& text) const
{
    const QByteArray hash = QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Sha1).toHex();
    return m_folder + QStringLiteral("kivclock-") + QString::fromLatin1(hash.left(16)) + QStringLiteral(".desktop");
}

QString XdgAutorunEntries::read(const QString& valueName) const
{
    // Entries written before names were folded are named from the name as typed.
    QFile file(entryPath(valueName));
    if (!file.exists())
        file.setFileName(pathOfHashedName(valueName));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
    for (const QString& line : lines) {
        if (line.startsWith(QStringLiteral("Exec=")))
            return commandOfExecLine(line.mid(5));
    }
    return {};
}

bool XdgAutorunEntries::write(const QString& valueName, const QString& command)
{
    // The command is the program's path, a space and the clock's name; both may hold spaces.
    const QString prefix = m_program + u' ';
    const QString exec = command.startsWith(prefix) ? desktopExecLine(m_program, command.mid(prefix.size()))
                                                    : escapeValue(quoteArgument(command));
    const QString text = QStringLiteral("[Desktop Entry]\nType=Application\nName=") + escapeValue(valueName) +
                         QStringLiteral("\nComment=Starts the clock with the desktop session\nExec=") + exec +
                         QStringLiteral("\nIcon=kivclock\nTerminal=false\nX-GNOME-Autostart-enabled=true\n");
    const QString path = entryPath(valueName);
    if (!makePrivatePath(m_folder) || !writePrivateFile(path, text.toUtf8()))
        return false;
    if (const QString older = pathOfHashedName(valueName); older != path)
        removeFile(older);
    return true;
}

bool XdgAutorunEntries::remove(const QString& valueName)
{
    return removeFile(pathOfHashedName(valueName)) && removeFile(entryPath(valueName));
}

bool XdgAutorunEntries::removeFile(const QString& path)
{
    return !QFile::exists(path) || QFile::remove(path);
}

} // namespace kiv
