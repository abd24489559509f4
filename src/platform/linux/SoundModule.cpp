// The sound module's entry point: the program loads this module when its first alarm sound plays.
#include "platform/linux/QtAlarmSound.h"

extern "C" Q_DECL_EXPORT kiv::AlarmSound* kivCreateAlarmSound()
{
    return new kiv::QtAlarmSound;
}
