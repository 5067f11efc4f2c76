#pragma once

#include <QString>

// The transcript documents: one per media file, shown in the text window.
class TranscriptDocuments {
public:
    virtual ~TranscriptDocuments() = default;
    // Saves the previous file's document and loads the new file's (or the template). Throws
    // DocumentError when a document cannot be saved or loaded, which ends the open.
    virtual void SwitchMediaDocument(const QString &previousPath, const QString &newPath) = 0;
    virtual void LoadStartupDocument() = 0;
    virtual void SaveShutdownDocuments() = 0;
    virtual void CloseEmbeddedDocument() = 0;
    virtual void RepaintEmbeddedDocument() = 0; // nothing when the document is empty
};
