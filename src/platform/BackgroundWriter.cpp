#include "platform/BackgroundWriter.h"

#include <QSaveFile>

QString WriteWhole(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit()) return {};
    const QString reason = file.errorString();
    return reason.isEmpty() ? QStringLiteral("запись не удалась") : reason;
}

BackgroundWriter::BackgroundWriter() : m_thread([this] { run(); }) {}

BackgroundWriter::~BackgroundWriter()
{
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_one();
    m_thread.join();
}

void BackgroundWriter::write(const QString &path, const QByteArray &bytes)
{
    {
        std::lock_guard lock(m_mutex);
        m_pending[path] = bytes;
    }
    m_wake.notify_one();
}

void BackgroundWriter::waitIdle()
{
    std::unique_lock lock(m_mutex);
    m_idle.wait(lock, [this] { return m_pending.empty() && !m_busy; });
}

void BackgroundWriter::run()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_stop || !m_pending.empty(); });
        if (m_pending.empty()) return; // stopping, nothing left to write
        auto next = m_pending.extract(m_pending.begin());
        m_busy = true;
        lock.unlock();
        const QString error = WriteWhole(next.key(), next.mapped());
        emit written(next.key(), error);
        lock.lock();
        m_busy = false;
        if (m_pending.empty()) m_idle.notify_all();
    }
}
