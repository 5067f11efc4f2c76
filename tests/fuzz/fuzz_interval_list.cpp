// Feeds arbitrary text to the interval list's parsers, the way a pasted clipboard or a
// command line reaches them, and aborts when a result breaks what the list relies on.
//
// Built from src/marks/IntervalSyntax.cpp, src/base/MediaTime.cpp and QtCore alone.

#include "base/MediaTime.h"
#include "marks/IntervalSyntax.h"

#include <QString>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

void Check(bool holds)
{
    if (!holds) abort();
}

bool IsDigit(QChar c) { return c >= u'0' && c <= u'9'; }

// "hh:nn:ss.zzz" with hours below 24, minutes and seconds below 60, that reads back as itself.
bool IsTimeText(const QString &t)
{
    if (t.size() != 12) return false;
    for (int i : {0, 1, 3, 4, 6, 7, 9, 10, 11})
        if (!IsDigit(t[i])) return false;
    if (t[2] != u':' || t[5] != u':' || t[8] != u'.') return false;
    if (t.left(2).toInt() > 23 || t.mid(3, 2).toInt() > 59 || t.mid(6, 2).toInt() > 59) return false;
    return MediaTimeToStr(StrToMediaTime(t)) == t;
}

// The part of a text that holds the list: what follows "&ti=" up to the next "&", if there is
// a "&ti=", else the whole text.
QString ListPart(const QString &text)
{
    const qsizetype key = text.indexOf(QLatin1String("&ti="));
    return key < 0 ? text : text.mid(key + 4).section(u'&', 0, 0);
}

bool IsTrimmed(const QString &s) { return s.isEmpty() || (s.front() >= u'!' && s.back() >= u'!'); }

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const QStringList items = CutIntervalList(text);
    const QString list = ListPart(text);
    const QChar separator = list.contains(u',') ? u',' : u';';
    // One item more than separators, and none at all for an empty list.
    Check(items.size() == (list.isEmpty() ? 0 : list.count(separator) + 1));
    for (const QString &item : items) {
        Check(IsTrimmed(item) && !item.contains(separator) && list.contains(item));
        const auto bounds = ReadIntervalItem(item);
        // An item is an interval exactly when it has a "-" after its first character.
        Check(bounds.has_value() == (item.indexOf(u'-') > 0));
        if (!bounds) continue;
        Check(IsTimeText(bounds->a) && IsTimeText(bounds->b));
        // The list keeps an interval as "A - B", which must read back as the same interval.
        const auto again = ReadIntervalItem(IntervalItemText(bounds->a, bounds->b));
        Check(again && again->a == bounds->a && again->b == bounds->b);
    }
    return 0;
}
