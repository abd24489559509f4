#pragma once

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

// Clocks that "run" when their names are in `running`; records raises, closes and starts.
class FakeInstances final : public ClockInstances, public ClockLauncher
{
public:
    bool find(const QString& clockName, bool raise) override;
    bool close(const QString& clockName) override;
    bool startClock(const QString& clockName) override;
    QSet<QString> running;
    QStringList raised, closed, started;
};

// A fixed local time and system zone.
class FixedTimeSource final : public TimeSource
{
public:
    QDateTime localNow() const override { return now; }
    SystemZoneInfo systemZone() const override { return zone; }
    QDateTime now;
    SystemZoneInfo zone;
};

} // namespace kiv::test
