#pragma once

#include <QByteArray>
#include <QString>
#include <QTextEdit>

#include <functional>
#include <stdexcept>

// A document file failed to load or save. damaged: the file exists but is not a document
// file, as opposed to one that cannot be opened or written.
struct DocumentError : std::runtime_error {
    DocumentError(const QString &text, bool damaged = false)
        : std::runtime_error(text.toStdString()), message(text), damaged(damaged)
    {
    }
    QString message;
    bool damaged;
};

// The layout of a document file: "BDOC", the draw aspect and the size of the storage, both
// 32-bit little-endian, then the storage, which is the document as UTF-8 HTML.
namespace DocumentFile {
constexpr quint32 ContentAspect = 1;
QByteArray Pack(const QByteArray &storage, quint32 aspect = ContentAspect);
// The storage of a document file's bytes; throws a damaged DocumentError naming path.
QByteArray Unpack(const QByteArray &file, const QString &path);
} // namespace DocumentFile

// The editor that holds the transcript, with the states of an embedded document: empty (no
// document), loaded (shown, not being edited), running, open and active in place (edited).
// It becomes active when it gets the focus. Loads replace the document only once the whole
// file has been read, so a file that cannot be read leaves the document as it was.
class DocumentContainer : public QTextEdit {
    Q_OBJECT
public:
    enum class State { Empty, Loaded, Running, Open, ActiveInPlace };
    enum Verb { ShowVerb = -1, PrimaryVerb = 0 };

    explicit DocumentContainer(QWidget *parent = nullptr);

    State state() const { return m_state; }
    bool hasDocument() const { return m_state != State::Empty; }

    void LoadFromFile(const QString &path); // throws DocumentError
    void SaveToFile(const QString &path);   // throws DocumentError; written whole or not at all
    // The bytes of a document file holding the document.
    QByteArray fileBytes() const;
    void LoadEmpty();     // a new empty document
    void Close();         // editing ends, the text stays
    void DestroyObject(); // the container becomes empty
    void Run();
    void DoVerb(int verb);
    void Repaint();

    // Adds to the editor's context menu; at: the click in the viewport.
    std::function<void(QMenu *menu, const QPoint &at)> extendMenu;

signals:
    void stateChanged(DocumentContainer::State state);
    // The text is about to be replaced as a whole.
    void aboutToReplace();
    // A document replaced the one shown (a load, an empty one, or none).
    void documentReplaced();

protected:
    void focusInEvent(QFocusEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    void setState(State state);

    State m_state = State::Empty;
};
