#pragma once

#include "markup/markupchecker.h"

#include <QString>

// The first problem the mark-up checker finds in what the import wrote (every
// tag closed, in order, known, with sound values), or "" when there is none.
inline QString nestingFault(const QString &post)
{
    const quorvane::MarkupAnalysis analysis = quorvane::analyseMarkup(post, quorvane::KnownTags());
    if (analysis.problems.empty())
        return {};
    const quorvane::MarkupProblem &first = analysis.problems.front();
    return QStringLiteral("at %1: %2").arg(first.position).arg(first.message);
}
