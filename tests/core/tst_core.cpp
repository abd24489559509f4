#include "core/AppPaths.h"
#include "core/NumberText.h"
#include "core/TextUtils.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace kiv;

class TestCore final : public QObject
{
    Q_OBJECT

private slots:
    void cleanString_data();
    void cleanString();
    void fileExists();
    void initPathsBuildsAndCreatesTheDataFolder();
    void numberOfText_data();
    void numberOfText();
    void convertTextToNumber_data();
    void convertTextToNumber();
};

void TestCore::cleanString_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("expected");
    QTest::newRow("spaces around a name are trimmed") << QStringLiteral("  Tokyo  ") << QStringLiteral("Tokyo");
    QTest::newRow("text after a NUL is cut") << QString::fromUtf16(u"Default\0junk", 12) << QStringLiteral("Default");
    QTest::newRow("spaces before a NUL are trimmed") << QString::fromUtf16(u"Ab  \0 x", 7) << QStringLiteral("Ab");
    QTest::newRow("inner spaces stay") << QStringLiteral(" New  York ") << QStringLiteral("New  York");
    QTest::newRow("quotes stay") << QStringLiteral("\"A B\"") << QStringLiteral("\"A B\"");
    QTest::newRow("tabs are not spaces") << QStringLiteral("\tA\t") << QStringLiteral("\tA\t");
    QTest::newRow("only a NUL gives empty") << QString(QChar(u'\0')) << QString();
    QTest::newRow("padded fixed-length text") << QStringLiteral("hi").leftJustified(255, u' ') << QStringLiteral("hi");
}

void TestCore::cleanString()
{
    QFETCH(QString, input);
    QFETCH(QString, expected);
    QCOMPARE(CleanString(input), expected);
}

void TestCore::fileExists()
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("a.cfg"));
    QVERIFY(!FileExists(file));
    QFile f(file);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.close();
    QVERIFY(FileExists(file));
    QVERIFY(FileExists(QStringLiteral("  ") + file + QStringLiteral("  ")));
    QVERIFY(FileExists(dir.path()));
    QVERIFY(!FileExists(QString()));
    QVERIFY(!FileExists(QStringLiteral("   ")));
    QVERIFY(!FileExists(QStringLiteral("\0") + file));
}

void TestCore::initPathsBuildsAndCreatesTheDataFolder()
{
    QTemporaryDir dir;
    const AppPaths paths = InitPaths(QStringLiteral("Tokyo"), QStringLiteral("/opt/kiv/bin"), dir.path());
    QCOMPARE(paths.AppFolder, QStringLiteral("/opt/kiv/bin/"));
    QCOMPARE(paths.MakerFolder, dir.path() + QStringLiteral("/KivSoft/"));
    QCOMPARE(paths.DataFolder, dir.path() + QStringLiteral("/KivSoft/Kiv Clock/"));
    QCOMPARE(paths.DefaultSoundPath, paths.DataFolder + QStringLiteral("alarm.wav"));
    QCOMPARE(paths.AlarmFilePath, paths.DataFolder + QStringLiteral("Tokyo.cfg"));
    QVERIFY(QFileInfo(paths.DataFolder).isDir());
}

void TestCore::numberOfText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("fits");
    QTest::addColumn<int>("expected");
    QTest::newRow("plain decimal") << QStringLiteral("18") << true << 18;
    QTest::newRow("leading blanks are skipped") << QStringLiteral("  \t42") << true << 42;
    QTest::newRow("reading stops at a letter") << QStringLiteral("12px") << true << 12;
    QTest::newRow("empty text is 0") << QString() << true << 0;
    QTest::newRow("non-numeric text is 0") << QStringLiteral("abc") << true << 0;
    QTest::newRow("negative decimal") << QStringLiteral("-2401252") << true << -2401252;
    QTest::newRow("four hex digits FFFF are -1") << QStringLiteral("&HFFFF") << true << -1;
    QTest::newRow("lower-case hex prefix") << QStringLiteral("&hff") << true << 255;
    QTest::newRow("eight hex digits are 32 bits") << QStringLiteral("&HFFDB5C1C") << true << qint32(0xFFDB5C1C);
    QTest::newRow("hex 10000 is positive") << QStringLiteral("&H10000") << true << 65536;
    QTest::newRow("octal 177777 is -1") << QStringLiteral("&O177777") << true << -1;
    QTest::newRow("octal 17") << QStringLiteral("&o17") << true << 15;
    QTest::newRow("hex wider than 32 bits does not fit") << QStringLiteral("&H1FFFFFFFF") << false << 0;
    QTest::newRow("2.5 rounds to even 2") << QStringLiteral("2.5") << true << 2;
    QTest::newRow("3.5 rounds to even 4") << QStringLiteral("3.5") << true << 4;
    QTest::newRow("2.51 rounds up") << QStringLiteral("2.51") << true << 3;
    QTest::newRow("exponent") << QStringLiteral("1.5e3") << true << 1500;
    QTest::newRow("an exponent without digits is not read") << QStringLiteral("7e") << true << 7;
    QTest::newRow("a point alone") << QStringLiteral(".5") << true << 0;
    QTest::newRow("a sign alone is 0") << QStringLiteral("-") << true << 0;
    QTest::newRow("largest 32-bit value") << QStringLiteral("2147483647") << true << 2147483647;
    QTest::newRow("above 32 bits does not fit") << QStringLiteral("2147483648") << false << 0;
    QTest::newRow("huge exponent does not fit") << QStringLiteral("1e400") << false << 0;
}

void TestCore::numberOfText()
{
    QFETCH(QString, text);
    QFETCH(bool, fits);
    QFETCH(int, expected);
    const std::optional<qint32> value = NumberOfText(text);
    QCOMPARE(value.has_value(), fits);
    if (fits)
        QCOMPARE(*value, expected);
}

void TestCore::convertTextToNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("converts");
    QTest::addColumn<int>("expected");
    QTest::newRow("whole number") << QStringLiteral("47") << true << 47;
    QTest::newRow("blanks around") << QStringLiteral(" -5 ") << true << -5;
    QTest::newRow("hex") << QStringLiteral("&H1F") << true << 31;
    QTest::newRow("trailing letters") << QStringLiteral("12abc") << false << 0;
    QTest::newRow("empty") << QString() << false << 0;
    QTest::newRow("prefix without digits") << QStringLiteral("&H") << false << 0;
    QTest::newRow("words") << QStringLiteral("blue") << false << 0;
}

void TestCore::convertTextToNumber()
{
    QFETCH(QString, text);
    QFETCH(bool, converts);
    QFETCH(int, expected);
    const std::optional<qint32> value = ConvertTextToNumber(text);
    QCOMPARE(value.has_value(), converts);
    if (converts)
        QCOMPARE(*value, expected);
}

QTEST_GUILESS_MAIN(TestCore)
#include "tst_core.moc"
