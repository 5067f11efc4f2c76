#include "marks/TForm2.h"

TForm2::TForm2()
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Закладки"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    QFont f(QStringLiteral("MS Sans Serif"));
    f.setPixelSize(14);
    setFont(f);
    resize(1014, 502);
}
