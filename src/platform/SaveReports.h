#pragma once

#include <QSet>
#include <QString>
#include <functional>

class UserMessages;

// Failed saves of the user's files. Each file that fails is said once, in a message naming it
// and the reason, until it is saved again; that is then said in the status line. The caller
// goes on with its other saves and keeps what could not be written.
class SaveReports {
public:
    explicit SaveReports(UserMessages &messages) : m_messages(messages) {}

    // lead: the first line of the message, what could not be done.
    void failed(const QString &path, const QString &reason, const QString &lead);
    void saved(const QString &path);
    bool failing(const QString &path) const { return m_failing.contains(path); }

    std::function<void(const QString &)> showStatus;
    // At an end without a window system: failures are only logged.
    bool quiet = false;

private:
    UserMessages &m_messages;
    QSet<QString> m_failing;
};
