#pragma once

#include "platform/Desktop.h"

#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>

#include "TestWait.h"

// The test editor (test_editor.cpp), another program to type in, as the desktop tests start it.
class TestEditor {
public:
    ~TestEditor()
    {
        if (m_process.state() != QProcess::NotRunning) kill();
    }
    // Starts it in a folder of the test's with a text and a selection; its window id once it
    // has shown its window, else 0.
    WindowId start(const QString &folder, const QString &text = {}, int selectFrom = -1, int selectLength = 0)
    {
        m_state = folder + QStringLiteral("/editor");
        QStringList args{m_state};
        if (!text.isEmpty()) args << text;
        if (selectFrom >= 0) args << QString::number(selectFrom) << QString::number(selectLength);
        m_process.start(QStringLiteral(STENOVA_TEST_EDITOR), args);
        WaitFor([&] { return !read(QStringLiteral(".window")).isEmpty(); }, 10000);
        return read(QStringLiteral(".window")).toULong();
    }
    QString text() const { return read(QStringLiteral(".text")); }
    qint64 processId() const { return m_process.processId(); }
    void kill()
    {
        m_process.kill();
        m_process.waitForFinished();
    }
    int escapesSeen() const { return static_cast<int>(read(QStringLiteral(".keys")).count(QStringLiteral("Escape"))); }

private:
    QString read(const QString &suffix) const
    {
        QFile f(m_state + suffix);
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }
    QProcess m_process;
    QString m_state;
};
