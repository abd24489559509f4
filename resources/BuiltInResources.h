#pragma once

#include <QByteArray>
#include <QString>

namespace kiv {

// The bytes of a built-in resource by its name ("ALARM"); empty when there is no such resource.
QByteArray builtInResource(const QString& name);

} // namespace kiv
