#pragma once

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

// Spell checking of the transcript with Hunspell: the Russian dictionary (ru_RU) and, when it is
// installed beside it, the English one (en_US), so that English words are not flagged; a word is
// right when either knows it. Without the Russian dictionary checking is off: available() is false,
// no word is misspelt, there are no suggestions and nothing is added.
//
// Words are runs of letters with inner hyphens and apostrophes ("кто-то", "don't"). Not checked:
// numbers and time stamps ("01:02:03"), markers ("{z1}", "{zX}"), words with digits ("5-й"),
// words in other scripts than Cyrillic and Latin, and abbreviations of 1 to 3 capitals ("МВД").
//
// The personal word list is a UTF-8 text file, one word a line (a missing file is an empty list),
// read at construction and rewritten whole on each addition.
//
// See SpellHighlighter.h for the underlines and the context menu.
class SpellChecker : public QObject {
    Q_OBJECT
public:
    static QString defaultDictionaryFolder(); // /usr/share/hunspell

    // dictionaryFolder holds ru_RU.aff/.dic and, optionally, en_US.aff/.dic.
    explicit SpellChecker(const QString &userDictionaryPath,
                          const QString &dictionaryFolder = defaultDictionaryFolder(), QObject *parent = nullptr);
    ~SpellChecker() override;

    bool available() const; // the Russian dictionary is loaded
    bool enabled() const;   // available and not turned off
    void setEnabled(bool on);

    // False for a word that is not checked and whenever checking is off. Results are cached.
    bool isMisspelt(QStringView word);
    QStringList suggestions(QStringView word, int max = 7);
    // Accepts the word from now on and writes it to the personal list. False when checking is
    // off or the list could not be written (the word is then accepted in this run only).
    bool addToUserDictionary(const QString &word);
    QStringList userWords() const { return m_userWords; }

signals:
    void changed(); // turned on or off, or a word added: the underlines are to be redone

private:
    struct Dictionary;
    void load(const QString &base, bool required);
    bool saveUserWords() const;

    std::vector<std::unique_ptr<Dictionary>> m_dictionaries; // the first is the Russian one
    QHash<QString, bool> m_misspelt;
    QStringList m_userWords;
    QString m_userDictionaryPath;
    bool m_on = true;
};

// Where the words to check lie in a text (a block of the document).
struct WordSpan {
    qsizetype start;
    qsizetype length;
    friend bool operator==(const WordSpan &, const WordSpan &) = default;
};
QList<WordSpan> CheckedWords(QStringView text);
