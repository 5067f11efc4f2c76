#include "windows/TForm3.h"

#include "base/MediaTime.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QStyle>
#include <algorithm>

namespace {

template <class T, class... Args> T *Make(QWidget *parent, const char *name, Args &&...args)
{
    auto *w = new T(std::forward<Args>(args)..., parent);
    w->setObjectName(QLatin1String(name));
    return w;
}

QFont PixelFont(const QString &family, int pixels, bool bold = false)
{
    QFont f(family);
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

} // namespace

TForm3::TForm3()
{
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("Перейти к позиции"));
    setFont(PixelFont(QStringLiteral("MS Sans Serif"), 14));
    setFixedSize(370, 120);

    RadioButton1 = Make<QRadioButton>(this, "RadioButton1", QStringLiteral("от 0"));
    RadioButton2 = Make<QRadioButton>(this, "RadioButton2", QStringLiteral("до и"));
    RadioButton3 = Make<QRadioButton>(this, "RadioButton3", QStringLiteral("после текущей позиции"));
    RadioButton1->setChecked(true);
    // Side by side, read together: "от 0", "до и" "после текущей позиции".
    int x = 48;
    for (QRadioButton *mode : {RadioButton1, RadioButton2, RadioButton3}) {
        mode->setGeometry(x, 6, mode->sizeHint().width(), 22);
        x += mode->width() + 6;
    }

    const QFont time = PixelFont(QStringLiteral("Arial"), 27);
    Label1 = Make<QLabel>(this, "Label1", QString());
    Label1->setFont(PixelFont(QStringLiteral("Tahoma"), 17, true));
    QPalette red = Label1->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    Label1->setPalette(red);
    Label1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label1->setGeometry(4, 34, 40, 36);
    Label1->hide();

    ComboBoxG = Make<QComboBox>(this, "ComboBoxG");
    ComboBoxG->setFont(time);
    ComboBoxG->setAccessibleName(QStringLiteral("Введённые ранее"));
    MaskEdit1 = Make<QLineEdit>(this, "MaskEdit1");
    MaskEdit1->setFont(time);
    MaskEdit1->setInputMask(QLatin1String(TimeEditMask));
    MaskEdit1->setText(QLatin1String(ZeroTimeText));
    MaskEdit1->setMaxLength(12);
    MaskEdit1->setAccessibleName(windowTitle());
    Label1->setBuddy(MaskEdit1);
    // The combo lies under the time edit, at its place: only its drop-down button shows, and
    // the history opens from it.
    const int editWidth = MaskEdit1->fontMetrics().horizontalAdvance(QLatin1String(ZeroTimeText)) + 16;
    const int buttonWidth = style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 8;
    MaskEdit1->setGeometry(48, 32, editWidth, 40);
    ComboBoxG->setGeometry(MaskEdit1->x(), MaskEdit1->y(), editWidth + buttonWidth, 40);
    MaskEdit1->raise();

    Button2 = Make<QPushButton>(this, "Button2", QStringLiteral("0"));
    Button2->setAccessibleName(QStringLiteral("Время 0"));
    Button2->setGeometry(ComboBoxG->geometry().right() + 6, 36, 32, 32);
    Button1 = Make<QPushButton>(this, "Button1", QStringLiteral("текущая позиция"));
    Button1->setGeometry(48, 82, std::max(150, Button1->sizeHint().width()), 30);
    BitBtn1 = Make<QPushButton>(this, "BitBtn1", QStringLiteral("OK"));
    BitBtn1->setFont(PixelFont(font().family(), 14, true));
    BitBtn1->setDefault(true);
    BitBtn1->setGeometry(262, 82, 100, 30);
    BitBtn2 = Make<QPushButton>(this, "BitBtn2", QStringLiteral("Отмена"));
    BitBtn2->setGeometry(-400, 82, 100, 30);
}

int TForm3::ShowModal()
{
    if (!runModal) return exec();
    setResult(Rejected);
    runModal();
    return result();
}

void TForm3::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    raise();
    activateWindow();
}
