#pragma once

#include "core/ClockName.h"

#include <QCoreApplication>
#include <QList>
#include <QString>
#include <QStringList>

namespace kiv {

class AutorunEntries;
class ClockInstances;
class ClockLauncher;
class Registry;
class UserMessages;

struct ClockListEntry
{
    QString Name;
    bool Window = false; // the clock is running
};

constexpr int MaxClockListEntries = 128; // "Default" and 127 named clocks
inline const QString DefaultClockName = QStringLiteral("Default");

// The names of the brace list "{Office}{Tokyo}", in order, each cleaned. Parsing ends at the first
// name whose opening or closing brace is missing.
QStringList ParseClockNames(QStringView clocks);

// The user-visible texts of the clock list.
struct ClockMessages
{
    Q_DECLARE_TR_FUNCTIONS(kiv::ClockMessages)

public:
    static QString ErrorTitle() { return tr("Kiv Clock 错误"); }
    static QString EnterName() { return tr("添加时钟失败. 请输入时钟名称."); }
    static QString NameExists() { return tr("时钟名已存在. 请重新命名."); }
    static QString AddFailed() { return tr("添加时钟失败. "); }
    static QString BadName() { return AddFailed() + ClockNameRule::BadCharacters(); }
    static QString TooMany() { return tr("添加时钟失败. 最多只能添加 127 个时钟."); }
    static QString StoreFailed() { return tr("添加时钟失败. 无法保存设置: "); }
    static QString DeleteFailed() { return tr("删除时钟失败. "); }
};

// The services the clock list works through.
struct ClockListServices
{
    Registry& registry;
    ClockInstances& instances;
    ClockLauncher& launcher;
    AutorunEntries& autorun;
    UserMessages& messages;
};

// The list of named clocks, their autorun entries and the program's record under the System key,
// as seen from the clock `currentClock` of this process.
class ClockList
{
public:
    // `executablePath` is the absolute path of the program, which starts every clock.
    ClockList(ClockListServices services, QString currentClock, QString executablePath);

    // The clock of this process, once start-up has settled which one it is.
    void setCurrentClock(const QString& name) { m_currentClock = name; }

    // Rebuilds the list from the store and finds which clocks run, without raising them.
    void LoadClockList();
    const QList<ClockListEntry>& entries() const { return m_entries; }
    qint32 ClockCount() const { return static_cast<qint32>(m_entries.size()); }
    qint32 RunningClockCount() const { return m_runningCount; }

    // True when the clock runs; its window is brought to the front. "" means the current clock.
    bool FindClockWindow(const QString& clockName);
    // Records a new clock with the zone index and starts it. False, after a message, when refused.
    // `zoneId`, when not empty, is a tz database zone that the new clock keeps to instead of `zoneIndex`.
    bool AddClock(const QString& name, qint32 zoneIndex, const QString& zoneId = {});
    // Closes the clock (waiting until it has saved its settings), then deletes it.
    bool StopAndDeleteClock(const QString& name);
    // Removes the clock from the list, its settings key and its autorun entry. Its alarm file stays. False,
    // after a message that says why, when the store could not be changed (the clock then stays listed).
    bool DeleteClock(const QString& name);

    // The command that starts the current clock: the program's path, a space, the clock's name.
    QString AutorunCommand() const;
    // 0 when the current clock's autorun entry holds its command, else 1.
    qint32 GetAutorunState() const;
    // mode 0 writes (or repairs) the entry, 1 removes it when it is this program's, any other mode removes
    // it. Returns 1 when the entry holds the command afterwards, else 0.
    qint32 SetAutorun(qint32 mode);
    // Records the program's path, build and version under the System key; 1 when all three were written.
    qint32 WriteAppInfo(int major, int minor, int revision);

private:
    enum class AddOutcome;
    AddOutcome recordNewClock(const QString& name, qint32 zoneIndex, const QString& zoneId);

    ClockListServices m_services;
    QString m_currentClock;
    QString m_executablePath;
    QList<ClockListEntry> m_entries;
    qint32 m_runningCount = 0;
};

// "Kiv Clock - " + name: the value name of a clock's autorun entry.
QString autorunValueName(const QString& clockName);

} // namespace kiv
