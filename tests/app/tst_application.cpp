#include "FakeClockServices.h"
#include "KivTest.h"
#include "alarms/AlarmFile.h"
#include "app/ClockApplication.h"
#include "app/ClockChooser.h"
#include "app/CommandLine.h"
#include "app/InterfaceLanguage.h"
#include "platform/linux/DisplayCheck.h"
#include "settings/Registry.h"
#include "settings/RegistryKeys.h"

#include <QColorDialog>
#include <QComboBox>
#include <QPushButton>
#include <QRegularExpression>

#include <list>

// The clock application over fakes of the desktop's services: failures of its files at start and apply. The
// clock's name from the command line, the platform a session runs on, the interface's language and its
// translation, and the chooser of clocks.
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

    void clockNameFromTheCommandLine()
    {
        // No argument; one word; words joined by one space; spaces around trimmed; quotes kept; Qt's options
        // are names too; Chinese.
        const std::pair<QStringList, QString> rows[] = {{{}, {}},
                                                        {{u"Tokyo"_s}, u"Tokyo"_s},
                                                        {{u"New"_s, u"York"_s}, u"New York"_s},
                                                        {{u"  Tokyo  "_s}, u"Tokyo"_s},
                                                        {{u"\"Tokyo\""_s}, u"\"Tokyo\""_s},
                                                        {{u"-platform"_s, u"offscreen"_s}, u"-platform offscreen"_s},
                                                        {{u"北京"_s}, u"北京"_s}};
        for (const auto& [arguments, name] : rows) {
            std::list<QByteArray> storage; // the texts stay where they are while the list grows
            std::vector<const char*> argv{"kivclock"};
            for (const QString& argument : arguments)
                argv.push_back(storage.emplace_back(argument.toLocal8Bit()).constData());
            QCOMPARE(clockNameFromArguments(int(argv.size()), argv.data()), name);
        }
    }

    void displayNeededOnlyByX11AndWaylandSessionsRunOnX11()
    {
        // xcb opens DISPLAY, empty or not; others open none. (tst_power runs the clock on Qt's default
        // platform with an empty DISPLAY and one where no X server listens.)
        const std::tuple<QString, QString, std::optional<QString>> rows[] = {{u"xcb"_s, u""_s, u""_s},
                                                                             {u"offscreen"_s, u""_s, std::nullopt},
                                                                             {u"wayland;xcb"_s, u":1"_s, std::nullopt}};
        for (const auto& [platform, display, opened] : rows)
            QCOMPARE(x11DisplayToOpen(platform, display), opened);
        const QByteArray oldPlatform = qgetenv("QT_QPA_PLATFORM");
        // A Wayland session runs the clock on X11, unless a platform is asked for.
        qunsetenv("QT_QPA_PLATFORM");
        qputenv("WAYLAND_DISPLAY", "wayland-0");
        preferX11Platform();
        QCOMPARE(qgetenv("QT_QPA_PLATFORM"), QByteArray("xcb"));
        qputenv("QT_QPA_PLATFORM", "wayland");
        preferX11Platform();
        QCOMPARE(qgetenv("QT_QPA_PLATFORM"), QByteArray("wayland"));
        // Plain X image requests are this process's own choice: programs it starts do not inherit it, and a
        // user's choice stays.
        QVERIFY(qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM"));
        forgetPlatformChoices();
        QVERIFY(!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM"));
        qputenv("QT_XCB_NO_MITSHM", "1");
        preferX11Platform();
        forgetPlatformChoices();
        QCOMPARE(qgetenv("QT_XCB_NO_MITSHM"), QByteArray("1"));
        qunsetenv("QT_XCB_NO_MITSHM");
        // Nor do they inherit the X11 platform chosen for a Wayland session.
        qunsetenv("QT_QPA_PLATFORM");
        preferX11Platform();
        forgetPlatformChoices();
        QVERIFY(!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"));
        qunsetenv("WAYLAND_DISPLAY");
        qputenv("QT_QPA_PLATFORM", oldPlatform);
    }

    void interfaceLanguageFollowsTheDesktopAndQtSpeaksIt()
    {
        // English where an English entry comes before any Chinese one, in the desktop's variant; else Chinese,
        // also for other languages and none.
        const std::pair<QStringList, QString> rows[] = {{{u"en-US"_s}, u"en_US"_s},
                                                        {{u"de-DE"_s, u"en-GB"_s, u"zh-CN"_s}, u"en_GB"_s},
                                                        {{u"zh-TW"_s, u"en-US"_s}, u"zh_TW"_s},
                                                        {{u"de-DE"_s}, u"zh_CN"_s},
                                                        {{u"C"_s}, u"zh_CN"_s},
                                                        {{}, u"zh_CN"_s}};
        for (const auto& [languages, chosen] : rows)
            QCOMPARE(interfaceLocale(languages).name(), chosen);
        // Qt's own dialogs speak the interface's language: the colour picker's buttons.
        const InterfaceTranslation chinese(interfaceLocale({u"zh-CN"_s}));
        QStringList buttons;
        const QColorDialog picker;
        for (const QPushButton* button : picker.findChildren<QPushButton*>())
            buttons.append(button->text());
        QVERIFY2(buttons.contains(u"确定"_s) && buttons.contains(u"取消"_s), qPrintable(buttons.join(u'|')));
    }

    void englishTranslationIsComplete()
    {
        // Every text has a finished English translation with the source's placeholders and no Chinese left.
        const QString ts = QString::fromUtf8(test::readFile(QStringLiteral(KIV_TRANSLATION_FILE)));
        const QRegularExpression message(u"<source>(.*?)</source>\\s*(?:<translation(.*?)>(.*?)</translation>)?"_s,
                                         QRegularExpression::DotMatchesEverythingOption);
        const auto placeholders = [](const QString& text) {
            QStringList found;
            for (const QRegularExpressionMatch& match : QRegularExpression(u"%\\d"_s).globalMatch(text))
                found.append(match.captured());
            found.sort();
            return found;
        };
        qsizetype messages = 0;
        for (const QRegularExpressionMatch& entry : message.globalMatch(ts)) {
            const QString translation = entry.captured(3);
            QVERIFY2(entry.captured(2).isEmpty() && !translation.isEmpty() && // no type="unfinished"
                         placeholders(translation) == placeholders(entry.captured(1)) &&
                         !translation.contains(QRegularExpression(u"[\\x{3000}-\\x{9fff}\\x{ff00}-\\x{ffef}]"_s)),
                     qPrintable(entry.captured(0)));
            ++messages;
        }
        QVERIFY(messages > 100 && messages == ts.count(u"<message>"_s));
    }

    void chooserStartsTheSelectedClockAndDefaultWhenClosed()
    {
        ClockChooser closed({u"Default"_s, u"Office"_s, u"Tokyo"_s});
        QCOMPARE(closed.findChild<QComboBox*>(u"CombClocks"_s)->count(), 3);
        closed.show();
        closed.reject(); // the window's close box
        QCOMPARE(closed.chosenName(), u"Default"_s);
        ClockChooser chosen({u"Default"_s, u"Office"_s});
        chosen.show();
        chosen.findChild<QComboBox*>(u"CombClocks"_s)->setCurrentIndex(1);
        QTest::mouseClick(chosen.findChild<QPushButton*>(), Qt::LeftButton);
        QCOMPARE(std::pair(chosen.result(), chosen.chosenName()), std::pair(int(QDialog::Accepted), u"Office"_s));
    }
};

QTEST_MAIN(TestApplication)
#include "tst_application.moc"
