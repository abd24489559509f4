#include "core/Logging.h"

namespace kiv {

Q_LOGGING_CATEGORY(lcStartup, "kiv.startup", QtWarningMsg)
Q_LOGGING_CATEGORY(lcStore, "kiv.store", QtWarningMsg)
Q_LOGGING_CATEGORY(lcAlarms, "kiv.alarms", QtWarningMsg)
Q_LOGGING_CATEGORY(lcInstances, "kiv.instances", QtWarningMsg)
Q_LOGGING_CATEGORY(lcDesktop, "kiv.desktop", QtWarningMsg)

} // namespace kiv
