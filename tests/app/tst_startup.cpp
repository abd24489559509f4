#include "app/ClockChooser.h"
#include "app/CommandLine.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

using namespace kiv;

class TestStartup final : public QObject
{
    Q_OBJECT

private slots:
    void clockNameFromTheCommandLine_data();
    void clockNameFromTheCommandLine();
    void displayNeededOnlyByX11();
    void waylandSessionsRunOnX11();
    void chooserOffersEveryClockWithDefaultFirst();
    void closingTheChooserStartsTheSelectedClock();
};

void TestStartup::clockNameFromTheCommandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("name");
    QTest::newRow("no argument") << QStringList() << QString();
    QTest::newRow("one word") << QStringList{QStringLiteral("Tokyo")} << QStringLiteral("Tokyo");
    QTest::newRow("words are joined by one space")
        << QStringList{QStringLiteral("New"), QStringLiteral("York")} << QStringLiteral("New York");
    QTest::newRow("spaces around the name are trimmed")
        << QStringList{QStringLiteral("  Tokyo  ")} << QStringLiteral("Tokyo");
    QTest::newRow("quotes stay part of the name")
        << QStringList{QStringLiteral("\"Tokyo\"")} << QStringLiteral("\"Tokyo\"");
    QTest::newRow("Qt options are names too") << QStringList{QStringLiteral("-platform"), QStringLiteral("offscreen")}
                                              << QStringLiteral("-platform offscreen");
    QTest::newRow("Chinese") << QStringList{QStringLiteral("北京")} << QStringLiteral("北京");
}

void TestStartup::clockNameFromTheCommandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, name);
    QList<QByteArray> storage{QByteArrayLiteral("kivclock")};
    for (const QString& argument : arguments)
        storage.append(argument.toLocal8Bit());
    std::vector<const char*> argv;
    for (const QByteArray& bytes : storage)
        argv.push_back(bytes.constData());
    QCOMPARE(clockNameFromArguments(int(argv.size()), argv.data()), name);
}

void TestStartup::displayNeededOnlyByX11()
{
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    const QByteArray display = qgetenv("DISPLAY");
    qputenv("QT_QPA_PLATFORM", "xcb");
    qunsetenv("DISPLAY");
    QVERIFY(!displayAvailable());
    qputenv("DISPLAY", ":5");
    QVERIFY(displayAvailable());
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qunsetenv("DISPLAY");
    QVERIFY(displayAvailable());
    qputenv("QT_QPA_PLATFORM", platform);
    qputenv("DISPLAY", display);
}

void TestStartup::waylandSessionsRunOnX11()
{
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    qunsetenv("QT_QPA_PLATFORM");
    qputenv("WAYLAND_DISPLAY", "wayland-0");
    preferX11Platform();
    QCOMPARE(qgetenv("QT_QPA_PLATFORM"), QByteArray("xcb"));
    qputenv("QT_QPA_PLATFORM", "wayland");
    preferX11Platform();
    QCOMPARE(qgetenv("QT_QPA_PLATFORM"), QByteArray("wayland"));
    qunsetenv("WAYLAND_DISPLAY");
    qputenv("QT_QPA_PLATFORM", platform);
}

void TestStartup::chooserOffersEveryClockWithDefaultFirst()
{
    ClockChooser chooser({QStringLiteral("Default"), QStringLiteral("Office"), QStringLiteral("Tokyo")});
    QCOMPARE(chooser.windowTitle(), QStringLiteral("选择时钟"));
    auto* list = chooser.findChild<QComboBox*>(QStringLiteral("CombClocks"));
    QVERIFY(list);
    QCOMPARE(list->count(), 3);
    QCOMPARE(list->currentText(), QStringLiteral("Default"));
    QCOMPARE(chooser.findChild<QLabel*>()->text(), QStringLiteral("选择一个您想要运行的时钟:"));
    QCOMPARE(chooser.findChild<QPushButton*>()->text(), QStringLiteral("确定("));
    QCOMPARE(chooser.font().family(), QStringLiteral("Arial"));
}

void TestStartup::closingTheChooserStartsTheSelectedClock()
{
    ClockChooser closed({QStringLiteral("Default"), QStringLiteral("Office")});
    closed.show();
    closed.reject(); // the window's close box
    QCOMPARE(closed.chosenName(), QStringLiteral("Default"));

    ClockChooser chosen({QStringLiteral("Default"), QStringLiteral("Office")});
    chosen.show();
    chosen.findChild<QComboBox*>(QStringLiteral("CombClocks"))->setCurrentIndex(1);
    QTest::mouseClick(chosen.findChild<QPushButton*>(), Qt::LeftButton);
    QCOMPARE(chosen.result(), int(QDialog::Accepted));
    QCOMPARE(chosen.chosenName(), QStringLiteral("Office"));
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
