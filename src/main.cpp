#include "app/RealProgram.h"
#include "playback/MpvLibrary.h"

#include <QApplication>
#include <QDBusConnection>
#include <QImageReader>
#include <clocale>
#include <exception>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // libmpv loads on a thread of its own while the windows are built. Loading holds the
    // dynamic loader's lock, which opening a library and starting a thread also take: Qt's
    // image plugins (the menu bar's first icon loads them) and the session bus's thread (the
    // menu bar asks the bus for a global menu) come first.
    QImageReader::supportedImageFormats();
    QDBusConnection::sessionBus();
    PreloadMpvLibrary();
    QApplication::setApplicationName(QStringLiteral("stenova"));
    QApplication::setApplicationDisplayName(QStringLiteral("Stenova"));
    QApplication::setApplicationVersion(QStringLiteral("1.7"));
    QApplication::setDesktopFileName(QStringLiteral("stenova"));
    // libmpv needs the C locale for numbers.
    std::setlocale(LC_NUMERIC, "C");
    try {
        RealProgram program(QApplication::arguments());
        RealProgram::MainLoopStarting();
        return QApplication::exec();
    } catch (const std::exception &e) {
        QtUserMessages().standardError(QString::fromUtf8(e.what()));
        return 1;
    }
}
