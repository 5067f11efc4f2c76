#include "marks/CommentScanner.h"

#include "base/MediaTime.h"

#include <QList>

namespace {

void Append(QString &s, char32_t c)
{
    if (QChar::requiresSurrogates(c)) {
        s += QChar(QChar::highSurrogate(c));
        s += QChar(QChar::lowSurrogate(c));
    } else {
        s += QChar(static_cast<char16_t>(c));
    }
}

} // namespace

std::vector<ScannedComment> ScanBookmarkComments(const QString &text)
{
    // The blank at the end lets the last real character reach the comment before the end of
    // the text closes it.
    const QList<uint> chars = (TrimControlChars(text) + u' ').toUcs4();
    std::vector<ScannedComment> found;
    char32_t previous = 0;
    bool inName = false, inComment = false;
    QString name, comment;
    int length = 0;
    for (qsizetype i = 0; i < chars.size(); ++i) {
        const char32_t c = chars[i];
        if (inComment && (length >= MaxScannedCommentLength || c == U'{' || i == chars.size() - 1)) {
            found.push_back({name, TrimControlChars(comment)});
            inName = inComment = false;
            length = 0;
        }
        if (previous == U'{' && c == U'z') {
            name.clear();
            comment.clear();
            inName = true;
        }
        if (inComment) {
            Append(comment, c < 32 ? U' ' : c); // line breaks and tabs join the comment's lines
            ++length;
        }
        if (c == U'}' && inName) {
            inName = false;
            inComment = true;
        }
        if (inName) Append(name, c);
        previous = c;
    }
    return found;
}
