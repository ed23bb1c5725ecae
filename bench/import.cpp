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

} // namespace

QUORVANE_BENCHMARK_MAIN();
