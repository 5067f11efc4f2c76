#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <initializer_list>
#include <utility>
#include <vector>

// An INI document held in memory, in the format of the program's settings files.
//
// Reading: UTF-8 with or without a byte-order mark; lines end in CR LF, LF or CR; every line is
// trimmed of blanks and control characters; empty lines and lines beginning with ";" are
// skipped, as are lines before the first section; "[name]" opens a section; in a section the
// text before the first "=" is the key and the rest the value, both trimmed. Sections and keys
// are found by name regardless of case; of keys that appear twice the first counts.
//
// Writing: the whole document, UTF-8 with a byte-order mark and CR LF line ends; each section
// as "[name]", its keys in the order they first entered the document (new keys at the end of
// their section) and an empty line. The file is written to a temporary file in the same folder
// and renamed over the old one, so a failed write leaves the old file whole.
//
// A value holding a line break would split its line and could even open a section. Such a
// value is written escaped and between two U+E000 characters (a private-use character no
// settings file holds otherwise), and reads back unchanged; all other values are written as
// they are.
class IniFile {
public:
    // Reads the file; a missing file reads as an empty document. False, with error(), when the
    // file exists and cannot be read.
    bool load(const QString &path);
    // Writes the document to the path it was loaded from; false, with error(), when it cannot.
    bool save();

    QString value(const QString &section, const QString &key, const QString &fallback = {}) const;
    bool contains(const QString &section, const QString &key) const;
    int keyCount(const QString &section) const; // 0 for a section that is not there
    // A whole number; a value that is none gives fallback and is remembered in unreadable().
    int number(const QString &section, const QString &key, int fallback) const;
    // The keys whose values could not be read as numbers, as "section/key".
    const QStringList &unreadable() const { return m_unreadable; }
    // Sets again, from other, the keys it could not read: a save keeps what a load could not use.
    void keepUnreadable(const IniFile &other, const QStringList &keys);
    void setValue(const QString &section, const QString &key, const QString &value);
    // Sets keys of one section in the file at path and writes it, the rest kept as it is. False,
    // and the file untouched, when it cannot be read; false when it cannot be written.
    static bool Update(const QString &path, const QString &section,
                       std::initializer_list<std::pair<QString, QString>> values);

    QString path() const { return m_path; }
    QString error() const { return m_error; }
    // The document as it is written.
    QByteArray toBytes() const;
    void parse(const QByteArray &bytes);

private:
    struct Section {
        QString name;
        std::vector<std::pair<QString, QString>> entries; // key and value, in file order
        QHash<QString, int> index;                        // lower-case key -> first entry
    };
    Section *section(const QString &name);
    const Section *section(const QString &name) const;
    Section &addSection(const QString &name);

    std::vector<Section> m_sections;
    QHash<QString, int> m_sectionIndex; // lower-case name -> section
    QString m_path;
    QString m_error;
    mutable QStringList m_unreadable;
};
