#include "app/TextDocuments.h"

#include "document/DocumentContainer.h"
#include "document/TFormOle.h"
#include "document/TranscriptExport.h"
#include "forms/TForm1.h"
#include "persist/MediaKey.h"
#include "platform/Clock.h"
#include "platform/Logging.h"
#include "platform/BackgroundWriter.h"
#include "platform/ProgramFolder.h"
#include "platform/SaveReports.h"
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
#include <QRegularExpression>
#include <QTextDocument>
#include <QScreen>

namespace {

const char *const LastDocument = "AvtoSaveFile.ole";
const char *const TemplateName = "TemplateNewFile.ole";
const char *const NumberedAutosave = "AvtoSaveFileTimer%1.ole";
constexpr int AutosaveMs = 180000;
constexpr int RecoveryDelayMs = 1000;
const char *const TextNotSaved = "Не удалось сохранить текст. Он остаётся в окне программы.";

bool Exists(const QString &path) { return !path.isEmpty() && QFile::exists(path); }

void EnsureFolder(const QString &path)
{
    if (!QDir().mkpath(path)) throw DocumentError(QStringLiteral("Cannot create ") + path);
}

QByteArray Contents(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A file that cannot be read is renamed, as the program would later write over it; the new
// name, or empty when it could not be renamed.
QString KeepAside(const QString &path, const QString &why)
{
    const QString aside = TextDocuments::AsideName(path, why);
    return QFile::rename(path, aside) ? aside : QString();
}

// The next numbered autosave copy: on from the highest any run has left, so no run writes over
// an earlier run's copies.
int NextAutosaveNumber()
{
    const QRegularExpression number(QStringLiteral("^AvtoSaveFileTimer(\\d+)\\.ole$"));
    int next = 0;
    for (const QString &name : QDir(WorkFolder()).entryList({QStringLiteral("AvtoSaveFileTimer*.ole")}, QDir::Files)) {
        const QRegularExpressionMatch m = number.match(name);
        if (m.hasMatch()) next = std::max(next, m.captured(1).toInt() + 1);
    }
    return next;
}

} // namespace

TextDocuments::TextDocuments(TForm1 &form, TFormOle &text, const MediaSession &session, const bool &normalClose,
                             Clock &clock, UserMessages &messages, SaveReports &reports, TextTarget &externalText)
    : AutosaveCounter(NextAutosaveNumber()),
      TimerAvtoSave(clock.timer(QStringLiteral("TimerAvtoSave"), AutosaveMs, false, true)),
      TimerRecovery(clock.timer(QStringLiteral("TimerRecovery"), RecoveryDelayMs, true, false)), m_form(form),
      m_text(text), m_session(session), m_normalClose(normalClose), m_messages(messages), m_reports(reports),
      m_externalText(externalText), m_writer(std::make_unique<BackgroundWriter>())
{
    TimerAvtoSave->onTimeout = [this] { TimerAvtoSaveTimer(); };
    TimerRecovery->onTimeout = [this] { writeRecovery(); };
    DocumentContainer *doc = &document();
    QObject::connect(doc, &DocumentContainer::aboutToReplace, &m_text, [this] { m_replacing = true; });
    QObject::connect(doc, &DocumentContainer::documentReplaced, &m_text, [this] { m_replacing = false; });
    // Typing only starts the count: the copy is made off the keystroke, its file on a thread.
    QObject::connect(doc->document(), &QTextDocument::contentsChanged, &m_text, [this] {
        if (!m_replacing && !TimerRecovery->isActive() && document().document()->isModified()) TimerRecovery->start();
    });
    QObject::connect(m_writer.get(), &BackgroundWriter::written, m_writer.get(),
                     [this](const QString &path, const QString &error) {
                         if (error.isEmpty()) m_reports.saved(path);
                         else
                             m_reports.failed(path, error,
                                              QStringLiteral("Не удалось сохранить копию текста для "
                                                             "восстановления. Текст остаётся в окне."));
                     });
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

QString TextDocuments::RecoveryFile(const QString &mediaPath)
{
    const QString key = MediaFileKey(mediaPath, WorkFolder());
    return WorkFile((key.isEmpty() ? QStringLiteral("AvtoSaveFile") : key) + QStringLiteral(" (восстановление).ole"));
}

QString TextDocuments::AsideName(const QString &path, const QString &why)
{
    QString base = path;
    if (base.endsWith(QLatin1String(".ole"), Qt::CaseInsensitive)) base.chop(4);
    QString aside = base + QStringLiteral(" (") + why + QStringLiteral(").ole");
    for (int n = 2; QFile::exists(aside); ++n)
        aside = base + QStringLiteral(" (") + why + u' ' + QString::number(n) + QStringLiteral(").ole");
    return aside;
}

DocumentContainer &TextDocuments::document() const { return *m_text.OleContainer1; }

bool TextDocuments::embedded() const { return !m_form.NWord->isChecked(); }

QString TextDocuments::mediaDocument(const QString &mediaPath) const
{
    const QString key = MediaFileKey(mediaPath, WorkFolder());
    return key.isEmpty() ? QString() : WorkFile(key + QStringLiteral(".ole"));
}

QString TextDocuments::recoveryMedia() const { return m_form.N15->isChecked() ? m_documentMedia : QString(); }

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
        const QString aside = keepDamagedAside ? KeepAside(path, QStringLiteral("повреждён")) : QString();
        const QString kept = aside.isEmpty() ? QString() : QStringLiteral("\nОн сохранён под именем ") + aside + u'.';
        throw DocumentError(e.message + kept, true);
    }
}

bool TextDocuments::replaceWith(const QString &path, bool keepDamagedAside)
{
    try {
        load(path, keepDamagedAside);
        return true;
    } catch (const DocumentError &e) {
        if (e.damaged)
            m_messages.error(QStringLiteral("Ошибка документа"),
                             e.message + QStringLiteral("\nТекст в окне не изменён."));
        return false;
    }
}

bool TextDocuments::save(const QString &path)
{
    const QString error = WriteWhole(path, document().fileBytes());
    if (error.isEmpty()) {
        m_reports.saved(path);
        return true;
    }
    m_reports.failed(path, error, QString::fromUtf8(TextNotSaved));
    return false;
}

bool TextDocuments::SaveLeavingDocument(const QString &previousPath)
{
    if (!embedded() || !document().hasDocument()) return true;
    TimerRecovery->stop();
    const bool ofRecording = !previousPath.isEmpty() && previousPath == m_documentMedia;
    const QString own = ofRecording ? mediaDocument(previousPath) : QString();
    // A document no recording owns is kept only when something was typed into it.
    if (own.isEmpty() && !document().document()->isModified()) return true;
    bool ok = own.isEmpty() || save(own);
    const bool last = save(WorkFile(QLatin1String(LastDocument)));
    if (own.isEmpty()) ok = last;
    if (!ok) return false;
    document().document()->setModified(false);
    if (ofRecording || m_documentMedia.isEmpty()) dropRecovery(recoveryMedia());
    return true;
}

void TextDocuments::LoadMediaDocument(const QString &mediaPath)
{
    if (!embedded()) return;
    TimerRecovery->stop();
    document().Close();
    const QString own = mediaDocument(mediaPath);
    const QString path = Exists(own) ? own : TemplatePath();
    QString loaded;
    m_documentMedia = mediaPath;
    try {
        if (path.isEmpty()) {
            qCDebug(lcFiles) << "no" << TemplateName << "beside the program; starting an empty document";
            document().LoadEmpty();
        } else {
            // The template beside the program may be read only; the working folder's is set aside.
            load(path, path == own || path.startsWith(WorkFolder() + u'/'));
            if (path == own) loaded = own;
        }
    } catch (const DocumentError &e) {
        // A document that cannot be read is never written over: set aside, or, when it cannot
        // be, the text typed now is kept as the last document only.
        QString text = e.message;
        if (path == own && !e.damaged) {
            const QString aside = KeepAside(own, QStringLiteral("не читается"));
            if (aside.isEmpty()) m_documentMedia.clear();
            else text += QStringLiteral("\nОн сохранён под именем ") + aside + u'.';
        }
        m_messages.error(QStringLiteral("Ошибка документа"), text + QStringLiteral("\nОткрыт пустой документ."));
        document().LoadEmpty();
    }
    offerRecovery(mediaPath, loaded);
    runAndActivate();
}

void TextDocuments::LoadNoDocument()
{
    if (!embedded()) return;
    TimerRecovery->stop();
    m_documentMedia.clear();
    document().LoadEmpty();
    runAndActivate();
}

void TextDocuments::LoadStartupDocument()
{
    // The open at start-up has loaded the recording's own document.
    if (m_form.N15->isChecked() && !m_session.CurrentMediaPath.isEmpty() &&
        m_documentMedia == m_session.CurrentMediaPath) {
        runAndActivate();
        return;
    }
    const QString perMedia = mediaDocument(m_session.CurrentMediaPath);
    const QString last = WorkFile(QLatin1String(LastDocument));
    const QString path = Exists(perMedia) ? perMedia : Exists(last) ? last : QString();
    if (!path.isEmpty() && !replaceWith(path, true)) return;
    m_documentMedia = path == perMedia ? m_session.CurrentMediaPath : QString();
    offerRecovery(recoveryMedia(), path);
    runAndActivate();
}

void TextDocuments::SaveShutdownDocuments()
{
    if (!embedded() || !document().hasDocument()) return;
    TimerRecovery->stop();
    document().Close();
    const QString current = m_session.CurrentMediaPath;
    const bool ofRecording = m_form.N15->isChecked() && !current.isEmpty() && current == m_documentMedia;
    const QString perMedia = ofRecording ? mediaDocument(current) : QString();
    const bool own = !perMedia.isEmpty() && save(perMedia);
    const bool last = save(WorkFile(QLatin1String(LastDocument)));
    if (!m_normalClose) save(WorkFile(QStringLiteral("AvtoSaveERROR.ole")));
    if (perMedia.isEmpty() ? last : own) {
        document().document()->setModified(false);
        dropRecovery(recoveryMedia());
    }
}

void TextDocuments::writeRecovery()
{
    if (!embedded() || !document().hasDocument() || !document().document()->isModified()) return;
    QDir().mkpath(WorkFolder());
    m_writer->write(RecoveryFile(recoveryMedia()), document().fileBytes());
}

void TextDocuments::FlushRecovery()
{
    TimerRecovery->stop();
    writeRecovery();
    m_writer->waitIdle();
}

void TextDocuments::dropRecovery(const QString &mediaPath)
{
    m_writer->waitIdle();
    QFile::remove(RecoveryFile(mediaPath));
}

void TextDocuments::offerRecovery(const QString &mediaPath, const QString &loadedPath)
{
    const QString recovery = RecoveryFile(mediaPath);
    if (!QFile::exists(recovery)) return;
    const QByteArray bytes = Contents(recovery);
    try {
        DocumentFile::Unpack(bytes, recovery);
    } catch (const DocumentError &e) {
        qCWarning(lcFiles) << e.message;
        KeepAside(recovery, QStringLiteral("повреждён"));
        return;
    }
    if (bytes == document().fileBytes()) {
        QFile::remove(recovery);
        return;
    }
    const QString question =
        QStringLiteral("После прошлой работы программы остался текст, сохранённый позже загруженного:\n") + recovery +
        QStringLiteral("\n\nВзять его? «ОК» — взять этот текст, «Отмена» — оставить загруженный.\nТекст, который вы "
                       "не возьмёте, останется в папке AvtoSave.");
    if (!m_messages.question(QStringLiteral("Восстановление текста"), question)) {
        KeepAside(recovery, QStringLiteral("не взят"));
        return;
    }
    if (!loadedPath.isEmpty() && !QFile::copy(loadedPath, AsideName(loadedPath, QStringLiteral("до восстановления"))))
        qCWarning(lcFiles) << "cannot keep a copy of" << loadedPath;
    if (!replaceWith(recovery, true)) return;
    document().document()->setModified(true);
    // Saved at once where it belongs, so that the recovery copy can go.
    const QString own = m_form.N15->isChecked() ? mediaDocument(mediaPath) : QString();
    if (save(own.isEmpty() ? WorkFile(QLatin1String(LastDocument)) : own)) QFile::remove(recovery);
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
        const QString perMedia =
            m_documentMedia == m_session.CurrentMediaPath ? mediaDocument(m_documentMedia) : QString();
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
    if (!replaceWith(picked, false)) return;
    document().document()->setModified(true); // the restored text is kept as the open recording's
    runAndActivate();
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
    if (!replaceWith(perMedia, true)) return;
    m_documentMedia = m_session.CurrentMediaPath;
    runAndActivate();
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
        QDir().mkpath(WorkFolder());
        // Where the latest copy cannot be written, the numbered one cannot either: said once.
        if (!save(WorkFile(QStringLiteral("AvtoSaveFileTimer.ole"))) ||
            !save(WorkFile(QString::fromLatin1(NumberedAutosave).arg(AutosaveCounter))))
            return;
    }
    ++AutosaveCounter;
}

// A failing autosave is said once and tried again at the next tick.
void TextDocuments::TimerAvtoSaveTimer() { autosave(); }

void TextDocuments::TextWindowDestroyed()
{
    autosave();
    FlushRecovery();
}
