#include "settings/ClockList.h"

#include "core/TextUtils.h"
#include "platform/AutorunEntries.h"
#include "platform/ClockInstances.h"
#include "platform/UserMessages.h"
#include "settings/ClockSettings.h"
#include "settings/Registry.h"
#include "settings/RegistryKeys.h"

#include <algorithm>

namespace kiv {
namespace {

const QString kClocks = QStringLiteral("Clocks");

QString braced(const QString& name)
{
    return u'{' + name + u'}';
}

QString readClocks(const RegistryEditor& reader)
{
    return CleanString(reader.ReadRegistryValue(SystemKey, kClocks).toString());
}

} // namespace

enum class ClockList::AddOutcome
{
    Added,
    Duplicate,
    Full,
    StoreFailed,
};

QStringList ParseClockNames(QStringView clocks)
{
    QStringList names;
    qsizetype pos = 0;
    for (;;) {
        const qsizetype open = clocks.indexOf(u'{', pos);
        const qsizetype close = clocks.indexOf(u'}', pos);
        if (open < 0 || close < 0)
            break;
        // A closing brace before its opening one yields no name: the text in between is not a name.
        if (close > open)
            names.append(CleanString(clocks.mid(open + 1, close - open - 1)));
        pos = close + 1;
    }
    return names;
}

QString autorunValueName(const QString& clockName)
{
    return QStringLiteral("Kiv Clock - ") + clockName;
}

ClockList::ClockList(ClockListServices services, QString currentClock, QString executablePath)
    : m_services(services), m_currentClock(std::move(currentClock)), m_executablePath(std::move(executablePath))
{
    m_entries.append({DefaultClockName, false});
}

void ClockList::LoadClockList()
{
    RegistryDocument document = m_services.registry.snapshot();
    const QStringList names = ParseClockNames(readClocks(RegistryEditor(document)));
    m_entries.clear();
    m_entries.append({DefaultClockName, false});
    for (const QString& name : names) {
        if (m_entries.size() == MaxClockListEntries)
            break;
        m_entries.append({name, false});
    }
    m_runningCount = 0;
    // Only asks whether each clock runs: raising them would take the keyboard from the dialog that lists them.
    for (ClockListEntry& entry : m_entries) {
        entry.Window = m_services.instances.find(entry.Name, false);
        if (entry.Window)
            ++m_runningCount;
    }
}

bool ClockList::FindClockWindow(const QString& clockName)
{
    const QString name = clockName.isEmpty() ? m_currentClock : CleanString(clockName);
    return m_services.instances.find(name, true);
}

ClockList::AddOutcome ClockList::recordNewClock(const QString& name, qint32 zoneIndex, const QString& zoneId)
{
    AddOutcome outcome = AddOutcome::Added;
    // Read, check and write under one lock, so that clocks added by two processes at once both stay.
    const bool stored = m_services.registry.transaction([&](RegistryEditor& editor) {
        const QString clocks = readClocks(editor);
        const QStringList names = ParseClockNames(clocks);
        if (std::any_of(names.begin(), names.end(), [&](const QString& listed) { return sameClock(listed, name); })) {
            outcome = AddOutcome::Duplicate;
            return;
        }
        if (names.size() >= MaxClockListEntries - 1) {
            outcome = AddOutcome::Full;
            return;
        }
        editor.WriteRegistryValue(SystemKey, kClocks, clocks + braced(name), RegSz);
        const QString key = clockKeyPath(name);
        editor.WriteRegistryValue(key, QStringLiteral("Enable"), QStringLiteral("1"), RegDword);
        editor.WriteRegistryValue(key, QStringLiteral("TimeZoneIndex"),
                                  QString::number(zoneId.isEmpty() ? zoneIndex : -1), RegDword);
        if (!zoneId.isEmpty())
            editor.WriteRegistryValue(key, QStringLiteral("ZoneId"), zoneId, RegSz);
        editor.WriteRegistryValue(key, QStringLiteral("ClockTheme"), QStringLiteral("1"), RegDword);
    });
    return stored ? outcome : AddOutcome::StoreFailed;
}

bool ClockList::AddClock(const QString& rawName, qint32 zoneIndex, const QString& zoneId)
{
    const QString name = CleanString(rawName);
    const auto refuse = [this](const QString& text) {
        m_services.messages.show(text, ClockMessages::ErrorTitle(), MessageIcon::Exclamation);
        return false;
    };
    if (name.isEmpty())
        return refuse(ClockMessages::EnterName());
    if (const QString problem = clockNameProblem(name); !problem.isEmpty())
        return refuse(ClockMessages::AddFailed() + problem);
    // Names that differ only in case are one key of the store, so they are one clock.
    for (const ClockListEntry& entry : std::as_const(m_entries)) {
        if (sameClock(entry.Name, name))
            return refuse(ClockMessages::NameExists());
    }
    switch (recordNewClock(name, zoneIndex, zoneId)) {
    case AddOutcome::Duplicate:
        return refuse(ClockMessages::NameExists());
    case AddOutcome::Full:
        return refuse(ClockMessages::TooMany());
    case AddOutcome::StoreFailed:
        return refuse(ClockMessages::StoreFailed() + m_services.registry.errorString());
    case AddOutcome::Added:
        break;
    }
    m_services.launcher.startClock(name);
    return true;
}

bool ClockList::StopAndDeleteClock(const QString& rawName)
{
    const QString name = CleanString(rawName);
    if (m_services.instances.find(name, false))
        m_services.instances.close(name);
    return DeleteClock(name);
}

bool ClockList::DeleteClock(const QString& rawName)
{
    const QString name = CleanString(rawName);
    if (name.isEmpty())
        return true;
    const bool stored = m_services.registry.transaction([&](RegistryEditor& editor) {
        QString clocks = readClocks(editor);
        clocks.remove(braced(name));
        editor.WriteRegistryValue(SystemKey, kClocks, clocks, RegSz);
        const QString key = clockKeyPath(name);
        editor.DeleteRegistryValue(key, QStringLiteral("Enable"));
        for (const SettingField& field : settingFields()) {
            if (field.field != &ClockSettings::ClockTheme)
                editor.DeleteRegistryValue(key, field.valueName());
        }
        editor.DeleteRegistryKey(SoftwareKey, name);
    });
    if (!stored) {
        m_services.messages.show(ClockMessages::DeleteFailed() + m_services.registry.errorString(),
                                 ClockMessages::ErrorTitle(), MessageIcon::Exclamation);
        return false;
    }
    m_services.autorun.remove(autorunValueName(name));
    return true;
}

QString ClockList::AutorunCommand() const
{
    return m_executablePath + u' ' + m_currentClock;
}

qint32 ClockList::GetAutorunState() const
{
    const QString current = CleanString(m_services.autorun.read(autorunValueName(m_currentClock)));
    return current == AutorunCommand() ? 0 : 1;
}

qint32 ClockList::SetAutorun(qint32 mode)
{
    const QString valueName = autorunValueName(m_currentClock);
    const QString command = AutorunCommand();
    const bool holdsCommand = CleanString(m_services.autorun.read(valueName)) == command;
    if (holdsCommand && mode == 0)
        return 1;
    if (!holdsCommand && mode == 1)
        return 0;
    if (mode == 0)
        m_services.autorun.write(valueName, command);
    else
        m_services.autorun.remove(valueName);
    return CleanString(m_services.autorun.read(valueName)) == command ? 1 : 0;
}

qint32 ClockList::WriteAppInfo(int major, int minor, int revision)
{
    const QString version = QStringLiteral("%1.%2.%3").arg(major).arg(minor).arg(revision);
    qint32 result = RegSuccess;
    const bool stored = m_services.registry.transaction([&](RegistryEditor& editor) {
        result = editor.WriteRegistryValue(SystemKey, QStringLiteral("APP_PATH"), m_executablePath, RegSz);
        if (result == RegSuccess)
            result =
                editor.WriteRegistryValue(SystemKey, QStringLiteral("APP_BUILD"), QString::number(revision), RegSz);
        if (result == RegSuccess)
            result = editor.WriteRegistryValue(SystemKey, QStringLiteral("APP_VER"), version, RegSz);
    });
    return stored && result == RegSuccess ? 1 : 0;
}

} // namespace kiv
