#pragma once

#include "automation/GlobalHotKey.h"

#include <QDialog>

class HotKeys;
class QKeySequenceEdit;
class QLabel;
class QStatusBar;
class QTableWidget;

// The hot-key window ("Горячие клавиши"): every system-wide combination with what it does and
// whether the desktop gave it to the program, and another combination for the selected one.
// A choice is kept in setting.ini, section "Горячие клавиши", under the hot key's name.
class HotKeyWindow : public QDialog {
    Q_OBJECT
public:
    // defaults: the combinations the program comes with.
    HotKeyWindow(HotKeyTable &table, const HotKeyTable &defaults, HotKeys &keys);

    // Takes the combinations kept in setting.ini.
    void LoadChoices();
    // Says once, in the status line, which combinations the desktop refused and where to
    // choose others; nothing when every one was given.
    void ReportRefused(QStatusBar &status) const;
    // Gives the selected hot key another combination, as the key-sequence field and
    // "Назначить" do; false, with the reason shown in the window, when it cannot have it.
    bool Assign(int row, unsigned modifiers, int virtualKey);

    QTableWidget *Table;
    QKeySequenceEdit *NewCombination;
    QLabel *Result;

    static QString Describe(const QString &name);

private:
    void refresh();
    void assignTyped();

    HotKeyTable &m_table;
    const HotKeyTable m_defaults;
    HotKeys &m_keys;
};
