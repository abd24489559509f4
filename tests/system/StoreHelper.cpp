// A stand-in process for the system tests:
//   serve RUNTIME NAME MARKER   answer the instance channel for NAME, noting requests in MARKER
//   add REGISTRY PREFIX COUNT   add COUNT clocks named PREFIX-0, PREFIX-1, ...
//   save-settings REGISTRY      save two different settings records in turn, forever
//   save-alarms ALARMS          save two different alarm tables in turn, forever
#include "AlarmRecords.h"
#include "FakePlatform.h"
#include "alarms/AlarmFile.h"
#include "platform/linux/InstanceChannel.h"
#include "settings/ClockList.h"
#include "settings/ClockSettings.h"
#include "settings/Registry.h"
#include "timezone/TimeZoneTable.h"

#include <QCoreApplication>
#include <QFile>
#include <QTimer>

#include <cstdio>

using namespace kiv;

namespace {

// Tells the test what the helper does now, on a line of its own.
void say(const char* state)
{
    std::printf("%s\n", state);
    std::fflush(stdout);
}

void note(const QString& path, const QByteArray& line)
{
    QFile file(path);
    if (file.open(QIODevice::Append))
        file.write(line + '\n');
}

int serve(QCoreApplication& app, const QStringList& args)
{
    InstanceServer server(args[0]);
    if (!server.listen(args[1])) {
        std::printf("refused: %s\n", qPrintable(server.errorString()));
        return 3;
    }
    const QString marker = args[2];
    server.setRaiseHandler([marker] { note(marker, "raise"); });
    server.setCloseHandler([marker, &app] {
        note(marker, "close");
        QTimer::singleShot(0, &app, &QCoreApplication::quit);
    });
    say("listening");
    return app.exec();
}

int addClocks(const QStringList& args)
{
    Registry registry(args[0]);
    test::FakeInstances instances;
    test::MemoryAutorun autorun;
    test::RecordingMessages messages;
    ClockList list({registry, instances, instances, autorun, messages}, QStringLiteral("Default"),
                   QStringLiteral("/usr/bin/kivclock"));
    bool added = true;
    for (int i = 0; i < args[2].toInt(); ++i)
        added = list.AddClock(args[1] + u'-' + QString::number(i), i % 97) && added;
    return added ? 0 : 1;
}

// Saves one of two settings records in turn, of radius 60 and 100, forever.
[[noreturn]] void saveSettingsForever(const QString& registryPath)
{
    Registry registry(registryPath);
    TimeZoneTable zones;
    ClockSettingsStore store(registry, zones, QStringLiteral("Default"));
    ClockSettings settings;
    store.ReloadClockSettings(settings, SystemZoneInfo{0, 0});
    // "saving" once the file holds a first whole record, so that a kill at any moment after it finds one.
    for (unsigned round = 0;; ++round) {
        settings.ClockRadius = round % 2 ? 100 : 60;
        store.SaveClockSettings(settings);
        if (round == 0)
            say("saving");
    }
}

// Saves a table of five and one of seven alarms in turn, forever.
[[noreturn]] void saveAlarmsForever(const QString& alarmPath)
{
    test::RecordingMessages messages;
    AlarmTable five, seven;
    for (int i = 0; i < 7; ++i) {
        const AlarmRecord record = test::alarmAt(i, i, ActionTip, QStringLiteral("提醒 %1").arg(i));
        seven.append(record);
        if (i < 5)
            five.append(record);
    }
    for (unsigned round = 0;; ++round) {
        SaveAlarms(alarmPath, round % 2 ? seven : five, messages);
        if (round == 0)
            say("saving");
    }
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const QString mode = args.isEmpty() ? QString() : args.takeFirst();
    if (mode == u"serve" && args.size() == 3)
        return serve(app, args);
    if (mode == u"add" && args.size() == 3)
        return addClocks(args);
    if (mode == u"save-settings" && args.size() == 1)
        saveSettingsForever(args[0]);
    if (mode == u"save-alarms" && args.size() == 1)
        saveAlarmsForever(args[0]);
    std::fprintf(stderr, "usage: serve RUNTIME NAME MARKER | add REGISTRY PREFIX COUNT | save-settings REGISTRY | "
                         "save-alarms ALARMS\n");
    return 2;
}
