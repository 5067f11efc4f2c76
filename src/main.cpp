#include "app/Program.h"
#include "app/TForm1.h"
#include "platform/QtClock.h"
#include "platform/ScrollLock.h"
#include "platform/UserMessages.h"
#include "platform/X11ScrollLock.h"
#include "playback/MpvIpcBridge.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>
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
    try {
        const auto scrollLock = MakeScrollLock();
        Program program({clock, *scrollLock, messages, mpc}, QApplication::arguments());
        program.Form1()->show();
        return QApplication::exec();
    } catch (const std::exception &e) {
        messages.standardError(QString::fromUtf8(e.what()));
        return 1;
    }
}
