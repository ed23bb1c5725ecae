#pragma once

#include "forum/forum.h"
#include "markup/knowntags.h"
#include "spelling/prosewords.h"

#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <functional>

namespace quorvane {

class Speller;

// Writes the problems of a post, what the forum (when not Generic) will do
// to it other than what was meant (forum/forumwarnings) and, when a speller is
// given, its misspelled prose words, one a line in order of position (errors
// before warnings before spelling at one place), as compilers do:
//   NAME:LINE:COLUMN: error: MESSAGE
//   NAME:LINE:COLUMN: warning: MESSAGE
//   NAME:LINE:COLUMN: spelling: 'word' (suggestion, suggestion)
// (no parentheses when there is no suggestion). Suggestions are asked for
// within `budget`; *unsuggested, when given, is set to how many misspellings
// were listed without them for want of time. Returns how many lines were
// written, or -1 when `write` failed.
qsizetype writeCheckReport(const QString &name, QStringView text, const KnownTags &tags,
                           Speller *speller, const std::function<bool(QByteArrayView)> &write,
                           const SuggestionBudget &budget = {}, qsizetype *unsuggested = nullptr,
                           Forum forum = Forum::Generic);

} // namespace quorvane
