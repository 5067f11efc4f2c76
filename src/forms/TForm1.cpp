#include "forms/TForm1.h"

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
#include <QTextEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

template <class T, class... Args> T *make(QWidget *parent, const char *name, Args &&...args)
{
    auto *w = new T(std::forward<Args>(args)..., parent);
    w->setObjectName(QLatin1String(name));
    return w;
}

QLabel *label(QWidget *parent, const char *name, const QString &text) { return make<QLabel>(parent, name, text); }

QCheckBox *check(QWidget *parent, const char *name, const QString &caption, const QString &hint = {})
{
    auto *c = make<QCheckBox>(parent, name, caption);
    c->setToolTip(hint);
    c->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed); // captions are never cut
    return c;
}

// A numeric edit: digits only, named for assistive technology after what it counts.
QLineEdit *numberEdit(QWidget *parent, const char *name, const QString &text, const QString &accessibleName,
                      DigitKeyFilter *filter)
{
    auto *e = make<QLineEdit>(parent, name, text);
    e->setFixedWidth(44);
    e->setAccessibleName(accessibleName);
    if (filter) e->installEventFilter(filter);
    return e;
}

QToolButton *speed(QWidget *parent, const char *name, const QString &text, const QString &hint)
{
    auto *b = make<QToolButton>(parent, name);
    b->setText(text);
    b->setToolTip(hint);
    b->setAutoRaise(true); // flat
    b->setFocusPolicy(Qt::NoFocus);
    if (text.isEmpty() || text.size() <= 2) b->setAccessibleName(hint.isEmpty() ? text : hint);
    return b;
}

QLineEdit *timeEdit(QWidget *parent, const char *name, const QString &accessibleName)
{
    auto *e = make<QLineEdit>(parent, name);
    e->setInputMask(QLatin1String(TimeEditMask));
    e->setText(QLatin1String(ZeroTimeText));
    e->setMaxLength(12);
    e->setAccessibleName(accessibleName);
    e->setFixedWidth(e->fontMetrics().horizontalAdvance(QLatin1String(ZeroTimeText)) + 16);
    return e;
}

QHBoxLayout *row(QWidget *parent = nullptr)
{
    auto *l = parent ? new QHBoxLayout(parent) : new QHBoxLayout;
    l->setContentsMargins(0, 0, 0, 0);
    l->setSpacing(4);
    return l;
}

void addAll(QBoxLayout *l, std::initializer_list<QWidget *> widgets)
{
    for (QWidget *w : widgets) l->addWidget(w);
}

QAction *menuItem(QMenu *menu, const char *name, const QString &caption, const QKeySequence &shortcut = {},
                  bool checkable = false)
{
    QAction *a = menu->addAction(caption);
    a->setObjectName(QLatin1String(name));
    a->setShortcut(shortcut);
    a->setCheckable(checkable);
    return a;
}

void separator(QMenu *menu, const char *name) { menu->addSeparator()->setObjectName(QLatin1String(name)); }

QMenu *topMenu(QMenuBar *bar, const char *name, const QString &caption)
{
    QMenu *m = bar->addMenu(caption);
    m->setObjectName(QLatin1String(name));
    return m;
}

QFont pixelFont(const QString &family, int pixels, bool bold = false)
{
    QFont f(family);
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

void setTextColor(QWidget *w, const QColor &color)
{
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, color);
    p.setColor(QPalette::Text, color);
    p.setColor(QPalette::ButtonText, color);
    w->setPalette(p);
}

QPixmap markPicture(const QColor &color)
{
    QPixmap pix(MarkStrip::MarkSize, MarkStrip::MarkSize);
    pix.fill(Qt::transparent);
    QPainter p(&pix);
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawPolygon(QPolygon({QPoint(0, 0), QPoint(6, 0), QPoint(3, 6)}));
    return pix;
}

const char *const CreditsLine = "Stenova — набор текста со звуковых и видеофайлов. Свободная программа для "
                                "расшифровки записей. Версия 1.7 от 07.11.2024 г.";

} // namespace

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

    N6 = topMenu(bar, "N6", QStringLiteral("&Справка"));
    N19 = menuItem(N6, "N19", QStringLiteral("&Краткая справка..."));
    N17 = menuItem(N6, "N17", QStringLiteral("&О программе..."));

    // The pin button stands at the right end of the menu bar, beside the caption.
    JvCaptionButton1 = make<QToolButton>(bar, "JvCaptionButton1");
    JvCaptionButton1->setCheckable(true);
    JvCaptionButton1->setFixedWidth(24);
    JvCaptionButton1->setText(QStringLiteral("⊤"));
    JvCaptionButton1->setToolTip(QStringLiteral("Закрепить окно поверх всех"));
    JvCaptionButton1->setAccessibleName(JvCaptionButton1->toolTip());
    JvCaptionButton1->setFocusPolicy(Qt::NoFocus);
    bar->setCornerWidget(JvCaptionButton1, Qt::TopRightCorner);

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

QWidget *TForm1::createPlayerGroup()
{
    GroupBox2 = make<QGroupBox>(PanelTL, "GroupBox2", QStringLiteral(" Звуковой файл "));
    GroupBox2->setStyleSheet(QStringLiteral("QGroupBox#GroupBox2::title { color: blue; }"));
    auto *grid = new QVBoxLayout(GroupBox2);

    Button1 = make<QPushButton>(GroupBox2, "Button1", QStringLiteral("Открыть файл"));
    Button1->setFont(pixelFont(QStringLiteral("Tahoma"), 15, true));
    const QFont big = pixelFont(QStringLiteral("Arial"), 27);
    Label1 = label(GroupBox2, "Label1", QStringLiteral("00:00:00"));
    Label1t = label(GroupBox2, "Label1t", QStringLiteral("."));
    Label11 = label(GroupBox2, "Label11", QStringLiteral("000"));
    for (QLabel *l : {Label1, Label1t, Label11}) {
        l->setFont(big);
        setTextColor(l, Qt::blue);
    }
    Label1->setCursor(Qt::PointingHandCursor);
    Label1->setAccessibleName(QStringLiteral("Позиция"));
    Label6 = label(GroupBox2, "Label6", QStringLiteral("Длина"));
    Label5 = label(GroupBox2, "Label5", QStringLiteral("00:00:00.000"));
    Label5->setFont(pixelFont(QStringLiteral("Arial"), 17));
    setTextColor(Label5, Qt::blue);
    Label5->setCursor(Qt::PointingHandCursor);
    Label6->setBuddy(Label5);

    MediaPlayer1 = new MediaButtonBar(QStringLiteral("MediaPlayer1"), GroupBox2);
    MediaPlayer2 = new MediaButtonBar(QStringLiteral("MediaPlayer2"), GroupBox2);
    MediaPlayer2->hide();

    Label3 = label(GroupBox2, "Label3", QStringLiteral("шаг"));
    Edit1 = numberEdit(GroupBox2, "Edit1", QStringLiteral("1"), QStringLiteral("шаг, сек."), m_digitFilter);
    UpDown1 = make<UpDown>(GroupBox2, "UpDown1", Edit1, 1, 10000, 1);
    Label4 = label(GroupBox2, "Label4", QStringLiteral("сек."));
    Label3->setBuddy(Edit1);

    SpeedButton1 =
        speed(GroupBox2, "SpeedButton1", QStringLiteral("+"), QStringLiteral("Добавить закладку [Ctrl]+[Shift]+[F9]"));
    SpeedButton2 = speed(GroupBox2, "SpeedButton2", QStringLiteral("≡"), QStringLiteral("Показать окно закладок..."));
    SpeedButton3 =
        speed(GroupBox2, "SpeedButton3", QStringLiteral("◀"), QStringLiteral("Назад к закладке [Ctrl]+[Shift]+[F10]"));
    SpeedButton4 =
        speed(GroupBox2, "SpeedButton4", QStringLiteral("▶"), QStringLiteral("Вперед к закладке [Ctrl]+[Shift]+[F11]"));
    SpeedButton7 = speed(GroupBox2, "SpeedButton7", QStringLiteral("T"), QStringLiteral("Показать окно с текстом..."));
    SpeedButton8 = speed(GroupBox2, "SpeedButton8", QStringLiteral("V"), QStringLiteral("Показать окно видео..."));
    SpeedButton9 =
        speed(GroupBox2, "SpeedButton9", QStringLiteral("G"), QStringLiteral("Перейти к позиции...[Ctrl+Alt+G]"));
    for (QToolButton *b : {SpeedButton7, SpeedButton8, SpeedButton9}) {
        b->setFont(pixelFont(QStringLiteral("Tahoma"), 15, true));
        setTextColor(b, Qt::blue);
    }

    Image1 = label(GroupBox2, "Image1", QString());
    Image1->setPixmap(style()->standardIcon(QStyle::SP_MediaVolume).pixmap(20, 20));
    Image1->setCursor(Qt::PointingHandCursor);
    Image1->setAccessibleName(QStringLiteral("Громкоговоритель"));
    TrackBarVolume = make<TrackBar>(GroupBox2, "TrackBarVolume", Qt::Horizontal);
    TrackBarVolume->setRange(0, 100);
    TrackBarVolume->setFixedWidth(110);
    TrackBarVolume->setAccessibleName(QStringLiteral("Громкость"));
    LabelVolProz = label(GroupBox2, "LabelVolProz", QStringLiteral("0%"));
    LabelVolProz->setAlignment(Qt::AlignCenter);
    LabelVolProz->setFont(pixelFont(QStringLiteral("Tahoma"), 15, true));
    LabelVolProz->setMinimumWidth(40);
    TrackBar3 = make<TrackBar>(GroupBox2, "TrackBar3", Qt::Horizontal);
    TrackBar3->setRange(0, 10);
    TrackBar3->setTickPosition(QSlider::TicksBelow);
    TrackBar3->setFixedWidth(110);
    TrackBar3->setAccessibleName(QStringLiteral("Шкала громкости"));
    TrackBar2 = make<TrackBar>(GroupBox2, "TrackBar2", Qt::Horizontal);
    TrackBar2->setEnabled(false);
    TrackBar2->setFixedWidth(40);
    TrackBar2->setAccessibleName(QStringLiteral("Не используется"));

    auto *clock = row();
    clock->setSpacing(0);
    addAll(clock, {Label1, Label1t, Label11});
    auto *top = row();
    top->addWidget(Button1);
    top->addSpacing(12);
    top->addLayout(clock);
    top->addSpacing(16);
    addAll(top, {Label6, Label5});
    top->addStretch(1);
    addAll(top, {Image1, TrackBarVolume, LabelVolProz});
    grid->addLayout(top);
    auto *controls = row();
    // The two bars share one place; the open shows the one for the file's engine.
    controls->addWidget(MediaPlayer1);
    controls->addWidget(MediaPlayer2);
    controls->addSpacing(8);
    addAll(controls, {Label3, Edit1, UpDown1, Label4});
    controls->addSpacing(8);
    addAll(controls,
           {SpeedButton1, SpeedButton2, SpeedButton3, SpeedButton4, SpeedButton7, SpeedButton8, SpeedButton9});
    controls->addStretch(1);
    addAll(controls, {TrackBar3, TrackBar2});
    grid->addLayout(controls);

    // The timeline: marks above the position bar, and the AB band with its labels over both.
    auto *timeline = make<QWidget>(GroupBox2, "Timeline");
    auto *tlayout = new QVBoxLayout(timeline);
    tlayout->setContentsMargins(0, 12, 0, 0);
    tlayout->setSpacing(0);
    Panel3 = new MarkStrip(MarkImages, timeline);
    Panel3->setObjectName(QStringLiteral("Panel3"));
    ImageZk = label(Panel3, "ImageZk", QString());
    ImageZk->setPixmap(markPicture(Qt::red));
    ImageZk->hide();
    ImageZk2 = label(Panel3, "ImageZk2", QString());
    ImageZk2->setPixmap(markPicture(Qt::blue));
    ImageZk2->hide();
    TrackBar1 = make<TrackBar>(timeline, "TrackBar1", Qt::Horizontal);
    TrackBar1->setTickPosition(QSlider::NoTicks);
    TrackBar1->setCursor(Qt::PointingHandCursor);
    TrackBar1->setAccessibleName(QStringLiteral("Позиция воспроизведения"));
    tlayout->addWidget(Panel3);
    tlayout->addWidget(TrackBar1);
    ShapeAB = make<QFrame>(timeline, "ShapeAB");
    ShapeAB->setAutoFillBackground(true);
    ShapeAB->setPalette(QPalette(QColor(0xDE, 0xDE, 0xDE)));
    ShapeAB->setGeometry(0, 0, 0, 10);
    ShapeAB->lower();
    LabelA = label(timeline, "LabelA", QStringLiteral("A"));
    LabelB = label(timeline, "LabelB", QStringLiteral("B"));
    for (QLabel *l : {LabelA, LabelB}) {
        QFont f = l->font();
        f.setBold(true);
        f.setUnderline(true);
        l->setFont(f);
        setTextColor(l, QColor(128, 0, 128));
        l->setCursor(Qt::PointingHandCursor);
        l->hide(); // placed over the bar once an interval is drawn
    }
    ShapeAB->hide();

    CheckBoxTrack = check(GroupBox2, "CheckBoxTrack", QStringLiteral("[AB]"),
                          QStringLiteral("Длина линейки проигрывания как [AB]"));
    LabelTrack = label(GroupBox2, "LabelTrack", QStringLiteral("трек только"));
    LabelTrack->setFont(pixelFont(QStringLiteral("Times New Roman"), 13));
    LabelTrack->setToolTip(CheckBoxTrack->toolTip());
    auto *trackRow = row();
    auto *trackBox = new QVBoxLayout;
    trackBox->addWidget(LabelTrack);
    trackBox->addWidget(CheckBoxTrack);
    trackRow->addLayout(trackBox);
    trackRow->addWidget(timeline, 1);
    grid->addLayout(trackRow);

    CheckBox6 = check(GroupBox2, "CheckBox6", QStringLiteral("Автоповтор"), QStringLiteral("Автоповтор файла"));
    CheckBox13 = check(GroupBox2, "CheckBox13", QStringLiteral("С паузой"),
                       QStringLiteral("Пауза если вернулись в начальную точку проигрывания (в начало закладки)"));
    CheckBox8 = check(GroupBox2, "CheckBox8", QStringLiteral("Меж закладок раз:"),
                      QStringLiteral("Проигрывание межзакладочного отрезка [Scroll Lock]"));
    Edit6 = numberEdit(GroupBox2, "Edit6", QStringLiteral("0"), QStringLiteral("Меж закладок раз"), m_digitFilter);
    UpDown6 = make<UpDown>(GroupBox2, "UpDown6", Edit6, 0, 100, 0);
    CheckBox10 = check(GroupBox2, "CheckBox10", QStringLiteral("и пропуск # закл."),
                       QStringLiteral("Пропуск закладки если комментарий начинается с символа #"));
    CheckBox10->setEnabled(false);
    CheckBox7 = check(GroupBox2, "CheckBox7", QStringLiteral("В интервале AB раз:"),
                      QStringLiteral("Проигрывание в интервале от A до B"));
    Edit7 = numberEdit(GroupBox2, "Edit7", QStringLiteral("0"), QStringLiteral("В интервале AB раз"), m_digitFilter);
    UpDown7 = make<UpDown>(GroupBox2, "UpDown7", Edit7, 0, 100, 0);
    CheckBox15 =
        check(GroupBox2, "CheckBox15", QStringLiteral("а потом AB->"),
              QStringLiteral("По окончании проигрывания интервала сместить интервал AB вправо (ниже для списка)"));
    CheckBox15->setEnabled(false);
    // The widest row of the window: Edit6 and Edit7 count to 100 and need less room than
    // the second edits, and the row packs tighter, so that the default width shows it whole.
    for (QLineEdit *e : {Edit6, Edit7}) e->setFixedWidth(36);
    auto *loops = row();
    loops->setSpacing(2);
    addAll(loops,
           {CheckBox6, CheckBox13, CheckBox8, Edit6, UpDown6, CheckBox10, CheckBox7, Edit7, UpDown7, CheckBox15});
    loops->addStretch(1);
    grid->addLayout(loops);

    auto *focusDropper = new FocusDropper(this);
    focusDropper->watch(GroupBox2);
    (new FocusRefuser(this))->watch(TrackBar1);
    return GroupBox2;
}

QWidget *TForm1::createEveryFileGroup()
{
    GroupBox3 = make<QGroupBox>(PanelTL, "GroupBox3", QStringLiteral(" Для всех файлов "));
    auto *lay = new QVBoxLayout(GroupBox3);
    const auto secs = [this](const char *name) { return label(GroupBox3, name, QStringLiteral("сек.")); };

    CheckBox1 = check(GroupBox3, "CheckBox1", QStringLiteral("Через каждые"));
    Edit2 = numberEdit(GroupBox3, "Edit2", QStringLiteral("40"), QStringLiteral("Через каждые, сек."), m_digitFilter);
    UpDown2 = make<UpDown>(GroupBox3, "UpDown2", Edit2, 0, 1000, 40);
    Label2 = secs("Label2");
    RadioButton2 = make<QRadioButton>(GroupBox3, "RadioButton2", QStringLiteral("пауза"));
    RadioButton1 = make<QRadioButton>(GroupBox3, "RadioButton1", QStringLiteral("ожидание"));
    RadioButton2->setChecked(true);
    Edit3 =
        numberEdit(GroupBox3, "Edit3", QStringLiteral("4"), QStringLiteral("Пауза или ожидание, сек."), m_digitFilter);
    UpDown3 = make<UpDown>(GroupBox3, "UpDown3", Edit3, 0, 1000, 4);
    Label8 = secs("Label8");
    CheckBox2 = check(GroupBox3, "CheckBox2", QStringLiteral("шаг назад на"));
    CheckBox2->setChecked(true);
    Edit4 = numberEdit(GroupBox3, "Edit4", QStringLiteral("1"), QStringLiteral("Шаг назад после паузы, сек."),
                       m_digitFilter);
    UpDown4 = make<UpDown>(GroupBox3, "UpDown4", Edit4, 0, 1000, 1);
    Label7 = secs("Label7");
    auto *period = row();
    addAll(period, {CheckBox1, Edit2, UpDown2, Label2, RadioButton2, RadioButton1, Edit3, UpDown3, Label8, CheckBox2,
                    Edit4, UpDown4, Label7});
    period->addStretch(1);
    lay->addLayout(period);

    // Latin "c" in "cтарт" and "cтоп", as the settings file key repeats it.
    CheckBox3 = check(GroupBox3, "CheckBox3", QStringLiteral("Стоп и cтарт по [ESC] )"));
    CheckBox4 = check(GroupBox3, "CheckBox4", QStringLiteral("шаг назад на"));
    CheckBox4->setChecked(true);
    Edit5 = numberEdit(GroupBox3, "Edit5", QStringLiteral("1"), QStringLiteral("Шаг назад при остановке по ESC, сек."),
                       m_digitFilter);
    UpDown5 = make<UpDown>(GroupBox3, "UpDown5", Edit5, 0, 1000, 1);
    Label10 = secs("Label10");
    CheckBox5 = check(GroupBox3, "CheckBox5", QStringLiteral("назад к закладке или к A"));
    CheckBox12 = check(GroupBox3, "CheckBox12", QStringLiteral("и cтоп по пробелу"));
    auto *esc = row();
    addAll(esc, {CheckBox3, CheckBox4, Edit5, UpDown5, Label10, CheckBox5, CheckBox12});
    esc->addStretch(1);
    lay->addLayout(esc);
    return GroupBox3;
}

QWidget *TForm1::createBelowGroups()
{
    Panel8 = make<QWidget>(PanelTL, "Panel8");
    auto *lay = row(Panel8);
    GroupBox1 = make<QGroupBox>(Panel8, "GroupBox1", QStringLiteral(" Горячие клавиши  "));
    auto *memoLayout = new QVBoxLayout(GroupBox1);
    Memo1 = make<QPlainTextEdit>(GroupBox1, "Memo1");
    Memo1->setReadOnly(true);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setAccessibleName(QStringLiteral("Горячие клавиши"));
    Memo1->setPlainText(QStringLiteral(" [Ctrl]+[Alt]+[<] или [>] — шаг назад, вперед.  [Ctrl]+[Alt]+[стрелка вверх] "
                                       "или [стрелка вниз] — уровень звука.\n"
                                       " [Ctrl]+[Shift]+[F9] или [F10] или [F11] — добавить закладку, назад, вперед к "
                                       "закладке.  [Scroll Lock] — меж закладок.\n"
                                       " [Ctrl]+[Shift]+[0] — список участников разговора.  [Ctrl]+[Shift]+[1]..[9] — "
                                       "вставить в текст 1..9 участника.\n"
                                       " [Ctrl]+[Shift]+[[] и []] — установить интервал A и B."));
    Memo1->setFixedHeight(86);
    memoLayout->addWidget(Memo1);
    lay->addWidget(GroupBox1, 1);

    const QFont small = pixelFont(QStringLiteral("Tahoma"), 13);
    CheckBox11 = check(Panel8, "CheckBox11", QStringLiteral("Видео поверх текста"));
    CheckBox9 = check(Panel8, "CheckBox9", QStringLiteral("Закладку {zX} в текст"));
    auto *options = new QVBoxLayout;
    for (QCheckBox *c : {CheckBox11, CheckBox9}) {
        c->setFont(small);
        options->addWidget(c);
    }
    lay->addLayout(options);

    Panel5 = make<QWidget>(Panel8, "Panel5");
    auto *p5 = new QVBoxLayout(Panel5);
    Label14 = label(Panel5, "Label14", QStringLiteral("Комментарий к закладкам {zX} из буфера обмена "));
    QFont underlined = Label14->font();
    underlined.setUnderline(true);
    Label14->setFont(underlined);
    Label14->setCursor(Qt::PointingHandCursor);
    Label14->setAlignment(Qt::AlignCenter);
    Label14->setWordWrap(true);
    Label14->setFixedWidth(170);
    p5->addWidget(Label14);
    lay->addWidget(Panel5);

    auto *focusDropper = new FocusDropper(this);
    focusDropper->watch(GroupBox3);
    focusDropper->watch(Panel8);
    return Panel8;
}

QWidget *TForm1::createIntervalGroup()
{
    GroupBox4 = make<QGroupBox>(PanelTR, "GroupBox4", QStringLiteral(" Интервал  AB "));
    auto *lay = new QVBoxLayout(GroupBox4);

    Label9 = label(GroupBox4, "Label9", QStringLiteral("A"));
    Label9->setToolTip(QStringLiteral("Перейти к A  (пр. клавиша — старт/пауза)"));
    Label13 = label(GroupBox4, "Label13", QStringLiteral("B"));
    Label13->setToolTip(QStringLiteral("Перейти к B  (пр. клавиша — старт/пауза)"));
    MaskEdit1 = timeEdit(GroupBox4, "MaskEdit1", QStringLiteral("Начало интервала A"));
    MaskEdit2 = timeEdit(GroupBox4, "MaskEdit2", QStringLiteral("Конец интервала B"));
    Label9->setBuddy(MaskEdit1);
    Label13->setBuddy(MaskEdit2);
    SpeedButton5 = speed(GroupBox4, "SpeedButton5", QStringLiteral("[A"),
                         QStringLiteral("Задать позицию A по текущей  (Ctrl+Shift+[)"));
    SpeedButton6 = speed(GroupBox4, "SpeedButton6", QStringLiteral("B]"),
                         QStringLiteral("Задать позицию B по текущей  (Ctrl+Shift+])"));
    auto *ab = new QGridLayout;
    ab->addWidget(Label9, 0, 0);
    ab->addWidget(MaskEdit1, 0, 1);
    ab->addWidget(SpeedButton5, 0, 2);
    ab->addWidget(Label13, 1, 0);
    ab->addWidget(MaskEdit2, 1, 1);
    ab->addWidget(SpeedButton6, 1, 2);
    lay->addLayout(ab);

    SpeedButton10 = speed(GroupBox4, "SpeedButton10", QStringLiteral("<-AB"),
                          QStringLiteral("Сместить интервал AB влево (выше для списка)"));
    SpeedButton11 = speed(GroupBox4, "SpeedButton11", QStringLiteral("AB->"),
                          QStringLiteral("Сместить интервал AB вправо (ниже для списка)"));
    auto *shift = row();
    addAll(shift, {SpeedButton10, SpeedButton11});
    shift->addStretch(1);
    lay->addLayout(shift);

    CheckBox14 = check(GroupBox4, "CheckBox14", QStringLiteral("По N закладкам. N ="),
                       QStringLiteral("Связь интервалов с закладками и длиной N закладок"));
    Edit8 = numberEdit(GroupBox4, "Edit8", QStringLiteral("2"), QStringLiteral("N закладок"), m_digitFilter);
    UpDown8 = make<UpDown>(GroupBox4, "UpDown8", Edit8, 1, 100, 2);
    auto *byN = row();
    addAll(byN, {CheckBox14, Edit8, UpDown8});
    byN->addStretch(1);
    lay->addLayout(byN);

    CheckBox16 = check(GroupBox4, "CheckBox16", QStringLiteral("Итервал AB брать из списка:"));
    SpeedButton13 = speed(GroupBox4, "SpeedButton13", QStringLiteral("+ AB"), QStringLiteral("Добавить AB в список"));
    SpeedButton12 = speed(GroupBox4, "SpeedButton12", QStringLiteral("- AB"), QStringLiteral("Удалить AB из списка"));
    SpeedButton12->setEnabled(false);
    auto *list = row();
    addAll(list, {CheckBox16, SpeedButton13, SpeedButton12});
    list->addStretch(1);
    lay->addLayout(list);

    ListBoxAB = make<QListWidget>(GroupBox4, "ListBoxAB");
    ListBoxAB->setAccessibleName(QStringLiteral("Список интервалов AB"));
    ListBoxAB->setStyleSheet(QStringLiteral("QListWidget::item { height: 18px; }"));
    ListBoxAB->setContextMenuPolicy(Qt::CustomContextMenu);
    for (QAction *a : PopupMenuAB->actions()) {
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        ListBoxAB->addAction(a);
    }
    connect(ListBoxAB, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &p) { PopupMenuAB->popup(ListBoxAB->viewport()->mapToGlobal(p)); });
    lay->addWidget(ListBoxAB, 1);
    return GroupBox4;
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
    OleContainer2 = make<QTextEdit>(Panel4, "OleContainer2");
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
