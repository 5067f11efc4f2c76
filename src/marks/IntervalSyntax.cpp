#include "marks/IntervalSyntax.h"

#include "base/MediaTime.h"

QString IntervalItemText(const QString &a, const QString &b) { return a + QStringLiteral(" - ") + b; }

std::optional<IntervalBounds> ReadIntervalItem(const QString &item)
{
    const qsizetype dash = item.indexOf(u'-');
    if (dash <= 0) return std::nullopt;
    return IntervalBounds{MediaTimeToStr(StrToMediaTime(item.left(dash))),
                          MediaTimeToStr(StrToMediaTime(item.mid(dash + 1)))};
}

QStringList CutIntervalList(const QString &text)
{
    QString list = text;
    const QLatin1String key("&ti=");
    const qsizetype k = list.indexOf(key);
    if (k >= 0) {
        list = list.mid(k + key.size());
        const qsizetype amp = list.indexOf(u'&');
        if (amp >= 0) list.truncate(amp);
    }
    // Splitting an empty text would give one empty item, and an empty clipboard adds nothing.
    if (list.isEmpty()) return {};
    const QChar delimiter = list.contains(u',') ? u',' : u';';
    QStringList items;
    for (const QString &piece : list.split(delimiter)) items << TrimControlChars(piece);
    return items;
}
