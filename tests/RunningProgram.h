#pragma once

// The real program, built by the same composition root as main() on the real players (null
// audio output), Qt's timers and dialogs and the X11 desktop of the virtual X server that the
// test script starts; driven only as a user or the desktop drives it: its controls, its
// dialogs, keys from XTest, the media-player interface on the session bus, its files.
#include "base/KeyCodes.h"
#include "base/MediaTime.h"
#include "app/RealProgram.h"
#include "forms/TForm1.h"
#include "automation/GlobalHotKey.h"
#include "playback/PlayerFacade.h"
#include "playback/TFormWMP.h"
#include "playback/TMPCHC.h"

#include <QAbstractButton>
#include <QLabel>
#include <QPushButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <gtest/gtest.h>
#include <vector>

#include "QtPrinters.h"
#include "TestEditor.h"
#include "TestMedia.h"

class RunningProgram : public ::testing::Test {
protected:
    static PlayerOptions silent() { return {{{"ao", "null"}}, {QStringLiteral("--ao=null")}}; }

    void SetUp() override
    {
        ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb")) << "run on an X server";
        ASSERT_TRUE(keys.observing());
        qputenv("STENOVA_HOME", home.path().toUtf8());
        QObject::connect(&dialogWatch, &QTimer::timeout, [this] { answerDialogs(); });
        dialogWatch.start(20);
    }
    void TearDown() override
    {
        real.reset();
        dialogWatch.stop();
        qunsetenv("STENOVA_HOME");
    }

    void startProgram(const QStringList &args = {}, const PlayerOptions &options = silent())
    {
        real = std::make_unique<RealProgram>(QStringList{QStringLiteral("stenova")} + args, options);
        ASSERT_TRUE(waitUntil([&] { return form().windowHandle() && form().windowHandle()->isExposed(); }, 5000));
    }
    Program &program() { return real->program(); }
    TForm1 &form() { return *program().Form1(); }
    PlayerFacade &player() { return program().player(); }
    QString recording(const QString &name, double seconds)
    {
        const QString path = MakeTestRecording(home.path(), name, seconds);
        EXPECT_FALSE(path.isEmpty()) << "ffmpeg made no " << name.toStdString();
        return path;
    }

    // The user's mouse on a control.
    void click(QWidget *w) { QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center()); }
    // The open dialog, answered with a path typed into its file name.
    void openThroughDialog(const QString &path)
    {
        fileToChoose = path;
        click(form().Button1);
        ASSERT_TRUE(fileToChoose.isEmpty()) << "no open dialog came";
        ASSERT_EQ(program().session().CurrentMediaPath, path);
    }
    // A seek by the position bar, as dragging it does.
    void seekBar(int ms)
    {
        form().TrackBar1->tag = SeekUser;
        form().TrackBar1->setValue(ms);
    }
    // What the window shows as the position.
    int shownMs() { return TimeTextToMs(form().Label1->text() + u'.' + form().Label11->text()); }
    // Waits without spinning, so that the players keep real time on a busy machine.
    static void pause(int ms)
    {
        QEventLoop loop;
        QTimer::singleShot(ms, &loop, &QEventLoop::quit);
        loop.exec();
    }
    static bool waitUntil(const std::function<bool()> &done, int ms = 5000)
    {
        QElapsedTimer t;
        t.start();
        while (!done() && t.elapsed() < ms) pause(5);
        return done();
    }

    // Keys from XTest, as a typist presses them, 50 ms apart. They go out from timers, so that
    // they keep going while a hot key's modal dialog runs its own event loop inside the wait:
    // a key held down until the dialog closed would repeat and open the dialog again.
    void press(const std::vector<std::pair<int, bool>> &sequence)
    {
        int sent = 0;
        QObject context;
        for (size_t i = 0; i < sequence.size(); ++i)
            QTimer::singleShot(int(i) * 50, &context, [this, &sent, step = sequence[i]] {
                keys.sendKey({step.first, 0, false, !step.second});
                ++sent;
            });
        waitUntil([&] { return sent == int(sequence.size()); });
        pause(20);
    }
    void tap(int vk) { press({{vk, true}, {vk, false}}); }
    void combo(std::initializer_list<int> modifiers, int vk)
    {
        std::vector<std::pair<int, bool>> sequence;
        for (int m : modifiers) sequence.emplace_back(m, true);
        sequence.insert(sequence.end(), {{vk, true}, {vk, false}});
        for (int m : modifiers) sequence.emplace_back(m, false);
        press(sequence);
        pause(150); // the hot key's handler runs from the event loop
    }

    // Text typed with XTest by xdotool. A letter missing from the keyboard map (the Cyrillic
    // ones) is first given a spare key of its own, for good: xdotool would otherwise map one
    // for each letter and take it back as soon as it is typed, and a program that reads the
    // key after that gets no letter. Each letter is waited for in what the control shows.
    void typeWithXTest(const QString &text, const std::function<QString()> &shown)
    {
        mapLettersOnSpareKeys(text);
        const QString before = shown();
        for (qsizetype i = 0; i < text.size(); ++i) {
            const QString expected = before + text.left(i + 1);
            QProcess xdotool;
            xdotool.start(QStringLiteral("xdotool"), {QStringLiteral("type"), text.mid(i, 1)});
            ASSERT_TRUE(waitUntil([&] { return xdotool.state() == QProcess::NotRunning; }, 10000));
            ASSERT_TRUE(waitUntil([&] { return shown() == expected; }, 3000)) << shown().toStdString();
        }
    }
    static void mapLettersOnSpareKeys(const QString &text)
    {
        QProcess map;
        map.start(QStringLiteral("xmodmap"), {QStringLiteral("-pke")});
        map.waitForFinished(10000);
        const QStringList lines = QString::fromLatin1(map.readAllStandardOutput()).split(u'\n');
        QStringList spare; // "keycode  93 =" with nothing after it; keycode 8 is not a key
        for (const QString &line : lines) {
            const QStringList words = line.simplified().split(u' ');
            if (words.size() == 3 && words[1].toInt() > 8) spare << words[1];
        }
        const QString mapped = lines.join(u' ') + u' ';
        QStringList changes;
        for (const QChar c : text) {
            const QString keysym = QStringLiteral("U%1").arg(c.unicode(), 4, 16, QLatin1Char('0')).toUpper();
            if (c.unicode() < 0x80 || mapped.contains(u' ' + keysym + u' ') || changes.join(u' ').contains(keysym) ||
                spare.isEmpty())
                continue;
            changes << QStringLiteral("keycode %1 = %2 %2").arg(spare.takeFirst(), keysym);
        }
        if (changes.isEmpty()) return;
        QStringList args;
        for (const QString &change : changes) args << QStringLiteral("-e") << change;
        QProcess::execute(QStringLiteral("xmodmap"), args);
        pause(300); // the programs read the new keyboard map
    }

    // The main window ended by the window manager's Alt+F4, as a user ends the program.
    void endWithAltF4()
    {
        form().activateWindow();
        ASSERT_TRUE(waitUntil([&] { return keys.foreground() == form().winId(); }));
        combo({VK::Alt}, VK::F4);
        ASSERT_TRUE(waitUntil([&] { return !form().isVisible(); }));
        real.reset();
    }

    // The test editor, another program, with the focus.
    void startEditor(const QString &text = {}, int selectFrom = -1, int selectLength = 0)
    {
        // The video window shown at start-up comes forward a moment after it shows: the
        // editor starts after that, as a user's would.
        if (real) {
            ASSERT_TRUE(waitUntil([&] { return !program().FormWMP()->Timer1->isActive(); }));
        }
        editorWindow = editor.start(home.path(), text, selectFrom, selectLength);
        ASSERT_NE(editorWindow, 0u) << "the test editor showed no window";
        ASSERT_TRUE(waitUntil([&] { return keys.foreground() == editorWindow; }, 5000));
    }

    // playerctl, as desktop controls and media keys use the program; the program keeps
    // answering while it waits.
    QString playerctl(const QStringList &args)
    {
        QProcess p;
        p.start(QStringLiteral("playerctl"), QStringList{QStringLiteral("-p"), QStringLiteral("stenova")} + args);
        waitUntil([&] { return p.state() == QProcess::NotRunning; }, 5000);
        return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
    }

    QTemporaryDir home;
    X11Desktop keys; // the test's own connection: XTest keys and window queries
    std::unique_ptr<RealProgram> real;
    QStringList messages; // texts of the message boxes the program showed
    QString fileToChoose;
    int cancelledFileDialogs = 0;
    bool mainShownAtDialog = false; // the main window was shown when a file dialog came
    TestEditor editor;
    WindowId editorWindow = 0;

private:
    // Message boxes are read and closed with their default button, as a user would; the open
    // dialog gets the path the test chose.
    void answerDialogs()
    {
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (!w->isVisible()) continue;
            if (auto *box = qobject_cast<QMessageBox *>(w)) {
                messages << box->text();
                QAbstractButton *ok = box->defaultButton();
                if (!ok) ok = box->buttons().value(0);
                if (ok) ok->click();
                else box->reject();
            } else if (auto *dialog = qobject_cast<QFileDialog *>(w)) {
                if (fileToChoose.isEmpty()) { // nothing to choose: the user cancels
                    ++cancelledFileDialogs;
                    for (QWidget *top : QApplication::topLevelWidgets())
                        if (top->objectName() == QLatin1String("Form1") && top->isVisible()) mainShownAtDialog = true;
                    dialog->reject();
                    continue;
                }
                auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
                if (!name) continue;
                name->setText(fileToChoose);
                fileToChoose.clear();
                QTest::keyClick(name, Qt::Key_Return);
            }
        }
    }
    QTimer dialogWatch;
};
