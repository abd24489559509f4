#include "platform/linux/LazyAlarmSound.h"

#include "core/Logging.h"

#include <QLibrary>

namespace kiv {

LazyAlarmSound::LazyAlarmSound(QStringList modulePaths) : m_modulePaths(std::move(modulePaths)) {}

LazyAlarmSound::~LazyAlarmSound() = default;

void LazyAlarmSound::play(const QString& wavPath)
{
    if (!m_tried) {
        m_tried = true;
        using Create = AlarmSound* (*)();
        for (const QString& path : std::as_const(m_modulePaths)) {
            // The module stays loaded for the life of the process: the sound it made lives as long.
            QLibrary module(path);
            if (const auto create = reinterpret_cast<Create>(module.resolve("kivCreateAlarmSound"))) {
                m_sound.reset(create());
                break;
            }
        }
        if (!m_sound)
            qCWarning(lcDesktop).noquote() << "no sound module in" << m_modulePaths << "- alarms stay silent";
    }
    if (m_sound)
        m_sound->play(wavPath);
}

void LazyAlarmSound::stop()
{
    if (m_sound)
        m_sound->stop();
}

QStringList soundModulePaths(const QString& programFolder)
{
    const QString file = QStringLiteral("/kivclock_sound.so");
    return {programFolder + file, programFolder + QStringLiteral("/" KIV_SOUND_MODULE_FROM_PROGRAM) + file};
}

} // namespace kiv
