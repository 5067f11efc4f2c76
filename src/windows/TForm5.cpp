#include "windows/TForm5.h"

#include "widgets/PinButton.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QVBoxLayout>

TForm5::TForm5()
{
    setObjectName(QStringLiteral("Form5"));
    setWindowTitle(QStringLiteral("Список участников разговора"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    auto *layout = new QVBoxLayout(this);
    auto *names = new QGridLayout;
    QFont nameFont(QStringLiteral("Tahoma"));
    nameFont.setPixelSize(15);
    for (int i = 0; i < 9; ++i) {
        Labels[i] = new QLabel(QString::number(i + 1), this);
        Labels[i]->setObjectName(QStringLiteral("Label%1").arg(i + 1));
        Edits[i] = new QLineEdit(this);
        Edits[i]->setObjectName(QStringLiteral("Edit%1").arg(i + 1));
        Edits[i]->setFont(nameFont);
        Edits[i]->setAccessibleName(QStringLiteral("Участник %1").arg(i + 1));
        Labels[i]->setBuddy(Edits[i]);
        Buttons[i] = new QPushButton(QStringLiteral("->"), this);
        Buttons[i]->setObjectName(QStringLiteral("Button%1").arg(i + 3));
        Buttons[i]->setToolTip(QStringLiteral("Вставить участника в текст"));
        Buttons[i]->setAccessibleName(QStringLiteral("Вставить участника %1 в текст").arg(i + 1));
        Buttons[i]->setFixedWidth(36);
        names->addWidget(Labels[i], i, 0);
        names->addWidget(Edits[i], i, 1);
        names->addWidget(Buttons[i], i, 2);
    }
    layout->addLayout(names);

    GroupBox1 = new QGroupBox(QStringLiteral(" Вставлять до и после участника "), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    auto *affixes = new QHBoxLayout(GroupBox1);
    Label10 = new QLabel(QStringLiteral("до"), GroupBox1);
    Edit10 = new QLineEdit(GroupBox1);
    Label11 = new QLabel(QStringLiteral("после"), GroupBox1);
    Edit11 = new QLineEdit(QStringLiteral(":"), GroupBox1);
    Label10->setObjectName(QStringLiteral("Label10"));
    Edit10->setObjectName(QStringLiteral("Edit10"));
    Label11->setObjectName(QStringLiteral("Label11"));
    Edit11->setObjectName(QStringLiteral("Edit11"));
    Label10->setBuddy(Edit10);
    Label11->setBuddy(Edit11);
    Edit10->setAccessibleName(QStringLiteral("Вставлять до участника"));
    Edit11->setAccessibleName(QStringLiteral("Вставлять после участника"));
    for (QWidget *w : std::initializer_list<QWidget *>{Label10, Edit10, Label11, Edit11}) affixes->addWidget(w);
    layout->addWidget(GroupBox1);

    Button1 = new QPushButton(QStringLiteral("ОК"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    QFont bold = Button1->font();
    bold.setBold(true);
    Button1->setFont(bold);
    Button2 = new QPushButton(QStringLiteral("Отмена"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    layout->addLayout(buttons);
    resize(318, 553);
    JvCaptionButton1 = new PinButton(this);
}

void TForm5::showEvent(QShowEvent *event)
{
    if (!m_placed) {
        // Centred on the screen at its first showing; the saved placement replaces this.
        m_placed = true;
        move(pos() + screen()->geometry().center() - frameGeometry().center());
    }
    QWidget::showEvent(event);
    if (!event->spontaneous()) emit shown();
}
