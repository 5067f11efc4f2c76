#pragma once

#include "document/Documents.h"

#include <QString>
#include <memory>

class Clock;
class DocumentContainer;
class TForm1;
class TFormOle;
class TextTarget;
class Timer;
class UserMessages;
struct MediaSession;

// The transcript's document files in the working folder: which file is loaded and saved at
// each moment (start-up, another media file, shutdown), the autosave every three minutes with
// its numbered copies, the commands of the text menu and the external-document mode, in which
// the embedded document is left alone and the text goes to another program's window.
class TextDocuments : public TranscriptDocuments {
public:
    // normalClose: whether the main window's close query has run.
    TextDocuments(TForm1 &form, TFormOle &text, const MediaSession &session, const bool &normalClose, Clock &clock,
                  UserMessages &messages, TextTarget &externalText);
    ~TextDocuments() override;

    static QString WorkFile(const QString &name); // the working folder's file of that name
    // The document a media file starts with when it has none: the working folder's
    // template, else the one shipped beside the program; empty when neither exists.
    static QString TemplatePath();
    // The document file the restore command offers first.
    static QString RestoreOffer();

    void SwitchMediaDocument(const QString &previousPath, const QString &newPath) override;
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

    int AutosaveCounter = 0;
    std::unique_ptr<Timer> TimerAvtoSave;

private:
    DocumentContainer &document() const;
    bool embedded() const;                                 // the embedded document is in use (not the external mode)
    QString mediaDocument(const QString &mediaPath) const; // "" when the path has no key
    void ActivateTextDocument();
    void runAndActivate();
    // Replaces the document with a file's. keepDamagedAside: a damaged file is renamed, as the
    // program would later write over it. Throws DocumentError, the document unchanged.
    void load(const QString &path, bool keepDamagedAside);
    // The same; false when the file cannot be read, and a damaged file is reported.
    bool replaceWith(const QString &path, bool keepDamagedAside);
    void autosave();

    TForm1 &m_form;
    TFormOle &m_text;
    const MediaSession &m_session;
    const bool &m_normalClose;
    UserMessages &m_messages;
    TextTarget &m_externalText;
};
