#include "app/SettingsFile.h"

#include "app/MediaOpener.h"
#include "app/MediaSettingsFile.h"
#include "document/DocumentContainer.h"
#include "document/EditorTools.h"
#include "document/TFormOle.h"
#include "forms/TForm1.h"
#include "marks/TForm2.h"
#include "persist/IniFile.h"
#include "platform/ProgramFolder.h"
#include "platform/SaveReports.h"
#include "platform/UserMessages.h"
#include "playback/MediaSession.h"
#include "playback/MpcOption.h"
#include "playback/TFormWMP.h"
#include "playback/TMPCHC.h"
#include "widgets/BusyCursor.h"
#include "widgets/Controls.h"
#include "windows/TForm5.h"

#include <QAction>
#include <QCheckBox>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QScreen>
#include <QTableWidget>

namespace {

const QString Main = QStringLiteral("MAIN");
const QString History = QStringLiteral("History");

QString Flag(bool on) { return on ? QStringLiteral("1") : QStringLiteral("0"); }
bool Flag(const IniFile &ini, const char *key, const char *fallback)
{
    return MediaKeys::flag(ini, Main, QString::fromUtf8(key), QString::fromUtf8(fallback));
}
int Number(const IniFile &ini, const QString &section, const char *key, int fallback)
{
    return MediaKeys::number(ini, section, QString::fromUtf8(key), QString::number(fallback));
}

// A radio button set as the user would: its handler runs when it becomes selected, and a
// stored "0" for both buttons leaves both unselected.
void SetRadio(QRadioButton *button, bool on)
{
    const bool exclusive = button->autoExclusive();
    button->setAutoExclusive(false);
    button->setChecked(on);
    button->setAutoExclusive(exclusive);
}

// The window manager draws the frames, and a window's frame is known only once it is shown:
// the place and size kept are those of the window inside its frame, which a window that has
// never been shown takes exactly (so windows neither drift nor grow from run to run).
struct Placement {
    int left, top, width, height;
};

Placement ReadPlacement(const IniFile &ini, const QString &section, Placement fallback)
{
    return {Number(ini, section, "Left", fallback.left), Number(ini, section, "Top", fallback.top),
            Number(ini, section, "Width", fallback.width), Number(ini, section, "Height", fallback.height)};
}

void Place(QWidget &w, Placement p) { w.setGeometry(p.left, p.top, p.width, p.height); }

void WritePlacement(IniFile &ini, const QString &section, const QWidget &w)
{
    const QRect g = w.geometry();
    ini.setValue(section, QStringLiteral("Left"), QString::number(g.x()));
    ini.setValue(section, QStringLiteral("Top"), QString::number(g.y()));
    ini.setValue(section, QStringLiteral("Width"), QString::number(g.width()));
    ini.setValue(section, QStringLiteral("Height"), QString::number(g.height()));
}

// The per-media keys of section MAIN in the order the save writes them, between the options.
const char *const MediaKeysInSaveOrder[] = {"Интервал A",     "Интервал B",       "автоповтор файла",
                                            "меж закладок",   "Меж закладок N",   "и пропуск # закл.",
                                            "интервал",       "В интервале AB N", "а потом AB->",
                                            "По N закладкам", "По N закладкам N", "Итервал AB брать из списка",
                                            "с паузой"};

} // namespace

SettingsFile::SettingsFile(const Windows &windows, MediaSettingsFile &media, MediaOpener &opener, MpcOption &mpc,
                           MediaSession &session, UserMessages &messages, SaveReports &reports, bool mediaOnCommandLine)
    : m_w(windows), m_media(media), m_opener(opener), m_mpc(mpc), m_session(session), m_messages(messages),
      m_reports(reports), m_mediaOnCommandLine(mediaOnCommandLine)
{
}

QString SettingsFile::Path() { return SettingsPath(); }

void SettingsFile::LoadFromSettingsINI()
{
    BusyCursor busy;
    IniFile ini;
    if (!ini.load(Path())) {
        m_unreadable = {QStringLiteral("*")};
        m_messages.error(QStringLiteral("Внимание!"),
                         QStringLiteral("Ошибка в блоке кода LoadFromSettingsINI\n") + Path() + u'\n' + ini.error());
        return;
    }
    loadOptions(ini);
    // A value that could not be read is skipped, said once, and kept in the file by the save.
    m_unreadable = ini.unreadable();
    if (!m_unreadable.isEmpty())
        m_messages.error(QStringLiteral("Внимание!"), QStringLiteral("Ошибка в блоке кода LoadFromSettingsINI\n") +
                                                          QStringLiteral("Не прочитаны значения: ") +
                                                          m_unreadable.join(QStringLiteral(", ")));
    // The reopen of the last media file. With no name the open dialog comes, before the
    // main window is shown; cancelling it leaves the program without a media file.
    const QString last = ini.value(Main, QStringLiteral("Файл:"));
    m_session.CurrentMediaPath = last;
    m_session.PendingMediaPath = last;
    // Asking for a file the command line is about to replace would only be in the way.
    if (!last.isEmpty() || !m_mediaOnCommandLine) m_opener.OpenMediaFile();
    // A stored file that is gone was reported and is not open: the program has no file.
    if (!last.isEmpty() && !QFileInfo(last).isFile()) m_session.CurrentMediaPath.clear();
    ini.save();
}

void SettingsFile::loadOptions(const IniFile &ini)
{
    TForm1 &f = m_w.main;
    const bool external = Flag(ini, "Текст всегда во внешнем документе", "0");
    f.NWord->setChecked(external);
    f.N2->menuAction()->setVisible(!external);
    f.N3->setVisible(!external);
    if (external && m_w.text.isVisible()) m_w.text.hide();

    f.NMPC->setChecked(Flag(ini, "Все файлы открывать в MPC-HC проигрывателе", "0"));
    const QString player = ini.value(Main, QStringLiteral("Путь к MPC-HC проигрывателю"), TMPCHC::DefaultPlayerPath());
    f.EditNMPC->setText(player);
    f.MPCHC->PlayerPath = player;
    if (f.NMPC->isChecked()) m_mpc.CheckPlayerPath();

    f.UpDown1->setPosition(Number(ini, Main, "Шаг", 1));
    f.UpDown2->setPosition(Number(ini, Main, "Период", 8));
    f.UpDown3->setPosition(Number(ini, Main, "Пауза", 4));
    f.UpDown4->setPosition(Number(ini, Main, "Шаг назад", 1));
    for (int i = 0; i < 10; ++i) {
        // An empty item is "0. " … "9. "; the reader trims the blank it ends with.
        const QString empty = QStringLiteral("%1. ").arg(i);
        const QString caption = ini.value(History, QStringLiteral("History%1").arg(i), empty);
        f.NH[i]->setText(caption == empty.trimmed() ? empty : caption);
    }

    loadWindows(ini);

    f.CheckBox1->setChecked(Flag(ini, "Флаг автоматизации", "0"));
    f.CheckBox2->setChecked(Flag(ini, "Флаг шаг назад", "1"));
    f.CheckBox3->setChecked(Flag(ini, "ESC", "1"));
    f.CheckBox4->setChecked(Flag(ini, "Флаг шаг назад ESC", "0"));
    f.N20->setChecked(Flag(ini, "Озвучить добавление закладки", "1"));
    f.CheckBox5->setChecked(Flag(ini, "Назад к закладке", "0"));
    f.CheckBox12->setChecked(Flag(ini, "и cтоп по пробелу", "0"));
    f.UpDown5->setPosition(Number(ini, Main, "Шаг назад ESC", 1));
    SetRadio(f.RadioButton2, Flag(ini, "Переключатель пауза", "1"));
    SetRadio(f.RadioButton1, Flag(ini, "Переключатель ожидание", "0"));
    f.N15->setChecked(Flag(ini, "Сохранять текст под каждый файл звука", "1"));
    f.CheckBox11->setChecked(Flag(ini, "Видео поверх текста", "0"));
    f.CheckBox9->setChecked(Flag(ini, "закладку в текст", "0"));

    m_media.keys().load(ini);
    f.NZkl->setChecked(Flag(ini, "ЗакладкиПодФайл", "1"));
}

void SettingsFile::loadWindows(const IniFile &ini)
{
    TForm1 &f = m_w.main;
    const auto section = [](const char *name) { return QString::fromLatin1(name); };
    Place(m_w.text, ReadPlacement(ini, section("FormOle"), {388, 329, 893, 547}));
    m_w.text.setVisible(Number(ini, section("FormOle"), "Видимость окна текста", 1) == 1 && !f.NWord->isChecked());
    // The video and speakers windows are centred at their first showing unless they have a
    // place of their own.
    if (ini.contains(section("FormWMP"), QStringLiteral("Left"))) m_w.video.keepPlacement();
    if (ini.contains(section("Form5"), QStringLiteral("Left"))) m_w.speakers.keepPlacement();
    Place(m_w.video, ReadPlacement(ini, section("FormWMP"), {0, 331, 384, 351}));
    m_w.video.setVisible(Number(ini, section("FormWMP"), "Видимость окна видео", 1) == 1 && !f.NMPC->isChecked());
    Place(m_w.speakers, ReadPlacement(ini, section("Form5"), {0, 444, 340, 600}));
    m_w.speakers.setVisible(Number(ini, section("Form5"), "Видимость окна участников", 0) == 1);

    // The main window's height by default holds exactly the position and control panels.
    const int fitHeight = f.Panel7->height() + f.Panel2->height();
    Placement main = ReadPlacement(ini, section("Form1"), {0, 0, 1280, fitHeight});
    const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
    if (main.width < 50 || main.height < 50 || main.left > screen.width() - 50 || main.top > screen.height() - 50 ||
        main.left < 50 - main.width || main.top < 50 - main.height)
        main = {0, 0, 1280, 600};
    Place(f, main);
    Place(m_w.bookmarks, ReadPlacement(ini, section("FormZk"), {0, 0, 958, 559}));
    loadEditor(ini);
}

// The editor's font and spell checking, which have keys of their own; a value that is not
// usable leaves the default.
void SettingsFile::loadEditor(const IniFile &ini) const
{
    const QString text = QStringLiteral("FormOle");
    QFont font = DefaultEditorFont();
    const QString family = ini.value(text, QStringLiteral("Шрифт текста")).trimmed();
    if (!family.isEmpty()) font.setFamily(family);
    const int size = ini.value(text, QStringLiteral("Размер шрифта текста")).toInt();
    if (size >= 6 && size <= 72) font.setPointSize(size);
    SetEditorFont(m_w.text.OleContainer1, font);
    m_w.text.SpellingOn->setChecked(ini.value(text, QStringLiteral("Проверять орфографию")) != QLatin1String("0"));
}

void SettingsFile::SaveToSettingsINI()
{
    // A file that could not be read at all is left as it is.
    if (m_unreadable == QStringList{QStringLiteral("*")}) return;
    BusyCursor busy;
    IniFile ini;
    TForm1 &f = m_w.main;
    bool ok = ini.load(Path());
    if (ok) {
        const IniFile stored = ini;
        ini.setValue(Main, QStringLiteral("Шаг"), QString::number(f.UpDown1->position()));
        ini.setValue(Main, QStringLiteral("Период"), f.Edit2->text());
        ini.setValue(Main, QStringLiteral("Пауза"), f.Edit3->text());
        ini.setValue(Main, QStringLiteral("Шаг назад"), f.Edit4->text());
        for (int i = 0; i < 10; ++i) ini.setValue(History, QStringLiteral("History%1").arg(i), f.NH[i]->text());
        saveWindows(ini);
        saveMain(ini);
        m_media.writeLists(ini);
        ini.keepUnreadable(stored, m_unreadable);
        ok = ini.save();
    }
    if (ok) m_reports.saved(Path());
    else m_reports.failed(Path(), ini.error(), QStringLiteral("Ошибка в блоке кода SaveToSettingsINI"));
}

void SettingsFile::saveWindows(IniFile &ini) const
{
    const auto section = [](const char *name) { return QString::fromLatin1(name); };
    WritePlacement(ini, section("FormOle"), m_w.text);
    ini.setValue(section("FormOle"), QStringLiteral("Видимость окна текста"), Flag(m_w.text.visibleAtClose));
    const QFont font = m_w.text.OleContainer1->document()->defaultFont();
    ini.setValue(section("FormOle"), QStringLiteral("Шрифт текста"), font.family());
    ini.setValue(section("FormOle"), QStringLiteral("Размер шрифта текста"), QString::number(font.pointSize()));
    ini.setValue(section("FormOle"), QStringLiteral("Проверять орфографию"), Flag(m_w.text.SpellingOn->isChecked()));
    WritePlacement(ini, section("FormWMP"), m_w.video);
    ini.setValue(section("FormWMP"), QStringLiteral("Видимость окна видео"), Flag(m_w.video.visibleAtClose));
    WritePlacement(ini, section("Form1"), m_w.main);
    WritePlacement(ini, section("Form5"), m_w.speakers);
    ini.setValue(section("Form5"), QStringLiteral("Видимость окна участников"), Flag(m_w.speakers.visibleAtClose));
    WritePlacement(ini, section("FormZk"), m_w.bookmarks);
}

void SettingsFile::saveMain(IniFile &ini) const
{
    const TForm1 &f = m_w.main;
    const MediaKeys &media = m_media.keys();
    const auto put = [&](const char *key, const QString &value) { ini.setValue(Main, QString::fromUtf8(key), value); };
    put("Видео поверх текста", Flag(f.CheckBox11->isChecked()));
    put("Флаг автоматизации", Flag(f.CheckBox1->isChecked()));
    put("Флаг шаг назад", Flag(f.CheckBox2->isChecked()));
    put("ESC", Flag(f.CheckBox3->isChecked()));
    put("Флаг шаг назад ESC", Flag(f.CheckBox4->isChecked()));
    put("Озвучить добавление закладки", Flag(f.N20->isChecked()));
    put("Назад к закладке", Flag(f.CheckBox5->isChecked()));
    put("и cтоп по пробелу", Flag(f.CheckBox12->isChecked()));
    put("Шаг назад ESC", f.Edit5->text());
    put("Переключатель пауза", Flag(f.RadioButton2->isChecked()));
    put("Переключатель ожидание", Flag(f.RadioButton1->isChecked()));
    put("Сохранять текст под каждый файл звука", Flag(f.N15->isChecked()));
    put("Текст всегда во внешнем документе", Flag(f.NWord->isChecked()));
    put("Все файлы открывать в MPC-HC проигрывателе", Flag(f.NMPC->isChecked()));
    put("Путь к MPC-HC проигрывателю", f.EditNMPC->text());
    for (const char *key : MediaKeysInSaveOrder) put(key, media.value(QString::fromUtf8(key)));
    put("закладку в текст", Flag(f.CheckBox9->isChecked()));
    for (const char *key : {"ALeft", "BLeft"}) put(key, media.value(QString::fromUtf8(key)));
    for (int i = 1; i <= 9; ++i) {
        const QString key = QStringLiteral("Участник%1").arg(i);
        ini.setValue(Main, key, media.value(key));
    }
    for (const char *key : {"ДоУчастник", "УчастникПосле", "Video"}) put(key, media.value(QString::fromUtf8(key)));
    // Written for the user's eyes and never read back.
    const TForm2 &zk = m_w.bookmarks;
    put("Следующее имя закладки", zk.EditNZ->text());
    put("Размер шрифта закладок", QString::number(zk.StringGridView->font().pointSize()));
    put("Ширина комментария закладки", QString::number(zk.StringGridView->columnWidth(3)));
    put("Отслеживать проигрываемую закладку", Flag(zk.CheckBoxOZ->isChecked()));
    put("ЗакладкиПодФайл", Flag(f.NZkl->isChecked()));
    put("Файл:", m_session.CurrentMediaPath);
    put("Position", QString::number(f.TrackBar1->value()));
}
