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
        const std::pair<QString, QString> rows[] = {{QString::fromUtf16(u"Default\0junk", 12), u"Default"_s},
                                                    {QString::fromUtf16(u"Ab  \0 x", 7), u"Ab"_s},
                                                    {u" New  York "_s, u"New  York"_s},
                                                    {u"\"A B\""_s, u"\"A B\""_s},
                                                    {u"\tA\t"_s, u"\tA\t"_s},
                                                    {QString(QChar(u'\0')), QString()},
                                                    {u"hi"_s.leftJustified(255, u' '), u"hi"_s}};
        for (const auto& [input, expected] : rows)
            QCOMPARE(CleanString(input), expected);
    }

    void numbersOfText()
    {
        const NumberRow rows[] = {{u"18"_s, 18},                         // plain decimal
                                  {u"  \t42"_s, 42},                     // leading blanks are skipped
                                  {u"12px"_s, 12},                       // reading stops at a letter
                                  {QString(), 0},                        // empty text is 0
                                  {u"abc"_s, 0},                         // non-numeric text is 0
                                  {u"-2401252"_s, -2401252},             // negative decimal
                                  {u"&HFFFF"_s, -1},                     // four hex digits FFFF are -1
                                  {u"&hff"_s, 255},                      // lower-case hex prefix
                                  {u"&HFFDB5C1C"_s, qint32(0xFFDB5C1C)}, // eight hex digits are 32 bits
                                  {u"&H10000"_s, 65536},                 // hex 10000 is positive
                                  {u"&O177777"_s, -1},                   // octal 177777 is -1
                                  {u"&o17"_s, 15},                       // octal 17
                                  {u"&H1FFFFFFFF"_s, {}},                // hex wider than 32 bits does not fit
                                  {u"2.5"_s, 2},                         // 2.5 rounds to even 2
                                  {u"3.5"_s, 4},                         // 3.5 rounds to even 4
                                  {u"2.51"_s, 3},                        // 2.51 rounds up
                                  {u"1.5e3"_s, 1500},                    // exponent
                                  {u"7e"_s, 7},                          // an exponent without digits is not read
                                  {u".5"_s, 0},                          // a point alone
                                  {u"-"_s, 0},                           // a sign alone is 0
                                  {u"2147483647"_s, 2147483647},         // largest 32-bit value
                                  {u"2147483648"_s, {}},                 // above 32 bits does not fit
                                  {u"1e400"_s, {}}};                     // huge exponent does not fit
        for (const auto& [text, number] : rows)
            QVERIFY2(NumberOfText(text) == number, qPrintable(text));
        // Converting takes the whole text, or nothing.
        const NumberRow whole[] = {{u"47"_s, 47},    // whole number
                                   {u" -5 "_s, -5},  // blanks around
                                   {u"&H1F"_s, 31},  // hex
                                   {u"12abc"_s, {}}, // trailing letters
                                   {QString(), {}},  // empty
                                   {u"&H"_s, {}},    // prefix without digits
                                   {u"blue"_s, {}}}; // words
        for (const auto& [text, number] : whole)
            QVERIFY2(ConvertTextToNumber(text) == number, qPrintable(text));
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
