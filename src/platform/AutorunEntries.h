#pragma once

#include <QString>

namespace kiv {

// The per-user list of programs started with the desktop session, addressed by value name
// ("Kiv Clock - " + clock name). Each entry holds one command line.
class AutorunEntries
{
public:
    virtual ~AutorunEntries() = default;
    // The command of the entry, or "" when there is none.
    virtual QString read(const QString& valueName) const = 0;
    virtual bool write(const QString& valueName, const QString& command) = 0;
    // True when the entry is gone afterwards.
    virtual bool remove(const QString& valueName) = 0;
};

} // namespace kiv
