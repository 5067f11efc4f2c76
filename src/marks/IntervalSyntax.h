#pragma once

// The text forms of the interval list: one item ("from - to") and a whole list as it is pasted
// or given on the command line. Plain functions on QtCore only, so that they can be built and
// fuzzed alone.

#include <QString>
#include <QStringList>
#include <optional>

struct IntervalBounds {
    QString a, b; // time texts "hh:nn:ss.zzz"
};

// The item text the list keeps for an interval.
QString IntervalItemText(const QString &a, const QString &b);

// Reads an item: the text before its first "-" is A, the text after it B, each read as a
// media time (an unreadable side is 00:00:00.000). An item without a "-", or starting with
// one, is no interval.
std::optional<IntervalBounds> ReadIntervalItem(const QString &item);

// Cuts a list text, or a link carrying the list after "&ti=", into items: at every "," when
// there is one, else at every ";". Pieces are trimmed and empty ones kept; an empty text gives
// no items.
QStringList CutIntervalList(const QString &text);
