#include "alarms/AlarmDispatch.h"
#include "platform/AlarmServices.h"
#include "alarms/AlarmTip.h"
#include "alarms/TipWindow.h"
#include "settings/ClockSettings.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

using namespace kiv;

namespace {

struct Quiet final : AlarmSound, PowerActions
{
    void play(const QString&) override { playing = true; }
    void stop() override { playing = false; }
    void ShutdownComputer() override { ++actions; }
    void RestartComputer() override { ++actions; }
    void LockComputer() override { ++actions; }
    void ForceShutdown() override { ++actions; }
    void ForceRestart() override { ++actions; }
    bool playing = false;
    int actions = 0;
};

} // namespace

class TestTipWindow final : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void tipShowsItsTextOnTopCentredOnTheMonitor();
    void countdownShowsInTheButtonAndTheLabel();
    void buttonClosesAndCancels();
    void closeBoxClosesAndCancels();

private:
    void fire(qint32 action, const QString& text = {});
    QLabel* label() const { return m_host->window()->findChild<QLabel*>(QStringLiteral("LabTip")); }
    QPushButton* button() const { return m_host->window()->findChild<QPushButton*>(QStringLiteral("CmdTip")); }

    std::unique_ptr<AlarmState> m_state;
    ClockSettings m_settings;
    Quiet m_quiet;
    std::unique_ptr<AlarmTip> m_tip;
    std::unique_ptr<TipWindowHost> m_host;
};

void TestTipWindow::init()
{
    m_state = std::make_unique<AlarmState>();
    m_settings.TwelveOr24Hour = 1;
    m_quiet = Quiet();
    m_tip = std::make_unique<AlarmTip>(*m_state, m_settings, QStringLiteral("Tokyo"), QStringLiteral("/x/alarm.wav"),
                                       m_quiet, m_quiet);
    m_host = std::make_unique<TipWindowHost>(*m_tip, [] { return QRect(1280, 0, 1024, 768); });
}

void TestTipWindow::cleanup()
{
    m_host.reset();
}

void TestTipWindow::fire(qint32 action, const QString& text)
{
    AlarmRecord alarm;
    alarm.Time = alarmTimeOf(8, 15);
    alarm.Enabled = 1;
    alarm.Action = action;
    alarm.Text = text;
    m_state->table.append(alarm);
    m_state->CurrentAlarm = m_state->table.AlarmCount() - 1;
    m_host->open();
}

void TestTipWindow::tipShowsItsTextOnTopCentredOnTheMonitor()
{
    fire(ActionTip, QStringLiteral("开会   "));
    TipWindow* window = m_host->window();
    QVERIFY(window->isVisible());
    QCOMPARE(window->windowTitle(), QStringLiteral("时钟: Tokyo  -  警报: 08:15"));
    QVERIFY(window->windowFlags() & Qt::WindowStaysOnTopHint);
    QCOMPARE(window->size(), QSize(435, 279));
    QCOMPARE(window->pos(), QPoint(1280 + (1024 - 435) / 2, (768 - 279) / 2));
    QCOMPARE(label()->text(), QStringLiteral("开会"));
    QCOMPARE(button()->text(), QStringLiteral("确定(&O)"));
    QVERIFY(m_quiet.playing);
}

void TestTipWindow::countdownShowsInTheButtonAndTheLabel()
{
    fire(ActionLock);
    QCOMPARE(label()->text(), QString());
    QVERIFY(label()->alignment() & Qt::AlignHCenter);
    QCOMPARE(label()->y(), (4185 - 90) / 2 / 15);
    m_tip->countdownTick();
    QCOMPARE(button()->text(), QStringLiteral("取消(&C) (29)"));
    QCOMPARE(label()->text(), QStringLiteral("计算机将会被锁定,在 29 秒后"));
    for (int i = 0; i < 29; ++i)
        m_tip->countdownTick();
    QCOMPARE(m_quiet.actions, 1);
    QVERIFY(!m_host->isOpen());
    QVERIFY(!m_quiet.playing);
    QCOMPARE(m_state->CurrentAlarm, -1);
}

void TestTipWindow::buttonClosesAndCancels()
{
    fire(ActionShutdown);
    m_tip->countdownTick();
    QTest::mouseClick(button(), Qt::LeftButton);
    QVERIFY(!m_host->isOpen());
    QVERIFY(!m_tip->countdownActive());
    QVERIFY(!m_quiet.playing);
    QCOMPARE(m_quiet.actions, 0);
    QCOMPARE(m_state->CurrentAlarm, -1);
    QCOMPARE(m_state->table[0].Shown, 0);
    // The next alarm opens the window again with the designed button.
    fire(ActionTip, QStringLiteral("again"));
    QVERIFY(m_host->isOpen());
    QCOMPARE(button()->text(), QStringLiteral("确定(&O)"));
}

void TestTipWindow::closeBoxClosesAndCancels()
{
    fire(ActionForceRestart);
    m_tip->countdownTick();
    m_host->window()->close();
    QVERIFY(!m_tip->countdownActive());
    QCOMPARE(m_quiet.actions, 0);
    QCOMPARE(m_state->CurrentAlarm, -1);
}

QTEST_MAIN(TestTipWindow)
#include "tst_tipwindow.moc"
