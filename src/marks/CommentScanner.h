#pragma once

#include <QString>
#include <vector>

// Reading bookmark comments out of copied transcript text: the text after each marker {zN}
// up to the next "{" is the comment of bookmark zN. Plain text in, plain values out (QtCore
// only), so that it can be tested and fuzzed on its own.

// A comment as found after its marker.
struct ScannedComment {
    QString name;    // z12 for the marker {z12}
    QString comment; // blanks and control characters trimmed from both ends
};

// The most characters a comment takes; the text after them up to the next marker is dropped.
// A character is a Unicode code point: a surrogate pair is never cut in two.
inline constexpr int MaxScannedCommentLength = 241;

// The comments of the markers in text, in text order; a name met twice is listed twice.
std::vector<ScannedComment> ScanBookmarkComments(const QString &text);
