#pragma once

#include "alarms/AlarmFile.h"

#include <QDateTime>
#include <QSet>

namespace kiv {

class DocumentOpener;
class TipWindowPresenter;

// The alarms of the clock and the one the tip window shows.
struct AlarmState
{
    AlarmTable table;
    qint32 CurrentAlarm = -1; // index of the alarm in the tip window, -1 when it is closed
    // The current alarm's minute passed while the clock was not looking (suspend, the clock set forward):
    // the tip says it was missed, and a power action is not carried out.
    bool CurrentMissed = false;
};

// Fires the clock's alarms by the time its face shows, at most one per minute, and each alarm at most
// once for its minute of a day, also when the clock is set back across it. Minutes the check did not see
// (the clock set forward, a suspend) fire late when the gap is short; after a longer gap their alarms are
// shown as missed, and a power action is never carried out late.
class AlarmDispatcher
{
public:
    // Gaps shorter than this many minutes are caught up late; longer ones are reported missed.
    static constexpr int LateMinutes = 5;

    AlarmDispatcher(AlarmState& state, TipWindowPresenter& tip, DocumentOpener& opener);
    // Once a second, with the clock's zone time.
    void CheckAlarms(const QDateTime& zoneTime);
    // Opens or refills the tip window for a tip or power alarm; opens the target of a run alarm. A missed
    // alarm only shows in the tip window.
    void ProcessAlarm(qint32 alarmNo, bool missed = false);

private:
    // Fires the first enabled alarm of `minute` unless one already fired for it; true when one did.
    bool fireMinute(const QDateTime& minute, bool missed);

    AlarmState& m_state;
    TipWindowPresenter& m_tip;
    DocumentOpener& m_opener;
    QDateTime m_lastMinute;      // the minute of the latest check
    QSet<qint64> m_firedMinutes; // minutes (since 1970, in zone time) that fired, of the last two days
};

} // namespace kiv
