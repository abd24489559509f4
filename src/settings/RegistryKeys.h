#pragma once

#include <QString>

namespace kiv {

// Where the system keeps its values in the registry.
inline const QString SoftwareKey = QStringLiteral("HKEY_CURRENT_USER\\Software\\Kiv Clock");
inline const QString SystemKey = QStringLiteral("HKEY_CURRENT_USER\\Software\\Kiv Clock\\System");

// The key of one clock's settings.
inline QString clockKeyPath(const QString& clockName)
{
    return SoftwareKey + u'\\' + clockName;
}

} // namespace kiv
