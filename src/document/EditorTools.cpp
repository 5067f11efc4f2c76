#include "document/EditorTools.h"

#include <QAction>
#include <QApplication>
#include <QFontDatabase>
#include <QFontDialog>
#include <QLocale>
#include <QMenu>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

namespace {

QAction *AddAction(QTextEdit *editor, const QString &text, const QList<QKeySequence> &keys, bool checkable = false)
{
    auto *action = new QAction(text, editor);
    action->setShortcuts(keys);
    action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    action->setCheckable(checkable);
    editor->addAction(action);
    return action;
}

bool IsWordChar(QChar c) { return c.isLetterOrNumber() || c.isMark(); }

bool IsHyphen(QChar c) { return c == u'-' || c == QChar(0x2010) || c == QChar(0x2011); }

bool JoinsWord(QChar before, QChar c, QChar after)
{
    if (IsHyphen(c)) return IsWordChar(before) && IsWordChar(after);
    return (c == u':' || c == u'.' || c == u',') && before.isDigit() && after.isDigit();
}

// The length of the marker "{...}" starting at i, 0 when there is none.
qsizetype MarkerLength(QStringView text, qsizetype i)
{
    if (text[i] != u'{') return 0;
    qsizetype end = i + 1;
    while (end < text.size() && text[end] != u'}' && !text[end].isSpace()) ++end;
    return end < text.size() && text[end] == u'}' && end > i + 1 ? end - i + 1 : 0;
}

QString Number(int n) { return QLocale(QLocale::Russian, QLocale::Russia).toString(n); }

} // namespace

QFont DefaultEditorFont()
{
    const QStringList installed = QFontDatabase::families();
    QString family = QApplication::font().family();
    for (const QString &candidate : {QStringLiteral("Liberation Serif"), QStringLiteral("DejaVu Serif")}) {
        if (installed.contains(candidate)) {
            family = candidate;
            break;
        }
    }
    return QFont(family, 14);
}

void SetEditorFont(QTextEdit *editor, const QFont &font)
{
    QFont chosen = editor->document()->defaultFont();
    chosen.setFamily(font.family());
    if (font.pointSizeF() > 0) chosen.setPointSizeF(font.pointSizeF());
    // The editor hands its own font to the document whenever that font changes, so both get it.
    editor->setFont(chosen);
    editor->document()->setDefaultFont(chosen);
}

int CountWords(QStringView text)
{
    int words = 0;
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n) {
        if (const qsizetype marker = MarkerLength(text, i)) {
            i += marker;
            continue;
        }
        if (!IsWordChar(text[i])) {
            ++i;
            continue;
        }
        ++words;
        ++i;
        while (i < n) {
            if (IsWordChar(text[i])) ++i;
            else if (i + 1 < n && JoinsWord(text[i - 1], text[i], text[i + 1])) i += 2;
            else break;
        }
    }
    return words;
}

EditorActions::EditorActions(QTextEdit *editor) : QObject(editor), m_editor(editor)
{
    m_bold = AddAction(editor, QStringLiteral("Полужирный"), {QKeySequence(Qt::CTRL | Qt::Key_B)}, true);
    m_italic = AddAction(editor, QStringLiteral("Курсив"), {QKeySequence(Qt::CTRL | Qt::Key_I)}, true);
    m_underline = AddAction(editor, QStringLiteral("Подчёркнутый"), {QKeySequence(Qt::CTRL | Qt::Key_U)}, true);
    m_undo = AddAction(editor, QStringLiteral("Отменить"), {QKeySequence(Qt::CTRL | Qt::Key_Z)});
    m_redo = AddAction(editor, QStringLiteral("Повторить"),
                       {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    m_font = AddAction(editor, QStringLiteral("Шрифт..."), {});

    connect(m_bold, &QAction::triggered, this, [this](bool on) {
        QTextCharFormat format;
        format.setFontWeight(on ? QFont::Bold : QFont::Normal);
        m_editor->mergeCurrentCharFormat(format);
    });
    connect(m_italic, &QAction::triggered, this, [this](bool on) {
        QTextCharFormat format;
        format.setFontItalic(on);
        m_editor->mergeCurrentCharFormat(format);
    });
    connect(m_underline, &QAction::triggered, this, [this](bool on) {
        QTextCharFormat format;
        format.setFontUnderline(on);
        m_editor->mergeCurrentCharFormat(format);
    });
    const auto follow = [this](const QTextCharFormat &format) {
        m_bold->setChecked(format.font().bold());
        m_italic->setChecked(format.fontItalic());
        m_underline->setChecked(format.fontUnderline());
    };
    connect(editor, &QTextEdit::currentCharFormatChanged, this, follow);
    follow(editor->currentCharFormat());

    connect(m_undo, &QAction::triggered, editor, &QTextEdit::undo);
    connect(m_redo, &QAction::triggered, editor, &QTextEdit::redo);
    connect(editor, &QTextEdit::undoAvailable, m_undo, &QAction::setEnabled);
    connect(editor, &QTextEdit::redoAvailable, m_redo, &QAction::setEnabled);
    m_undo->setEnabled(editor->document()->isUndoAvailable());
    m_redo->setEnabled(editor->document()->isRedoAvailable());

    connect(m_font, &QAction::triggered, this, &EditorActions::chooseFont);
}

void EditorActions::appendTo(QMenu *menu) const
{
    menu->addSeparator();
    if (!menu->findChild<QAction *>(QStringLiteral("edit-undo"), Qt::FindDirectChildrenOnly)) menu->addAction(m_undo);
    if (!menu->findChild<QAction *>(QStringLiteral("edit-redo"), Qt::FindDirectChildrenOnly)) menu->addAction(m_redo);
    menu->addActions({m_bold, m_italic, m_underline, m_font});
}

void EditorActions::chooseFont()
{
    bool ok = false;
    const QFont font =
        QFontDialog::getFont(&ok, m_editor->document()->defaultFont(), m_editor, QStringLiteral("Шрифт"));
    if (!ok) return;
    SetEditorFont(m_editor, font);
    emit fontChosen(m_editor->document()->defaultFont());
}

WordCountLabel::WordCountLabel(QTextEdit *editor, QWidget *parent) : QLabel(parent), m_editor(editor)
{
    setObjectName(QStringLiteral("WordCount"));
    m_delay.setSingleShot(true);
    m_delay.setInterval(300);
    connect(&m_delay, &QTimer::timeout, this, &WordCountLabel::refresh);
    connect(editor, &QTextEdit::textChanged, this, [this] {
        m_total = -1;
        m_delay.start();
    });
    connect(editor, &QTextEdit::selectionChanged, &m_delay, qOverload<>(&QTimer::start));
    refresh();
}

void WordCountLabel::refresh()
{
    m_delay.stop();
    if (m_total < 0) {
        // Block by block: a word never spans two paragraphs, and no copy of the whole text is made.
        m_total = 0;
        for (QTextBlock b = m_editor->document()->begin(); b.isValid(); b = b.next()) m_total += CountWords(b.text());
    }
    const QTextCursor cursor = m_editor->textCursor();
    if (cursor.hasSelection())
        setText(QStringLiteral("Слов: %1 из %2").arg(Number(CountWords(cursor.selectedText())), Number(m_total)));
    else setText(QStringLiteral("Слов: %1").arg(Number(m_total)));
}
