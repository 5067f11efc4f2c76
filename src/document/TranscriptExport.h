#pragma once

#include <QString>

class QTextDocument;

// Export of the transcript for use outside the program: OpenDocument Text (with its formatting)
// or plain UTF-8 text (paragraphs and line breaks as "\n", no byte-order mark).
//
//     const QString path = DefaultExportPath(mediaPath, ExportFormat::Odt); // offer it in a dialog
//     const QString error = ExportTranscript(*editor->document(), ExportFormat::Odt, chosenPath);
//     if (!error.isEmpty()) messages.standardError(error);
enum class ExportFormat { Odt, PlainText };

// Writes the document to path, replacing the file there only once the whole of it is written:
// a failed export leaves no file or the old one whole. Returns an error text for the user,
// empty on success.
QString ExportTranscript(const QTextDocument &document, ExportFormat format, const QString &path);

// The media file's name with the format's extension (".odt", ".txt") in place of its own, in
// the media file's folder: "/home/ann/Lectures/day1.mp3" gives "/home/ann/Lectures/day1.odt".
// Empty for an empty media path.
QString DefaultExportPath(const QString &mediaPath, ExportFormat format);
