#include "AlarmRecords.h"
#include "FakePlatform.h"
#include "KivTest.h"
#include "alarms/AlarmDispatch.h"
#include "alarms/AlarmTip.h"
#include "platform/linux/LazyAlarmSound.h"
#include "settings/ClockSettings.h"

namespace {

// The streams playing into the sound server.
int playingStreams()
{
    QProcess pactl;
    pactl.start(u"pactl"_s, {u"list"_s, u"short"_s, u"sink-inputs"_s});
    pactl.waitForFinished(5000);
    return int(pactl.readAllStandardOutput().count('\n'));
}

} // namespace

// The alarm sound through a real PulseAudio server with a null sink, started for this test alone.
class TestAlarmSound final : public QObject
{
    Q_OBJECT

    QProcess m_server;
    QTemporaryDir m_dir;
    QString m_wav;

private slots:
    void initTestCase()
    {
        // The server must run before the first use of Qt Multimedia: Qt does not look for one again.
        m_server.start(u"pulseaudio"_s,
                       {u"--daemonize=no"_s, u"-n"_s, u"--exit-idle-time=-1"_s, u"--disallow-exit"_s, u"-L"_s,
                        u"module-null-sink"_s, u"-L"_s, u"module-native-protocol-unix auth-anonymous=1"_s});
        QVERIFY(m_server.waitForStarted(5000));
        const auto ready = [] {
            QProcess info;
            info.start(u"pactl"_s, {u"info"_s});
            return info.waitForFinished(5000) && info.exitCode() == 0;
        };
        QVERIFY2(QTest::qWaitFor(ready, 10000), "the sound server did not start");
        m_wav = m_dir.filePath(u"alarm.wav"_s);
        QVERIFY(ExtractResourceFile(m_wav, u"ALARM"_s));
    }

    void cleanupTestCase()
    {
        m_server.terminate();
        if (!m_server.waitForFinished(5000))
            test::stop(m_server);
    }

    void soundPlaysWhileTheTipIsOpenAndAnUnplayableFileIsSilent()
    {
        AlarmState state;
        ClockSettings settings;
        // The sound comes from the program's sound module, loaded when it first plays.
        LazyAlarmSound sound(soundModulePaths(QStringLiteral(KIV_PROGRAM_FOLDER)));
        test::RecordingAlarmServices power;
        AlarmTip tip(state, settings, u"Default"_s, m_wav, sound, power);
        AlarmRecord alarm = test::alarmAt(0, 0);
        alarm.PlayTime = 4; // until the window closes
        state.table.append(alarm);
        state.CurrentAlarm = 0;
        QCOMPARE(playingStreams(), 0);
        tip.ShowTip();
        QTRY_VERIFY_WITH_TIMEOUT(playingStreams() >= 1, 5000);
        QVERIFY(sound.loaded());
        // Still playing after the chime's own length: it loops.
        QTest::qWait(2000);
        QVERIFY(playingStreams() >= 1);
        tip.unload();
        QTRY_COMPARE_WITH_TIMEOUT(playingStreams(), 0, 5000);
        // A file that cannot be played is silent.
        const QString broken = m_dir.filePath(u"broken.wav"_s);
        QVERIFY(test::writeFile(broken, "RIFF....not a wave file at all"));
        sound.play(broken);
        QTest::qWait(1000);
        QCOMPARE(playingStreams(), 0);
        sound.stop();
        // Without its module the sound is silent, and nothing fails.
        LazyAlarmSound missing({m_dir.filePath(u"nowhere.so"_s)});
        missing.play(m_wav);
        QVERIFY(!missing.loaded());
    }
};

QTEST_MAIN(TestAlarmSound)
#include "tst_alarmsound.moc"
