#pragma once

#include "app/Program.h"
#include "doubles/FakeScrollLock.h"
#include "doubles/RecordedSounds.h"
#include "doubles/RecordedMessages.h"
#include "doubles/RecordingMpcTransport.h"
#include "app/MediaOpener.h"
#include "forms/TForm1.h"
#include "doubles/FakeDesktop.h"
#include "platform/ScrollLock.h"
#include "platform/SoundPlayer.h"
#include "platform/UserMessages.h"
#include "doubles/VirtualClock.h"
#include "doubles/FakeEngines.h"
#include "playback/TMPCHC.h"

#include <QDir>
#include <QTemporaryDir>
#include "QtPrinters.h"

#include <gtest/gtest.h>

// The whole program on test doubles: a virtual clock, an in-memory Scroll Lock and
// recorded message boxes, with its folder in a fresh temporary directory.
class ProgramTest : public ::testing::Test {
protected:
    ProgramTest() { qputenv("STENOVA_HOME", home.path().toUtf8()); }
    ~ProgramTest() override
    {
        program.reset(); // its shutdown writes the settings into the home folder
        qunsetenv("STENOVA_HOME");
    }

    // Creates the program with a command line (the program's own path comes first).
    // stand_in: the parts not built yet; by default they do nothing and record their calls.
    Program &start(const QStringList &args = {}, std::unique_ptr<PendingParts> stand_in = nullptr)
    {
        program = std::make_unique<Program>(
            Platform{clock, scrollLock, messages, mpc, mci, wmp, sound, desktop, mixer, masterVolume},
            QStringList{QStringLiteral("stenova")} + args, std::move(stand_in));
        return *program;
    }
    TForm1 &form() { return *program->Form1(); }
    // What a previous run in this test left for the next start: setting.ini and the media
    // settings files. A test that starts the program again for another case begins afresh.
    void forgetSettings()
    {
        program.reset();
        QFile::remove(home.filePath(QStringLiteral("setting.ini")));
        QDir(home.filePath(QStringLiteral("AvtoSave"))).removeRecursively();
    }

    // A file that exists, for the command line and for drops.
    QString mediaFile(const QString &name = QStringLiteral("talk.wav"))
    {
        const QString path = home.filePath(name);
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write("RIFF");
        return path;
    }

    // Opens a recording of the given length in the test players, as the user would.
    QString openMedia(const QString &name = QStringLiteral("talk.wav"), int lengthMs = 60000)
    {
        const QString path = mediaFile(name);
        mci.lengths[path] = wmp.lengths[path] = lengthMs;
        program->session().PendingMediaPath = path;
        program->opener().OpenMediaFile();
        return path;
    }

    QTemporaryDir home;
    VirtualClock clock;
    FakeScrollLock scrollLock;
    RecordedMessages messages;
    RecordingMpcTransport mpc;
    FakeMci mci{clock};
    FakeWmp wmp{clock};
    RecordedSounds sound;
    FakeDesktop desktop;
    FakeVolume mixer, masterVolume;
    std::unique_ptr<Program> program;
};
