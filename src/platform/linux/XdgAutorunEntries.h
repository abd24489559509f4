#pragma once

#include "platform/AutorunEntries.h"

namespace kiv {

// Autorun entries as XDG autostart files: $XDG_CONFIG_HOME/autostart/kivclock-<hash>.desktop, one per
// value name, whose Exec line holds the command.
class XdgAutorunEntries final : public AutorunEntries
{
public:
    // `autostartFolder` is usually $XDG_CONFIG_HOME/autostart; `program` is the path that starts the
    // commands written here, so that the Exec line can quote it apart from the clock's name.
    XdgAutorunEntries(QString autostartFolder, QString program);
    static QString defaultFolder();

    QString read(const QString& valueName) const override;
    bool write(const QString& valueName, const QString& command) override;
    bool remove(const QString& valueName) override;

    QString entryPath(const QString& valueName) const;

private:
    QString pathOfHashedName(const QString& text) const;
    static bool removeFile(const QString& path);

    QString m_folder;
    QString m_program;
};

// The Exec value of a desktop entry that runs `program` with one argument `argument`, quoted and escaped
// as desktop entries require, and the reverse: the program and its arguments joined by single spaces.
QString desktopExecLine(const QString& program, const QString& argument);
QString commandOfExecLine(const QString& exec);

} // namespace kiv
