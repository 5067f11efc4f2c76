// libFuzzer target: the scanner of bookmark comments in copied text.
// Build: clang++ -std=c++20 -fsanitize=fuzzer,address,undefined -fPIC -Isrc $(pkg-config --cflags Qt6Core)
//        tests/fuzz/fuzz_comment_scanner.cpp src/marks/CommentScanner.cpp src/base/MediaTime.cpp
//        $(pkg-config --libs Qt6Core)

#include "marks/CommentScanner.h"

#include <QList>
#include <QString>
#include <cstdint>
#include <cstdlib>

namespace {

void Check(bool invariant)
{
    if (!invariant) std::abort();
}

bool Trimmed(const QString &s) { return s.isEmpty() || (s.front() > u' ' && s.back() > u' '); }

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const std::vector<ScannedComment> found = ScanBookmarkComments(text);

    // The text as a comment may take it: line breaks and tabs as blanks.
    QString asComment = text;
    for (QChar &c : asComment)
        if (c.unicode() < 32) c = u' ';
    Check(found.size() <= static_cast<size_t>(text.count(QStringLiteral("{z"))));
    for (const ScannedComment &c : found) {
        Check(c.name.startsWith(u'z') && !c.name.contains(u'}'));
        Check(text.contains(u'{' + c.name + u'}'));
        Check(Trimmed(c.comment));
        Check(!c.comment.contains(u'{'));
        Check(c.comment.isValidUtf16()); // no surrogate pair cut in two
        Check(c.comment.toUcs4().size() <= MaxScannedCommentLength);
        Check(asComment.contains(c.comment));
        for (QChar ch : c.comment) Check(ch.unicode() >= 32);
    }

    // Text after the last complete marker belongs to it alone: a marker added at the end takes
    // nothing from the comments before it, and gets its own.
    std::vector<ScannedComment> more = ScanBookmarkComments(text + QStringLiteral("{z0} fuzz"));
    Check(!more.empty() && more.back().name == QStringLiteral("z0") && more.back().comment == QStringLiteral("fuzz"));
    return 0;
}
