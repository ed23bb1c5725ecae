#pragma once

#include "markup/knowntags.h"
#include "split/postlength.h"

#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <functional>

namespace quorvane {

struct SplitOptions
{
    qsizetype limit = 0;
    LengthRule rule;
    // A line put on each part, "%1" the part's number and "%2" how many there
    // are, e.g. "(%1/%2)"; empty for none. It counts against the limit.
    QString labelTemplate;
    bool labelAtTop = true;
};

struct SplitResult
{
    QStringList parts;
    bool ok = true;
    // When a piece cannot fit: where it starts, its length as counted.
    qsizetype failedAt = -1;
    qsizetype failedLength = 0;
};

// Splits a post into parts that each fit the limit as the rule counts them.
// A part ends at the last paragraph break that fits, else at the end of a
// sentence, else at a space (a CODE block at the end of one of its lines);
// never inside a tag, a word or an address. Tags open at a cut are closed at
// the end of the part, innermost first, and opened again, with their values,
// at the start of the next one. The whitespace at a cut is dropped.
SplitResult splitPost(QStringView text, const SplitOptions &options, const KnownTags &tags);

// The label of part `number` of `count`.
QString partLabel(const QString &labelTemplate, qsizetype number, qsizetype count);

// For quorvane-convert: the parts, each followed by a line holding a form
// feed, in UTF-8 with CR LF line breaks. Returns 0, or 1 with nothing written
// and a message on `error` when a piece cannot fit, or 2 when writing failed.
int writeSplitPost(const QString &name, QStringView text, const SplitOptions &options,
                   const KnownTags &tags, const std::function<bool(QByteArrayView)> &write,
                   QString &error);

} // namespace quorvane
