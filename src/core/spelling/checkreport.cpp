#include "spelling/checkreport.h"

#include "markup/markupchecker.h"
#include "markup/markupreport.h"
#include "spelling/prosewords.h"
#include "spelling/speller.h"

namespace quorvane {

qsizetype writeCheckReport(const QString &name, QStringView text, const KnownTags &tags,
                           Speller *speller, const std::function<bool(QByteArrayView)> &write,
                           const SuggestionBudget &budget, qsizetype *unsuggested)
{
    const MarkupAnalysis analysis = analyseMarkup(text, tags);
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
    auto misspelling = misspellings.begin();
    while (problem != analysis.problems.end() || misspelling != misspellings.end()) {
        if (misspelling == misspellings.end() ||
            (problem != analysis.problems.end() && problem->position < misspelling->position)) {
            const LineColumns::Place place = places.at(problem->position);
            out += QStringLiteral("%1:%2:%3: error: %4\n")
                       .arg(name)
                       .arg(place.line)
                       .arg(place.column)
                       .arg(problem->message)
                       .toUtf8();
            ++problem;
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
    return qsizetype(analysis.problems.size() + misspellings.size());
}

} // namespace quorvane
