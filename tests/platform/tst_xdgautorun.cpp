#include "KivTest.h"
#include "platform/linux/XdgAutorunEntries.h"

// Autorun entries as desktop entries in the XDG autostart folder.
class TestXdgAutorun final : public QObject
{
    Q_OBJECT

private slots:
    void entriesAreWrittenReadAndRemoved()
    {
        // Plain; spaces in the path and the name; two spaces that stay two; shell characters; percent signs
        // that are no field codes; backslashes; a Chinese name.
        const std::pair<QString, QString> rows[] = {
            {u"/usr/bin/kivclock"_s, u"Default"_s},  {u"/opt/Kiv Clock/kivclock"_s, u"New York"_s},
            {u"/usr/bin/kivclock"_s, u"A  B"_s},     {u"/home/u/$HOME/`x`/kivclock"_s, u"\"Q\" $1"_s},
            {u"/usr/bin/kivclock"_s, u"100% %f"_s},  {u"/odd\\dir/kivclock"_s, u"a\\b"_s},
            {u"/usr/bin/kivclock"_s, u"北京 时间"_s}};
        for (const auto& [program, name] : rows)
            QCOMPARE(commandOfExecLine(desktopExecLine(program, name)), program + u' ' + name);
        // Entries are written, read and removed.
        QTemporaryDir dir;
        const QString program = u"/opt/Kiv Clock/kivclock"_s;
        XdgAutorunEntries entries(dir.filePath(u"autostart"_s), program);
        const QString value = u"Kiv Clock - Tokyo"_s;
        QCOMPARE(entries.read(value), QString());
        QVERIFY(entries.write(value, program + u" A \"B\" 5%"_s));
        QCOMPARE(entries.read(value), program + u" A \"B\" 5%"_s);
        const QStringList lines =
            QString::fromUtf8(test::readFile(entries.entryPath(value))).split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.first(), u"[Desktop Entry]"_s);
        QVERIFY(lines.contains(u"Type=Application"_s) && lines.contains(u"Name=Kiv Clock - Tokyo"_s));
        QVERIFY(lines.contains(u"Exec=\"/opt/Kiv Clock/kivclock\" \"A \\\\\"B\\\\\" 5%%\""_s));
        // Only files ending in .desktop start with the session; names differing in case are different entries.
        QVERIFY(entries.entryPath(value).endsWith(u".desktop"_s));
        QCOMPARE(entries.entryPath(u"Kiv Clock - tokyo"_s), entries.entryPath(value)); // one entry per clock, any case
        QVERIFY(entries.remove(value) && !QFile::exists(entries.entryPath(value)) && entries.remove(value));
    }
};

QTEST_GUILESS_MAIN(TestXdgAutorun)
#include "tst_xdgautorun.moc"
