// How long one change of the settings store waits when 8 clock processes change it at once: every
// process makes 125 changes (1,000 in all) and the time of each is measured. Prints the median, the 99th
// percentile and the maximum in milliseconds, and how many changes were refused.
#include "settings/Registry.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace kiv;

namespace {

constexpr int kProcesses = 8;
constexpr int kChangesEach = 125;

void changeStore(const QString& file, int process, int pipeFd)
{
    Registry registry(file);
    const QString key = QStringLiteral("HKEY_CURRENT_USER\\Software\\Kiv Clock\\Clock %1").arg(process);
    for (int i = 0; i < kChangesEach; ++i) {
        QElapsedTimer timer;
        timer.start();
        const qint32 result = registry.WriteRegistryValue(key, QStringLiteral("Value"), QString::number(i), RegDword);
        const double ms = result == RegSuccess ? double(timer.nsecsElapsed()) / 1e6 : -1.0;
        [[maybe_unused]] const ssize_t written = ::write(pipeFd, &ms, sizeof ms);
    }
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("registry.reg"));
    int fds[2];
    if (::pipe(fds) != 0)
        return 1;
    std::vector<pid_t> children;
    for (int p = 0; p < kProcesses; ++p) {
        const pid_t child = ::fork();
        if (child == 0) {
            ::close(fds[0]);
            changeStore(file, p, fds[1]);
            ::_exit(0);
        }
        children.push_back(child);
    }
    ::close(fds[1]);
    std::vector<double> times;
    int refused = 0;
    double ms = 0;
    while (::read(fds[0], &ms, sizeof ms) == sizeof ms) {
        if (ms < 0)
            ++refused;
        else
            times.push_back(ms);
    }
    for (const pid_t child : children)
        ::waitpid(child, nullptr, 0);
    std::sort(times.begin(), times.end());
    const auto at = [&](double fraction) { return times.empty() ? 0.0 : times[size_t(fraction * double(times.size() - 1))]; };
    std::printf("%d processes, %zu changes: median %.2f ms, 99th percentile %.2f ms, maximum %.2f ms, refused %d\n",
                kProcesses, times.size(), at(0.5), at(0.99), times.empty() ? 0.0 : times.back(), refused);
    return refused == 0 ? 0 : 1;
}
