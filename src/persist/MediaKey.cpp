#include "persist/MediaKey.h"

#include "persist/IniFile.h"

#include <QCryptographicHash>
#include <QFileInfo>

QString MakeMediaKey(const QString &path)
{
    QString key;
    int separators = 0;
    for (qsizetype i = path.size() - 1; i >= 0; --i) {
        const QChar c = path[i];
        if (c == u'/') {
            if (++separators > 1) break;
            if (i > 0) key.prepend(QStringLiteral(" ~ ")); // the root's slash adds nothing
        } else {
            key.prepend(c);
        }
    }
    return key;
}

namespace {

QString PathHash(const QString &path)
{
    return QString::fromLatin1(QCryptographicHash::hash(path.toUtf8(), QCryptographicHash::Sha1).toHex().left(8));
}

// The key cut, on a character boundary, to leave room for the hash.
QString Shortened(const QString &key, const QString &hash)
{
    const QString tail = QStringLiteral(" ~ ") + hash;
    QString head = key;
    while (!head.isEmpty() && (head + tail).toUtf8().size() > MaxMediaKeyBytes) {
        head.chop(1);
        if (!head.isEmpty() && head.back().isHighSurrogate()) head.chop(1);
    }
    return head + tail;
}

// The recording a key's settings file belongs to, when it says so and the recording exists.
QString Owner(const QString &folder, const QString &key)
{
    IniFile ini;
    if (!ini.load(folder + u'/' + key + QStringLiteral(".ini"))) return {};
    const QString owner = ini.value(QStringLiteral("MAIN"), QStringLiteral("Файл:"));
    return QFileInfo(owner).isFile() ? owner : QString();
}

} // namespace

QString MediaFileKey(const QString &mediaPath, const QString &folder)
{
    const QString key = MakeMediaKey(mediaPath).trimmed();
    if (key.isEmpty()) return key;
    if (key.toUtf8().size() > MaxMediaKeyBytes) return Shortened(key, PathHash(mediaPath));
    const QString owner = Owner(folder, key);
    if (owner.isEmpty() || owner == mediaPath) return key;
    return Shortened(key, PathHash(mediaPath));
}
