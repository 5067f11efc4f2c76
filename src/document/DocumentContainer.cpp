#include "document/DocumentContainer.h"

#include "platform/BackgroundWriter.h"
#include "platform/Logging.h"

#include <QContextMenuEvent>
#include <memory>
#include <QFile>
#include <QMenu>
#include <QtEndian>

namespace {

constexpr char Signature[4] = {'B', 'D', 'O', 'C'};
constexpr int HeaderSize = 12;

DocumentError Damaged(const QString &path, const char *reason)
{
    return DocumentError(QStringLiteral("Файл документа повреждён: ") + path + QStringLiteral(" (") +
                             QString::fromUtf8(reason) + u')',
                         true);
}

} // namespace

QByteArray DocumentFile::Pack(const QByteArray &storage, quint32 aspect)
{
    QByteArray file(HeaderSize, '\0');
    std::copy(std::begin(Signature), std::end(Signature), file.begin());
    qToLittleEndian<quint32>(aspect, file.data() + 4);
    qToLittleEndian<quint32>(static_cast<quint32>(storage.size()), file.data() + 8);
    return file + storage;
}

QByteArray DocumentFile::Unpack(const QByteArray &file, const QString &path)
{
    const QByteArray signature(Signature, sizeof Signature);
    if (file.isEmpty() || !signature.startsWith(file.left(signature.size())))
        throw Damaged(path, "в начале нет метки BDOC");
    if (file.size() < HeaderSize) throw Damaged(path, "файл обрезан");
    const quint32 size = qFromLittleEndian<quint32>(file.constData() + 8);
    if (size > static_cast<quint64>(file.size() - HeaderSize)) throw Damaged(path, "размер текста больше файла");
    return file.mid(HeaderSize, size);
}

DocumentContainer::DocumentContainer(QWidget *parent) : QTextEdit(parent) { setReadOnly(true); }

void DocumentContainer::setState(State state)
{
    if (state == m_state) return;
    m_state = state;
    setReadOnly(state < State::Running);
    emit stateChanged(state);
}

void DocumentContainer::LoadFromFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw DocumentError(QStringLiteral("Не удается открыть файл документа: ") + path + QStringLiteral(" (") +
                            file.errorString() + u')');
    const QByteArray storage = DocumentFile::Unpack(file.readAll(), path);
    emit aboutToReplace();
    setHtml(QString::fromUtf8(storage));
    document()->setModified(false);
    setState(State::Loaded);
    emit documentReplaced();
    qCDebug(lcApp) << "document loaded from" << path;
}

QByteArray DocumentContainer::fileBytes() const
{
    // The body's font is the editor's font of the day, not the document's: left out, the text
    // takes the font the user chose in this program wherever it is opened.
    QString html = toHtml();
    const qsizetype body = html.indexOf(QLatin1String("<body style="));
    if (body >= 0) html.remove(body + 5, html.indexOf(u'>', body) - body - 5);
    return DocumentFile::Pack(html.toUtf8());
}

void DocumentContainer::SaveToFile(const QString &path)
{
    if (!hasDocument()) throw DocumentError(QStringLiteral("Нет документа для сохранения в ") + path);
    const QString error = WriteWhole(path, fileBytes());
    if (!error.isEmpty())
        throw DocumentError(QStringLiteral("Не удается записать файл документа: ") + path + QStringLiteral(" (") +
                            error + u')');
}

void DocumentContainer::LoadEmpty()
{
    emit aboutToReplace();
    clear();
    document()->setModified(false);
    setState(State::Loaded);
    emit documentReplaced();
}

void DocumentContainer::Close()
{
    if (hasDocument()) setState(State::Loaded);
}

void DocumentContainer::DestroyObject()
{
    emit aboutToReplace();
    clear();
    setState(State::Empty);
    emit documentReplaced();
}

void DocumentContainer::Run()
{
    if (m_state == State::Loaded) setState(State::Running);
}

// The primary verb edits the document where it is shown; showing it opens it in its window.
void DocumentContainer::DoVerb(int verb)
{
    if (!hasDocument()) return;
    Run();
    if (verb == ShowVerb) {
        setState(State::Open);
        return;
    }
    setState(State::ActiveInPlace);
    if (isVisible()) setFocus(Qt::OtherFocusReason);
}

void DocumentContainer::Repaint()
{
    if (hasDocument()) viewport()->update();
}

void DocumentContainer::focusInEvent(QFocusEvent *event)
{
    if (m_state == State::Loaded) setState(State::ActiveInPlace);
    QTextEdit::focusInEvent(event);
}

void DocumentContainer::contextMenuEvent(QContextMenuEvent *event)
{
    std::unique_ptr<QMenu> menu(createStandardContextMenu());
    if (extendMenu) extendMenu(menu.get(), event->pos());
    menu->exec(event->globalPos());
}
