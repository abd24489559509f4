#include "alarms/AlarmDispatch.h"

#include "core/Logging.h"
#include "core/TextUtils.h"
#include "platform/AlarmServices.h"

#include <algorithm>

namespace kiv {

AlarmDispatcher::AlarmDispatcher(AlarmState& state, TipWindowPresenter& tip, DocumentOpener& opener)
    : m_state(state), m_tip(tip), m_opener(opener)
{}

namespace {

QDateTime minuteOf(const QDateTime& time)
{
    return QDateTime(time.date(), QTime(time.time().hour(), time.time().minute()), Qt::UTC);
}

qint64 minuteNumber(const QDateTime& minute)
{
    return minute.toSecsSinceEpoch() / 60;
}

constexpr qint64 kTwoDaysOfMinutes = 2 * 24 * 60;

} // namespace

void AlarmDispatcher::CheckAlarms(const QDateTime& zoneTime)
{
    const QDateTime now = minuteOf(zoneTime);
    const QDateTime last = m_lastMinute.isValid() ? m_lastMinute : now;
    m_lastMinute = now;
    if (m_state.table.AlarmCount() == 0)
        return;
    // Minutes skipped since the last check, oldest first; a clock set back skips none.
    const qint64 skipped = std::max<qint64>(0, minuteNumber(now) - minuteNumber(last) - 1);
    const bool late = skipped < LateMinutes;
    for (qint64 i = std::max<qint64>(0, skipped - kTwoDaysOfMinutes); i < skipped; ++i)
        fireMinute(last.addSecs((i + 1) * 60), !late);
    fireMinute(now, false);
    // What fired more than two days ago cannot come round again by setting the clock back.
    const qint64 oldest = minuteNumber(now) - kTwoDaysOfMinutes;
    m_firedMinutes.removeIf([oldest](qint64 minute) { return minute < oldest; });
}

bool AlarmDispatcher::fireMinute(const QDateTime& minute, bool missed)
{
    const qint64 number = minuteNumber(minute);
    if (m_firedMinutes.contains(number))
        return false;
    const QString text = minute.time().toString(QStringLiteral("HH:mm"));
    const AlarmTable& table = m_state.table;
    for (qint32 i = 0; i < table.AlarmCount(); ++i) {
        if (table[i].Enabled != 1 || alarmTimeText(table[i].Time) != text)
            continue;
        ProcessAlarm(i, missed);
        m_firedMinutes.insert(number);
        return true;
    }
    return false;
}

void AlarmDispatcher::ProcessAlarm(qint32 alarmNo, bool missed)
{
    AlarmRecord& alarm = m_state.table[alarmNo];
    qCInfo(lcAlarms) << "alarm" << alarmNo << "with action" << alarm.Action << (missed ? "was missed" : "is due");
    if (missed || (alarm.Action >= ActionTip && alarm.Action <= ActionForceRestart)) {
        if (m_state.CurrentAlarm < 0 || !m_tip.isOpen()) {
            m_state.CurrentAlarm = alarmNo;
            m_state.CurrentMissed = missed;
            m_tip.open();
        } else {
            // The alarm that was showing loses the window to the new one.
            m_state.table[m_state.CurrentAlarm].Shown = 0;
            m_state.CurrentAlarm = alarmNo;
            m_state.CurrentMissed = missed;
            m_tip.showTip();
        }
    } else if (alarm.Action == ActionRun) {
        m_opener.open(CleanString(alarm.Text));
    }
}

} // namespace kiv
