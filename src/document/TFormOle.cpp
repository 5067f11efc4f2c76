#include "document/TFormOle.h"

#include "widgets/PinButton.h"

#include <QMenuBar>
#include <QScrollArea>
#include <QTextEdit>
#include <QVBoxLayout>

TFormOle::TFormOle()
{
    setObjectName(QStringLiteral("FormOle"));
    setWindowTitle(QStringLiteral("Текст"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *menu = new QMenuBar(this);
    menu->setObjectName(QStringLiteral("MainMenu1"));
    layout->setMenuBar(menu);
    JvCaptionButton1 = new PinButton(this, menu);
    ScrollBox1 = new QScrollArea(this);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setWidgetResizable(true);
    ScrollBox1->setToolTip(QStringLiteral("Закрыть"));
    OleContainer1 = new QTextEdit;
    OleContainer1->setObjectName(QStringLiteral("OleContainer1"));
    OleContainer1->setAccessibleName(QStringLiteral("Текст документа"));
    ScrollBox1->setWidget(OleContainer1);
    layout->addWidget(ScrollBox1);
    resize(800, 600);
}
