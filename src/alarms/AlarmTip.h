#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

namespace kiv {

class AlarmSound;
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

namespace TipTexts {
inline const QString WindowTitle = QStringLiteral("报警提示");
inline const QString OkCaption = QStringLiteral("确定(&O)");
constexpr int ClientWidthTwips = 6525;
constexpr int ClientHeightTwips = 4185;
constexpr int LabelTopTwips = 225;
constexpr int CountdownSeconds = 30;
// The countdown's label for a power action with `seconds` left.
QString countdownText(qint32 action, int seconds);
QString cancelCaption(int seconds);
} // namespace TipTexts

// The alarm tip window's behaviour: its texts, the 30-second countdown before a power action, and the
// alarm sound for its play time. The window only shows the view and forwards its button and close box.
class AlarmTip final : public QObject
{
    Q_OBJECT

public:
    AlarmTip(AlarmState& state, const ClockSettings& settings, QString clockName, QString defaultSoundPath,
             AlarmSound& sound, PowerActions& power);

    // Fills the view for the current alarm, starts its countdown or shows its text, and starts its sound.
    void ShowTip();
    // Timer1, once a second during a countdown: the next number, and the power action at 0.
    void countdownTick();
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
    void performAction();

    AlarmState& m_state;
    const ClockSettings& m_settings;
    QString m_clockName;
    QString m_defaultSoundPath;
    AlarmSound& m_sound;
    PowerActions& m_power;
    TipView m_view;
    qint32 m_tipAction = 0;
    int m_countdown = 0;
    int m_playSeconds = 0;
    int m_playedSeconds = 0;
    QString m_soundToPlay;
    QTimer m_countdownTimer; // Timer1
    QTimer m_playTimer;      // Timer2
};

} // namespace kiv
