// libFuzzer entry for Split Post: for any post and limit, either every part
// fits the limit as the forum counts it, or the piece that cannot fit is named
// inside the post.
#include "markup/knowntags.h"
#include "split/postlength.h"
#include "split/postsplitter.h"

#include <QString>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2)
        return 0;
    // The first two bytes choose the limit, how to count and the label.
    quorvane::SplitOptions options;
    options.limit = 8 + data[0];
    options.rule.countTags = data[1] & 1;
    options.rule.lineBreak = data[1] & 2 ? 2 : 1;
    if (data[1] & 4)
        options.labelTemplate = QStringLiteral("(%1/%2)");
    options.labelAtTop = data[1] & 8;
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char *>(data + 2), qsizetype(size - 2));

    static const quorvane::KnownTags tags;
    const quorvane::SplitResult result = quorvane::splitPost(text, options, tags);
    if (!result.ok) {
        if (result.failedAt < 0 || result.failedAt > text.size())
            __builtin_trap();
        return 0;
    }
    for (const QString &part : result.parts) {
        if (quorvane::postLength(part, options.rule, tags) > options.limit)
            __builtin_trap();
    }
    return 0;
}
