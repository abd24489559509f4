#include "KivTest.h"
#include "app/ClockChooser.h"
#include "app/CommandLine.h"

#include <QComboBox>
#include <QPushButton>

#include <list>

// The clock's name from the command line, the platform a session runs on, and the chooser of clocks.
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
        const QByteArray oldPlatform = qgetenv("QT_QPA_PLATFORM"), oldDisplay = qgetenv("DISPLAY");
        const auto available = [](const char* platform, const char* display) {
            qputenv("QT_QPA_PLATFORM", platform);
            display ? qputenv("DISPLAY", display) : qunsetenv("DISPLAY");
            return displayAvailable();
        };
        QCOMPARE(QList({available("xcb", nullptr), available("xcb", ":5"), available("offscreen", nullptr)}),
                 QList({false, true, true}));
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
        qunsetenv("WAYLAND_DISPLAY");
        qputenv("QT_QPA_PLATFORM", oldPlatform);
        qputenv("DISPLAY", oldDisplay);
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
