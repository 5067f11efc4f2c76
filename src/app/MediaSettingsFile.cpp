#include "app/MediaSettingsFile.h"

#include "base/MediaTime.h"
#include "base/SeekKind.h"
#include "forms/TForm1.h"
#include "marks/ABInterval.h"
#include "marks/BookmarkNavigator.h"
#include "marks/IntervalList.h"
#include "marks/TForm2.h"
#include "persist/IniFile.h"
#include "persist/MediaKey.h"
#include "platform/Clock.h"
#include "platform/ProgramFolder.h"
#include "platform/SaveReports.h"
#include "platform/UserMessages.h"
#include "playback/MediaSession.h"
#include "widgets/BusyCursor.h"
#include "widgets/Controls.h"
#include "widgets/SpeedBox.h"
#include "windows/Speakers.h"
#include "windows/TForm3.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <algorithm>

namespace {

const QString Main = QStringLiteral("MAIN");
const QString AbList = QStringLiteral("ABLIST");
const QString Bookmarks = QStringLiteral("BOOKMARKS");
const QString GoToTime = QStringLiteral("GOTOTIME");
const QString RowCount = QStringLiteral("RowCount");
const QChar Pilcrow(0x00B6);
// Bookmarks, comments, A and B and the interval list reach the file within this of a change.
constexpr int MediaStateMs = 1000;

QString Flag(bool on) { return on ? QStringLiteral("1") : QStringLiteral("0"); }

QString StripPilcrows(QString s)
{
    while (s.startsWith(Pilcrow)) s.remove(0, 1);
    while (s.endsWith(Pilcrow)) s.chop(1);
    return s;
}

const QString SpeedKey = QStringLiteral("Скорость");

QString SpeakerKey(int i) { return QStringLiteral("Участник%1").arg(i + 1); }

// The writing order of section MAIN in the media settings file.
QStringList MediaFileKeys()
{
    QStringList keys{QStringLiteral("Интервал A"), QStringLiteral("Интервал B"), QStringLiteral("Position")};
    for (int i = 0; i < 9; ++i) keys << SpeakerKey(i);
    keys << QStringLiteral("ДоУчастник") << QStringLiteral("УчастникПосле") << QStringLiteral("Video")
         << QStringLiteral("Следующее имя закладки") << QStringLiteral("Шаг") << QStringLiteral("автоповтор файла")
         << QStringLiteral("с паузой") << QStringLiteral("меж закладок") << QStringLiteral("Меж закладок N")
         << QStringLiteral("и пропуск # закл.") << QStringLiteral("интервал") << QStringLiteral("В интервале AB N")
         << QStringLiteral("а потом AB->") << QStringLiteral("По N закладкам") << QStringLiteral("По N закладкам N")
         << QStringLiteral("Итервал AB брать из списка") << QStringLiteral("ALeft") << QStringLiteral("BLeft");
    keys << SpeedKey;
    return keys;
}

} // namespace

MediaKeys::MediaKeys(TForm1 &form, Speakers &speakers, MediaSession &session, ABInterval &ab)
    : m_form(form), m_speakers(speakers), m_session(session), m_ab(ab)
{
}

int MediaKeys::number(const IniFile &ini, const QString &section, const QString &key, const QString &fallback)
{
    return ini.number(section, key, fallback.toInt());
}

bool MediaKeys::flag(const IniFile &ini, const QString &section, const QString &key, const QString &fallback)
{
    return number(ini, section, key, fallback) == 1;
}

void MediaKeys::load(const IniFile &ini)
{
    loadAB(ini);
    loadLoopFlags(ini);
    loadSpeakers(ini);
    loadVideo(ini);
    loadSpeed(ini);
    m_speakers.KeptNamesLoaded();
}

void MediaKeys::loadAB(const IniFile &ini)
{
    TForm1 &f = m_form;
    f.MaskEdit1->setText(ini.value(Main, QStringLiteral("Интервал A"), QStringLiteral("00:00:00")));
    f.MaskEdit2->setText(ini.value(Main, QStringLiteral("Интервал B"), QStringLiteral("00:00:00")));
    f.MaskEdit1->setText(StoredTimeText(f.MaskEdit1->text()));
    f.MaskEdit2->setText(StoredTimeText(f.MaskEdit2->text()));
    // The marks stand over the times of A and B on the bar as it is now; the stored pixel
    // positions are checked but a window of another width would misplace them.
    number(ini, Main, QStringLiteral("ALeft"), "207");
    number(ini, Main, QStringLiteral("BLeft"), "217");
    m_ab.redrawMarks();
}

std::array<MediaKeys::LoopControl, 11> MediaKeys::loopControls() const
{
    const TForm1 &f = m_form;
    return {{{"автоповтор файла", f.CheckBox6, nullptr, "0"},
             {"с паузой", f.CheckBox13, nullptr, "0"},
             {"меж закладок", f.CheckBox8, nullptr, "0"},
             {"Меж закладок N", nullptr, f.UpDown6, "0"},
             {"и пропуск # закл.", f.CheckBox10, nullptr, "0"},
             {"интервал", f.CheckBox7, nullptr, "0"},
             {"В интервале AB N", nullptr, f.UpDown7, "0"},
             {"а потом AB->", f.CheckBox15, nullptr, "0"},
             {"По N закладкам", f.CheckBox14, nullptr, "0"},
             {"По N закладкам N", nullptr, f.UpDown8, "2"},
             {"Итервал AB брать из списка", f.CheckBox16, nullptr, "0"}}};
}

void MediaKeys::loadLoopFlags(const IniFile &ini)
{
    for (const LoopControl &c : loopControls()) {
        const QString key = QString::fromUtf8(c.key), fallback = QLatin1String(c.fallback);
        if (c.box) c.box->setChecked(flag(ini, Main, key, fallback));
        else c.count->setPosition(number(ini, Main, key, fallback));
    }
}

void MediaKeys::loadSpeakers(const IniFile &ini)
{
    for (int i = 0; i < 9; ++i) m_speakers.SpeakerNames[i] = StripPilcrows(ini.value(Main, SpeakerKey(i)));
    m_speakers.SpeakerPrefix = StripPilcrows(ini.value(Main, QStringLiteral("ДоУчастник")));
    m_speakers.SpeakerSuffix = StripPilcrows(ini.value(Main, QStringLiteral("УчастникПосле")));
}

void MediaKeys::loadVideo(const IniFile &ini) { m_session.VideoFlag = flag(ini, Main, QStringLiteral("Video"), "0"); }

// Files kept before there was a speed play at normal speed; a value that is no speed is
// ignored, as the speed box's range would clamp it to a speed the user never chose.
void MediaKeys::loadSpeed(const IniFile &ini)
{
    bool ok = false;
    const double speed = QLocale::c().toDouble(ini.value(Main, SpeedKey, QStringLiteral("1.0")), &ok);
    m_form.SpinSpeed->setValue(
        ok && speed >= m_form.SpinSpeed->minimum() && speed <= m_form.SpinSpeed->maximum() ? speed : 1.0);
}

QString MediaKeys::value(const QString &key) const
{
    const TForm1 &f = m_form;
    const auto wrapped = [](const QString &s) { return Pilcrow + s + Pilcrow; };
    for (int i = 0; i < 9; ++i)
        if (key == SpeakerKey(i)) return wrapped(m_speakers.SpeakerNames[i]);
    if (key == QStringLiteral("ДоУчастник")) return wrapped(m_speakers.SpeakerPrefix);
    if (key == QStringLiteral("УчастникПосле")) return wrapped(m_speakers.SpeakerSuffix);
    if (key == QStringLiteral("Интервал A")) return f.MaskEdit1->text();
    if (key == QStringLiteral("Интервал B")) return f.MaskEdit2->text();
    if (key == QLatin1String("Video")) return Flag(m_session.VideoFlag);
    if (key == QStringLiteral("Шаг")) return QString::number(f.UpDown1->position());
    if (key == QLatin1String("Position")) return QString::number(f.TrackBar1->value());
    if (key == QLatin1String("ALeft")) return QString::number(f.LabelA->x());
    if (key == QLatin1String("BLeft")) return QString::number(f.LabelB->x());
    if (key == SpeedKey) return QLocale::c().toString(f.SpinSpeed->value(), 'f', 1);
    for (const LoopControl &c : loopControls())
        if (key == QString::fromUtf8(c.key))
            return c.box ? Flag(c.box->isChecked()) : QString::number(c.count->position());
    return {};
}

MediaSettingsFile::MediaSettingsFile(TForm1 &form, TForm2 &bookmarks, BookmarkNavigator &navigator, ABInterval &ab,
                                     IntervalList &intervals, MediaSession &session, UserMessages &messages,
                                     SaveReports &reports, Clock &clock)
    : TimerMediaState(clock.timer(QStringLiteral("TimerMediaState"), MediaStateMs, false, true)), m_form(form),
      m_bookmarks(bookmarks), m_navigator(navigator), m_ab(ab), m_intervals(intervals), m_session(session),
      m_messages(messages), m_reports(reports)
{
    TimerMediaState->onTimeout = [this] { TimerMediaStateTimer(); };
}

void MediaSettingsFile::setLateParts(TForm3 &goTo, Speakers &speakers)
{
    m_goTo = &goTo;
    m_keys.emplace(m_form, speakers, m_session, m_ab);
}

QString MediaSettingsFile::PathFor(const QString &mediaPath)
{
    return WorkFolder() + u'/' + MediaFileKey(mediaPath, WorkFolder()) + QStringLiteral(".ini");
}

std::optional<bool> MediaSettingsFile::LoadFromINIVideo(const QString &mediaPath)
{
    const QString path = PathFor(mediaPath);
    if (!QFileInfo(path).isFile()) return std::nullopt;
    IniFile ini;
    if (ini.load(path)) {
        m_keys->loadVideo(ini);
        ini.save(); // rewritten as it is, in the program's own format
    }
    if (!ini.error().isEmpty() || !ini.unreadable().isEmpty()) {
        m_messages.error(QStringLiteral("Внимание!"), QStringLiteral("Ошибка в блоке кода LoadFromINIVideo"));
        return std::nullopt;
    }
    return m_session.VideoFlag;
}

void MediaSettingsFile::LoadFromINIMedia(const QString &mediaPath)
{
    const QString path = PathFor(mediaPath);
    if (!QFileInfo(path).isFile()) return;
    BusyCursor busy;
    IniFile ini;
    if (!ini.load(path)) {
        m_unreadable[path] = {QStringLiteral("*")};
        m_messages.error(QStringLiteral("Внимание!"), QStringLiteral("Ошибка в блоке кода LoadFromINIMedia\n") + path +
                                                          QStringLiteral("\n") + ini.error());
        return;
    }
    // The list mode switched on below applies the selected item at once: the previous
    // file's list must be gone by then, or its item would replace this file's A and B.
    m_form.ListBoxAB->clear();
    m_keys->load(ini);
    m_bookmarks.EditNZ->setText(ini.value(Main, QStringLiteral("Следующее имя закладки"), QStringLiteral("1")));
    m_navigator.ClearTableAndMarks();

    const int items = listCount(ini, AbList, QStringLiteral("AB%1"), 0);
    m_form.ListBoxAB->clear();
    for (int i = 1; i <= items; ++i) m_form.ListBoxAB->addItem(ini.value(AbList, QStringLiteral("AB%1").arg(i)));
    m_form.ListBoxAB->setCurrentRow(MediaKeys::number(ini, AbList, QStringLiteral("ItemIndex"), "-1"));
    m_intervals.CheckBox16Click();

    loadBookmarks(ini);

    const int history = listCount(ini, GoToTime, QStringLiteral("GT%1"), 0);
    m_goTo->ComboBoxG->clear();
    for (int i = 1; i <= history; ++i) m_goTo->ComboBoxG->addItem(ini.value(GoToTime, QStringLiteral("GT%1").arg(i)));

    const int position = MediaKeys::number(ini, Main, QStringLiteral("Position"), "0");
    m_form.TrackBar1->tag = SeekUser;
    m_form.TrackBar1->setValue(position);
    ini.save();
    // A value that could not be read is skipped, said once, and kept in the file by the saves.
    m_unreadable[path] = ini.unreadable();
    if (!ini.unreadable().isEmpty())
        m_messages.error(QStringLiteral("Внимание!"), QStringLiteral("Ошибка в блоке кода LoadFromINIMedia\n") + path +
                                                          QStringLiteral("\nНе прочитаны значения: ") +
                                                          ini.unreadable().join(QStringLiteral(", ")));
}

// A list's "RowCount"; when it is no number, the items there and the header row if the list
// counts one: nothing is lost for a damaged count.
int MediaSettingsFile::listCount(const IniFile &ini, const QString &section, const QString &itemKey, int header)
{
    bool ok = false;
    const int count = ini.value(section, RowCount, QStringLiteral("0")).toInt(&ok);
    // A list has no more items than its section has keys: a damaged count of two billion
    // would otherwise take all the memory there is.
    if (ok) return std::min(count, ini.keyCount(section) + header);
    int present = 0;
    while (ini.contains(section, itemKey.arg(present + 1))) ++present;
    return present + header;
}

void MediaSettingsFile::loadBookmarks(const IniFile &ini)
{
    const int rows = listCount(ini, Bookmarks, QStringLiteral("BM%1-1"), 1);
    if (rows <= 1) return;
    BookmarkTable &grid = m_bookmarks.StringGrid1;
    grid.setRowCount(rows);
    m_bookmarks.EditNZ->setText(ini.value(Main, QStringLiteral("Следующее имя закладки"), QStringLiteral("1")));
    for (int i = 1; i < rows; ++i) {
        const auto key = [i](int code) { return QStringLiteral("BM%1-%2").arg(i).arg(code); };
        grid.setCell(BookmarkTable::Number, i, QString::number(i));
        // A row whose time is missing stays without one: completed, it would be ".000".
        const QString time = ini.value(Bookmarks, key(1));
        grid.setCell(BookmarkTable::Time, i, time.trimmed().isEmpty() ? QString() : StoredTimeText(time));
        grid.setCell(BookmarkTable::Comment, i, ini.value(Bookmarks, key(2)));
        grid.setCell(BookmarkTable::Name, i, ini.value(Bookmarks, key(3)));
        m_navigator.PlaceBookmarkMark(i);
    }
}

void MediaSettingsFile::writeLists(IniFile &ini) const
{
    const QListWidget *list = m_form.ListBoxAB;
    ini.setValue(AbList, RowCount, QString::number(list->count()));
    for (int i = 0; i < list->count(); ++i)
        ini.setValue(AbList, QStringLiteral("AB%1").arg(i + 1), list->item(i)->text());
    ini.setValue(AbList, QStringLiteral("ItemIndex"), QString::number(list->currentRow()));

    const BookmarkTable &grid = m_bookmarks.StringGrid1;
    if (grid.cell(BookmarkTable::Time, 1).isEmpty()) {
        ini.setValue(Bookmarks, RowCount, QStringLiteral("0"));
        return;
    }
    ini.setValue(Bookmarks, RowCount, QString::number(grid.rowCount()));
    for (int i = 1; i < grid.rowCount(); ++i) {
        ini.setValue(Bookmarks, QStringLiteral("BM%1-1").arg(i), grid.cell(BookmarkTable::Time, i));
        ini.setValue(Bookmarks, QStringLiteral("BM%1-2").arg(i), grid.cell(BookmarkTable::Comment, i));
        ini.setValue(Bookmarks, QStringLiteral("BM%1-3").arg(i), grid.cell(BookmarkTable::Name, i));
    }
}

void MediaSettingsFile::apply(IniFile &ini, const QString &mediaPath) const
{
    const IniFile stored = ini;
    for (const QString &key : MediaFileKeys()) {
        const QString value =
            key == QStringLiteral("Следующее имя закладки") ? m_bookmarks.EditNZ->text() : m_keys->value(key);
        ini.setValue(Main, key, value);
    }
    writeLists(ini);
    const QComboBox *history = m_goTo->ComboBoxG;
    ini.setValue(GoToTime, RowCount, QString::number(history->count()));
    for (int i = 0; i < history->count(); ++i)
        ini.setValue(GoToTime, QStringLiteral("GT%1").arg(i + 1), history->itemText(i));
    ini.keepUnreadable(stored, m_unreadable.value(ini.path()));
    // The recording the file belongs to: another one with the same key is told apart by it.
    ini.setValue(Main, QStringLiteral("Файл:"), mediaPath);
}

bool MediaSettingsFile::SaveToINIVideo(const QString &mediaPath)
{
    BusyCursor busy;
    return write(mediaPath);
}

bool MediaSettingsFile::write(const QString &mediaPath)
{
    const QString path = PathFor(mediaPath);
    // A file that could not be read at all is left as it is.
    if (m_unreadable.value(path) == QStringList{QStringLiteral("*")}) return true;
    IniFile ini;
    bool ok = ini.load(path);
    if (ok) {
        apply(ini, mediaPath);
        ok = ini.save();
    }
    if (!ok) {
        m_reports.failed(path, ini.error(),
                         QStringLiteral("Не удалось сохранить закладки и настройки записи. Они остаются в программе."));
        return false;
    }
    m_reports.saved(path);
    m_watched = ini;
    m_savedState = comparable(ini);
    return true;
}

// The state as the file would hold it, without the position, which moves while playing.
QByteArray MediaSettingsFile::comparable(IniFile ini)
{
    ini.setValue(Main, QStringLiteral("Position"), {});
    return ini.toBytes();
}

void MediaSettingsFile::markSaved(const QString &mediaPath)
{
    m_watched.load(PathFor(mediaPath));
    IniFile ini = m_watched;
    apply(ini, mediaPath);
    m_savedState = comparable(ini);
}

// The file is read once, when the recording opens; the check each second works on that copy,
// which every write replaces.
void MediaSettingsFile::TimerMediaStateTimer()
{
    if (!m_keys || m_session.Opening || m_session.CurrentMediaPath.isEmpty() || !m_form.NZkl->isChecked()) return;
    IniFile ini = m_watched;
    apply(ini, m_session.CurrentMediaPath);
    if (comparable(ini) != m_savedState) write(m_session.CurrentMediaPath);
}
