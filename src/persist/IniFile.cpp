#include "persist/IniFile.h"

#include "base/MediaTime.h"

#include <QFile>
#include <QSaveFile>

namespace {

const QChar EscapeMark(0xE000);

bool NeedsEscape(const QString &value)
{
    return value.contains(u'\n') || value.contains(u'\r') || value.startsWith(EscapeMark);
}

QString Escape(const QString &value)
{
    QString out = EscapeMark;
    for (QChar c : value) {
        if (c == u'\\') out += QStringLiteral("\\\\");
        else if (c == u'\n') out += QStringLiteral("\\n");
        else if (c == u'\r') out += QStringLiteral("\\r");
        else out += c;
    }
    return out + EscapeMark;
}

QString Unescape(const QString &value)
{
    if (value.size() < 2 || !value.startsWith(EscapeMark) || !value.endsWith(EscapeMark)) return value;
    QString out;
    const QStringView inner = QStringView(value).mid(1, value.size() - 2);
    for (qsizetype i = 0; i < inner.size(); ++i) {
        if (inner[i] != u'\\' || i + 1 == inner.size()) {
            out += inner[i];
            continue;
        }
        const QChar next = inner[++i];
        out += next == u'n' ? QChar(u'\n') : next == u'r' ? QChar(u'\r') : next;
    }
    return out;
}

} // namespace

bool IniFile::load(const QString &path)
{
    m_path = path;
    m_error.clear();
    m_sections.clear();
    m_sectionIndex.clear();
    m_unreadable.clear();
    QFile file(path);
    if (!file.exists()) return true;
    if (!file.open(QIODevice::ReadOnly)) {
        m_error = file.errorString();
        return false;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        m_error = file.errorString();
        return false;
    }
    parse(bytes);
    return true;
}

void IniFile::parse(const QByteArray &bytes)
{
    QString text = QString::fromUtf8(bytes);
    if (text.startsWith(QChar(0xFEFF))) text.remove(0, 1);
    Section *current = nullptr;
    qsizetype start = 0;
    while (start <= text.size()) {
        qsizetype end = start;
        while (end < text.size() && text[end] != u'\n' && text[end] != u'\r') ++end;
        const QString line = TrimControlChars(text.mid(start, end - start));
        start = end + ((end + 1 < text.size() && text[end] == u'\r' && text[end + 1] == u'\n') ? 2 : 1);
        if (line.isEmpty() || line.startsWith(u';')) continue;
        if (line.startsWith(u'[') && line.endsWith(u']')) {
            const QString name = TrimControlChars(line.mid(1, line.size() - 2));
            current = section(name);
            if (!current) current = &addSection(name);
            continue;
        }
        if (!current) continue;
        const qsizetype eq = line.indexOf(u'=');
        const QString key = TrimControlChars(line.left(eq < 0 ? line.size() : eq));
        const QString value = eq < 0 ? QString() : Unescape(TrimControlChars(line.mid(eq + 1)));
        current->entries.emplace_back(key, value);
    }
    // Of keys that appear twice the first counts.
    for (Section &s : m_sections) {
        s.index.clear();
        for (int i = static_cast<int>(s.entries.size()) - 1; i >= 0; --i)
            s.index.insert(s.entries[i].first.toLower(), i);
    }
}

QByteArray IniFile::toBytes() const
{
    QString text;
    for (const Section &s : m_sections) {
        text += u'[' + s.name + QStringLiteral("]\r\n");
        for (const auto &[key, value] : s.entries)
            text += key + u'=' + (NeedsEscape(value) ? Escape(value) : value) + QStringLiteral("\r\n");
        text += QStringLiteral("\r\n");
    }
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

bool IniFile::Update(const QString &path, const QString &section,
                     std::initializer_list<std::pair<QString, QString>> values)
{
    IniFile ini;
    if (!ini.load(path)) return false;
    for (const auto &[key, value] : values) ini.setValue(section, key, value);
    return ini.save();
}

bool IniFile::save()
{
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly) || file.write(toBytes()) < 0 || !file.commit()) {
        m_error = file.errorString();
        return false;
    }
    m_error.clear();
    return true;
}

QString IniFile::value(const QString &section, const QString &key, const QString &fallback) const
{
    const Section *s = this->section(section);
    if (!s) return fallback;
    const auto it = s->index.constFind(key.toLower());
    return it == s->index.cend() ? fallback : s->entries[*it].second;
}

bool IniFile::contains(const QString &section, const QString &key) const
{
    const Section *s = this->section(section);
    return s && s->index.contains(key.toLower());
}

int IniFile::keyCount(const QString &section) const
{
    const Section *s = this->section(section);
    return s ? static_cast<int>(s->index.size()) : 0;
}

int IniFile::number(const QString &section, const QString &key, int fallback) const
{
    if (!contains(section, key)) return fallback;
    bool ok = false;
    const int n = value(section, key).toInt(&ok);
    if (ok) return n;
    const QString name = section + u'/' + key;
    if (!m_unreadable.contains(name)) m_unreadable << name;
    return fallback;
}

void IniFile::keepUnreadable(const IniFile &other, const QStringList &keys)
{
    for (const QString &name : keys) {
        const qsizetype slash = name.indexOf(u'/');
        const QString section = name.left(slash), key = name.mid(slash + 1);
        if (other.contains(section, key)) setValue(section, key, other.value(section, key));
    }
}

void IniFile::setValue(const QString &section, const QString &key, const QString &value)
{
    Section *s = this->section(section);
    if (!s) s = &addSection(section);
    const QString lower = key.toLower();
    const auto it = s->index.constFind(lower);
    if (it != s->index.cend()) {
        s->entries[*it].second = value;
        return;
    }
    s->index.insert(lower, static_cast<int>(s->entries.size()));
    s->entries.emplace_back(key, value);
}

IniFile::Section *IniFile::section(const QString &name)
{
    const auto it = m_sectionIndex.constFind(name.toLower());
    return it == m_sectionIndex.cend() ? nullptr : &m_sections[*it];
}

const IniFile::Section *IniFile::section(const QString &name) const
{
    const auto it = m_sectionIndex.constFind(name.toLower());
    return it == m_sectionIndex.cend() ? nullptr : &m_sections[*it];
}

IniFile::Section &IniFile::addSection(const QString &name)
{
    m_sectionIndex.insert(name.toLower(), static_cast<int>(m_sections.size()));
    m_sections.push_back(Section{name, {}, {}});
    return m_sections.back();
}
