#pragma once

#include "platform/Desktop.h"

#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>

#include "TestWait.h"

// The test editor, another program to type in, as the desktop tests start it: the Qt one
// (test_editor.cpp) or, with its command, the GTK one (gtk_editor.py).
class TestEditor {
public:
    explicit TestEditor(QStringList command = {QStringLiteral(STENOVA_TEST_EDITOR)}) : m_command(std::move(command)) {}
    // Which editor the next start starts.
    void setCommand(QStringList command) { m_command = std::move(command); }
#ifdef STENOVA_GTK_EDITOR
    static QStringList Gtk() { return {QStringLiteral("/usr/bin/python3"), QStringLiteral(STENOVA_GTK_EDITOR)}; }
#endif
    ~TestEditor()
    {
        if (m_process.state() != QProcess::NotRunning) kill();
    }
    // Starts it in a folder of the test's with a text and a selection; its window id once it
    // has shown its window, else 0.
    WindowId start(const QString &folder, const QString &text = {}, int selectFrom = -1, int selectLength = 0)
    {
        m_state = folder + QStringLiteral("/editor");
        for (const char *suffix : {".window", ".text", ".keys"}) QFile::remove(m_state + QLatin1String(suffix));
        QStringList args = m_command.mid(1) << m_state;
        if (!text.isEmpty()) args << text;
        if (selectFrom >= 0) args << QString::number(selectFrom) << QString::number(selectLength);
        m_process.start(m_command.first(), args);
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
    QStringList m_command;
    QProcess m_process;
    QString m_state;
};
