#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>

// Writes files on a thread of its own, each whole or not at all (a temporary file renamed over
// the old one), so that the user's typing never waits for the disk. Of several writes asked
// for one file before the thread gets to it, only the last is made. written() comes on the
// thread that created the writer.
class BackgroundWriter : public QObject {
    Q_OBJECT
public:
    BackgroundWriter();
    ~BackgroundWriter() override; // makes the writes asked for, then ends the thread

    void write(const QString &path, const QByteArray &bytes);
    // Returns once every write asked for has been made.
    void waitIdle();

signals:
    // error: empty when the file was written.
    void written(const QString &path, const QString &error);

private:
    void run();

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    std::map<QString, QByteArray> m_pending;
    bool m_busy = false;
    bool m_stop = false;
    std::thread m_thread;
};

// Writes bytes to path whole or not at all; the reason when it could not.
QString WriteWhole(const QString &path, const QByteArray &bytes);
