#pragma once

// Helpers of the tests that run the real program on the private X server of tests/system/with-desktop.sh.
// The including test defines KIVCLOCK, the program's path.

#include "KivTest.h"
#include "settings/Registry.h"
#include "settings/RegistryKeys.h"

namespace kiv::test {

// Runs xdotool; what it printed, trimmed.
inline QString xdotool(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral("xdotool"), arguments);
    process.waitForFinished(10000);
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

// The visible windows whose captions match the regular expression `pattern`.
inline QStringList windowsCaptioned(const QString& pattern)
{
    return xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"), pattern})
        .split(u'\n', Qt::SkipEmptyParts);
}

// The first window captioned `pattern`, once there is one; empty after `timeout` milliseconds.
inline QString waitForWindow(const QString& pattern, int timeout = 20000)
{
    QStringList found;
    const auto shown = [&] { return !(found = windowsCaptioned(pattern)).isEmpty(); };
    return QTest::qWaitFor(shown, timeout) ? found[0] : QString();
}

// Folders of their own for clocks run as programs: configuration, data, and a runtime folder that only
// this user may enter.
class ClockHome
{
public:
    ClockHome()
    {
        QDir(m_dir.path()).mkpath(QStringLiteral("runtime"));
        QFile::setPermissions(filePath(QStringLiteral("runtime")),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
    QString filePath(const QString& name) const { return m_dir.filePath(name); }
    QString registryPath() const { return filePath(QStringLiteral("config/KivSoft/Kiv Clock/registry.reg")); }
    // A value of the default clock's settings record in the store of these folders.
    RegistryValue stored(const QString& name) const
    {
        return Registry(registryPath()).ReadRegistryValue(clockKeyPath(QStringLiteral("Default")), name);
    }
    // Starts the clock `name` in these folders.
    void start(QProcess& process, const QString& name) const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), filePath(QStringLiteral("config")));
        env.insert(QStringLiteral("XDG_DATA_HOME"), filePath(QStringLiteral("data")));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), filePath(QStringLiteral("runtime")));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(KIVCLOCK), {name});
        process.waitForStarted(5000);
    }

private:
    QTemporaryDir m_dir;
};

} // namespace kiv::test
