#include "app/TextDocuments.h"

#include "document/DocumentContainer.h"
#include "document/TFormOle.h"
#include "document/TranscriptExport.h"
#include "forms/TForm1.h"
#include "persist/MediaKey.h"
#include "platform/Clock.h"
#include "platform/Logging.h"
#include "platform/ProgramFolder.h"
#include "platform/TextTarget.h"
#include "platform/UserMessages.h"
#include "playback/MediaSession.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMenu>
#include <QScreen>

namespace {

const char *const LastDocument = "AvtoSaveFile.ole";
const char *const TemplateName = "TemplateNewFile.ole";
constexpr int AutosaveMs = 180000;

bool Exists(const QString &path) { return !path.isEmpty() && QFile::exists(path); }

void EnsureFolder(const QString &path)
{
    if (!QDir().mkpath(path)) throw DocumentError(QStringLiteral("Cannot create ") + path);
}

// A damaged file is renamed so that the next save under its name does not destroy what may
// still be read from it.
QString KeepAside(const QString &path)
{
    QString aside = path + QStringLiteral(".damaged");
    for (int n = 1; QFile::exists(aside); ++n) aside = path + QStringLiteral(".damaged") + QString::number(n);
    return QFile::rename(path, aside) ? aside : QString();
}

QByteArray Contents(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

TextDocuments::TextDocuments(TForm1 &form, TFormOle &text, const MediaSession &session, const bool &normalClose,
                             Clock &clock, UserMessages &messages, TextTarget &externalText)
    : TimerAvtoSave(clock.timer(QStringLiteral("TimerAvtoSave"), AutosaveMs, false, true)), m_form(form), m_text(text),
      m_session(session), m_normalClose(normalClose), m_messages(messages), m_externalText(externalText)
{
    TimerAvtoSave->onTimeout = [this] { TimerAvtoSaveTimer(); };
}

TextDocuments::~TextDocuments() = default;

QString TextDocuments::WorkFile(const QString &name) { return WorkFolder() + u'/' + name; }

QString TextDocuments::TemplatePath()
{
    const QString own = WorkFile(QLatin1String(TemplateName));
    if (Exists(own)) return own;
    const QString shipped = QCoreApplication::applicationDirPath() + u'/' + QLatin1String(TemplateName);
    return Exists(shipped) ? shipped : QString();
}

DocumentContainer &TextDocuments::document() const { return *m_text.OleContainer1; }

bool TextDocuments::embedded() const { return !m_form.NWord->isChecked(); }

QString TextDocuments::mediaDocument(const QString &mediaPath) const
{
    const QString key = MakeMediaKey(mediaPath).trimmed();
    return key.isEmpty() ? QString() : WorkFile(key + QStringLiteral(".ole"));
}

void TextDocuments::ActivateTextDocument() { document().DoVerb(DocumentContainer::PrimaryVerb); }

void TextDocuments::runAndActivate()
{
    document().Run();
    ActivateTextDocument();
}

void TextDocuments::load(const QString &path, bool keepDamagedAside)
{
    try {
        document().LoadFromFile(path);
    } catch (const DocumentError &e) {
        qCWarning(lcFiles) << e.message;
        if (!e.damaged) throw;
        const QString aside = keepDamagedAside ? KeepAside(path) : QString();
        const QString kept = aside.isEmpty() ? QString() : QStringLiteral("\nОн сохранён под именем ") + aside + u'.';
        throw DocumentError(e.message + kept + QStringLiteral("\nТекст в окне не изменён."), true);
    }
}

bool TextDocuments::replaceWith(const QString &path, bool keepDamagedAside)
{
    try {
        load(path, keepDamagedAside);
        return true;
    } catch (const DocumentError &e) {
        if (e.damaged) m_messages.error(QStringLiteral("Ошибка документа"), e.message);
        return false;
    }
}

void TextDocuments::SwitchMediaDocument(const QString &previousPath, const QString &newPath)
{
    document().SaveToFile(WorkFile(QLatin1String(LastDocument)));
    const QString previous = mediaDocument(previousPath);
    if (!previous.isEmpty()) document().SaveToFile(previous);
    document().Close();
    const QString own = mediaDocument(newPath);
    const QString next = Exists(own) ? own : TemplatePath();
    if (next.isEmpty()) {
        // Without a template a new media file starts with an empty document.
        qCWarning(lcFiles) << "no" << TemplateName << "beside the program; starting an empty document";
        document().LoadEmpty();
    } else {
        load(next, next == own); // the template is only ever read
    }
    runAndActivate();
}

void TextDocuments::LoadStartupDocument()
{
    const QString perMedia = mediaDocument(m_session.CurrentMediaPath);
    const QString last = WorkFile(QLatin1String(LastDocument));
    const QString path = Exists(perMedia) ? perMedia : Exists(last) ? last : QString();
    if (!path.isEmpty() && !replaceWith(path, true)) return;
    runAndActivate();
}

void TextDocuments::SaveShutdownDocuments()
{
    if (!embedded() || !document().hasDocument()) return;
    try {
        document().Close();
        const QString perMedia = mediaDocument(m_session.CurrentMediaPath);
        if (m_form.N15->isChecked() && !perMedia.isEmpty()) document().SaveToFile(perMedia);
        document().SaveToFile(WorkFile(QLatin1String(LastDocument)));
        if (!m_normalClose) document().SaveToFile(WorkFile(QStringLiteral("AvtoSaveERROR.ole")));
    } catch (const DocumentError &e) {
        qCWarning(lcFiles) << e.message;
    }
}

void TextDocuments::CloseEmbeddedDocument() { document().Close(); }

void TextDocuments::RepaintEmbeddedDocument() { document().Repaint(); }

void TextDocuments::N8Click()
{
    if (embedded()) runAndActivate();
}

void TextDocuments::N9Click()
{
    if (!embedded()) return;
    document().DoVerb(DocumentContainer::ShowVerb);
    document().Close();
}

void TextDocuments::MSWORD1Click()
{
    if (!embedded() || !document().hasDocument()) return;
    try {
        const QString copy = WorkFile(QStringLiteral("TMPWORD.OLE"));
        document().SaveToFile(copy);
        const QString perMedia = mediaDocument(m_session.CurrentMediaPath);
        if (m_form.N15->isChecked() && !perMedia.isEmpty()) document().SaveToFile(perMedia);
        EnsureFolder(WorkFolder());
        const QString last = WorkFile(QLatin1String(LastDocument));
        document().SaveToFile(last);
        m_form.OleContainer2->LoadFromFile(copy);
        m_form.OleContainer2->Run();
        ActivateTextDocument();
        document().LoadFromFile(last);
        runAndActivate();
    } catch (const DocumentError &e) {
        m_messages.standardError(e.message);
    }
}

// After a run that ended without its shutdown saves (a crash, a power cut), the autosave holds
// newer text than the last document: the restore offers it instead.
QString TextDocuments::RestoreOffer()
{
    const QString last = WorkFile(QLatin1String(LastDocument));
    const QString autosave = WorkFile(QStringLiteral("AvtoSaveFileTimer.ole"));
    const QFileInfo lastInfo(last), autosaveInfo(autosave);
    const bool newer =
        autosaveInfo.exists() && (!lastInfo.exists() || autosaveInfo.lastModified() > lastInfo.lastModified());
    return newer && Contents(autosave) != Contents(last) ? autosave : last;
}

void TextDocuments::N3Click()
{
    FileDialogSpec spec{
        QStringLiteral("Открыть файл с текстом"), {QStringLiteral("OLE (*.ole)")}, 0, QStringLiteral("ole")};
    const QString picked = m_messages.openFile(spec, RestoreOffer());
    if (picked.isEmpty() || !embedded()) return;
    document().Close();
    if (replaceWith(picked, false)) runAndActivate();
}

void TextDocuments::N21Click()
{
    if (embedded()) {
        m_text.show();
        const QRect r = m_text.geometry();
        const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
        if (r.left() > screen.width() - 50 || r.top() > screen.height() - 50 || r.left() + r.width() < 50 ||
            r.top() < 5 || r.width() < 20 || r.height() < 15)
            m_text.setGeometry(100, 400, 800, 600);
        m_text.raise();
        m_text.activateWindow();
        return;
    }
    if (!m_externalText.ShowTextWindow())
        m_messages.error(QStringLiteral("Вы не указали еще окно к текстом!"),
                         QStringLiteral("Включите флаг управления по ESC и нажатием на эту \t\tклавишу в текстовом "
                                        "окне вы и укажите программе нужное окно."));
}

void TextDocuments::NWordClick()
{
    const bool external = !embedded();
    m_form.N2->menuAction()->setVisible(!external);
    m_form.N3->setVisible(!external);
    if (external) {
        m_text.hide();
        return;
    }
    m_text.show();
    const QString perMedia = mediaDocument(m_session.CurrentMediaPath);
    if (!Exists(perMedia) ||
        !m_messages.question(QStringLiteral("Вопрос"), QStringLiteral("Загрузить последний сохраненный документ?")))
        return;
    if (replaceWith(perMedia, true)) runAndActivate();
}

void TextDocuments::ExportText(bool odt)
{
    const ExportFormat format = odt ? ExportFormat::Odt : ExportFormat::PlainText;
    FileDialogSpec spec{QStringLiteral("Сохранить текст"),
                        {odt ? QStringLiteral("Документ ODT (*.odt)") : QStringLiteral("Текст (*.txt)")},
                        0,
                        odt ? QStringLiteral("odt") : QStringLiteral("txt")};
    QString initial = DefaultExportPath(m_session.CurrentMediaPath, format);
    if (initial.isEmpty())
        initial = QDir::homePath() + (odt ? QStringLiteral("/Текст.odt") : QStringLiteral("/Текст.txt"));
    const QString path = m_messages.saveFile(spec, initial);
    if (path.isEmpty()) return;
    const QString error = ExportTranscript(*document().document(), format, path);
    if (!error.isEmpty()) m_messages.standardError(error);
}

void TextDocuments::autosave()
{
    if (embedded() && document().hasDocument()) {
        EnsureFolder(WorkFolder());
        document().SaveToFile(WorkFile(QStringLiteral("AvtoSaveFileTimer.ole")));
        document().SaveToFile(WorkFile(QStringLiteral("AvtoSaveFileTimer%1.ole").arg(AutosaveCounter)));
    }
    ++AutosaveCounter;
}

// A failing autosave stops the autosave for the rest of the run, without a message.
void TextDocuments::TimerAvtoSaveTimer()
{
    try {
        autosave();
    } catch (const DocumentError &e) {
        qCWarning(lcFiles) << "autosave stopped:" << e.message;
        TimerAvtoSave->stop();
    }
}

void TextDocuments::TextWindowDestroyed()
{
    try {
        autosave();
    } catch (const DocumentError &e) {
        qCWarning(lcFiles) << e.message;
    }
}
