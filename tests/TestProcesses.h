#pragma once

#include "TestWait.h"

#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>
#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstdint>
#include <unistd.h>

// Processes as the tests see them, from kill(2) and /proc.

inline bool ProcessGone(std::int64_t pid) { return ::kill(static_cast<pid_t>(pid), 0) == -1 && errno == ESRCH; }

// The state letter of a process ('T' stopped), from /proc; 0 when it is gone.
inline char ProcessState(std::int64_t pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly)) return 0;
    const QByteArray line = stat.readAll();
    const qsizetype at = line.lastIndexOf(')') + 2;
    return at > 1 && at < line.size() ? line[at] : 0;
}

// Stops a process with SIGSTOP until resume() or the end of the scope, also when a test fails.
class StoppedProcess {
public:
    explicit StoppedProcess(std::int64_t pid) : m_pid(static_cast<pid_t>(pid))
    {
        EXPECT_EQ(::kill(m_pid, SIGSTOP), 0);
        EXPECT_TRUE(WaitFor([&] { return ProcessState(m_pid) == 'T'; }, 2000)) << "the process did not stop";
    }
    ~StoppedProcess() { resume(); }
    StoppedProcess(const StoppedProcess &) = delete;
    StoppedProcess &operator=(const StoppedProcess &) = delete;
    void resume()
    {
        if (m_pid > 0 && !ProcessGone(m_pid)) ::kill(m_pid, SIGCONT);
        m_pid = 0;
    }

private:
    pid_t m_pid;
};

// Processes whose parent is this test program, zombies included.
inline QStringList ChildProcesses()
{
    QStringList children;
    const QString me = QString::number(::getpid());
    for (const QString &entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(entry));
        if (!stat.open(QIODevice::ReadOnly)) continue;
        const QString line = QString::fromLocal8Bit(stat.readAll());
        // "pid (comm) state ppid ...": the command name may contain spaces, so split after ')'.
        const QStringList rest = line.mid(line.lastIndexOf(u')') + 2).split(u' ');
        if (rest.size() > 1 && rest[1] == me) children << entry + u' ' + line.section(u' ', 1, 1);
    }
    return children;
}
