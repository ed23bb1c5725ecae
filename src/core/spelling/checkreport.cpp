#include "spelling/checkreport.h"

#include "forum/forumwarnings.h"
#include "markup/markupchecker.h"
#include "markup/markupreport.h"
#include "spelling/prosewords.h"
#include "spelling/speller.h"

#include <limits>

namespace quorvane {

qsizetype writeCheckReport(const QString &name, QStringView text, const KnownTags &tags,
                           Speller *speller, const std::function<bool(QByteArrayView)> &write,
                           const SuggestionBudget &budget, qsizetype *unsuggested, Forum forum)
{
    const MarkupAnalysis analysis = analyseMarkup(text, tags);
    const std::vector<MarkupProblem> warnings = forumWarnings(forum, text, analysis, tags);
    if (unsuggested)
        *unsuggested = 0;
    const std::vector<Misspelling> misspellings =
        speller ? findMisspellings(text, tags, *speller, budget, unsuggested)
                : std::vector<Misspelling>();
    LineColumns places(text);
    QByteArray out;
    auto flush = [&](bool last) {
        if (out.size() < (last ? 1 : 64 * 1024))
            return true;
        const bool ok = write(out);
        out.clear();
        return ok;
    };
    auto problem = analysis.problems.begin();
    auto warning = warnings.begin();
    auto misspelling = misspellings.begin();
    constexpr qsizetype none = std::numeric_limits<qsizetype>::max();
    auto line = [&](const MarkupProblem &p, const char *kind) {
        const LineColumns::Place place = places.at(p.position);
        out += QStringLiteral("%1:%2:%3: %4: %5\n")
                   .arg(name)
                   .arg(place.line)
                   .arg(place.column)
                   .arg(QString::fromLatin1(kind), p.message)
                   .toUtf8();
    };
    for (;;) {
        const qsizetype e = problem != analysis.problems.end() ? problem->position : none;
        const qsizetype w = warning != warnings.end() ? warning->position : none;
        const qsizetype s = misspelling != misspellings.end() ? misspelling->position : none;
        if (e == none && w == none && s == none)
            break;
        if (e <= w && e <= s) {
            line(*problem++, "error");
        } else if (w <= s) {
            line(*warning++, "warning");
        } else {
            out += QStringLiteral("%1:%2:%3: spelling: '%4'")
                       .arg(name)
                       .arg(misspelling->line)
                       .arg(misspelling->column)
                       .arg(misspelling->word)
                       .toUtf8();
            if (!misspelling->suggestions.isEmpty())
                out += QStringLiteral(" (%1)")
                           .arg(misspelling->suggestions.join(QStringLiteral(", ")))
                           .toUtf8();
            out += '\n';
            ++misspelling;
        }
        if (!flush(false))
            return -1;
    }
    if (!flush(true))
        return -1;
    return qsizetype(analysis.problems.size() + warnings.size() + misspellings.size());
}

} // namespace quorvane
