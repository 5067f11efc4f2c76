#include "windows/InfoWindows.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

InfoWindow::InfoWindow(const char *objectName, const QString &title, const QString &html, QSize size)
{
    setObjectName(QLatin1String(objectName));
    setWindowTitle(title);
    auto *layout = new QVBoxLayout(this);
    text = new QTextBrowser(this);
    text->setObjectName(QStringLiteral("Text"));
    text->setAccessibleName(title);
    text->setOpenExternalLinks(false);
    text->setHtml(html);
    layout->addWidget(text, 1);
    closeButton = new QPushButton(QStringLiteral("Закрыть"), this);
    closeButton->setObjectName(QStringLiteral("CloseButton"));
    connect(closeButton, &QPushButton::clicked, this, &QDialog::hide);
    buttonRow = new QHBoxLayout;
    buttonRow->addStretch(1);
    buttonRow->addWidget(closeButton);
    layout->addLayout(buttonRow);
    resize(size);
}

TForm4::TForm4()
    : InfoWindow("Form4", QStringLiteral("Поддержать проект"),
                 QStringLiteral("<h3>Поддержать Stenova</h3>"
                                "<p>Stenova делается для тех, кто каждый день переводит звук в текст. "
                                "Если программа экономит вам часы работы, вы можете поддержать её развитие.</p>"
                                "<p>Лучшая помощь — рассказать о программе коллегам, сообщить об ошибке "
                                "или предложить улучшение: каждое сообщение читается.</p>"
                                "<p>Спасибо, что вы с нами!</p>"),
                 QSize(420, 260))
{
}

TFormHelp::TFormHelp()
    : InfoWindow("FormHelp", QStringLiteral("Краткая справка"),
                 QStringLiteral("<h3>Как работать с программой</h3>"
                                "<p>Откройте звуковой или видеофайл кнопкой «Открыть файл», через меню «Файл» "
                                "или перетащите его на окно программы. Печатайте текст в окне текста или в любом "
                                "другом редакторе — программа управляется с клавиатуры, не отрываясь от набора.</p>"
                                "<h4>Клавиши</h4><ul>"
                                "<li><b>[ESC]</b> — старт и стоп воспроизведения из любой программы (включите "
                                "«Стоп и cтарт по [ESC]»). При остановке запись отступает назад на заданный шаг "
                                "или возвращается к закладке либо к A.</li>"
                                "<li><b>[Пробел]</b> — стоп (флажок «и cтоп по пробелу»).</li>"
                                "<li><b>[Ctrl]+[Alt]+[&lt;] / [&gt;]</b> — шаг назад и вперед; "
                                "<b>[Ctrl]+[Alt]+[↑] / [↓]</b> — громкость.</li>"
                                "<li><b>[Ctrl]+[Shift]+[F9]</b> — добавить закладку, <b>[F10]</b> и <b>[F11]</b> — "
                                "назад и вперед к закладке.</li>"
                                "<li><b>[Ctrl]+[Shift]+[[]</b> и <b>[]]</b> — задать начало A и конец B интервала.</li>"
                                "<li><b>[Ctrl]+[Shift]+[1]..[9]</b> — вставить в текст имя участника разговора, "
                                "<b>[Ctrl]+[Shift]+[0]</b> — список участников.</li>"
                                "<li><b>[Scroll Lock]</b> — включить и выключить повтор между закладками.</li></ul>"
                                "<h4>Повторы и порции</h4>"
                                "<p>«Через каждые … сек.» делит запись на порции: после каждой порции — пауза "
                                "или ожидание и шаг назад. «В интервале AB раз» повторяет отрезок от A до B "
                                "заданное число раз (0 — без конца), «а потом AB->» сдвигает интервал дальше. "
                                "«Меж закладок раз» повторяет отрезок между соседними закладками, "
                                "«С паузой» останавливает запись в начале каждого повтора, «Автоповтор» "
                                "повторяет весь файл. Список интервалов проигрывается по порядку.</p>"
                                "<p>Закладки, интервалы, настройки повторов и позиция сохраняются для каждого "
                                "файла и возвращаются при следующем открытии.</p>"),
                 QSize(560, 520))
{
}

TFormAbout::TFormAbout()
    : InfoWindow("FormAbout", QStringLiteral("О программе"),
                 QStringLiteral("<h2>Stenova</h2><p>Версия 1.7</p>"
                                "<p>Программа для набора текста со звуковых и видеофайлов.</p>"
                                "<p>Воспроизведение: mpv. Интерфейс: Qt.</p>"),
                 QSize(380, 260))
{
    donateButton = new QPushButton(QStringLiteral("Поддержать проект..."), this);
    donateButton->setObjectName(QStringLiteral("DonateButton"));
    buttonRow->insertWidget(0, donateButton);
}
