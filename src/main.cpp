#include "app/RealProgram.h"

#include <QApplication>
#include <clocale>
#include <exception>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("stenova"));
    QApplication::setApplicationDisplayName(QStringLiteral("Stenova"));
    QApplication::setApplicationVersion(QStringLiteral("1.7"));
    QApplication::setDesktopFileName(QStringLiteral("stenova"));
    // libmpv needs the C locale for numbers.
    std::setlocale(LC_NUMERIC, "C");
    try {
        RealProgram program(QApplication::arguments());
        return QApplication::exec();
    } catch (const std::exception &e) {
        QtUserMessages().standardError(QString::fromUtf8(e.what()));
        return 1;
    }
}
