#pragma once

#include <QObject>

class BookmarkTable;
class ClipboardText;
class QLabel;
class QWidget;
class UserMessages;

// "Комментарий к закладкам {zX} из буфера обмена": the copied text's markers fill the comments
// of the bookmarks they name, and one message tells how many were written.
class ClipboardComments : public QObject {
public:
    struct Controls {
        QWidget *window; // repainted before the work, under the busy cursor
        QLabel *Label14;
    };

    ClipboardComments(const Controls &controls, BookmarkTable &bookmarks, ClipboardText &clipboard,
                      UserMessages &messages);

    // Takes the clipboard's text, empties the clipboard and writes the comments found.
    void Label14Click();
    // Each comment goes into the first row with its name; returns how many were written.
    static int WriteComments(BookmarkTable &bookmarks, const QString &copiedText);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override; // the label's click

private:
    const Controls m_c;
    BookmarkTable &m_bookmarks;
    ClipboardText &m_clipboard;
    UserMessages &m_messages;
};
