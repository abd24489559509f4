#include "BuiltInResources.h"

#include <QFile>

namespace kiv {

QByteArray builtInResource(const QString& name)
{
    QFile file(QStringLiteral(":/CUSTOM/") + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace kiv
