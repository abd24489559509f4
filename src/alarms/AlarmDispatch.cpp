#include "alarms/AlarmDispatch.h"

#include "platform/AlarmServices.h"
#include "core/TextUtils.h"

namespace kiv {

AlarmDispatcher::AlarmDispatcher(AlarmState& state, TipWindowPresenter& tip, DocumentOpener& opener)
    : m_state(state), m_tip(tip), m_opener(opener)
{}

void AlarmDispatcher::CheckAlarms(const QDateTime& zoneTime)
{
    const AlarmTable& table = m_state.table;
    if (table.AlarmCount() == 0)
        return;
    m_nowMinute = zoneTime.time().toString(QStringLiteral("HH:mm"));
    // The minute is remembered with its date: a daily alarm fires again the next day even when no other
    // alarm fired in between.
    const QString nowDateMinute = zoneTime.date().toString(Qt::ISODate) + u' ' + m_nowMinute;
    if (nowDateMinute == m_lastFiredMinute)
        return;
    for (qint32 i = 0; i < table.AlarmCount(); ++i) {
        if (table[i].Enabled != 1 || alarmTimeText(table[i].Time) != m_nowMinute)
            continue;
        ProcessAlarm(i);
        m_lastFiredMinute = nowDateMinute;
        return;
    }
}

void AlarmDispatcher::ProcessAlarm(qint32 alarmNo)
{
    AlarmRecord& alarm = m_state.table[alarmNo];
    if (alarm.Action >= ActionTip && alarm.Action <= ActionForceRestart) {
        if (m_state.CurrentAlarm < 0 || !m_tip.isOpen()) {
            m_state.CurrentAlarm = alarmNo;
            m_tip.open();
        } else {
            // The alarm that was showing loses the window to the new one.
            m_state.table[m_state.CurrentAlarm].Shown = 0;
            m_state.CurrentAlarm = alarmNo;
            m_tip.showTip();
        }
    } else if (alarm.Action == ActionRun) {
        m_opener.open(CleanString(alarm.Text));
    }
}

} // namespace kiv
