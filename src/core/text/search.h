#pragma once

#include <QString>
#include <QStringView>

namespace quorvane {

// Find and Replace compare letters with Unicode case folding (Qt::CaseInsensitive),
// so "É" finds "é" and "CAT" finds "cat". A hit is always as long as the term.

// Index of the first occurrence of term that begins at or after from, or -1.
// An empty term, or a start past the end, finds nothing.
qsizetype findCaseless(QStringView text, QStringView term, qsizetype from);

// What replacing every occurrence changes: the characters from the first
// occurrence to the end of the last become text. count is 0 when nothing
// matched (then nothing changes).
struct Rewrite
{
    qsizetype start = 0;
    qsizetype length = 0;
    QString text;
    qsizetype count = 0;
};

// Replaces every occurrence of term, scanning left to right without overlaps;
// the replacement goes in as given and is never scanned itself. An empty term
// replaces nothing.
Rewrite rewriteAllCaseless(QStringView text, QStringView term, QStringView replacement);

// Where a position of text lands after rewriteAllCaseless(text, term, ...)
// with a replacement of replacementSize characters: moved by every
// occurrence before it; inside an occurrence, at the end of its replacement.
qsizetype positionAfterRewrite(QStringView text, QStringView term, qsizetype replacementSize,
                               qsizetype position);

// Test-only (tests and benchmarks): the same, as the whole new text.
QString replaceAllCaseless(QStringView text, QStringView term, QStringView replacement,
                           qsizetype *count = nullptr);

} // namespace quorvane
