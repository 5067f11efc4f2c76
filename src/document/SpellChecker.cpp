#include "document/SpellChecker.h"

#include "platform/Logging.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

#include <hunspell/hunspell.hxx>

#include <optional>
#include <string>

namespace {

bool IsApostrophe(QChar c) { return c == u'\'' || c == u'\u2019' || c == u'\u02BC'; }

// Whether a run of letters, digits, inner hyphens and apostrophes is a word to check.
bool IsChecked(QStringView word)
{
    qsizetype letters = 0;
    bool allCapitals = true;
    for (QChar c : word) {
        if (c.isNumber()) return false;
        if (!c.isLetter()) continue;
        if (c.script() != QChar::Script_Cyrillic && c.script() != QChar::Script_Latin) return false;
        ++letters;
        allCapitals = allCapitals && c.isUpper();
    }
    return letters > 0 && !(allCapitals && letters <= 3);
}

// The word as the dictionaries are asked about it: without stress marks ("за́мок"), with the
// typewriter apostrophe.
QString LookupForm(QStringView word)
{
    QString form;
    form.reserve(word.size());
    for (QChar c : word) {
        if (c.isMark()) continue;
        form += IsApostrophe(c) ? QChar(u'\'') : c;
    }
    return form;
}

// Hunspell's name of a dictionary's encoding (its SET line) as Qt knows it.
QByteArray QtEncodingName(const std::string &hunspellName)
{
    const QByteArray name = QByteArray::fromStdString(hunspellName).trimmed();
    if (name.toLower().startsWith("microsoft-cp")) return "windows-" + name.mid(12); // microsoft-cp1251
    return name;
}

} // namespace

QList<WordSpan> CheckedWords(QStringView text)
{
    QList<WordSpan> words;
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n) {
        if (text[i] == u'{') { // a marker: from "{" to "}" with no blank between
            qsizetype close = i + 1;
            while (close < n && text[close] != u'}' && !text[close].isSpace()) ++close;
            i = close < n && text[close] == u'}' ? close + 1 : i + 1;
            continue;
        }
        if (!text[i].isLetterOrNumber()) {
            ++i;
            continue;
        }
        const qsizetype start = i++;
        while (i < n) {
            const QChar c = text[i];
            if (c.isLetterOrNumber() || c.isMark()) ++i;
            else if ((c == u'-' || IsApostrophe(c)) && i + 1 < n && text[i + 1].isLetterOrNumber()) i += 2;
            else break;
        }
        if (IsChecked(text.sliced(start, i - start))) words.append({start, i - start});
    }
    return words;
}

// One Hunspell dictionary and the converters to and from its encoding.
struct SpellChecker::Dictionary {
    Dictionary(const QString &aff, const QString &dic)
        : hunspell(QFile::encodeName(aff).constData(), QFile::encodeName(dic).constData()),
          encoding(QtEncodingName(hunspell.get_dict_encoding())), encoder(encoding.constData()),
          decoder(encoding.constData())
    {
    }
    // Nothing for a word with a letter that the encoding does not have. That is seen by decoding
    // the bytes back: Qt 6.4 keeps an ICU converter's error after resetState().
    std::optional<std::string> encode(QStringView word)
    {
        const QByteArray bytes = encoder.encode(word);
        encoder.resetState();
        if (decode(bytes) != word) return std::nullopt;
        return bytes.toStdString();
    }
    QString decode(QByteArrayView bytes)
    {
        const QString text = decoder.decode(bytes);
        decoder.resetState();
        return text;
    }
    void add(const QString &word)
    {
        if (const auto bytes = encode(word)) hunspell.add(*bytes);
    }

    Hunspell hunspell;
    QByteArray encoding;
    QStringEncoder encoder;
    QStringDecoder decoder;
};

QString SpellChecker::defaultDictionaryFolder() { return QStringLiteral("/usr/share/hunspell"); }

SpellChecker::SpellChecker(const QString &userDictionaryPath, const QString &dictionaryFolder, QObject *parent)
    : QObject(parent), m_userDictionaryPath(userDictionaryPath)
{
    load(dictionaryFolder + QStringLiteral("/ru_RU"), true);
    if (m_dictionaries.empty()) return;
    load(dictionaryFolder + QStringLiteral("/en_US"), false);

    QFile file(m_userDictionaryPath);
    if (m_userDictionaryPath.isEmpty() || !file.exists()) return;
    if (!file.open(QIODevice::ReadOnly)) { // kept as it is: the words added now stay in this run
        qCWarning(lcFiles) << "cannot read" << m_userDictionaryPath << ':' << file.errorString();
        m_userDictionaryPath.clear();
        return;
    }
    for (const QString &line : QString::fromUtf8(file.readAll()).split(u'\n')) {
        const QString word = line.trimmed();
        if (word.isEmpty() || m_userWords.contains(word)) continue;
        m_userWords.append(word);
        for (auto &d : m_dictionaries) d->add(word);
    }
}

SpellChecker::~SpellChecker() = default;

void SpellChecker::load(const QString &base, bool required)
{
    const QString aff = base + QStringLiteral(".aff");
    const QString dic = base + QStringLiteral(".dic");
    if (!QFileInfo::exists(aff) || !QFileInfo::exists(dic)) {
        if (required) qCWarning(lcApp) << "spell checking off: no dictionary" << dic;
        return;
    }
    auto d = std::make_unique<Dictionary>(aff, dic);
    if (!d->encoder.isValid() || !d->decoder.isValid()) {
        qCWarning(lcApp) << "dictionary" << dic << "left out: unknown encoding" << d->encoding;
        return;
    }
    m_dictionaries.push_back(std::move(d));
}

bool SpellChecker::available() const { return !m_dictionaries.empty(); }

bool SpellChecker::enabled() const { return m_on && available(); }

void SpellChecker::setEnabled(bool on)
{
    if (m_on == on) return;
    m_on = on;
    if (available()) emit changed();
}

bool SpellChecker::isMisspelt(QStringView word)
{
    if (!enabled() || !IsChecked(word)) return false;
    const QString form = LookupForm(word);
    const auto known = m_misspelt.constFind(form);
    if (known != m_misspelt.cend()) return *known;
    bool misspelt = true;
    for (auto &d : m_dictionaries) {
        const auto bytes = d->encode(form);
        if (bytes && d->hunspell.spell(*bytes)) {
            misspelt = false;
            break;
        }
    }
    m_misspelt.insert(form, misspelt);
    return misspelt;
}

QStringList SpellChecker::suggestions(QStringView word, int max)
{
    QStringList list;
    if (!enabled()) return list;
    const QString form = LookupForm(word);
    for (auto &d : m_dictionaries) {
        const auto bytes = d->encode(form);
        if (!bytes) continue;
        for (const std::string &s : d->hunspell.suggest(*bytes)) {
            const QString suggestion = d->decode(QByteArrayView(s.data(), qsizetype(s.size())));
            if (list.size() < max && !list.contains(suggestion)) list.append(suggestion);
        }
        if (list.size() >= max) break;
    }
    return list;
}

bool SpellChecker::addToUserDictionary(const QString &word)
{
    if (!enabled()) return false;
    const QString form = LookupForm(word).trimmed();
    if (form.isEmpty() || form.contains(u'\n')) return false;
    if (!m_userWords.contains(form)) {
        m_userWords.append(form);
        for (auto &d : m_dictionaries) d->add(form);
    }
    m_misspelt.clear(); // other forms of the word ("Слово", "СЛОВО") may be known now
    const bool saved = saveUserWords();
    emit changed();
    return saved;
}

bool SpellChecker::saveUserWords() const
{
    if (m_userDictionaryPath.isEmpty()) return false;
    const QByteArray bytes = m_userWords.join(u'\n').toUtf8() + '\n';
    QSaveFile file(m_userDictionaryPath);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        qCWarning(lcFiles) << "cannot write" << m_userDictionaryPath << ':' << file.errorString();
        return false;
    }
    return true;
}
