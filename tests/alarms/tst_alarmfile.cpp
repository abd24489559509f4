#include "FakePlatform.h"
#include "alarms/AlarmFile.h"
#include "core/TextUtils.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

using namespace kiv;
using namespace kiv::test;

namespace {

// An enabled tip alarm at 07:30 playing one minute, built byte by byte from the file layout.
QByteArray handBuiltRecord(const QByteArray& textBytes, const QByteArray& soundBytes)
{
    QByteArray bytes = QByteArray::fromHex("000000000000D43F"); // 0.3125 days
    bytes += QByteArray::fromHex("01000000");                   // Enabled
    bytes += QByteArray(12, '\0');                              // Shown, Action, PlayTime
    bytes += QByteArray(32, '\0');                              // Reserved
    bytes += textBytes.leftJustified(255, ' ');
    bytes += soundBytes.leftJustified(255, ' ');
    return bytes;
}

AlarmRecord wakeUp()
{
    AlarmRecord record;
    record.Time = alarmTimeOf(7, 30);
    record.Enabled = 1;
    record.Text = QStringLiteral("起床");
    record.Sound = DefaultSoundText;
    return record;
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestAlarmFile final : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void recordMatchesTheHandBuiltBytes();
    void handBuiltChineseRecordLoadsExactly();
    void reservedBytesSurviveALoadAndSave();
    void recordCount_data();
    void recordCount();
    void moreThan128RecordsKeepTheFirst128AndComplain();
    void missingFileIsNoAlarmsAndNoMessage();
    void emptyTableRemovesTheFile();
    void longChineseTextKeeps127Characters();
    void shownIsClearedOnLoad();
    void tableRefusesA129thAlarm();
    void saveFailureIsReportedAndKeepsTheOldFile();
    void timeText_data();
    void timeText();
    void defaultSoundIsALoopableWav();

private:
    QString path() const { return m_dir->filePath(QStringLiteral("Default.cfg")); }
    std::unique_ptr<QTemporaryDir> m_dir;
    RecordingMessages m_messages;
};

void TestAlarmFile::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_messages = {};
}

void TestAlarmFile::recordMatchesTheHandBuiltBytes()
{
    AlarmTable table;
    QVERIFY(table.append(wakeUp()));
    QVERIFY(SaveAlarms(path(), table, m_messages));
    const QByteArray expected =
        handBuiltRecord(QByteArray::fromHex("c6f0b4b2"), QByteArray::fromHex("c4acc8cfb1a8beafc9f9d2f4"));
    QCOMPARE(expected.size(), 566);
    QCOMPARE(readFile(path()), expected);
}

void TestAlarmFile::handBuiltChineseRecordLoadsExactly()
{
    QByteArray second = handBuiltRecord(QByteArray::fromHex("d6d0") + "-text", "/home/u/ring.wav");
    qToLittleEndian<qint32>(ActionLock, second.data() + 16);
    qToLittleEndian<qint32>(4, second.data() + 20);
    writeFile(path(), handBuiltRecord(QByteArray::fromHex("c6f0b4b2"), "") + second);
    AlarmTable table;
    QVERIFY(LoadAlarms(path(), table, m_messages));
    QCOMPARE(table.AlarmCount(), 2);
    QCOMPARE(alarmTimeText(table[0].Time), QStringLiteral("07:30"));
    QCOMPARE(CleanString(table[0].Text), QStringLiteral("起床"));
    QCOMPARE(CleanString(table[0].Sound), QString());
    QCOMPARE(CleanString(table[1].Text), QStringLiteral("中-text"));
    QCOMPARE(CleanString(table[1].Sound), QStringLiteral("/home/u/ring.wav"));
    QCOMPARE(table[1].Action, qint32(ActionLock));
    QCOMPARE(table[1].PlayTime, 4);
    QVERIFY(m_messages.shown.isEmpty());
}

void TestAlarmFile::reservedBytesSurviveALoadAndSave()
{
    QByteArray record = handBuiltRecord("tea", "x.wav");
    for (int i = 24; i < 56; ++i)
        record[i] = char(i);
    writeFile(path(), record + record);
    AlarmTable table;
    QVERIFY(LoadAlarms(path(), table, m_messages));
    QVERIFY(SaveAlarms(path(), table, m_messages));
    QCOMPARE(readFile(path()), record + record);
}

void TestAlarmFile::recordCount_data()
{
    QTest::addColumn<int>("bytes");
    QTest::addColumn<int>("count");
    QTest::newRow("three whole records") << 3 * 566 << 3;
    QTest::newRow("300 extra bytes round up to a fourth") << 3 * 566 + 300 << 4;
    QTest::newRow("200 extra bytes round down") << 3 * 566 + 200 << 3;
    QTest::newRow("exactly half a record rounds to even (2)") << 2 * 566 + 283 << 2;
    QTest::newRow("exactly half after three rounds to even (4)") << 3 * 566 + 283 << 4;
    QTest::newRow("less than half a record is nothing") << 200 << 0;
}

void TestAlarmFile::recordCount()
{
    QFETCH(int, bytes);
    QFETCH(int, count);
    QByteArray data;
    while (data.size() < bytes)
        data += handBuiltRecord("x", "");
    writeFile(path(), data.left(bytes));
    AlarmTable table;
    QVERIFY(LoadAlarms(path(), table, m_messages));
    QCOMPARE(table.AlarmCount(), count);
    if (bytes % 566 > 283) {
        // The short last record is filled with zeros: its texts read as empty.
        QCOMPARE(CleanString(table[count - 1].Sound), QString());
    }
}

void TestAlarmFile::moreThan128RecordsKeepTheFirst128AndComplain()
{
    QByteArray data;
    for (int i = 0; i < 130; ++i)
        data += handBuiltRecord(QByteArray::number(i), "");
    writeFile(path(), data);
    AlarmTable table;
    QVERIFY(!LoadAlarms(path(), table, m_messages));
    QCOMPARE(table.AlarmCount(), 128);
    QCOMPARE(CleanString(table[127].Text), QStringLiteral("127"));
    QCOMPARE(m_messages.shown.size(), 1);
    QCOMPARE(m_messages.shown.first().text, QStringLiteral("读取配置文件失败! "));
    QCOMPARE(m_messages.shown.first().title, QStringLiteral("Kiv Clock"));
    QCOMPARE(m_messages.shown.first().icon, MessageIcon::Exclamation);
}

void TestAlarmFile::missingFileIsNoAlarmsAndNoMessage()
{
    AlarmTable table;
    table.append(wakeUp());
    QVERIFY(LoadAlarms(path(), table, m_messages));
    QCOMPARE(table.AlarmCount(), 0);
    QVERIFY(m_messages.shown.isEmpty());
}

void TestAlarmFile::emptyTableRemovesTheFile()
{
    AlarmTable table;
    table.append(wakeUp());
    QVERIFY(SaveAlarms(path(), table, m_messages));
    QVERIFY(QFile::exists(path()));
    table.removeAt(0);
    QVERIFY(SaveAlarms(path(), table, m_messages));
    QVERIFY(!QFile::exists(path()));
    QVERIFY(m_messages.shown.isEmpty());
}

void TestAlarmFile::longChineseTextKeeps127Characters()
{
    AlarmRecord record = wakeUp();
    record.Text = QString(200, QChar(u'中'));
    AlarmTable table;
    table.append(record);
    QVERIFY(SaveAlarms(path(), table, m_messages));
    QCOMPARE(QFileInfo(path()).size(), 566);
    AlarmTable loaded;
    QVERIFY(LoadAlarms(path(), loaded, m_messages));
    // 127 characters fill 254 bytes; the 255th holds half of the 128th, which does not come back.
    QCOMPARE(CleanString(loaded[0].Text), QString(127, QChar(u'中')));
    QCOMPARE(CleanString(loaded[0].Sound), DefaultSoundText);
}

void TestAlarmFile::shownIsClearedOnLoad()
{
    AlarmRecord record = wakeUp();
    record.Shown = 1;
    AlarmTable table;
    table.append(record);
    QVERIFY(SaveAlarms(path(), table, m_messages));
    QCOMPARE(readFile(path()).at(12), '\x01');
    AlarmTable loaded;
    QVERIFY(LoadAlarms(path(), loaded, m_messages));
    QCOMPARE(loaded[0].Shown, 0);
}

void TestAlarmFile::tableRefusesA129thAlarm()
{
    AlarmTable table;
    for (int i = 0; i < MaxAlarms; ++i)
        QVERIFY(table.append(wakeUp()));
    QVERIFY(table.isFull());
    QVERIFY(!table.append(wakeUp()));
    QCOMPARE(table.AlarmCount(), 128);
}

void TestAlarmFile::saveFailureIsReportedAndKeepsTheOldFile()
{
    AlarmTable table;
    table.append(wakeUp());
    const QString missingFolder = m_dir->filePath(QStringLiteral("no/such/folder/Default.cfg"));
    QVERIFY(!SaveAlarms(missingFolder, table, m_messages));
    QCOMPARE(m_messages.shown.size(), 1);
    QCOMPARE(m_messages.shown.first().text, QStringLiteral("保存配置文件失败! "));
    QCOMPARE(table.AlarmCount(), 1);
}

void TestAlarmFile::timeText_data()
{
    QTest::addColumn<double>("time");
    QTest::addColumn<QString>("text");
    QTest::newRow("07:30") << 0.3125 << QStringLiteral("07:30");
    QTest::newRow("midnight") << 0.0 << QStringLiteral("00:00");
    QTest::newRow("23:59") << alarmTimeOf(23, 59) << QStringLiteral("23:59");
    QTest::newRow("a whole date keeps its time") << 46000.75 << QStringLiteral("18:00");
    QTest::newRow("a date before 1899 keeps its time") << -1.25 << QStringLiteral("06:00");
    QTest::newRow("a second short of a minute rounds up") << (8 * 3600 + 59.6) / 86400.0 << QStringLiteral("08:01");
}

void TestAlarmFile::timeText()
{
    QFETCH(double, time);
    QFETCH(QString, text);
    QCOMPARE(alarmTimeText(time), text);
}

void TestAlarmFile::defaultSoundIsALoopableWav()
{
    const QString wav = m_dir->filePath(QStringLiteral("alarm.wav"));
    writeFile(wav, "a user's own file");
    QVERIFY(ExtractResourceFile(wav, QStringLiteral("ALARM")));
    const QByteArray bytes = readFile(wav);
    QCOMPARE(bytes.size(), 249596);
    QCOMPARE(bytes.left(4), QByteArray("RIFF"));
    QCOMPARE(bytes.mid(8, 8), QByteArray("WAVEfmt "));
    QCOMPARE(qFromLittleEndian<quint16>(bytes.constData() + 20), quint16(1));     // PCM
    QCOMPARE(qFromLittleEndian<quint16>(bytes.constData() + 22), quint16(2));     // channels
    QCOMPARE(qFromLittleEndian<quint32>(bytes.constData() + 24), quint32(44100)); // rate
    QCOMPARE(qFromLittleEndian<quint16>(bytes.constData() + 34), quint16(16));    // bits
    QCOMPARE(qFromLittleEndian<quint32>(bytes.constData() + 40), quint32(249596 - 44));
    // It starts and ends in silence, so the loop does not click, and it is not silent in between.
    const auto sample = [&](int frame, int channel) {
        return qFromLittleEndian<qint16>(bytes.constData() + 44 + frame * 4 + channel * 2);
    };
    const int frames = (249596 - 44) / 4;
    QCOMPARE(sample(0, 0), qint16(0));
    QVERIFY(std::abs(sample(frames - 1, 0)) < 8 && std::abs(sample(frames - 1, 1)) < 8);
    int loud = 0;
    for (int f = 0; f < frames; f += 100)
        loud = std::max(loud, std::abs(int(sample(f, 0))));
    QVERIFY(loud > 10000);
    QVERIFY(!ExtractResourceFile(wav, QStringLiteral("NO SUCH RESOURCE")));
}

QTEST_GUILESS_MAIN(TestAlarmFile)
#include "tst_alarmfile.moc"
