#pragma once

#include "platform/AlarmServices.h"

#include <memory>

class QSoundEffect;

namespace kiv {

// Loops a WAV file through the user's sound server with Qt Multimedia. With no audio output, or a file
// that cannot be played, it stays silent.
class QtAlarmSound final : public AlarmSound
{
public:
    QtAlarmSound();
    ~QtAlarmSound() override;

    void play(const QString& wavPath) override;
    void stop() override;

private:
    std::unique_ptr<QSoundEffect> m_effect;
};

} // namespace kiv
