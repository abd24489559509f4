#include "FakePlatform.h"

namespace kiv::test {

void RecordingMessages::show(const QString& text, const QString& title, MessageIcon icon)
{
    shown.append({text, title, icon});
    if (whileShown)
        whileShown();
}

bool MemoryAutorun::write(const QString& valueName, const QString& command)
{
    entries.insert(valueName, command);
    return true;
}

bool MemoryAutorun::remove(const QString& valueName)
{
    entries.remove(valueName);
    return true;
}

bool FakeInstances::find(const QString& clockName, bool raise)
{
    asked.append(clockName);
    const bool found = running.contains(clockName);
    if (found && raise)
        raised.append(clockName);
    return found;
}

bool FakeInstances::close(const QString& clockName)
{
    closed.append(clockName);
    return running.remove(clockName);
}

bool FakeInstances::startClock(const QString& clockName)
{
    started.append(clockName);
    if (startedClocksAnswer)
        running.insert(clockName);
    return true;
}

bool FakeInstances::listen(const QString& clockName)
{
    m_refused = running.contains(clockName);
    if (!m_refused)
        listening = clockName;
    return !m_refused;
}

int RecordingAlarmServices::powerActions() const
{
    int count = 0;
    for (const QString& call : calls)
        count += int(call.contains(QStringLiteral("shutdown")) || call.contains(QStringLiteral("restart")) ||
                     call == QStringLiteral("lock"));
    return count;
}

} // namespace kiv::test
