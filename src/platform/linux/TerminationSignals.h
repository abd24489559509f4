#pragma once

#include <QObject>

#include <functional>
#include <memory>

class QSocketNotifier;

namespace kiv {

// Turns SIGTERM, SIGHUP and SIGINT (the end of a desktop session, a closed terminal, Ctrl+C) into a call on
// the event loop. The signal handler only writes a byte to a pipe, the one thing that is safe there; the
// loop reads it and runs the handler. One instance per process.
class TerminationSignals final : public QObject
{
    Q_OBJECT

public:
    explicit TerminationSignals(std::function<void()> onSignal);
    ~TerminationSignals() override;

private:
    void readSignal();

    std::function<void()> m_onSignal;
    std::unique_ptr<QSocketNotifier> m_notifier;
};

} // namespace kiv
