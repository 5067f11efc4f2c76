#include "windows/TForm3.h"

TForm3::TForm3()
{
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("Перейти к позиции"));
    QFont f(QStringLiteral("MS Sans Serif"));
    f.setPixelSize(14);
    setFont(f);
    resize(370, 120);
    ComboBoxG = new QComboBox(this);
    ComboBoxG->setObjectName(QStringLiteral("ComboBoxG"));
    ComboBoxG->setEditable(true);
    ComboBoxG->setGeometry(16, 40, 200, 24);
}
