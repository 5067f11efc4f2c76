#pragma once

#include <QObject>

class QSocketNotifier;

// SIGTERM, SIGHUP and SIGINT (the session's end, a shutdown, `kill`, Ctrl+C in a terminal)
// become a request to end the program the normal way, with its saves. The signal handler only
// writes a byte to a pipe; the request comes from the event loop.
class EndSignals : public QObject {
    Q_OBJECT
public:
    EndSignals();
    ~EndSignals() override;

signals:
    void endRequested(int signal);

private:
    QSocketNotifier *m_notifier = nullptr;
};
