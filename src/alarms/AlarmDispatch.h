#pragma once

#include "alarms/AlarmFile.h"

#include <QDateTime>

namespace kiv {

class DocumentOpener;
class TipWindowPresenter;

// The alarms of the clock and the one the tip window shows.
struct AlarmState
{
    AlarmTable table;
    qint32 CurrentAlarm = -1; // index of the alarm in the tip window, -1 when it is closed
};

// Fires the clock's alarms by the time its face shows, at most one per minute.
class AlarmDispatcher
{
public:
    AlarmDispatcher(AlarmState& state, TipWindowPresenter& tip, DocumentOpener& opener);

    // Once a second, with the clock's zone time: fires the first enabled alarm of the minute shown, unless
    // one already fired in that minute.
    void CheckAlarms(const QDateTime& zoneTime);
    // Opens or refills the tip window for a tip or power alarm; opens the target of a run alarm.
    void ProcessAlarm(qint32 alarmNo);

private:
    AlarmState& m_state;
    TipWindowPresenter& m_tip;
    DocumentOpener& m_opener;
    QString m_nowMinute;       // "HH:mm" of the latest check
    QString m_lastFiredMinute; // date and "HH:mm" of the latest firing
};

} // namespace kiv
