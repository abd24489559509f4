#pragma once

#include "platform/AlarmServices.h"

#include <QStringList>

#include <memory>

namespace kiv {

// The alarm sound of the sound module (Qt Multimedia), loaded when the first sound plays: most clocks never
// ring, and Qt Multimedia with the sound server's and the codecs' libraries would cost every clock memory
// from its start. Without the module the sound stays silent, as on a machine without sound.
class LazyAlarmSound final : public AlarmSound
{
public:
    // `modulePaths`: where the module may be, in the order they are tried.
    explicit LazyAlarmSound(QStringList modulePaths);
    ~LazyAlarmSound() override;

    void play(const QString& wavPath) override;
    void stop() override;
    bool loaded() const { return m_sound != nullptr; }

private:
    QStringList m_modulePaths;
    bool m_tried = false;
    std::unique_ptr<AlarmSound> m_sound;
};

// Where the program in `programFolder` finds its sound module: beside it (a build tree), then in the library
// folder of its installation.
QStringList soundModulePaths(const QString& programFolder);

} // namespace kiv
