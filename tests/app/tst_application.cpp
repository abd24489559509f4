#include "FakeClockServices.h"
#include "alarms/AlarmFile.h"
#include "app/ClockApplication.h"
#include "settings/Registry.h"
#include "settings/RegistryKeys.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

using namespace kiv;

// The clock application over fakes of the desktop's services.
class TestApplication final : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void closeRequestDuringAStartupMessageEndsTheStart();
    void storeThatCannotBeChangedIsToldAndKeepsTheAppliedValues_data();
    void storeThatCannotBeChangedIsToldAndKeepsTheAppliedValues();
    void unreadableLinesAreKeptAsideAndTold();

private:
    std::unique_ptr<ClockApplication> started(test::FakeClockServices& fakes);
    void writeStore(const QByteArray& bytes);
};

void TestApplication::init()
{
    QFile::remove(Registry::defaultFilePath());
    QDir(userDataHome()).removeRecursively();
    QDir(QFileInfo(Registry::defaultFilePath()).path()).removeRecursively();
}

std::unique_ptr<ClockApplication> TestApplication::started(test::FakeClockServices& fakes)
{
    auto app = std::make_unique<ClockApplication>(QStringLiteral("Default"), fakes.services());
    return app->start() ? std::move(app) : nullptr;
}

void TestApplication::writeStore(const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(Registry::defaultFilePath()).path());
    QFile file(Registry::defaultFilePath());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

void TestApplication::storeThatCannotBeChangedIsToldAndKeepsTheAppliedValues_data()
{
    QTest::addColumn<QString>("cause");
    QTest::addColumn<QString>("told");
    QTest::newRow("a file too large to read") << QStringLiteral("large") << QStringLiteral("太大");
    QTest::newRow("a lock file that cannot be created") << QStringLiteral("lock") << QStringLiteral("锁文件");
}

void TestApplication::storeThatCannotBeChangedIsToldAndKeepsTheAppliedValues()
{
    QFETCH(QString, cause);
    QFETCH(QString, told);
    const QByteArray header = "Windows Registry Editor Version 5.00\n";
    writeStore(cause == u"large" ? header + QByteArray(Registry::MaxFileBytes, ';') : header);
    if (cause == u"lock") // a folder where the lock file belongs
        QVERIFY(QDir().mkpath(Registry::defaultFilePath() + QStringLiteral(".lock")));
    const qint64 size = QFileInfo(Registry::defaultFilePath()).size();
    test::FakeClockServices fakes;
    auto app = started(fakes);
    QVERIFY(app);
    app->settings().ClockRadius = 100;
    app->ReloadClock(); // what the settings dialog's Apply runs
    QCOMPARE(fakes.messages.shown.size(), 1);
    QVERIFY2(fakes.messages.shown.first().text.contains(told), qPrintable(fakes.messages.shown.first().text));
    QCOMPARE(app->settings().ClockRadius, 100);
    QCOMPARE(QFileInfo(Registry::defaultFilePath()).size(), size);
}

void TestApplication::unreadableLinesAreKeptAsideAndTold()
{
    writeStore("Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software\\Kiv Clock\\Default]\n"
               "this line means nothing\n\"ClockRadius\"=dword:00000040\n");
    test::FakeClockServices fakes;
    auto app = started(fakes);
    QVERIFY(app);
    QCOMPARE(app->settings().ClockRadius, 64);
    app->ReloadClock();
    app->ReloadClock();
    const QStringList kept = QDir(QFileInfo(Registry::defaultFilePath()).path())
                                 .entryList({QStringLiteral("registry.reg.unreadable-*")});
    QCOMPARE(kept.size(), 1);
    QCOMPARE(fakes.messages.shown.size(), 1); // once: the rewritten file reads whole
    QVERIFY(fakes.messages.shown.first().text.contains(kept.first()));
}

void TestApplication::closeRequestDuringAStartupMessageEndsTheStart()
{
    // An alarm file with more records than a table holds makes start-up show a message; a close request
    // arrives while it is open. The clock must end (not run on deaf to every later request) and write nothing.
    const QString dataFolder = userDataHome() + QStringLiteral("/KivSoft/Kiv Clock/");
    QVERIFY(QDir().mkpath(dataFolder));
    QFile alarms(dataFolder + QStringLiteral("Default.cfg"));
    QVERIFY(alarms.open(QIODevice::WriteOnly));
    alarms.write(QByteArray(qsizetype(MaxAlarms + 1) * AlarmRecordSize, ' '));
    alarms.close();
    test::FakeClockServices fakes;
    fakes.autorun.entries.insert(QStringLiteral("Kiv Clock - Default"), QStringLiteral("/usr/bin/kivclock Default"));
    fakes.messages.whileShown = [&fakes] { fakes.instances.requestClose(); };
    ClockApplication app(QStringLiteral("Default"), fakes.services());
    QVERIFY(!app.start());
    QCOMPARE(app.exitCode(), 0);
    QCOMPARE(fakes.messages.shown.size(), 1);
    QVERIFY(!app.window());
    QVERIFY(!Registry(Registry::defaultFilePath()).snapshot().findKey(clockKeyPath(QStringLiteral("Default"))));
    QCOMPARE(fakes.autorun.entries.size(), 1); // the clock's autostart entry is left as it was
}

QTEST_MAIN(TestApplication)
#include "tst_application.moc"
