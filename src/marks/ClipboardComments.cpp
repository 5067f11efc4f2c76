#include "marks/ClipboardComments.h"

#include "marks/BookmarkTable.h"
#include "marks/CommentScanner.h"
#include "platform/Desktop.h"
#include "platform/UserMessages.h"
#include "widgets/BusyCursor.h"

#include <QLabel>
#include <QMouseEvent>

ClipboardComments::ClipboardComments(const Controls &controls, BookmarkTable &bookmarks, ClipboardText &clipboard,
                                     UserMessages &messages)
    : m_c(controls), m_bookmarks(bookmarks), m_clipboard(clipboard), m_messages(messages)
{
    m_c.Label14->installEventFilter(this);
}

int ClipboardComments::WriteComments(BookmarkTable &bookmarks, const QString &copiedText)
{
    int written = 0;
    for (const ScannedComment &found : ScanBookmarkComments(copiedText)) {
        for (int r = 1; r < bookmarks.rowCount(); ++r) {
            if (bookmarks.cell(BookmarkTable::Name, r) != found.name) continue;
            bookmarks.setCell(BookmarkTable::Comment, r, found.comment);
            ++written;
            break;
        }
    }
    return written;
}

void ClipboardComments::Label14Click()
{
    int written = 0;
    {
        BusyCursor busy;
        m_c.window->repaint();
        const QString copied = m_clipboard.text();
        m_clipboard.setText(QString());
        written = WriteComments(m_bookmarks, copied);
    }
    m_messages.information(QStringLiteral("Внимание!"), QStringLiteral("Записано комментариев: %1").arg(written));
}

bool ClipboardComments::eventFilter(QObject *watched, QEvent *event)
{
    // A click: the left button released over the label.
    if (watched == m_c.Label14 && event->type() == QEvent::MouseButtonRelease) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton && m_c.Label14->rect().contains(mouse->position().toPoint())) {
            Label14Click();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}
