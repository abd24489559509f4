#pragma once

#include "alarms/AlarmRecord.h"

namespace kiv::test {

// An alarm as the editor stores it: texts padded to their fixed length, the default sound.
inline AlarmRecord alarmAt(int hour, int minute, qint32 action = ActionTip, const QString& text = {},
                           qint32 enabled = 1)
{
    AlarmRecord record;
    record.Time = alarmTimeOf(hour, minute);
    record.Enabled = enabled;
    record.Action = action;
    record.Text = text.leftJustified(255, u' ');
    record.Sound = DefaultSoundText.leftJustified(255, u' ');
    return record;
}

} // namespace kiv::test
