// Formatted text into BBCode, from the corpus's real files grown by repeating
// their bodies: a 100 KB clipboard (a browser's, with every style inlined, and
// Word's fake lists) and 5 MB HTML and rich-text files read from bytes.
// Goals: the clipboard under 50 ms, the 5 MB file under a second.

#include "bench_support.h"
#include "import/htmlimport.h"
#include "import/importformat.h"

#include <QFile>
#include <benchmark/benchmark.h>

using namespace quorvane;

namespace {

QByteArray corpusFile(const char *name)
{
    QFile file(QStringLiteral(QUORVANE_IMPORT_CORPUS_DIR "/") + QString::fromLatin1(name));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("missing corpus file %s", name);
    return file.readAll();
}

// What lies between two markers (or the whole when they are missing).
QByteArray between(const QByteArray &text, const char *open, const char *close)
{
    qsizetype start = text.indexOf(open);
    start = start < 0 ? 0 : text.indexOf('>', start) + 1;
    const qsizetype end = text.lastIndexOf(close);
    return text.mid(start, (end < start ? text.size() : end) - start);
}

QByteArray grown(const QByteArray &head, const QByteArray &body, const QByteArray &tail,
                 qsizetype size)
{
    QByteArray out = head;
    while (out.size() + body.size() + tail.size() <= size)
        out += body;
    return out + tail;
}

void run(benchmark::State &state, const QByteArray &bytes, ImportFormat format)
{
    qsizetype written = 0;
    for (auto _ : state) {
        const ReadResult result = importDocumentBytes(bytes, format);
        written = result.text.size();
        benchmark::DoNotOptimize(written);
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
    state.counters["input_kb"] = double(bytes.size()) / 1024;
    state.counters["output_kb"] = double(written) * 2 / 1024;
}

void BM_PasteBrowserClipboard100KB(benchmark::State &state)
{
    const QByteArray clip = corpusFile("clip-chromium-page.html");
    const QByteArray bytes = grown("<html><body><!--StartFragment-->",
                                   between(clip, "<!--StartFragment", "<!--EndFragment"),
                                   "<!--EndFragment--></body></html>", 100 * 1024);
    run(state, bytes, ImportFormat::Html);
}
BENCHMARK(BM_PasteBrowserClipboard100KB)->Unit(benchmark::kMillisecond);

void BM_PasteWordLists100KB(benchmark::State &state)
{
    const QByteArray word = corpusFile("word-fake-lists.html");
    const QByteArray bytes =
        grown(word.left(word.indexOf("<body")) + "<body>",
              between(word, "<div class=WordSection1", "</div>"), "</body></html>", 100 * 1024);
    run(state, bytes, ImportFormat::Html);
}
BENCHMARK(BM_PasteWordLists100KB)->Unit(benchmark::kMillisecond);

void BM_ImportHtmlFile5MB(benchmark::State &state)
{
    const QByteArray page = corpusFile("pandoc-forum-guide.html");
    const QByteArray bytes =
        grown(page.left(page.indexOf("<body")) + "<body>", between(page, "<body", "</body>"),
              "</body></html>", 5 * 1024 * 1024);
    run(state, bytes, ImportFormat::Html);
}
BENCHMARK(BM_ImportHtmlFile5MB)->Unit(benchmark::kMillisecond);

void BM_ImportLibreOfficeHtml5MB(benchmark::State &state)
{
    const QByteArray page = corpusFile("libreoffice-from-docx.html");
    const QByteArray bytes =
        grown(page.left(page.indexOf("<body")) + "<body>", between(page, "<body", "</body>"),
              "</body></html>", 5 * 1024 * 1024);
    run(state, bytes, ImportFormat::Html);
}
BENCHMARK(BM_ImportLibreOfficeHtml5MB)->Unit(benchmark::kMillisecond);

void BM_ImportRtfFile5MB(benchmark::State &state)
{
    const QByteArray rtf = corpusFile("clip-libreoffice-writer-rich.rtf");
    // The document's paragraphs again and again inside its own group.
    const qsizetype start = rtf.indexOf("\\pard");
    const qsizetype end = rtf.lastIndexOf('}');
    const QByteArray bytes =
        grown(rtf.left(start), rtf.mid(start, end - start), "}", 5 * 1024 * 1024);
    run(state, bytes, ImportFormat::Rtf);
}
BENCHMARK(BM_ImportRtfFile5MB)->Unit(benchmark::kMillisecond);

// Hostile shapes: nesting far past what a reader can see (flattened at 100
// levels), tags with thousands of attributes, formatting left open across
// blocks. Goal: linear in the size, 5 MB of any shape under a second.
QByteArray nested(const char *open, const char *close, int depth)
{
    return QByteArray(open).repeated(depth) + "x" + QByteArray(close).repeated(depth);
}

void BM_ImportNestedDivs20K(benchmark::State &state)
{
    run(state, nested("<div>", "</div>", 20000), ImportFormat::Html);
}
BENCHMARK(BM_ImportNestedDivs20K)->Unit(benchmark::kMillisecond);

void BM_ImportNestedDivs200K(benchmark::State &state)
{
    run(state, nested("<div>", "</div>", 200000), ImportFormat::Html);
}
BENCHMARK(BM_ImportNestedDivs200K)->Unit(benchmark::kMillisecond);

void BM_ImportBoldItalicPairs100K(benchmark::State &state)
{
    run(state, nested("<b><i>", "</i></b>", 100000), ImportFormat::Html);
}
BENCHMARK(BM_ImportBoldItalicPairs100K)->Unit(benchmark::kMillisecond);

void BM_ImportNestedLists50K(benchmark::State &state)
{
    run(state, nested("<ul><li>", "</li></ul>", 50000), ImportFormat::Html);
}
BENCHMARK(BM_ImportNestedLists50K)->Unit(benchmark::kMillisecond);

QByteArray filled(const QByteArray &piece)
{
    return piece.repeated(5 * 1024 * 1024 / piece.size());
}

void BM_ImportHostile5MB(benchmark::State &state, const char *shape)
{
    const std::string_view name(shape);
    QByteArray bytes;
    if (name == "divs")
        bytes = filled("<div>");
    else if (name == "formatting")
        bytes = filled("<b><i><u><s>");
    else if (name == "tables")
        bytes = filled("<table><tr><td>");
    else if (name == "leaked")
        bytes = filled("<p><b class=a>x<i class=b>y</p>");
    else if (name == "attributes")
        bytes = "<p" + filled(" a") + ">x";
    else if (name == "misnested")
        bytes = filled("<b><p>x</b>y<i><div>z</i>");
    run(state, bytes, ImportFormat::Html);
}
BENCHMARK_CAPTURE(BM_ImportHostile5MB, divs, "divs")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ImportHostile5MB, formatting, "formatting")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ImportHostile5MB, tables, "tables")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ImportHostile5MB, leaked, "leaked")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ImportHostile5MB, attributes, "attributes")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ImportHostile5MB, misnested, "misnested")->Unit(benchmark::kMillisecond);

void BM_ImportRtfNestedGroups5MB(benchmark::State &state)
{
    run(state, "{\\rtf1 " + filled("{\\b {\\i ") + "x}", ImportFormat::Rtf);
}
BENCHMARK(BM_ImportRtfNestedGroups5MB)->Unit(benchmark::kMillisecond);

} // namespace

QUORVANE_BENCHMARK_MAIN();
