// libFuzzer entry for the mark-up checker: any post gives problems in order,
// inside the text, and tag partners that point at each other.
#include "markup/markupchecker.h"

#include <QString>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    static const quorvane::KnownTags tags({QStringLiteral("spoiler"), QStringLiteral("x")});
    const quorvane::MarkupAnalysis analysis = quorvane::analyseMarkup(text, tags);

    qsizetype last = 0;
    for (const quorvane::MarkupProblem &problem : analysis.problems) {
        if (problem.position < last || problem.position + problem.length > text.size() ||
            problem.message.isEmpty())
            __builtin_trap();
        last = problem.position;
    }
    if (analysis.partners.size() != analysis.tags.size())
        __builtin_trap();
    for (size_t i = 0; i < analysis.partners.size(); ++i) {
        const qsizetype partner = analysis.partners[i];
        if (partner >= 0 && (size_t(partner) >= analysis.partners.size() ||
                             analysis.partners[size_t(partner)] != qsizetype(i)))
            __builtin_trap();
    }
    if (!text.isEmpty()) {
        const qsizetype at = qsizetype(size % size_t(text.size()));
        analysis.tagAt(at);
        quorvane::openTagsAt(text, at, tags);
    }
    return 0;
}
