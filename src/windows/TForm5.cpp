#include "windows/TForm5.h"

TForm5::TForm5()
{
    setObjectName(QStringLiteral("Form5"));
    setWindowTitle(QStringLiteral("Список участников разговора"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint);
    resize(318, 553);
}
