#include "FakeClockServices.h"
#include "KivTest.h"
#include "alarms/AlarmFile.h"
#include "app/ClockApplication.h"
#include "settings/Registry.h"
#include "settings/RegistryKeys.h"

// The clock application over fakes of the desktop's services: failures of its files at start and apply.
class TestApplication final : public QObject
{
    Q_OBJECT

    std::unique_ptr<test::FakeClockServices> m_fakes;
    std::unique_ptr<ClockApplication> m_app;

    static QString store() { return Registry::defaultFilePath(); }
    static void writeStore(const QByteArray& bytes)
    {
        QVERIFY(QDir().mkpath(QFileInfo(store()).path()) && test::writeFile(store(), bytes));
    }
    bool start()
    {
        m_app = std::make_unique<ClockApplication>(u"Default"_s, m_fakes->services());
        return m_app->start();
    }

private slots:
    void init()
    {
        m_app.reset();
        m_fakes = std::make_unique<test::FakeClockServices>();
        QFile::remove(store());
        QDir(userDataHome()).removeRecursively();
        QDir(QFileInfo(store()).path()).removeRecursively();
    }

    void cleanup() { m_app.reset(); }

    void storeThatCannotBeChangedOrReadIsTold()
    {
        // A file too large to read; a folder where the lock file belongs: the values applied are kept.
        const QByteArray header = "Windows Registry Editor Version 5.00\n";
        for (const auto& [large, told] : {std::pair{true, u"太大"_s}, {false, u"锁文件"_s}}) {
            init();
            writeStore(large ? header + QByteArray(Registry::MaxFileBytes, ';') : header);
            QVERIFY(large || QDir().mkpath(store() + u".lock"_s));
            const qint64 size = QFileInfo(store()).size();
            QVERIFY(start());
            m_app->settings().ClockRadius = 100;
            m_app->ReloadClock(); // what the settings dialog's Apply runs
            QCOMPARE(m_fakes->messages.shown.size(), 1);
            QVERIFY2(m_fakes->messages.shown.first().text.contains(told), qPrintable(m_fakes->messages.shown[0].text));
            QCOMPARE(m_app->settings().ClockRadius, 100);
            QCOMPARE(QFileInfo(store()).size(), size);
        }
        // Lines that cannot be read are kept aside, and the user is told where.
        init();
        writeStore(header + "\n[HKEY_CURRENT_USER\\Software\\Kiv Clock\\Default]\nthis line means nothing\n"
                            "\"ClockRadius\"=dword:00000040\n");
        QVERIFY(start());
        QCOMPARE(m_app->settings().ClockRadius, 64);
        m_app->ReloadClock();
        m_app->ReloadClock();
        const QStringList kept = QDir(QFileInfo(store()).path()).entryList({u"registry.reg.unreadable-*"_s});
        QCOMPARE(kept.size(), 1);
        QCOMPARE(m_fakes->messages.shown.size(), 1); // once: the rewritten file reads whole
        QVERIFY(m_fakes->messages.shown.first().text.contains(kept.first()));
    }

    void closeRequestDuringAStartupMessageEndsTheStart()
    {
        // An alarm file with more records than a table holds makes start-up show a message; a close request
        // arrives while it is open. The clock must end (not run on deaf to every later request) and write nothing.
        const QString dataFolder = userDataHome() + u"/KivSoft/Kiv Clock/"_s;
        QVERIFY(QDir().mkpath(dataFolder));
        QVERIFY(test::writeFile(dataFolder + u"Default.cfg"_s,
                                QByteArray(qsizetype(MaxAlarms + 1) * AlarmRecordSize, ' ')));
        m_fakes->autorun.entries.insert(u"Kiv Clock - Default"_s, u"/usr/bin/kivclock Default"_s);
        m_fakes->messages.whileShown = [this] { m_fakes->instances.requestClose(); };
        QVERIFY(!start());
        QCOMPARE(std::pair(m_app->exitCode(), m_fakes->messages.shown.size()), std::pair(0, qsizetype(1)));
        QVERIFY(!m_app->window());
        QVERIFY(!Registry(store()).snapshot().findKey(clockKeyPath(u"Default"_s)));
        QCOMPARE(m_fakes->autorun.entries.size(), 1); // the clock's autostart entry is left as it was
    }
};

QTEST_MAIN(TestApplication)
#include "tst_application.moc"
