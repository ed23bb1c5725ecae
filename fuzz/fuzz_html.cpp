// libFuzzer entry for HTML import (Paste as BBCode): any markup, however deep
// or broken, gives BBCode whose tags are all closed in order, without a crash,
// a hang or undefined behaviour.
#include "import/htmlimport.h"
#include "import/shallowhtml.h"
#include "markup/markupchecker.h"

#include <QString>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    // The first byte chooses the options and how deep structure may go.
    quorvane::ImportOptions options;
    options.keepColoursAndSizes = data[0] & 1;
    const int depth = 1 + (data[0] >> 1) % 8;
    const QByteArrayView html(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));

    quorvane::shallowHtml(html, depth);
    quorvane::decodeHtml(html);
    quorvane::htmlToBBCode(QString::fromUtf8(html), options);

    // Without brackets in its text (or character references that make them),
    // the post holds only the tags the import wrote: all closed, in order.
    QByteArray plain = html.toByteArray();
    plain.replace('[', ' ').replace('&', ' ');
    const QString post = quorvane::htmlToBBCode(QString::fromUtf8(plain), options);
    const quorvane::MarkupAnalysis analysis = quorvane::analyseMarkup(post, quorvane::KnownTags());
    for (const quorvane::MarkupProblem &problem : analysis.problems) {
        for (const char *fault :
             {"never closed", "closes nothing", "closes inside", "outside a list"}) {
            if (problem.message.contains(QLatin1String(fault)))
                __builtin_trap();
        }
    }
    return 0;
}
