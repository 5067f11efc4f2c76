#include "marks/TForm2.h"

#include <QCheckBox>
#include <QLineEdit>
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
    EditNZ = new QLineEdit(QStringLiteral("1"), this);
    EditNZ->setObjectName(QStringLiteral("EditNZ"));
    EditNZ->setAccessibleName(QStringLiteral("Следующее имя закладки"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(CheckBoxOZ);
    layout->addWidget(EditNZ);
    layout->addStretch(1);
    resize(1014, 502);
}
