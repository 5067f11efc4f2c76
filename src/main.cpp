#include "app/Program.h"
#include "app/TForm1.h"
#include "playback/Mpris.h"
#include "platform/QtClock.h"
#include "platform/ScrollLock.h"
#include "platform/UserMessages.h"
#include "platform/X11Desktop.h"
#include "platform/PulseVolume.h"
#include "platform/X11ScrollLock.h"
#include "playback/LibmpvEngines.h"
#include "playback/MpvIpcBridge.h"
#include "playback/MpvMixer.h"
#include "playback/MpvSoundPlayer.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QOpenGLContext>
#include <clocale>
#include <exception>
#include <memory>

namespace {

std::unique_ptr<ScrollLock> MakeScrollLock()
{
    if (auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>())
        return std::make_unique<X11ScrollLock>(x11->display());
    return std::make_unique<NoScrollLock>();
}

// Video is drawn with OpenGL; without it (offscreen, no driver) the player plays blind.
bool CanDrawVideo()
{
    static const bool can = [] {
        const QString platform = QGuiApplication::platformName();
        if (platform != QLatin1String("xcb") && platform != QLatin1String("wayland")) return false;
        QOpenGLContext context;
        return context.create();
    }();
    return can;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("stenova"));
    QApplication::setApplicationDisplayName(QStringLiteral("Stenova"));
    QApplication::setApplicationVersion(QStringLiteral("1.7"));
    QApplication::setDesktopFileName(QStringLiteral("stenova"));
    // libmpv needs the C locale for numbers.
    std::setlocale(LC_NUMERIC, "C");

    QtClock clock;
    QtUserMessages messages;
    MpvIpcBridge mpc(clock);
    LibmpvMci mci(clock);
    LibmpvWmp wmp(clock, CanDrawVideo());
    MpvSoundPlayer sound;
    MpvMixer mixer({&mci.mpv(), &wmp.mpv()});
    PulseVolume masterVolume;
    try {
        X11Desktop desktop;
        const auto scrollLock = MakeScrollLock();
        Program program({clock, *scrollLock, messages, mpc, mci, wmp, sound, desktop, mixer, masterVolume,
                         CanDrawVideo() ? &wmp.mpv() : nullptr},
                        QApplication::arguments());
        program.mpris().registerOnSessionBus(); // media keys and desktop controls, where there is a bus
        program.Form1()->show();
        return QApplication::exec();
    } catch (const std::exception &e) {
        messages.standardError(QString::fromUtf8(e.what()));
        return 1;
    }
}
