#include "document/TranscriptExport.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QTextDocument>
#include <QTextDocumentWriter>

namespace {

QString CannotWrite(const QString &path, const QString &reason)
{
    return QStringLiteral("Не удалось сохранить файл «%1»: %2").arg(QDir::toNativeSeparators(path), reason);
}

} // namespace

QString ExportTranscript(const QTextDocument &document, ExportFormat format, const QString &path)
{
    // The file is made in memory first: the OpenDocument writer closes the device it writes to,
    // which a QSaveFile does not allow (it aborts), and only complete bytes reach the disk.
    QByteArray bytes;
    if (format == ExportFormat::PlainText) {
        bytes = document.toPlainText().toUtf8();
    } else {
        QBuffer buffer(&bytes);
        QTextDocumentWriter writer(&buffer, "odf");
        if (!writer.write(&document)) return CannotWrite(path, QStringLiteral("документ не удалось преобразовать"));
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return CannotWrite(path, file.errorString());
    if (file.write(bytes) != bytes.size()) return CannotWrite(path, file.errorString()); // the file is dropped
    if (!file.commit()) return CannotWrite(path, file.errorString());
    return {};
}

QString DefaultExportPath(const QString &mediaPath, ExportFormat format)
{
    if (mediaPath.isEmpty()) return {};
    const QFileInfo media(mediaPath);
    const QString extension = format == ExportFormat::Odt ? QStringLiteral(".odt") : QStringLiteral(".txt");
    return QDir(media.path()).filePath(media.completeBaseName() + extension);
}
