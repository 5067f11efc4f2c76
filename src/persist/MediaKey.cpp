#include "persist/MediaKey.h"

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
