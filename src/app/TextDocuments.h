#pragma once

#include "document/Documents.h"

#include <QString>
#include <memory>

class BackgroundWriter;
class Clock;
class DocumentContainer;
class SaveReports;
class TForm1;
class TFormOle;
class TextTarget;
class Timer;
class UserMessages;
struct MediaSession;

// The transcript's document files in the working folder: which file is loaded and saved at
// each moment (start-up, another media file, shutdown), the autosave every three minutes with
// its numbered copies, the recovery copy written within seconds of a change, the commands of
// the text menu and the external-document mode, in which the embedded document is left alone
// and the text goes to another program's window.
class TextDocuments : public TranscriptDocuments {
public:
    // normalClose: whether the main window's close query has run.
    TextDocuments(TForm1 &form, TFormOle &text, const MediaSession &session, const bool &normalClose, Clock &clock,
                  UserMessages &messages, SaveReports &reports, TextTarget &externalText);
    ~TextDocuments() override;

    static QString WorkFile(const QString &name); // the working folder's file of that name
    // The document a media file starts with when it has none: the working folder's
    // template, else the one shipped beside the program; empty when neither exists.
    static QString TemplatePath();
    // The document file the restore command offers first.
    static QString RestoreOffer();
    // The copy of the text written within seconds of each change, for the recording at
    // mediaPath (empty: the text of no recording).
    static QString RecoveryFile(const QString &mediaPath);
    // A free name beside path for a copy kept aside, which the restore command lists:
    // "<name> (<why>).ole", numbered when taken.
    static QString AsideName(const QString &path, const QString &why);

    bool SaveLeavingDocument(const QString &previousPath) override;
    void LoadMediaDocument(const QString &mediaPath) override;
    void LoadNoDocument() override;
    void LoadStartupDocument() override;
    void SaveShutdownDocuments() override;
    void CloseEmbeddedDocument() override;
    void RepaintEmbeddedDocument() override;

    void N8Click();      // open the text
    void N9Click();      // close the text
    void MSWORD1Click(); // save copies and reload
    void N3Click();      // restore from a copy
    void N21Click();     // show the text window, or the external one
    void NWordClick();   // the external-document mode was switched
    // Writes the transcript as OpenDocument Text or plain text to a file the user names.
    void ExportText(bool odt);
    void TimerAvtoSaveTimer();
    // The text window's end: one more autosave.
    void TextWindowDestroyed();
    // Writes the recovery copy now when the text changed since the last one, and waits for it.
    void FlushRecovery();

    int AutosaveCounter = 0;
    std::unique_ptr<Timer> TimerAvtoSave;
    std::unique_ptr<Timer> TimerRecovery; // one second after the first change not yet written

private:
    DocumentContainer &document() const;
    bool embedded() const;                                 // the embedded document is in use (not the external mode)
    QString mediaDocument(const QString &mediaPath) const; // "" when the path has no key
    QString recoveryMedia() const;                         // the recording the text in the window belongs to ("" none)
    void ActivateTextDocument();
    void runAndActivate();
    // Replaces the document with a file's. Throws DocumentError, the document unchanged; a
    // damaged file is then set aside when keepDamagedAside.
    void load(const QString &path, bool keepDamagedAside);
    // The same; false when the file cannot be read, and a damaged file is reported.
    bool replaceWith(const QString &path, bool keepDamagedAside);
    // Writes the document to path; a failure is reported and gives false.
    bool save(const QString &path);
    void autosave();
    void writeRecovery();
    void dropRecovery(const QString &mediaPath);
    // A recovery copy that differs from the text just loaded is offered in its place.
    void offerRecovery(const QString &mediaPath, const QString &loadedPath);

    TForm1 &m_form;
    TFormOle &m_text;
    const MediaSession &m_session;
    const bool &m_normalClose;
    UserMessages &m_messages;
    SaveReports &m_reports;
    TextTarget &m_externalText;
    std::unique_ptr<BackgroundWriter> m_writer;
    bool m_replacing = false;
    QString m_documentMedia; // the recording whose document is in the window ("" none)
};
