// libFuzzer entry for the prose-word scanner that spelling reads: for any
// line and starting state, words come in order, inside the line, never empty,
// and the state it ends in is one it could start in.
#include "markup/knowntags.h"
#include "markup/markuptokens.h"
#include "spelling/prosewords.h"

#include <QString>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    static const quorvane::KnownTags tags({QStringLiteral("spoiler")});
    // The first byte chooses the verbatim state the line starts in.
    int state = quorvane::MarkupScanner::noVerbatim;
    if (data[0] % 4 != 0) {
        static const int verbatim[] = {quorvane::KnownTags::builtIn("CODE"),
                                       quorvane::KnownTags::builtIn("HTML"),
                                       quorvane::KnownTags::builtIn("NOPARSE")};
        state = verbatim[data[0] % 4 - 1];
    }
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    for (const QStringView line : QStringView(text).tokenize(u'\n')) {
        qsizetype end = 0;
        state = quorvane::proseWords(tags, line, state, [&](quorvane::WordSpan word) {
            if (word.length <= 0 || word.start < end || word.start + word.length > line.size())
                __builtin_trap();
            end = word.start + word.length;
        });
        if (state != quorvane::MarkupScanner::noVerbatim && (state < 0 || state >= 1000))
            __builtin_trap();
    }
    return 0;
}
