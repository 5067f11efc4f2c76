#include "forms/TForm1.h"

#include "forms/FormBuilding.h"
#include "widgets/Controls.h"
#include "base/MediaTime.h"
#include "playback/MediaButtonBar.h"
#include "playback/TMPCHC.h"
#include "widgets/SpeedBox.h"
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

// The groups of the main window's panel: the player, the options for every file, the row
// below them and the AB interval.

using namespace formbuild;

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

    SpinSpeed = make<SpeedBox>(GroupBox2, "SpinSpeed");
    SpinSpeed->setToolTip(
        QStringLiteral("Скорость воспроизведения, высота голоса сохраняется [Ctrl]+[Alt]+[-] или [=]"));
    SpinSpeed->setAccessibleName(QStringLiteral("Скорость воспроизведения"));

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
    controls->addSpacing(8);
    controls->addWidget(SpinSpeed);
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
    // Nor does Tab stop there: taking the focus away would leave Tab at the window. The keys
    // move the position (the steps, the go-to dialog) from anywhere.
    TrackBar1->setFocusPolicy(Qt::NoFocus);
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
    Memo1->setTabChangesFocus(true); // read only: Tab goes on to the next control
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

    ListBoxAB = make<ListBox>(GroupBox4, "ListBoxAB");
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
