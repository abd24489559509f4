#include "platform/linux/QtAlarmSound.h"

#include "core/Logging.h"

#include <QAudioDevice>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

namespace kiv {

QtAlarmSound::QtAlarmSound() = default;

QtAlarmSound::~QtAlarmSound() = default;

void QtAlarmSound::play(const QString& wavPath)
{
    stop();
    // Without an output there is nothing to play on; Qt would neither fail nor play.
    if (QMediaDevices::audioOutputs().isEmpty()) {
        qCInfo(lcDesktop) << "no sound output: the alarm sound stays silent";
        return;
    }
    qCDebug(lcDesktop) << "playing" << wavPath;
    // A fresh effect per sound: a new alarm's sound replaces the one playing.
    m_effect = std::make_unique<QSoundEffect>();
    m_effect->setLoopCount(QSoundEffect::Infinite);
    m_effect->setSource(QUrl::fromLocalFile(wavPath));
    m_effect->play();
}

void QtAlarmSound::stop()
{
    if (m_effect)
        m_effect->stop();
    m_effect.reset();
}

} // namespace kiv
