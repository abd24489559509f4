#include "KivTest.h"
#include "core/NumberText.h"
#include "core/PrivateFiles.h"
#include "core/TextUtils.h"

// A text and the number read from it; none if it does not fit or convert.
using NumberRow = std::pair<QString, std::optional<qint32>>;

// Texts cleaned of padding, and numbers read from text as the settings store them. (The program's folders
// are where tst_application and tst_clockwindow put alarm files for the clock to read.)
class TestCore final : public QObject
{
    Q_OBJECT

private slots:
    void cleanString()
    {
        // Spaces around a name go; text from a NUL on is cut, with the spaces before it; inner spaces, quotes
        // and tabs stay; a NUL alone leaves nothing; a padded fixed-length text is its text.
        const std::pair<QString, QString> rows[] = {{u"  Tokyo  "_s, u"Tokyo"_s},
                                                    {QString::fromUtf16(u"Default\0junk", 12), u"Default"_s},
                                                    {QString::fromUtf16(u"Ab  \0 x", 7), u"Ab"_s},
                                                    {u" New  York "_s, u"New  York"_s},
                                                    {u"\"A B\""_s, u"\"A B\""_s},
                                                    {u"\tA\t"_s, u"\tA\t"_s},
                                                    {QString(QChar(u'\0')), QString()},
                                                    {u"hi"_s.leftJustified(255, u' '), u"hi"_s}};
        for (const auto& [input, expected] : rows)
            QCOMPARE(CleanString(input), expected);
    }

    void numberOfText_data()
    {
        QTest::addColumn<NumberRow>("row");
        QTest::newRow("plain decimal") << NumberRow{u"18"_s, 18};
        QTest::newRow("leading blanks are skipped") << NumberRow{u"  \t42"_s, 42};
        QTest::newRow("reading stops at a letter") << NumberRow{u"12px"_s, 12};
        QTest::newRow("empty text is 0") << NumberRow{QString(), 0};
        QTest::newRow("non-numeric text is 0") << NumberRow{u"abc"_s, 0};
        QTest::newRow("negative decimal") << NumberRow{u"-2401252"_s, -2401252};
        QTest::newRow("four hex digits FFFF are -1") << NumberRow{u"&HFFFF"_s, -1};
        QTest::newRow("lower-case hex prefix") << NumberRow{u"&hff"_s, 255};
        QTest::newRow("eight hex digits are 32 bits") << NumberRow{u"&HFFDB5C1C"_s, qint32(0xFFDB5C1C)};
        QTest::newRow("hex 10000 is positive") << NumberRow{u"&H10000"_s, 65536};
        QTest::newRow("octal 177777 is -1") << NumberRow{u"&O177777"_s, -1};
        QTest::newRow("octal 17") << NumberRow{u"&o17"_s, 15};
        QTest::newRow("hex wider than 32 bits does not fit") << NumberRow{u"&H1FFFFFFFF"_s, {}};
        QTest::newRow("2.5 rounds to even 2") << NumberRow{u"2.5"_s, 2};
        QTest::newRow("3.5 rounds to even 4") << NumberRow{u"3.5"_s, 4};
        QTest::newRow("2.51 rounds up") << NumberRow{u"2.51"_s, 3};
        QTest::newRow("exponent") << NumberRow{u"1.5e3"_s, 1500};
        QTest::newRow("an exponent without digits is not read") << NumberRow{u"7e"_s, 7};
        QTest::newRow("a point alone") << NumberRow{u".5"_s, 0};
        QTest::newRow("a sign alone is 0") << NumberRow{u"-"_s, 0};
        QTest::newRow("largest 32-bit value") << NumberRow{u"2147483647"_s, 2147483647};
        QTest::newRow("above 32 bits does not fit") << NumberRow{u"2147483648"_s, {}};
        QTest::newRow("huge exponent does not fit") << NumberRow{u"1e400"_s, {}};
    }

    void numberOfText()
    {
        QFETCH(NumberRow, row);
        QCOMPARE(NumberOfText(row.first), row.second);
    }

    void convertTextToNumber_data()
    {
        QTest::addColumn<NumberRow>("row");
        QTest::newRow("whole number") << NumberRow{u"47"_s, 47};
        QTest::newRow("blanks around") << NumberRow{u" -5 "_s, -5};
        QTest::newRow("hex") << NumberRow{u"&H1F"_s, 31};
        QTest::newRow("trailing letters") << NumberRow{u"12abc"_s, {}};
        QTest::newRow("empty") << NumberRow{QString(), {}};
        QTest::newRow("prefix without digits") << NumberRow{u"&H"_s, {}};
        QTest::newRow("words") << NumberRow{u"blue"_s, {}};
    }

    void convertTextToNumber()
    {
        QFETCH(NumberRow, row);
        QCOMPARE(ConvertTextToNumber(row.first), row.second);
    }

    void privateFileReplacesAndClearsWhatAnInterruptedSaveLeft()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath(u"Default.cfg"_s);
        // Copies a killed save left behind; a file of another name is not touched.
        for (const QString& name : {u"Default.cfg.AbC123"_s, u"Default.cfg.zzzzzz"_s, u"Other.cfg.AbC123"_s})
            QVERIFY(test::writeFile(folder.filePath(name), {}));
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
