#include "core/TextUtils.h"
#include "settings/Registry.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace kiv;

namespace {
const QString kKey = QStringLiteral("HKEY_CURRENT_USER\\Software\\Kiv Clock\\Default");

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}
} // namespace

class TestRegistry final : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void splitPath_data();
    void splitPath();
    void rootNameIsCaseInsensitive();
    void unknownRootReadsEmptyAndWritesNothing();
    void textReadsWithItsTerminator();
    void dwordWritesAndReads_data();
    void dwordWritesAndReads();
    void writeCreatesTheWholeKeyPath();
    void keyAndValueNamesIgnoreCase();
    void longTextReadsWhole();
    void textsThatNeedEscapingRoundTrip_data();
    void textsThatNeedEscapingRoundTrip();
    void deleteResults();
    void deleteKeyNeverDeletesItsParent();
    void fileIsInExportFormatAndPrivate();
    void exportFromElsewhereLoads();
    void unreadableLinesAreSetAsideBeforeARewrite();
    void transactionReplacesTheFileOnce();
    void unchangedTransactionWritesNothing();
    void toNumberConvertsTextOnlyWhenItIsANumber();

private:
    QString path() const { return m_dir->filePath(QStringLiteral("cfg/registry.reg")); }
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestRegistry::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
}

void TestRegistry::splitPath_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<quint32>("root");
    QTest::addColumn<QString>("subkey");
    QTest::addColumn<QString>("last");
    QTest::newRow("classes root") << QStringLiteral("HKEY_CLASSES_ROOT\\a") << 0x80000000u << QStringLiteral("a")
                                  << QStringLiteral("a");
    QTest::newRow("current user") << kKey << 0x80000001u << QStringLiteral("Software\\Kiv Clock\\Default")
                                  << QStringLiteral("Default");
    QTest::newRow("local machine") << QStringLiteral("HKEY_LOCAL_MACHINE\\x\\y") << 0x80000002u
                                   << QStringLiteral("x\\y") << QStringLiteral("y");
    QTest::newRow("users") << QStringLiteral("HKEY_USERS\\s") << 0x80000003u << QStringLiteral("s")
                           << QStringLiteral("s");
    QTest::newRow("performance data") << QStringLiteral("HKEY_PERFORMANCE_DATA\\p") << 0x80000004u
                                      << QStringLiteral("p") << QStringLiteral("p");
    QTest::newRow("current config") << QStringLiteral("HKEY_CURRENT_CONFIG\\c") << 0x80000005u << QStringLiteral("c")
                                    << QStringLiteral("c");
    QTest::newRow("dyn data") << QStringLiteral("HKEY_DYN_DATA\\d") << 0x80000006u << QStringLiteral("d")
                              << QStringLiteral("d");
    QTest::newRow("lower-case root") << QStringLiteral("hkey_current_user\\Software") << 0x80000001u
                                     << QStringLiteral("Software") << QStringLiteral("Software");
    QTest::newRow("abbreviated root is unknown")
        << QStringLiteral("HKCU\\Software") << 0u << QStringLiteral("Software") << QStringLiteral("Software");
    QTest::newRow("root alone") << QStringLiteral("HKEY_USERS") << 0x80000003u << QString()
                                << QStringLiteral("HKEY_USERS");
}

void TestRegistry::splitPath()
{
    QFETCH(QString, path);
    QFETCH(quint32, root);
    QFETCH(QString, subkey);
    QFETCH(QString, last);
    const RegistryPath split = SplitRegistryPath(path);
    QCOMPARE(split.root, root);
    QCOMPARE(split.subkey, subkey);
    QCOMPARE(split.last, last);
}

void TestRegistry::rootNameIsCaseInsensitive()
{
    Registry registry(path());
    QCOMPARE(registry.WriteRegistryValue(QStringLiteral("hkey_current_user\\Software\\Kiv Clock\\Default"),
                                         QStringLiteral("Enable"), QStringLiteral("1"), RegDword),
             0);
    QCOMPARE(registry.ReadRegistryValue(kKey, QStringLiteral("Enable")), RegistryValue(1));
}

void TestRegistry::unknownRootReadsEmptyAndWritesNothing()
{
    Registry registry(path());
    QCOMPARE(registry.WriteRegistryValue(QStringLiteral("HKCU\\Software"), QStringLiteral("x"), QStringLiteral("1"),
                                         RegDword),
             0);
    QVERIFY(!QFile::exists(path()));
    QVERIFY(registry.ReadRegistryValue(QStringLiteral("HKCU\\Software"), QStringLiteral("x")).isEmpty());
}

void TestRegistry::textReadsWithItsTerminator()
{
    Registry registry(path());
    registry.WriteRegistryValue(kKey, QStringLiteral("Name"), QStringLiteral("Default"), RegSz);
    const RegistryValue value = registry.ReadRegistryValue(kKey, QStringLiteral("Name"));
    QVERIFY(value.isText());
    QCOMPARE(value.toString(), QStringLiteral("Default") + QChar(u'\0'));
    QVERIFY(registry.ReadRegistryValue(kKey, QStringLiteral("Missing")).isEmpty());
    QVERIFY(registry.ReadRegistryValue(kKey + QStringLiteral("\\Nope"), QStringLiteral("Name")).isEmpty());
}

void TestRegistry::dwordWritesAndReads_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<int>("readBack");
    QTest::newRow("default hour colour") << QStringLiteral("-2401252") << QByteArray("dword:ffdb5c1c") << -2401252;
    QTest::newRow("all bits read as -1") << QStringLiteral("-1") << QByteArray("dword:ffffffff") << -1;
    QTest::newRow("scale colour") << QStringLiteral("2004318071") << QByteArray("dword:77777777") << 2004318071;
    QTest::newRow("leading number of a text") << QStringLiteral("48px") << QByteArray("dword:00000030") << 48;
    QTest::newRow("half rounds to even") << QStringLiteral("18.5") << QByteArray("dword:00000012") << 18;
}

void TestRegistry::dwordWritesAndReads()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, stored);
    QFETCH(int, readBack);
    Registry registry(path());
    QCOMPARE(registry.WriteRegistryValue(kKey, QStringLiteral("V"), text, RegDword), 0);
    QVERIFY(fileBytes(path()).contains(QByteArray("\"V\"=" + stored + "\n")));
    QCOMPARE(registry.ReadRegistryValue(kKey, QStringLiteral("V")), RegistryValue(readBack));
}

void TestRegistry::writeCreatesTheWholeKeyPath()
{
    Registry registry(path());
    QCOMPARE(registry.WriteRegistryValue(QStringLiteral("HKEY_CURRENT_USER\\A\\B\\C"), QStringLiteral("n"),
                                         QStringLiteral("5"), RegDword),
             0);
    const RegistryDocument doc = registry.snapshot();
    QVERIFY(doc.findKey(u"HKEY_CURRENT_USER\\A"));
    QVERIFY(doc.findKey(u"HKEY_CURRENT_USER\\A\\B"));
    QVERIFY(doc.findKey(u"HKEY_CURRENT_USER\\A\\B\\C"));
    // A number that does not fit in 32 bits is refused, not stored wrapped.
    QCOMPARE(registry.WriteRegistryValue(kKey, QStringLiteral("n"), QStringLiteral("99999999999"), RegDword),
             RegInvalidParameter);
    QVERIFY(registry.ReadRegistryValue(kKey, QStringLiteral("n")).isEmpty());
}

void TestRegistry::keyAndValueNamesIgnoreCase()
{
    Registry registry(path());
    registry.WriteRegistryValue(QStringLiteral("HKEY_CURRENT_USER\\SOFTWARE\\Kiv Clock\\System"),
                                QStringLiteral("APP_VER"), QStringLiteral("1.0.0"), RegSz);
    QCOMPARE(CleanString(registry
                             .ReadRegistryValue(QStringLiteral("HKEY_CURRENT_USER\\Software\\kiv clock\\system"),
                                                QStringLiteral("app_ver"))
                             .toString()),
             QStringLiteral("1.0.0"));
    registry.WriteRegistryValue(QStringLiteral("HKEY_CURRENT_USER\\Software\\Kiv Clock\\System"),
                                QStringLiteral("app_ver"), QStringLiteral("2.0.0"), RegSz);
    const RegistryDocument doc = registry.snapshot();
    const RegistryKey* key = doc.findKey(u"HKEY_CURRENT_USER\\Software\\Kiv Clock\\System");
    QVERIFY(key);
    QCOMPARE(key->values.size(), 1);
    QCOMPARE(key->values.first().name, QStringLiteral("APP_VER"));
    QCOMPARE(key->path, QStringLiteral("HKEY_CURRENT_USER\\SOFTWARE\\Kiv Clock\\System"));
}

void TestRegistry::longTextReadsWhole()
{
    Registry registry(path());
    QString clocks;
    for (int i = 0; i < 120; ++i)
        clocks += QStringLiteral("{Clock number %1}").arg(i);
    QVERIFY(clocks.size() > 1024);
    registry.WriteRegistryValue(kKey, QStringLiteral("Clocks"), clocks, RegSz);
    QCOMPARE(CleanString(registry.ReadRegistryValue(kKey, QStringLiteral("Clocks")).toString()), clocks);
}

void TestRegistry::textsThatNeedEscapingRoundTrip_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("quotes and backslashes") << QStringLiteral("C:\\Program Files\\\"x\"\\");
    QTest::newRow("Chinese") << QStringLiteral("北京时间");
    QTest::newRow("line breaks") << QStringLiteral("one\ntwo\r\nthree");
    QTest::newRow("empty") << QString();
    QTest::newRow("brackets and equals") << QStringLiteral("[x]=\"y\"@");
    QTest::newRow("text that looks like continued hex data") << QStringLiteral("=hex:01,\\");
}

void TestRegistry::textsThatNeedEscapingRoundTrip()
{
    QFETCH(QString, text);
    Registry registry(path());
    const QString key = kKey + QStringLiteral("\\odd ] name");
    QCOMPARE(registry.WriteRegistryValue(key, QStringLiteral("a \"quoted\" name"), text, RegSz), 0);
    QCOMPARE(registry.WriteRegistryValue(key, QStringLiteral("next"), QStringLiteral("7"), RegDword), 0);
    QCOMPARE(registry.ReadRegistryValue(key, QStringLiteral("a \"quoted\" name")).toString(), text + QChar(u'\0'));
    QCOMPARE(registry.ReadRegistryValue(key, QStringLiteral("next")), RegistryValue(7));
    const auto parsed = RegistryDocument::parse(fileBytes(path()));
    QCOMPARE(parsed.unreadableLines, 0);
}

void TestRegistry::deleteResults()
{
    Registry registry(path());
    registry.WriteRegistryValue(kKey, QStringLiteral("A"), QStringLiteral("1"), RegDword);
    QCOMPARE(registry.DeleteRegistryValue(kKey, QStringLiteral("missing")), RegFileNotFound);
    QCOMPARE(registry.DeleteRegistryValue(kKey + QStringLiteral("\\NoKey"), QStringLiteral("A")), 0);
    QCOMPARE(registry.DeleteRegistryValue(kKey, QStringLiteral("a")), 0);
    QVERIFY(registry.ReadRegistryValue(kKey, QStringLiteral("A")).isEmpty());

    const QString parent = QStringLiteral("HKEY_CURRENT_USER\\Software\\Kiv Clock");
    registry.WriteRegistryValue(kKey, QStringLiteral("B"), QStringLiteral("2"), RegDword);
    QCOMPARE(registry.DeleteRegistryKey(parent, QStringLiteral("Nobody")), RegFileNotFound);
    QCOMPARE(registry.DeleteRegistryKey(QStringLiteral("HKEY_CURRENT_USER\\Nope"), QStringLiteral("Default")), 0);
    QCOMPARE(registry.DeleteRegistryKey(QStringLiteral("HKEY_CURRENT_USER\\Software"), QStringLiteral("Kiv Clock")),
             RegAccessDenied);
    QCOMPARE(registry.DeleteRegistryKey(parent, QStringLiteral("default")), 0);
    QVERIFY(registry.ReadRegistryValue(kKey, QStringLiteral("B")).isEmpty());
    QVERIFY(!registry.snapshot().findKey(kKey));
    QVERIFY(registry.snapshot().findKey(parent));
}

void TestRegistry::deleteKeyNeverDeletesItsParent()
{
    Registry registry(path());
    registry.WriteRegistryValue(kKey, QStringLiteral("A"), QStringLiteral("1"), RegDword);
    QCOMPARE(registry.DeleteRegistryKey(kKey, QString()), RegInvalidParameter);
    QCOMPARE(registry.DeleteRegistryKey(kKey, QStringLiteral("  ")), RegInvalidParameter);
    QCOMPARE(registry.ReadRegistryValue(kKey, QStringLiteral("A")), RegistryValue(1));
}

void TestRegistry::fileIsInExportFormatAndPrivate()
{
    Registry registry(path());
    registry.WriteRegistryValue(kKey, QStringLiteral("ClockRadius"), QStringLiteral("47"), RegDword);
    registry.WriteRegistryValue(kKey, QStringLiteral("Note"), QStringLiteral("a\\b"), RegSz);
    QCOMPARE(fileBytes(path()), QByteArray("Windows Registry Editor Version 5.00\n"
                                           "\n[HKEY_CURRENT_USER\\Software]\n"
                                           "\n[HKEY_CURRENT_USER\\Software\\Kiv Clock]\n"
                                           "\n[HKEY_CURRENT_USER\\Software\\Kiv Clock\\Default]\n"
                                           "\"ClockRadius\"=dword:0000002f\n"
                                           "\"Note\"=\"a\\\\b\"\n"));
    QCOMPARE(QFile::permissions(path()),
             QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser | QFileDevice::WriteUser);
}

void TestRegistry::exportFromElsewhereLoads()
{
    // A hand-made export: CRLF line ends, comments, a binary value over two lines, a multi-string.
    writeFile(path(), "Windows Registry Editor Version 5.00\r\n\r\n"
                      "; exported\r\n"
                      "[HKEY_CURRENT_USER\\Software\\Kiv Clock\\System]\r\n"
                      "\"Clocks\"=\"{A}{B}\"\r\n"
                      "@=\"default value\"\r\n"
                      "\"Bin\"=hex:01,02,\\\r\n  03\r\n"
                      "\"Wide\"=hex(2):41,00,42,00,00,00\r\n");
    Registry registry(path());
    const QString key = QStringLiteral("HKEY_CURRENT_USER\\Software\\Kiv Clock\\System");
    QCOMPARE(CleanString(registry.ReadRegistryValue(key, QStringLiteral("Clocks")).toString()),
             QStringLiteral("{A}{B}"));
    QCOMPARE(CleanString(registry.ReadRegistryValue(key, QString()).toString()), QStringLiteral("default value"));
    QCOMPARE(CleanString(registry.ReadRegistryValue(key, QStringLiteral("Wide")).toString()), QStringLiteral("AB"));
    const RegistryDocument document = registry.snapshot();
    const RegistryKey* stored = document.findKey(key);
    QVERIFY(stored);
    QCOMPARE(RegistryDocument::findValue(*stored, u"Bin")->data, QByteArray("\x01\x02\x03"));
    QCOMPARE(RegistryDocument::parse(fileBytes(path())).unreadableLines, 0);
}

void TestRegistry::unreadableLinesAreSetAsideBeforeARewrite()
{
    const QByteArray damaged = "Windows Registry Editor Version 5.00\n\n"
                               "[HKEY_CURRENT_USER\\Software\\Kiv Clock\\Default]\n"
                               "\"ClockRadius\"=dword:00000050\n"
                               "\"Broken\"=dword:zz\n"
                               "garbage line\n"
                               "\"TimeZoneIndex\"=dword:0000004a\n";
    writeFile(path(), damaged);
    Registry registry(path());
    // What can be read is read.
    QCOMPARE(registry.ReadRegistryValue(kKey, QStringLiteral("ClockRadius")), RegistryValue(80));
    QCOMPARE(registry.ReadRegistryValue(kKey, QStringLiteral("TimeZoneIndex")), RegistryValue(74));
    // The first rewrite keeps the damaged file beside the new one.
    QCOMPARE(registry.WriteRegistryValue(kKey, QStringLiteral("Enable"), QStringLiteral("1"), RegDword), 0);
    const QStringList aside =
        QDir(QFileInfo(path()).absolutePath()).entryList({QStringLiteral("registry.reg.unreadable-*")}, QDir::Files);
    QCOMPARE(aside.size(), 1);
    QCOMPARE(fileBytes(QFileInfo(path()).absolutePath() + u'/' + aside.first()), damaged);
    QCOMPARE(registry.ReadRegistryValue(kKey, QStringLiteral("ClockRadius")), RegistryValue(80));
    QCOMPARE(registry.ReadRegistryValue(kKey, QStringLiteral("TimeZoneIndex")), RegistryValue(74));
    // The rewritten file is clean, so later writes set nothing more aside.
    registry.WriteRegistryValue(kKey, QStringLiteral("Top"), QStringLiteral("0"), RegDword);
    QCOMPARE(QDir(QFileInfo(path()).absolutePath())
                 .entryList({QStringLiteral("registry.reg.unreadable-*")}, QDir::Files)
                 .size(),
             1);
}

void TestRegistry::transactionReplacesTheFileOnce()
{
    Registry registry(path());
    registry.WriteRegistryValue(kKey, QStringLiteral("Enable"), QStringLiteral("1"), RegDword);
    const QDateTime before = QFileInfo(path()).lastModified();
    int steps = 0;
    QVERIFY(registry.transaction([&](RegistryEditor& editor) {
        for (int i = 0; i < 24; ++i) {
            editor.WriteRegistryValue(kKey, QStringLiteral("V%1").arg(i), QString::number(i), RegDword);
            // Reads inside the batch see the batch's own writes.
            if (editor.ReadRegistryValue(kKey, QStringLiteral("V%1").arg(i)) == RegistryValue(i))
                ++steps;
        }
    }));
    QCOMPARE(steps, 24);
    QCOMPARE(registry.ReadRegistryValue(kKey, QStringLiteral("V23")), RegistryValue(23));
    QVERIFY(QFileInfo(path()).lastModified() >= before);
    // The store and its lock file are for this user alone; the lock file stays (the kernel holds the lock).
    QCOMPARE(QFileInfo(path()).permissions() & 0x0077, QFileDevice::Permissions());
    QCOMPARE(QFileInfo(path() + QStringLiteral(".lock")).permissions() & 0x0077, QFileDevice::Permissions());
}

void TestRegistry::unchangedTransactionWritesNothing()
{
    Registry registry(path());
    QVERIFY(registry.transaction(
        [](RegistryEditor& editor) { QVERIFY(editor.ReadRegistryValue(kKey, QStringLiteral("Enable")).isEmpty()); }));
    QVERIFY(!QFile::exists(path()));
}

void TestRegistry::toNumberConvertsTextOnlyWhenItIsANumber()
{
    QCOMPARE(RegistryValue().toNumber(), std::optional<qint32>(0));
    QCOMPARE(RegistryValue(QStringLiteral("47") + QChar(u'\0')).toNumber(), std::optional<qint32>(47));
    QCOMPARE(RegistryValue(QStringLiteral("blue")).toNumber(), std::nullopt);
    QCOMPARE(RegistryValue(-5).toNumber(), std::optional<qint32>(-5));
}

QTEST_GUILESS_MAIN(TestRegistry)
#include "tst_registry.moc"
