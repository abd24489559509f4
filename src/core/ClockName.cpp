#include "core/ClockName.h"

namespace kiv {

QString clockNameProblem(const QString& cleanedName)
{
    if (cleanedName == u"." || cleanedName == u"..")
        return ClockNameRule::BadCharacters();
    for (const QChar c : cleanedName) {
        if (c == u'{' || c == u'}' || c == u'/' || c == u'\\' || c.unicode() < 0x20 || c.unicode() == 0x7F)
            return ClockNameRule::BadCharacters();
    }
    if (sameClock(cleanedName, ClockNameRule::ReservedName))
        return QCoreApplication::translate("ClockNameRule", "\"System\" 是保留的名称, 不能用作时钟名称.");
    if (cleanedName.toUtf8().size() > ClockNameRule::MaxBytes)
        return QCoreApplication::translate("ClockNameRule", "时钟名称太长, 最多 %1 个字节 (UTF-8).")
            .arg(ClockNameRule::MaxBytes);
    return {};
}

QString clockIdentity(const QString& name)
{
    return name.toCaseFolded();
}

bool sameClock(const QString& a, const QString& b)
{
    return clockIdentity(a) == clockIdentity(b);
}

} // namespace kiv
