// The file layer on 10 MB documents: reading plain text (the program's own
// saves, LF files, Windows-1252 files), reading rich text (as a word processor
// writes it, and with 8-bit code-page text), and writing a post.
// Goal: each well under a second.

#include "documents/documentfile.h"
#include "documents/rtfreader.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace quorvane;

namespace {

constexpr qsizetype kSize = 10 * 1024 * 1024;

QTemporaryDir &scratch()
{
    static QTemporaryDir dir;
    return dir;
}

QString putFile(const char *name, const QByteArray &bytes)
{
    const QString path = scratch().filePath(QString::fromLatin1(name));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        qFatal("cannot write %s", qPrintable(path));
    }
    return path;
}

QByteArray repeatTo(const QByteArray &head, const QByteArray &piece, const QByteArray &tail)
{
    QByteArray bytes = head;
    bytes.reserve(kSize + piece.size() + tail.size());
    while (bytes.size() + tail.size() < kSize) {
        bytes += piece;
    }
    bytes += tail;
    return bytes;
}

// A post as the program saves it: BBCode, accents, CR LF line breaks.
const QByteArray kPostLine = "[QUOTE=alice]Re: the release notes[/QUOTE] caf\xc3\xa9 na\xc3\xafve "
                             "\xe2\x80\x94 [URL=https://example.org/t/1]a link[/URL] "
                             "\xd0\x9f\xd1\x80\xd0\xb8\xd0\xb2\xd0\xb5\xd1\x82 words\r\n";

// The header and paragraphs of a LibreOffice file.
const QByteArray kRtfHead =
    "{\\rtf1\\ansi\\deff3\\adeflang1025\n"
    "{\\fonttbl{\\f0\\froman\\fprq2\\fcharset0 Times New Roman;}{\\f1\\froman\\fprq2\\fcharset2 "
    "Symbol;}{\\f5\\fnil\\fprq0\\fcharset0 DejaVu Sans;}{\\f6\\fswiss\\fcharset204 Arial;}}\n"
    "{\\colortbl;\\red0\\green0\\blue0;\\red0\\green0\\blue255;}\n"
    "{\\stylesheet{\\s0\\snext0\\rtlch\\af6\\afs24\\alang1081 \\ltrch\\lang1033\\langfe2052\\hich"
    "\\af5\\loch\\f5\\fs22 Normal;}{\\*\\cs15\\snext15\\loch\\cf9\\ul\\ulc0 Internet Link;}}"
    "{\\*\\generator LibreOffice}{\\info{\\title Benchmark}}\n";
const QByteArray kRtfParagraph =
    "\\pard\\plain \\s0\\rtlch\\af6\\afs24\\alang1081 \\ltrch\\lang1033\\langfe2052\\hich\\af5"
    "\\loch\\nowidctlpar\\hyphpar0\\ltrpar\\f5\\fs22\\cf0\\lang1033\\kerning1\\dbch\\af6\\langfe205"
    "2"
    "\\ql\\ltrpar{\\loch Plain words, }{\\loch\\b\\loch bold}{\\loch  caf\\u233\\'e9 "
    "na\\u239\\'efve "
    "\\u1055\\'3f\\u1088\\'3f\\u1080\\'3f }{{\\field{\\*\\fldinst HYPERLINK "
    "\"https://example.org\" }"
    "{\\fldrslt {\\loch\\cf9\\ul link}}}}{\\loch\\tab end.}\n\\par ";
// What an 8-bit writer produces: code-page escapes under a Cyrillic font.
const QByteArray kRtfCodePageParagraph =
    "\\pard\\plain\\f6\\fs24 \\'cf\\'f0\\'e8\\'e2\\'e5\\'f2, \\'ec\\'e8\\'f0! {\\b "
    "\\'c6\\'e8\\'f0\\'ed\\'fb\\'e9} \\'f2\\'e5\\'ea\\'f1\\'f2 \\'ed\\'e0 "
    "\\'ea\\'e8\\'f0\\'e8\\'eb\\'eb\\'e8\\'f6\\'e5.\\par\n";

void readFile(benchmark::State &state, const QString &path)
{
    const qint64 bytes = QFile(path).size();
    for (auto _ : state) {
        ReadResult result = readDocumentFile(path);
        if (!result.ok) {
            state.SkipWithError(qPrintable(result.error));
            break;
        }
        benchmark::DoNotOptimize(result.text.data());
    }
    state.SetBytesProcessed(state.iterations() * bytes);
}

void BM_ReadPlainSavedPost(benchmark::State &state)
{
    static const QString path = putFile("saved.txt", repeatTo({}, kPostLine, {}));
    readFile(state, path);
}

void BM_ReadPlainLfText(benchmark::State &state)
{
    static const QString path =
        putFile("lf.txt", repeatTo({}, QByteArray(kPostLine).replace("\r\n", "\n"), {}));
    readFile(state, path);
}

void BM_ReadPlainWindows1252(benchmark::State &state)
{
    // Valid UTF-8 until the last line, so the whole file is checked first.
    static const QString path = putFile(
        "cp1252.txt", repeatTo({}, QByteArray(kPostLine).replace("\r\n", "\n"), "caf\xe9\n"));
    readFile(state, path);
}

void BM_ReadRichText(benchmark::State &state)
{
    static const QString path = putFile("lo.rtf", repeatTo(kRtfHead, kRtfParagraph, "}"));
    readFile(state, path);
}

void BM_ReadRichTextCodePage(benchmark::State &state)
{
    static const QString path =
        putFile("cp1251.rtf", repeatTo("{\\rtf1\\ansi\\ansicpg1251" + kRtfHead.mid(6),
                                       kRtfCodePageParagraph, "}"));
    readFile(state, path);
}

void BM_WritePost(benchmark::State &state)
{
    static const QString post = QString::fromUtf8(repeatTo({}, kPostLine, {}));
    const QString path = scratch().filePath(QStringLiteral("written.txt"));
    for (auto _ : state) {
        const WriteResult result = writeDocumentFile(path, post);
        if (!result.ok) {
            state.SkipWithError(qPrintable(result.error));
            break;
        }
    }
    state.SetBytesProcessed(state.iterations() * QFile(path).size());
}

BENCHMARK(BM_ReadPlainSavedPost)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadPlainLfText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadPlainWindows1252)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadRichText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadRichTextCodePage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WritePost)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
