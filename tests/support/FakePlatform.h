#pragma once

#include "platform/AlarmServices.h"
#include "platform/AutorunEntries.h"
#include "platform/ClockInstances.h"
#include "platform/UserMessages.h"
#include "timezone/ZoneTime.h"

#include <QMap>
#include <QSet>
#include <QStringList>

namespace kiv::test {

// Keeps every message instead of showing it.
class RecordingMessages final : public UserMessages
{
public:
    struct Message
    {
        QString text;
        QString title;
        MessageIcon icon;
    };
    void show(const QString& text, const QString& title, MessageIcon icon) override;
    QList<Message> shown;
    std::function<void()> whileShown; // runs as if while the message were on screen
};

// Autorun entries held in memory.
class MemoryAutorun final : public AutorunEntries
{
public:
    QString read(const QString& valueName) const override { return entries.value(valueName); }
    bool write(const QString& valueName, const QString& command) override;
    bool remove(const QString& valueName) override;
    QMap<QString, QString> entries;
};

// Clocks that "run" when their names are in `running`; records raises, closes and starts. As this clock's
// channel it listens unless its name runs already, and `requestClose()` plays a close request from outside.
class FakeInstances final : public ClockInstances, public ClockLauncher, public InstanceListener
{
public:
    bool find(const QString& clockName, bool raise) override;
    bool close(const QString& clockName) override;
    bool startClock(const QString& clockName) override;
    bool listen(const QString& clockName) override;
    QString errorString() const override { return {}; }
    bool otherIsRunning() const override { return m_refused; }
    void setRaiseHandler(std::function<void()> handler) override { m_onRaise = std::move(handler); }
    void setCloseHandler(std::function<void()> handler) override { m_onClose = std::move(handler); }
    void requestClose() { m_onClose(); }
    QSet<QString> running;
    QStringList raised, closed, started;
    QStringList asked;               // every name looked for
    bool startedClocksAnswer = true; // false: a clock started is not found until a test adds it to `running`
    QString listening;

private:
    bool m_refused = false;
    std::function<void()> m_onRaise;
    std::function<void()> m_onClose;
};

// Sound, power actions and the opener in one: every call is recorded in `calls`, nothing happens.
class RecordingAlarmServices final : public AlarmSound, public PowerActions, public DocumentOpener
{
public:
    void play(const QString& wavPath) override { record(QStringLiteral("play ") + wavPath); }
    void stop() override { record(QStringLiteral("stop")); }
    void ShutdownComputer() override { record(QStringLiteral("shutdown")); }
    void RestartComputer() override { record(QStringLiteral("restart")); }
    void LockComputer() override { record(QStringLiteral("lock")); }
    void ForceShutdown() override { record(QStringLiteral("force shutdown")); }
    void ForceRestart() override { record(QStringLiteral("force restart")); }
    void open(const QString& target) override { record(QStringLiteral("open [") + target + u']'); }
    // Calls of the power actions only.
    int powerActions() const;
    QStringList calls;

private:
    void record(const QString& call) { calls.append(call); }
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
    qint64 monotonic = 1000;
    qint64 boot = 5000;
};

} // namespace kiv::test
