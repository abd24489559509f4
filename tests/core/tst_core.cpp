#include "core/AppPaths.h"
#include "core/NumberText.h"
#include "core/PrivateFiles.h"
#include "core/TextUtils.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace kiv;
using namespace Qt::StringLiterals;

// Texts cleaned of padding, the program's folders, and numbers read from text as the settings store them.
class TestCore final : public QObject
{
    Q_OBJECT

private slots:
    void cleanString_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("expected");
        QTest::newRow("spaces around a name are trimmed") << u"  Tokyo  "_s << u"Tokyo"_s;
        QTest::newRow("text after a NUL is cut") << QString::fromUtf16(u"Default\0junk", 12) << u"Default"_s;
        QTest::newRow("spaces before a NUL are trimmed") << QString::fromUtf16(u"Ab  \0 x", 7) << u"Ab"_s;
        QTest::newRow("inner spaces stay") << u" New  York "_s << u"New  York"_s;
        QTest::newRow("quotes stay") << u"\"A B\""_s << u"\"A B\""_s;
        QTest::newRow("tabs are not spaces") << u"\tA\t"_s << u"\tA\t"_s;
        QTest::newRow("only a NUL gives empty") << QString(QChar(u'\0')) << QString();
        QTest::newRow("padded fixed-length text") << u"hi"_s.leftJustified(255, u' ') << u"hi"_s;
    }

    void cleanString()
    {
        QFETCH(QString, input);
        QFETCH(QString, expected);
        QCOMPARE(CleanString(input), expected);
    }

    void initPathsBuildsAndCreatesTheDataFolder()
    {
        QTemporaryDir dir;
        const AppPaths paths = InitPaths(u"Tokyo"_s, u"/opt/kiv/bin"_s, dir.path());
        QCOMPARE(paths.AlarmFilePath, dir.path() + u"/KivSoft/Kiv Clock/Tokyo.cfg"_s);
        QCOMPARE(paths.DefaultSoundPath, dir.path() + u"/KivSoft/Kiv Clock/alarm.wav"_s);
        QVERIFY(QFileInfo(paths.DataFolder).isDir());
    }

    void numberOfText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("fits");
        QTest::addColumn<int>("expected");
        QTest::newRow("plain decimal") << u"18"_s << true << 18;
        QTest::newRow("leading blanks are skipped") << u"  \t42"_s << true << 42;
        QTest::newRow("reading stops at a letter") << u"12px"_s << true << 12;
        QTest::newRow("empty text is 0") << QString() << true << 0;
        QTest::newRow("non-numeric text is 0") << u"abc"_s << true << 0;
        QTest::newRow("negative decimal") << u"-2401252"_s << true << -2401252;
        QTest::newRow("four hex digits FFFF are -1") << u"&HFFFF"_s << true << -1;
        QTest::newRow("lower-case hex prefix") << u"&hff"_s << true << 255;
        QTest::newRow("eight hex digits are 32 bits") << u"&HFFDB5C1C"_s << true << qint32(0xFFDB5C1C);
        QTest::newRow("hex 10000 is positive") << u"&H10000"_s << true << 65536;
        QTest::newRow("octal 177777 is -1") << u"&O177777"_s << true << -1;
        QTest::newRow("octal 17") << u"&o17"_s << true << 15;
        QTest::newRow("hex wider than 32 bits does not fit") << u"&H1FFFFFFFF"_s << false << 0;
        QTest::newRow("2.5 rounds to even 2") << u"2.5"_s << true << 2;
        QTest::newRow("3.5 rounds to even 4") << u"3.5"_s << true << 4;
        QTest::newRow("2.51 rounds up") << u"2.51"_s << true << 3;
        QTest::newRow("exponent") << u"1.5e3"_s << true << 1500;
        QTest::newRow("an exponent without digits is not read") << u"7e"_s << true << 7;
        QTest::newRow("a point alone") << u".5"_s << true << 0;
        QTest::newRow("a sign alone is 0") << u"-"_s << true << 0;
        QTest::newRow("largest 32-bit value") << u"2147483647"_s << true << 2147483647;
        QTest::newRow("above 32 bits does not fit") << u"2147483648"_s << false << 0;
        QTest::newRow("huge exponent does not fit") << u"1e400"_s << false << 0;
    }

    void numberOfText()
    {
        QFETCH(QString, text);
        QFETCH(bool, fits);
        QFETCH(int, expected);
        const std::optional<qint32> value = NumberOfText(text);
        QCOMPARE(value.has_value(), fits);
        if (fits)
            QCOMPARE(*value, expected);
    }

    void convertTextToNumber_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("converts");
        QTest::addColumn<int>("expected");
        QTest::newRow("whole number") << u"47"_s << true << 47;
        QTest::newRow("blanks around") << u" -5 "_s << true << -5;
        QTest::newRow("hex") << u"&H1F"_s << true << 31;
        QTest::newRow("trailing letters") << u"12abc"_s << false << 0;
        QTest::newRow("empty") << QString() << false << 0;
        QTest::newRow("prefix without digits") << u"&H"_s << false << 0;
        QTest::newRow("words") << u"blue"_s << false << 0;
    }

    void convertTextToNumber()
    {
        QFETCH(QString, text);
        QFETCH(bool, converts);
        QFETCH(int, expected);
        const std::optional<qint32> value = ConvertTextToNumber(text);
        QCOMPARE(value.has_value(), converts);
        if (converts)
            QCOMPARE(*value, expected);
    }

    void privateFileReplacesAndClearsWhatAnInterruptedSaveLeft()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath(u"Default.cfg"_s);
        // Copies a killed save left behind; a file of another name is not touched.
        for (const QString& name : {u"Default.cfg.AbC123"_s, u"Default.cfg.zzzzzz"_s, u"Other.cfg.AbC123"_s}) {
            QFile stale(folder.filePath(name));
            QVERIFY(stale.open(QIODevice::WriteOnly));
        }
        QVERIFY(writePrivateFile(path, "new"));
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList({u"Default.cfg"_s, u"Other.cfg.AbC123"_s}));
        QCOMPARE(QFileInfo(path).permissions() & 0x0077, QFileDevice::Permissions());
        // A failure says why, in words for the user.
        QString error;
        QVERIFY(!writePrivateFile(folder.filePath(u"missing/x.cfg"_s), "x", &error));
        QVERIFY2(error.contains(u"文件夹不存在"_s), qPrintable(error));
    }
};

QTEST_GUILESS_MAIN(TestCore)
#include "tst_core.moc"
