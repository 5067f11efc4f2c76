// Runs on the virtual X server with a window manager that the test script starts.
#include "app/Program.h"
#include "doubles/RecordedSounds.h"
#include "doubles/RecordedMessages.h"
#include "doubles/RecordingMpcTransport.h"
#include "doubles/FakeDesktop.h"
#include "forms/TForm1.h"
#include "platform/SoundPlayer.h"
#include "platform/UserMessages.h"
#include "doubles/VirtualClock.h"
#include "platform/X11ScrollLock.h"
#include "doubles/FakeEngines.h"
#include "playback/TMPCHC.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "TestWait.h"

// Xlib last: its macros clash with names in the headers above.
#include <X11/XKBlib.h>
#include <X11/Xlib.h>

namespace {

Display *QtDisplay()
{
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->display() : nullptr;
}

// Reads the light through a connection of its own, as another program would see it.
bool LightSeenByAnotherClient()
{
    Display *d = XOpenDisplay(nullptr);
    Bool state = False;
    XkbGetNamedIndicator(d, XInternAtom(d, "Scroll Lock", False), nullptr, &state, nullptr, nullptr);
    XCloseDisplay(d);
    return state;
}

} // namespace

TEST(X11ScrollLock, TogglesTheServersIndicator)
{
    ASSERT_NE(QtDisplay(), nullptr) << "run with QT_QPA_PLATFORM=xcb on an X server";
    X11ScrollLock lock(QtDisplay());
    ASSERT_TRUE(lock.available());
    if (lock.isOn()) lock.pressAndRelease();
    EXPECT_FALSE(LightSeenByAnotherClient());
    lock.pressAndRelease();
    EXPECT_TRUE(lock.isOn());
    EXPECT_TRUE(LightSeenByAnotherClient());
    lock.pressAndRelease();
    EXPECT_FALSE(lock.isOn());
    EXPECT_FALSE(LightSeenByAnotherClient());
}

TEST(X11Program, ShowSyncsTheLightAndExitTurnsItOff)
{
    QTemporaryDir home;
    qputenv("STENOVA_HOME", home.path().toUtf8());
    VirtualClock clock;
    RecordedMessages messages;
    RecordingMpcTransport mpc;
    FakeMci mci{clock};
    FakeWmp wmp{clock};
    RecordedSounds sound;
    FakeDesktop desktop;
    FakeVolume mixer, masterVolume;
    X11ScrollLock lock(QtDisplay());
    if (!lock.isOn()) lock.pressAndRelease();
    {
        Program program({clock, lock, messages, mpc, mci, wmp, sound, desktop, mixer, masterVolume},
                        {QStringLiteral("stenova")});
        program.Form1()->show();
        EXPECT_FALSE(LightSeenByAnotherClient()); // the loop is off, so the light goes off

        program.Form1()->CheckBox8->setChecked(true);
        program.Form1()->hide();
        program.Form1()->show();
        EXPECT_TRUE(LightSeenByAnotherClient());
    }
    EXPECT_FALSE(LightSeenByAnotherClient());
    qunsetenv("STENOVA_HOME");
}

TEST(X11Program, MinimisingThroughTheWindowManager)
{
    QTemporaryDir home;
    qputenv("STENOVA_HOME", home.path().toUtf8());
    VirtualClock clock;
    RecordedMessages messages;
    RecordingMpcTransport mpc;
    FakeMci mci{clock};
    FakeWmp wmp{clock};
    RecordedSounds sound;
    FakeDesktop desktop;
    FakeVolume mixer, masterVolume;
    X11ScrollLock lock(QtDisplay());
    Program program({clock, lock, messages, mpc, mci, wmp, sound, desktop, mixer, masterVolume},
                    {QStringLiteral("stenova")});
    TForm1 &form = *program.Form1();
    form.show();
    ASSERT_TRUE(WaitFor([&] { return form.isActiveWindow(); }));
    form.showMinimized();
    EXPECT_TRUE(WaitFor([&] { return program.lifecycle().AppMinimized; }));
    EXPECT_FALSE(form.hotKey(QStringLiteral("JvApplicationHotKey1")).active);
    form.showNormal();
    form.activateWindow();
    EXPECT_TRUE(WaitFor([&] { return !program.lifecycle().AppMinimized; }));
    EXPECT_TRUE(form.hotKey(QStringLiteral("JvApplicationHotKey1")).active);
    qunsetenv("STENOVA_HOME");
}
