#pragma once

#include <QObject>
#include <QString>

class TForm1;
class TForm5;
struct MainOperations;

// The speaker names and their typing into the text window, kept by the main window and
// edited in the speakers window.
class Speakers : public QObject {
public:
    Speakers(TForm1 &form, TForm5 &window, MainOperations &ops);

    // The typed text: before-text, name, after-text, with no blanks added.
    static QString Compose(const QString &name, const QString &prefix, const QString &suffix);
    void TypeRow(int row);     // "->" of row 1 … 9: what the window shows
    void TypeSpeaker(int row); // menu item of row 1 … 9: the kept names
    void Button1Click();       // "ОК"
    void FormShow();
    // The captions of the speaker menu items for the kept names.
    void updateMenu();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override; // the editing rules

private:
    void type(const QString &text);

    TForm1 &m_form;
    TForm5 &m_window;
    MainOperations &m_ops;
};
