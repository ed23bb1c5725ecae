#pragma once

#include <QList>
#include <QString>
#include <QStringView>

namespace quorvane {

// How a find text is compared. The case-insensitive mode folds the ASCII
// letters A-Z/a-z only: every find text is ASCII, and a Unicode fold would let
// characters such as U+017F (long s) match "s".
enum class MatchMode { Exact, AsciiCaseInsensitive };

struct SubstitutionEntry
{
    QString find;
    QString replace;
    MatchMode mode = MatchMode::AsciiCaseInsensitive;
};

using SubstitutionList = QList<SubstitutionEntry>;

// Whether `find` matches `text` at `pos` under `mode`.
bool matchesAt(QStringView text, qsizetype pos, QStringView find, MatchMode mode);

// One entry over the whole text: scan from the first character, replace each
// match and resume just after the matched characters, so matches never
// overlap and the replacement is never rescanned. An empty find changes
// nothing.
QString applySubstitution(const QString &text, const SubstitutionEntry &entry);

// The entries one after another, each over the result of the one before.
QString applySubstitutions(QString text, const SubstitutionList &entries);

} // namespace quorvane
