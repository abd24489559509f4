#pragma once

#include "timezone/ZoneTime.h"

#include <QCoreApplication>
#include <QObject>
#include <QString>
#include <QTimer>

namespace kiv {

class AlarmSound;
struct AlarmRecord;
class PowerActions;
struct AlarmState;
struct ClockSettings;

// What the tip window shows.
struct TipView
{
    QString caption;
    QString labelText;
    QString buttonCaption;
    bool labelCentred = false;
    int labelTopTwips = 0;

    bool operator==(const TipView&) const = default;
};

// The tip window's texts and measures.
struct TipTexts
{
    Q_DECLARE_TR_FUNCTIONS(kiv::TipTexts)

public:
    static QString OkCaption() { return tr("确定(&O)"); }
    static constexpr int ClientWidthTwips = 6525;
    static constexpr int ClientHeightTwips = 4185;
    static constexpr int LabelTopTwips = 225;
    static constexpr int CountdownSeconds = 30;
    // The countdown's label for a power action with `seconds` left.
    static QString countdownText(qint32 action, int seconds);
    static QString cancelCaption(int seconds);
    // The label of an alarm whose minute passed while the clock was not looking (suspend, a clock set forward).
    static QString missedText(qint32 action, const QString& alarmText);
    static QString MissedMark() { return tr("  (已错过)"); }
    static QString CancelledBySleep() { return tr("计算机休眠了, 倒计时已取消, 没有执行操作."); }
};

// The alarm tip window's behaviour: its texts, the 30-second countdown before a power action, and the
// alarm sound for its play time. The window only shows the view and forwards its button and close box.
class AlarmTip final : public QObject
{
    Q_OBJECT

public:
    AlarmTip(AlarmState& state, const ClockSettings& settings, QString clockName, QString defaultSoundPath,
             AlarmSound& sound, PowerActions& power, const CountdownClock& clock = systemCountdownClock());
    ~AlarmTip() override;

    // Fills the view for the current alarm, starts its countdown or shows its text, and starts its sound.
    void ShowTip();
    // Timer1, once a second during a countdown: the seconds left until 30 s after the countdown began, and
    // the power action then. A countdown during which the computer slept is cancelled, never carried out.
    void countdownTick();
    // The computer is about to sleep: a countdown is cancelled.
    void cancelCountdownForSleep();
    // Timer2, once a second while the sound plays: stops it when the play time is over.
    void playTick();
    // The window is going away: stops the sound, cancels a countdown and frees the current alarm.
    void unload();

    const TipView& view() const { return m_view; }
    bool countdownActive() const { return m_countdownTimer.isActive(); }
    bool playTimerActive() const { return m_playTimer.isActive(); }
    const QString& soundToPlay() const { return m_soundToPlay; }

signals:
    void viewChanged();
    // The countdown performed its action: the window closes.
    void finished();

private:
    void startCountdown();
    void stopCountdown();
    void performAction();
    void showMissed(const AlarmRecord& alarm);

    AlarmState& m_state;
    const ClockSettings& m_settings;
    QString m_clockName;
    QString m_defaultSoundPath;
    AlarmSound& m_sound;
    PowerActions& m_power;
    TipView m_view;
    qint32 m_tipAction = 0;
    const CountdownClock& m_clock;
    qint64 m_countdownStartMs = 0;  // monotonic
    qint64 m_sleptBeforeStartMs = 0; // boot time less monotonic time at the start
    int m_playSeconds = 0;
    int m_playedSeconds = 0;
    QString m_soundToPlay;
    QTimer m_countdownTimer; // Timer1
    QTimer m_playTimer;      // Timer2
};

} // namespace kiv
