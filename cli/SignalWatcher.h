#pragma once

#include <QCoroTask>
#include <QObject>

#include <memory>

class QSocketNotifier;

namespace quorva::cli {

// Turns SIGINT and SIGTERM into an awaitable event on the Qt event loop (through a socket
// pair, the one thing a signal handler may safely touch).
class SignalWatcher : public QObject {
    Q_OBJECT
public:
    SignalWatcher();
    ~SignalWatcher() override;

    // Completes when SIGINT or SIGTERM arrives.
    [[nodiscard]] QCoro::Task<> received();

signals:
    void signalled();

private:
    std::unique_ptr<QSocketNotifier> m_notifier;
};

} // namespace quorva::cli
