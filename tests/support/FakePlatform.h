#pragma once

#include "platform/AlarmServices.h"
#include "platform/AutorunEntries.h"
#include "platform/ClockInstances.h"
#include "platform/UserMessages.h"
#include "timezone/ZoneTime.h"

#include <QMap>
#include <QSet>
#include <QStringList>

#include <algorithm>
#include <functional>

namespace kiv::test {

// Keeps every message instead of showing it.
class RecordingMessages final : public UserMessages
{
public:
    struct Message
    {
        QString text, title;
        MessageIcon icon;
    };
    void show(const QString& text, const QString& title, MessageIcon icon) override
    {
        shown.append({text, title, icon});
        if (whileShown)
            whileShown();
    }
    QList<Message> shown;
    std::function<void()> whileShown; // runs as if while the message were on screen
};

// Autorun entries held in memory.
class MemoryAutorun final : public AutorunEntries
{
public:
    QString read(const QString& valueName) const override { return entries.value(valueName); }
    bool write(const QString& valueName, const QString& command) override
    {
        return entries.insert(valueName, command), true;
    }
    bool remove(const QString& valueName) override { return entries.remove(valueName), true; }
    QMap<QString, QString> entries;
};

// Clocks that "run" when their names are in `running`; records look-ups, raises, closes and starts. As this
// clock's channel it listens unless its name runs already, and `requestClose()` plays a close request from
// outside.
class FakeInstances final : public ClockInstances, public ClockLauncher, public InstanceListener
{
public:
    bool find(const QString& clockName, bool raise) override
    {
        asked.append(clockName);
        if (running.contains(clockName) && raise)
            raised.append(clockName);
        return running.contains(clockName);
    }
    bool close(const QString& clockName) override { return closed.append(clockName), running.remove(clockName); }
    bool startClock(const QString& clockName) override
    {
        started.append(clockName);
        if (startedClocksAnswer)
            running.insert(clockName);
        return true;
    }
    bool listen(const QString& clockName) override { return !(m_refused = running.contains(clockName)); }
    QString errorString() const override { return {}; }
    bool otherIsRunning() const override { return m_refused; }
    void setRaiseHandler(std::function<void()>) override {}
    void setCloseHandler(std::function<void()> handler) override { m_onClose = std::move(handler); }
    void requestClose() { m_onClose(); }
    QSet<QString> running;
    QStringList raised, closed, started;
    QStringList asked;               // every name looked for
    bool startedClocksAnswer = true; // false: a clock started is not found until a test adds it to `running`

private:
    bool m_refused = false;
    std::function<void()> m_onClose;
};

// Sound, power actions and the opener in one: every call is recorded in `calls`, nothing happens.
class RecordingAlarmServices final : public AlarmSound, public PowerActions, public DocumentOpener
{
public:
    void play(const QString& wavPath) override { calls.append(QStringLiteral("play ") + wavPath); }
    void stop() override { calls.append(QStringLiteral("stop")); }
    void ShutdownComputer() override { calls.append(QStringLiteral("shutdown")); }
    void RestartComputer() override { calls.append(QStringLiteral("restart")); }
    void LockComputer() override { calls.append(QStringLiteral("lock")); }
    void ForceShutdown() override { calls.append(QStringLiteral("force shutdown")); }
    void ForceRestart() override { calls.append(QStringLiteral("force restart")); }
    void open(const QString& target) override { calls.append(QStringLiteral("open [") + target + u']'); }
    // Calls of the power actions only.
    int powerActions() const
    {
        return int(std::count_if(calls.begin(), calls.end(), [](const QString& call) {
            return !call.startsWith(u"play") && call != u"stop" && !call.startsWith(u"open");
        }));
    }
    QStringList calls;
};

// A fixed local time and system zone.
class FixedTimeSource final : public TimeSource
{
public:
    QDateTime localNow() const override { return now; }
    SystemZoneInfo systemZone() const override { return zone; }
    qint64 msecsSinceEpoch() const override { return now.toMSecsSinceEpoch(); }
    QDateTime now;
    SystemZoneInfo zone;
};

// Monotonic and boot time that move only when a test says so.
class FakeCountdownClock final : public CountdownClock
{
public:
    qint64 monotonicMs() const override { return monotonic; }
    qint64 bootMs() const override { return boot; }
    void run(qint64 ms) { monotonic += ms, boot += ms; }
    void sleep(qint64 ms) { boot += ms; }
    qint64 monotonic = 1000, boot = 5000;
};

} // namespace kiv::test
