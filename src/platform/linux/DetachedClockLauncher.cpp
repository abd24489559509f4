#include "platform/linux/DetachedClockLauncher.h"

#include <QProcess>

namespace kiv {

bool DetachedClockLauncher::startClock(const QString& clockName)
{
    return QProcess::startDetached(m_program, {clockName});
}

} // namespace kiv
