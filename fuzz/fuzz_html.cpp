// libFuzzer entry for HTML import (Paste as BBCode): any markup, however deep
// or broken, gives BBCode whose tags are all closed in order, without a crash,
// a hang or undefined behaviour.
#include "import/htmlimport.h"
#include "import/shallowhtml.h"
#include "markup/markupchecker.h"

#include <QString>

#include <gumbo.h>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

// The depth of the tree the HTML parser builds.
int treeDepth(const GumboNode *root)
{
    int deepest = 0;
    std::vector<std::pair<const GumboNode *, int>> todo{{root, 0}};
    while (!todo.empty()) {
        const auto [node, depth] = todo.back();
        todo.pop_back();
        deepest = std::max(deepest, depth);
        const GumboVector *children =
            node->type == GUMBO_NODE_DOCUMENT ? &node->v.document.children
            : node->type == GUMBO_NODE_ELEMENT || node->type == GUMBO_NODE_TEMPLATE
                ? &node->v.element.children
                : nullptr;
        for (unsigned i = 0; children && i < children->length; ++i)
            todo.emplace_back(static_cast<const GumboNode *>(children->data[i]), depth + 1);
    }
    return deepest;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    // The first byte chooses the options and how deep structure may go.
    quorvane::ImportOptions options;
    options.keepColoursAndSizes = data[0] & 1;
    const int depth = 1 + (data[0] >> 1) % 8;
    const QByteArrayView html(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));

    // However the markup is shaped, what shallowHtml keeps never makes the
    // parser nest much deeper than the limit: the tables' bodies it adds,
    // the formatting it copies into later blocks.
    // (Control characters go first, as the import drops them.)
    QByteArray cleaned = html.toByteArray();
    cleaned.removeIf(
        [](char c) { return uchar(c) < 0x20 && c != '\t' && c != '\n' && c != '\r' && c != '\f'; });
    const QByteArray shallow = quorvane::shallowHtml(cleaned, depth);
    GumboOutput *output = gumbo_parse_with_options(&kGumboDefaultOptions, shallow.constData(),
                                                   size_t(shallow.size()));
    const int parsed = treeDepth(output->document);
    gumbo_destroy_output(&kGumboDefaultOptions, output);
    if (parsed > 3 * depth + 48)
        __builtin_trap();
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
