#include "document/TFormOle.h"

#include "document/DocumentContainer.h"
#include "widgets/PinButton.h"

#include <QLabel>
#include <QMenuBar>
#include <QScrollArea>
#include <QStatusBar>
#include <QVBoxLayout>

TFormOle::TFormOle()
{
    setObjectName(QStringLiteral("FormOle"));
    setWindowTitle(QStringLiteral("Текст"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    // The window keeps a menu bar of its own with no items.
    auto *menu = new QMenuBar(this);
    menu->setObjectName(QStringLiteral("MainMenu1"));
    layout->setMenuBar(menu);
    auto *note = new QLabel(QStringLiteral("Не удалять это меню, оно против глюка по ALT"), this);
    note->hide();
    JvCaptionButton1 = new PinButton(this, menu);
    ScrollBox1 = new QScrollArea(this);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setWidgetResizable(true);
    ScrollBox1->setFrameShape(QFrame::NoFrame);
    ScrollBox1->setToolTip(QStringLiteral("Закрыть"));
    OleContainer1 = new DocumentContainer;
    OleContainer1->setObjectName(QStringLiteral("OleContainer1"));
    OleContainer1->setAccessibleName(QStringLiteral("Текст документа"));
    OleContainer1->LoadEmpty();
    ScrollBox1->setWidget(OleContainer1);
    layout->addWidget(ScrollBox1);
    StatusBar = new QStatusBar(this);
    StatusBar->setObjectName(QStringLiteral("StatusBar"));
    StatusBar->setSizeGripEnabled(false);
    layout->addWidget(StatusBar);
    resize(800, 600);
}
