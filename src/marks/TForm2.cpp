#include "marks/TForm2.h"

#include <QCheckBox>
#include <QVBoxLayout>

TForm2::TForm2()
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Закладки"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    QFont f(QStringLiteral("MS Sans Serif"));
    f.setPixelSize(14);
    setFont(f);
    CheckBoxOZ = new QCheckBox(QStringLiteral("Отслеживать проигрываемую закладку"), this);
    CheckBoxOZ->setObjectName(QStringLiteral("CheckBoxOZ"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(CheckBoxOZ);
    layout->addStretch(1);
    resize(1014, 502);
}
