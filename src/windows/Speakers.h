#pragma once

#include <QObject>
#include <QString>
#include <array>

class QAction;
class TForm5;
class TextTarget;

// The speaker names and their typing into the text window, kept by the main window and
// edited in the speakers window.
class Speakers : public QObject {
public:
    struct Controls {
        std::array<QAction *, 9> N23x; // the speaker menu items
        QAction *N23;                  // the speakers window
    };

    Speakers(const Controls &controls, TForm5 &window, TextTarget &text);

    // The typed text: before-text, name, after-text, with no blanks added.
    static QString Compose(const QString &name, const QString &prefix, const QString &suffix);
    void TypeRow(int row);     // "->" of row 1 … 9 and its hot key: what the window shows
    void TypeSpeaker(int row); // menu item of row 1 … 9: the kept names
    void Button1Click();       // "ОК"
    void FormShow();
    // The captions of the speaker menu items for the kept names.
    void updateMenu();
    // The names of the recording just opened: the menu and a shown window follow them.
    void KeptNamesLoaded();

    // The kept names with the texts typed before and after a name.
    std::array<QString, 9> SpeakerNames;
    QString SpeakerPrefix;
    QString SpeakerSuffix;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override; // the editing rules

private:
    void type(const QString &text);

    const Controls m_c;
    TForm5 &m_window;
    TextTarget &m_text;
};
