#include "forms/TForm1.h"

#include "document/DocumentContainer.h"
#include "widgets/PinButton.h"

#include "forms/FormBuilding.h"

#include "widgets/Controls.h"
#include "base/MediaTime.h"
#include "playback/MediaButtonBar.h"
#include "playback/TMPCHC.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const char *const CreditsLine = "Stenova — набор текста со звуковых и видеофайлов. Свободная программа для "
                                "расшифровки записей. Версия 1.7 от 07.11.2024 г.";

} // namespace

using namespace formbuild;

TForm1::TForm1(Clock &clock)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Программа для набора текста со звуковых и видеофайлов"));
    setFont(pixelFont(QStringLiteral("Tahoma"), 15));

    m_digitFilter = new DigitKeyFilter(this);
    createTimers(clock);
    createHotKeys();
    createMenus();
    createDialogs();

    auto *central = make<QWidget>(this, "Client");
    auto *outer = new QVBoxLayout(central);
    outer->setContentsMargins(4, 4, 4, 0);

    PanelAll = make<QWidget>(central, "PanelAll");
    auto *all = row(PanelAll);
    PanelTL = make<QWidget>(PanelAll, "PanelTL");
    PanelTR = make<QWidget>(PanelAll, "PanelTR");
    all->addWidget(PanelTL, 1);
    all->addWidget(PanelTR);
    auto *tl = new QVBoxLayout(PanelTL);
    tl->setContentsMargins(0, 0, 0, 0);
    tl->addWidget(createPlayerGroup());
    tl->addWidget(createEveryFileGroup());
    tl->addWidget(createBelowGroups());
    auto *tr = new QVBoxLayout(PanelTR);
    tr->setContentsMargins(0, 0, 0, 0);
    tr->addWidget(createIntervalGroup());

    PanelMain = make<QWidget>(central, "PanelMain");
    auto *main = new QVBoxLayout(PanelMain);
    main->setContentsMargins(0, 0, 0, 0);
    Panel4 = make<QWidget>(PanelMain, "Panel4");
    Panel7 = make<QWidget>(PanelMain, "Panel7");
    Panel2 = make<QWidget>(PanelMain, "Panel2");
    addAll(main, {Panel4, Panel7, Panel2});
    main->addStretch(1);
    createHiddenControls();

    outer->addWidget(PanelAll);
    outer->addWidget(PanelMain, 1);
    setCentralWidget(central);

    StatusBar1 = make<QStatusBar>(this, "StatusBar1");
    auto *credits = label(StatusBar1, "StatusBarText", QString::fromUtf8(CreditsLine));
    StatusBar1->addWidget(credits, 1);
    StatusBar1->setSizeGripEnabled(true);
    setStatusBar(StatusBar1);

    resize(1214, 613);
}

TForm1::~TForm1() = default;

void TForm1::createTimers(Clock &clock)
{
    Timer1 = clock.timer(QStringLiteral("Timer1"), 10, false, true);
    Timer2 = clock.timer(QStringLiteral("Timer2"), 100, false, true);
    TimerAvtoSave = clock.timer(QStringLiteral("TimerAvtoSave"), 180000, false, true);
    TimerPeriod = clock.timer(QStringLiteral("TimerPeriod"), 8000, true, false);
    TimerPause = clock.timer(QStringLiteral("TimerPause"), 4000, true, false);
    TimerESC = clock.timer(QStringLiteral("TimerESC"), 330, true, false);
    TimerJvCaptionButton = clock.timer(QStringLiteral("TimerJvCaptionButton"), 20, true, false);
    TimerZk = clock.timer(QStringLiteral("TimerZk"), 70, true, false);
    TimerInt = clock.timer(QStringLiteral("TimerInt"), 70, true, false);
    TimerHotKey = clock.timer(QStringLiteral("TimerHotKey"), 1, false, true);
    TimerRunHotKey = clock.timer(QStringLiteral("TimerRunHotKey"), 50, false, true);
    TimerPlayNoRefrN = clock.timer(QStringLiteral("TimerPlayNoRefrN"), 250, true, false);
    TimerGoto = clock.timer(QStringLiteral("TimerGoto"), 1000, true, false);
}

std::vector<Timer *> TForm1::timers() const
{
    return {Timer1.get(),     Timer2.get(),      TimerAvtoSave.get(),        TimerPeriod.get(),
            TimerPause.get(), TimerESC.get(),    TimerJvCaptionButton.get(), TimerZk.get(),
            TimerInt.get(),   TimerHotKey.get(), TimerRunHotKey.get(),       TimerPlayNoRefrN.get(),
            TimerGoto.get()};
}

void TForm1::createHotKeys()
{
    size_t i = 0;
    const auto add = [&](const QString &suffix, unsigned mods, int vk) {
        hotKeys[i++] = GlobalHotKey{QStringLiteral("JvApplicationHotKey") + suffix, mods, vk, true, {}};
    };
    for (int d = 1; d <= 9; ++d) add(QString::number(d), ModCtrl | ModShift, VK::Digit0 + d);
    add(QStringLiteral("0"), ModCtrl | ModShift, VK::Digit0);
    add(QStringLiteral("F9"), ModCtrl | ModShift, VK::F9);
    add(QStringLiteral("F10"), ModCtrl | ModShift, VK::F10);
    add(QStringLiteral("F11"), ModCtrl | ModShift, VK::F11);
    add(QStringLiteral("A"), ModCtrl | ModShift, VK::OpenBracket);
    add(QStringLiteral("B"), ModCtrl | ModShift, VK::CloseBracket);
    add(QStringLiteral("G"), ModCtrl | ModAlt, VK::G);
    add(QStringLiteral("Left"), ModCtrl | ModAlt, VK::Left);
    add(QStringLiteral("Right"), ModCtrl | ModAlt, VK::Right);
    add(QStringLiteral("Up"), ModCtrl | ModAlt, VK::Up);
    add(QStringLiteral("Down"), ModCtrl | ModAlt, VK::Down);
    // Slower and faster: "-" and "=" (the "+" key), taken by nothing above.
    hotKeys[i++] = GlobalHotKey{QStringLiteral("HotKeySlower"), ModCtrl | ModAlt, VK::Minus, true, {}};
    hotKeys[i++] = GlobalHotKey{QStringLiteral("HotKeyFaster"), ModCtrl | ModAlt, VK::Equal, true, {}};
}

GlobalHotKey &TForm1::hotKey(const QString &name) { return HotKeyNamed(hotKeys, name); }

void TForm1::createMenus()
{
    QMenuBar *bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));

    N1 = topMenu(bar, "N1", QStringLiteral("&Файл"));
    MP31 = menuItem(N1, "MP31", QStringLiteral("&Открыть файл..."));
    N3 = menuItem(N1, "N3", QStringLiteral("&Восстановить файл текста из копии..."));
    separator(N1, "N7");
    NSetMenu = N1->addMenu(QStringLiteral("&Настройки"));
    NSetMenu->setObjectName(QStringLiteral("NSetMenu"));
    NSet = NSetMenu->menuAction();
    NSet->setObjectName(QStringLiteral("NSet"));
    NSet->setVisible(false);
    NZkl = menuItem(NSetMenu, "NZkl", QStringLiteral("Сохранять и загружать закладки под каждый файл"), {}, true);
    NZkl->setChecked(true);
    NZkl->setVisible(false);
    separator(N1, "N13");
    for (int i = 0; i < 10; ++i) {
        NH[i] = N1->addAction(QString::number(i));
        NH[i]->setObjectName(QStringLiteral("NH%1").arg(i));
    }
    separator(N1, "N14");
    N5 = menuItem(N1, "N5", QStringLiteral("Выход"));

    N2 = topMenu(bar, "N2", QStringLiteral("&Текст"));
    N8 = menuItem(N2, "N8", QStringLiteral("&Открыть текст"));
    N9 = menuItem(N2, "N9", QStringLiteral("&Закрыть текст"));
    separator(N2, "N10");
    MSWORD1 = menuItem(N2, "MSWORD1", QStringLiteral("Переоктрыть сохранив &копию в OLE (word)"));
    separator(N2, "NExportSeparator");
    NExportOdt = menuItem(N2, "NExportOdt", QStringLiteral("Сохранить текст как документ &ODT..."));
    NExportTxt = menuItem(N2, "NExportTxt", QStringLiteral("Сохранить текст как &простой текст..."));

    N4 = topMenu(bar, "N4", QStringLiteral("&Действия"));
    N21 = menuItem(N4, "N21", QStringLiteral("Показать окно с &текстом..."));
    N24 = menuItem(N4, "N24", QStringLiteral("Показать окно &видео..."));
    N12 = menuItem(N4, "N12", QStringLiteral("Показать окно &закладок..."));
    separator(N4, "N27");
    N16 = menuItem(N4, "N16", QStringLiteral("&Перейти к позиции..."), QKeySequence(QStringLiteral("Ctrl+Alt+G")));
    separator(N4, "N22");
    N23 = menuItem(N4, "N23", QStringLiteral("&Список участников разговора..."),
                   QKeySequence(QStringLiteral("Ctrl+Shift+0")));
    separator(N4, "N26");
    for (int i = 0; i < 9; ++i) {
        const QString caption = QStringLiteral("Участник&%1:").arg(i + 1) + (i ? QStringLiteral(" ") : QString());
        N23x[i] = N4->addAction(caption);
        N23x[i]->setObjectName(QStringLiteral("N23%1").arg(i + 1));
        N23x[i]->setShortcut(QKeySequence(QStringLiteral("Ctrl+Shift+%1").arg(i + 1)));
    }

    N11 = topMenu(bar, "N11", QStringLiteral("&Настройки"));
    N20 = menuItem(N11, "N20", QStringLiteral("&Озвучить добавление закладки (файлом Zakl.wav)"), {}, true);
    separator(N11, "N18");
    N15 = menuItem(N11, "N15", QStringLiteral("&Сохранять текст под каждый файл звука"), {}, true);
    NWord = menuItem(N11, "NWord", QStringLiteral("&Текст всегда во внешнем документе (word и др)"), {}, true);
    separator(N11, "N25");
    NMPC = menuItem(N11, "NMPC", QStringLiteral("Все файлы открывать в MPC-HC проигрывателе"), {}, true);
    separator(N11, "NHotKeysSeparator");
    NHotKeys = menuItem(N11, "NHotKeys", QStringLiteral("&Горячие клавиши..."));
    NPedals = menuItem(N11, "NPedals", QStringLiteral("&Педали..."));

    N6 = topMenu(bar, "N6", QStringLiteral("&Справка"));
    N19 = menuItem(N6, "N19", QStringLiteral("&Краткая справка..."));
    N17 = menuItem(N6, "N17", QStringLiteral("&О программе..."));

    // The pin button stands at the right end of the menu bar, beside the caption.
    JvCaptionButton1 = new PinButton(this, bar);

    PopupMenuAB = new QMenu(this);
    PopupMenuAB->setObjectName(QStringLiteral("PopupMenuAB"));
    AB1 = menuItem(PopupMenuAB, "AB1", QStringLiteral("Добавать AB в конец списка"),
                   QKeySequence(QStringLiteral("Ctrl+=")));
    AB2 = menuItem(PopupMenuAB, "AB2", QStringLiteral("Вставить AB в позицию до"),
                   QKeySequence(QStringLiteral("Ctrl+Ins")));
    N34 = menuItem(PopupMenuAB, "N34", QStringLiteral("Добавить список из буфера обмена"),
                   QKeySequence(QStringLiteral("Ctrl+Alt+V")));
    N36 = menuItem(PopupMenuAB, "N36", QStringLiteral("Копировать"), QKeySequence(QStringLiteral("Ctrl+C")));
    separator(PopupMenuAB, "N28");
    N29 = menuItem(PopupMenuAB, "N29", QStringLiteral("Переместить вверх"), QKeySequence(QStringLiteral("Ctrl+PgUp")));
    N30 = menuItem(PopupMenuAB, "N30", QStringLiteral("Переместить вниз"), QKeySequence(QStringLiteral("Ctrl+PgDown")));
    separator(PopupMenuAB, "N31");
    N32 = menuItem(PopupMenuAB, "N32", QStringLiteral("Удалить"), QKeySequence(QStringLiteral("Ctrl+Del")));
    N33 = menuItem(PopupMenuAB, "N33", QStringLiteral("Удалить весь список"),
                   QKeySequence(QStringLiteral("Ctrl+Shift+Del")));
    separator(PopupMenuAB, "N35");
    A1 = menuItem(PopupMenuAB, "A1", QStringLiteral("! двойной клик на интервале — переход к A"));
}

void TForm1::createDialogs()
{
    const QString media = QStringLiteral("*.wav *.mp3 *.avi *.mp4 *.mkv *.wmv");
    OpenDialog1 = {QStringLiteral("Открыть файл"),
                   {QStringLiteral("Аудио (*.wav,*.mp3) (*.wav *.mp3)"),
                    QStringLiteral("Видео (*.avi;*.mp4;*.mkv;*.wmv) (*.avi *.mp4 *.mkv *.wmv)"),
                    QStringLiteral("Аудио и Видео (") + media + u')', QStringLiteral("Все файлы (*)"),
                    QStringLiteral("Все открывать в видеопроигрывателе (") + media + u')'},
                   2,
                   {}};
    OpenDialog2 = {QStringLiteral("Открыть файл с текстом"), {QStringLiteral("OLE (*.ole)")}, 0, QStringLiteral("ole")};
    OpenDialogMPC = {QStringLiteral("Выбрать файл mpv (обычно /usr/bin/mpv)"),
                     {QStringLiteral("Программа mpv (mpv*)"), QStringLiteral("Все файлы (*)")},
                     0,
                     {}};
}

void TForm1::createHiddenControls()
{
    Panel4->hide();
    auto *p4 = row(Panel4);
    const char *names[] = {"BitBtn1", "BitBtn2", "BitBtn3", "BitBtn4"};
    const char *hints[] = {"Добавить закладку", "Закладки", "Назад к закладке", "Вперед к закладке"};
    QPushButton **buttons[] = {&BitBtn1, &BitBtn2, &BitBtn3, &BitBtn4};
    for (int i = 0; i < 4; ++i) {
        *buttons[i] = make<QPushButton>(Panel4, names[i]);
        (*buttons[i])->setToolTip(QString::fromUtf8(hints[i]));
        (*buttons[i])->setAccessibleName((*buttons[i])->toolTip());
        p4->addWidget(*buttons[i]);
    }
    OleContainer2 = make<DocumentContainer>(Panel4, "OleContainer2");
    OleContainer2->setWindowTitle(QStringLiteral("КОПИЯ ДОКУМЕНТА"));
    OleContainer2->setAccessibleName(OleContainer2->windowTitle());
    EditNMPC = make<QLineEdit>(Panel4, "EditNMPC");
    EditNMPC->setAccessibleName(QStringLiteral("Путь к проигрывателю mpv"));
    addAll(p4, {OleContainer2, EditNMPC});

    auto *p7 = row(Panel7);
    MaskEdit3 = timeEdit(Panel7, "MaskEdit3", QStringLiteral("Начало отрезка между закладками"));
    MaskEdit4 = timeEdit(Panel7, "MaskEdit4", QStringLiteral("Конец отрезка между закладками"));
    MaskEdit3->hide();
    MaskEdit4->hide();
    addAll(p7, {MaskEdit3, MaskEdit4});

    auto *focusDropper = new FocusDropper(this);
    for (QWidget *w : {Panel2, Panel7}) focusDropper->watch(w);
}

void TForm1::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!event->spontaneous()) emit shown();
}

void TForm1::closeEvent(QCloseEvent *event)
{
    emit closeQuery();
    event->accept();
}

void TForm1::changeEvent(QEvent *event)
{
    // Activation brings the main window in front of the program's other windows.
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) raise();
    QMainWindow::changeEvent(event);
}

void TForm1::mousePressEvent(QMouseEvent *event)
{
    TakeFocusAway(this);
    QMainWindow::mousePressEvent(event);
}

void TForm1::dragEnterEvent(QDragEnterEvent *event)
{
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void TForm1::dropEvent(QDropEvent *event)
{
    QStringList paths;
    for (const QUrl &url : event->mimeData()->urls())
        if (url.isLocalFile()) paths << url.toLocalFile();
    event->acceptProposedAction();
    if (!paths.isEmpty()) emit filesDropped(paths);
}
