#include "alarms/AlarmTip.h"

#include "alarms/AlarmDispatch.h"
#include "core/TextUtils.h"
#include "platform/AlarmServices.h"
#include "settings/ClockSettings.h"

#include <algorithm>
#include <cmath>

namespace kiv {
namespace {

constexpr int kTickMs = 1000;

int playSecondsOf(qint32 playTime)
{
    switch (playTime) {
    case 0:
        return 60;
    case 1:
        return 120;
    case 2:
        return 180;
    case 3:
        return 300;
    default:
        return 0;
    }
}

} // namespace

QString TipTexts::countdownText(qint32 action, int seconds)
{
    const QString n = QString::number(seconds);
    switch (action) {
    case 1:
        return tr("计算机将被关闭,在 %1 秒后").arg(n);
    case 2:
        return tr("计算机将会重启,在 %1 秒后").arg(n);
    case 3:
        return tr("计算机将会被锁定,在 %1 秒后").arg(n);
    case 4:
        return tr("计算机将会被关闭不保存,在 %1 秒后").arg(n);
    case 5:
        return tr("计算机将会重启不保存,在%1 秒后").arg(n);
    default:
        return {};
    }
}

QString TipTexts::cancelCaption(int seconds)
{
    return tr("取消(&C) (%1)").arg(seconds);
}

QString TipTexts::missedText(qint32 action, const QString& alarmText)
{
    if (action == ActionTip)
        return alarmText;
    if (action == ActionRun)
        return tr("没有打开: %1").arg(alarmText);
    return tr("这个警报的时间已过, 没有执行它的操作.");
}

namespace {

// Boot time runs ahead of monotonic time by the time slept; more than this is a sleep, not a jitter.
constexpr qint64 kSleepToleranceMs = 2000;

} // namespace

AlarmTip::AlarmTip(AlarmState& state, const ClockSettings& settings, QString clockName, QString defaultSoundPath,
                   AlarmSound& sound, PowerActions& power, const CountdownClock& clock)
    : m_state(state), m_settings(settings), m_clockName(std::move(clockName)),
      m_defaultSoundPath(std::move(defaultSoundPath)), m_sound(sound), m_power(power), m_clock(clock)
{
    m_view.buttonCaption = TipTexts::OkCaption();
    m_view.labelTopTwips = TipTexts::LabelTopTwips;
    m_countdownTimer.setInterval(kTickMs);
    m_playTimer.setInterval(kTickMs);
    connect(&m_countdownTimer, &QTimer::timeout, this, &AlarmTip::countdownTick);
    connect(&m_playTimer, &QTimer::timeout, this, &AlarmTip::playTick);
}

AlarmTip::~AlarmTip()
{
    stopCountdown();
}

void AlarmTip::ShowTip()
{
    const qint32 k = m_state.CurrentAlarm;
    if (k < 0 || k >= m_state.table.AlarmCount() || m_state.table[k].Shown == 1)
        return;
    AlarmRecord& alarm = m_state.table[k];
    m_view.caption =
        tr("时钟: %1  -  警报: %2").arg(m_clockName, alarmTimeText(alarm.Time, m_settings.TwelveOr24Hour != 0));
    m_tipAction = alarm.Action;
    if (m_state.CurrentMissed) {
        showMissed(alarm);
        return;
    }
    if (m_tipAction != ActionTip) {
        startCountdown();
        m_view.labelTopTwips = (TipTexts::ClientHeightTwips - 90) / 2;
        m_view.labelCentred = true;
    } else {
        // A tip that takes over a counting window gets the designed button and label back.
        m_view.labelTopTwips = 15;
        m_view.labelText = withoutTrailingSpaces(alarm.Text);
        m_view.labelCentred = false;
        m_view.buttonCaption = TipTexts::OkCaption();
        stopCountdown();
    }
    m_playSeconds = playSecondsOf(alarm.PlayTime);
    if (alarm.PlayTime == 4)
        m_playTimer.stop();
    else
        m_playTimer.start();
    m_playedSeconds = 0;
    m_soundToPlay = FileExists(alarm.Sound) ? CleanString(alarm.Sound) : m_defaultSoundPath;
    m_sound.play(m_soundToPlay);
    alarm.Shown = 1;
    emit viewChanged();
}

void AlarmTip::showMissed(const AlarmRecord& alarm)
{
    // Shown, but neither counted down nor carried out, and without a sound.
    m_view.caption += TipTexts::MissedMark();
    m_view.labelTopTwips = 15;
    m_view.labelText = TipTexts::missedText(alarm.Action, withoutTrailingSpaces(alarm.Text));
    m_view.labelCentred = false;
    m_view.buttonCaption = TipTexts::OkCaption();
    stopCountdown();
    m_playTimer.stop();
    m_sound.stop();
    m_state.table[m_state.CurrentAlarm].Shown = 1;
    emit viewChanged();
}

void AlarmTip::countdownTick()
{
    const qint64 now = m_clock.monotonicMs();
    if (m_clock.bootMs() - now - m_sleptBeforeStartMs > kSleepToleranceMs) {
        cancelCountdownForSleep();
        return;
    }
    // Seconds by the clock, not by ticks: a busy or frozen process still acts 30 s after the start.
    const int elapsed = int((now - m_countdownStartMs) / 1000);
    const int left = std::max(0, TipTexts::CountdownSeconds - elapsed);
    m_view.buttonCaption = TipTexts::cancelCaption(left);
    m_view.labelText = TipTexts::countdownText(m_tipAction, left);
    emit viewChanged();
    if (left == 0) {
        stopCountdown();
        performAction();
        emit finished();
    }
}

void AlarmTip::startCountdown()
{
    m_countdownStartMs = m_clock.monotonicMs();
    m_sleptBeforeStartMs = m_clock.bootMs() - m_countdownStartMs;
    m_countdownTimer.start();
    // Only a running countdown cares about sleep, so the system bus is reached only then.
    m_power.watchSleep([this] { cancelCountdownForSleep(); });
}

void AlarmTip::stopCountdown()
{
    if (!m_countdownTimer.isActive())
        return;
    m_countdownTimer.stop();
    m_power.unwatchSleep();
}

void AlarmTip::cancelCountdownForSleep()
{
    if (!m_countdownTimer.isActive())
        return;
    stopCountdown();
    m_view.labelText = TipTexts::CancelledBySleep();
    m_view.buttonCaption = TipTexts::OkCaption();
    emit viewChanged();
}

void AlarmTip::performAction()
{
    switch (m_tipAction) {
    case ActionShutdown:
        m_power.ShutdownComputer();
        break;
    case ActionRestart:
        m_power.RestartComputer();
        break;
    case ActionLock:
        m_power.LockComputer();
        break;
    case ActionForceShutdown:
        m_power.ForceShutdown();
        break;
    case ActionForceRestart:
        m_power.ForceRestart();
        break;
    default:
        break;
    }
}

void AlarmTip::playTick()
{
    ++m_playedSeconds;
    if (m_playedSeconds >= m_playSeconds) {
        m_sound.stop();
        m_playTimer.stop();
    }
}

void AlarmTip::unload()
{
    stopCountdown();
    m_playTimer.stop();
    m_sound.stop();
    const qint32 k = m_state.CurrentAlarm;
    if (k >= 0 && k < m_state.table.AlarmCount())
        m_state.table[k].Shown = 0;
    m_state.CurrentAlarm = -1;
    m_state.CurrentMissed = false;
    // The next window starts from the designed look.
    m_view = TipView{};
    m_view.buttonCaption = TipTexts::OkCaption();
    m_view.labelTopTwips = TipTexts::LabelTopTwips;
}

} // namespace kiv
