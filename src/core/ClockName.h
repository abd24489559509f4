#pragma once

#include <QCoreApplication>
#include <QString>

namespace kiv {

// The one rule for clock names, used wherever a name comes in: the clocks page, the command line, and
// anything else that takes a name. A name is a key of the settings store (compared without regard to
// case), a file name (`<name>.cfg`) and an entry of the brace list "{A}{B}".
namespace ClockNameRule {
// The longest name in UTF-8 bytes: "<name>.cfg" must fit a file name of 255 bytes.
constexpr int MaxBytes = 251;
// The key that holds the clock list and the program's path; no clock may take its name.
inline const QString ReservedName = QStringLiteral("System");
inline QString BadCharacters()
{
    return QCoreApplication::translate("ClockNameRule",
                                       "时钟名称不能含有 { } / \\ 或控制字符, 也不能是 \".\" 或 \"..\".");
}
} // namespace ClockNameRule

// Why `cleanedName` cannot name a clock, as a sentence to show after "添加时钟失败. " or a start-up error;
// "" when it can. An empty name is the caller's to handle (it means "enter a name" or "the default clock").
QString clockNameProblem(const QString& cleanedName);

// The identity of a clock name: two names name the same clock when these are equal (Unicode case folding,
// the store's rule). Channels, locks and autostart entries are named from it.
QString clockIdentity(const QString& name);
bool sameClock(const QString& a, const QString& b);

} // namespace kiv
