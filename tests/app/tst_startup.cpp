#include "KivTest.h"
#include "app/ClockChooser.h"
#include "app/CommandLine.h"
#include "app/InterfaceLanguage.h"
#include "platform/linux/DisplayCheck.h"

#include <QColorDialog>
#include <QComboBox>
#include <QPushButton>
#include <QRegularExpression>

#include <list>

// The clock's name from the command line, the platform a session runs on, the interface's language and its
// translation, and the chooser of clocks.
class TestStartup final : public QObject
{
    Q_OBJECT

private slots:
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
        for (const QPushButton* button : QColorDialog().findChildren<QPushButton*>())
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

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
