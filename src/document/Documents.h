#pragma once

#include <QString>

// The transcript documents: one per media file, shown in the text window.
class TranscriptDocuments {
public:
    virtual ~TranscriptDocuments() = default;
    // Saves the document as that of the recording being left (empty: none) and as the last
    // document. False, said to the user, when the recording's document could not be saved:
    // the open must then leave the document where it is.
    virtual bool SaveLeavingDocument(const QString &previousPath) = 0;
    // Loads the document of the recording being opened, or the template when it has none, and
    // offers a newer recovery of it. A damaged file is set aside, said, and an empty document
    // is loaded instead.
    virtual void LoadMediaDocument(const QString &mediaPath) = 0;
    // No recording is open any more: an empty document, never another recording's.
    virtual void LoadNoDocument() = 0;
    virtual void LoadStartupDocument() = 0;
    virtual void SaveShutdownDocuments() = 0;
    virtual void CloseEmbeddedDocument() = 0;
    virtual void RepaintEmbeddedDocument() = 0; // nothing when the document is empty
};
