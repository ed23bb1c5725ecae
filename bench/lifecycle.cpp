// Opening a 10 MB plain-text or rich-text file into a real editor, and saving
// a 10 MB post: each should stay well under a second. A post written as one
// line (with spaces, or none at all) should open as fast as ordinary lines.
#include "documents/documentfile.h"
#include "shell/typer.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <memory>

using namespace quorvane;

namespace {

constexpr qsizetype kTarget = 10 * 1024 * 1024;

QTemporaryDir &scratch()
{
    static QTemporaryDir dir;
    return dir;
}

QString writeScratch(const char *name, const QByteArray &bytes)
{
    const QString path = scratch().filePath(QString::fromLatin1(name));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

// A forum post's worth of lines, repeated: BBCode, accents and line breaks.
QByteArray plainDocument()
{
    const QByteArray line = "[B]Re: release notes[/B] caf\xc3\xa9 na\xc3\xafve \xe2\x80\x94 "
                            "[URL=http://example.org/page]a link[/URL] and more words\r\n";
    QByteArray bytes;
    bytes.reserve(kTarget + line.size());
    while (bytes.size() < kTarget)
        bytes += line;
    return bytes;
}

// One paragraph without a line break, as pasted from a web page, or one
// endless word.
QByteArray singleLine(const QByteArray &piece)
{
    QByteArray bytes;
    bytes.reserve(kTarget + piece.size());
    while (bytes.size() < kTarget)
        bytes += piece;
    return bytes;
}

// What a word processor writes: tables, styled runs, code-page escapes,
// Unicode escapes, a field, and a paragraph mark per line.
QByteArray richDocument()
{
    QByteArray bytes = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\froman\\fcharset0 Times "
                       "New Roman;}{\\f1\\fswiss\\fcharset204 Arial;}}"
                       "{\\colortbl;\\red0\\green0\\blue0;\\red255\\green0\\blue0;}"
                       "{\\stylesheet{\\s0\\f0\\fs24 Normal;}}"
                       "{\\info{\\title Benchmark}{\\author Quorvane}}\n";
    const QByteArray paragraph =
        "\\pard\\plain\\s0\\f0\\fs24 Plain words, {\\b bold}, {\\i\\cf2 red italic}, "
        "caf\\'e9 na\\'efve, \\uc1\\u8212?, {\\f1 \\'c0\\'c1\\'c2} "
        "{\\field{\\*\\fldinst HYPERLINK \"http://example.org\"}{\\fldrslt link}}\\tab end\\par\n";
    bytes.reserve(kTarget + paragraph.size() + 2);
    while (bytes.size() < kTarget)
        bytes += paragraph;
    bytes += "}";
    return bytes;
}

void openInto(benchmark::State &state, const QString &path)
{
    auto typer = std::make_unique<Typer>();
    typer->resize(600, 400);
    typer->show();
    for (auto _ : state) {
        const ReadResult read = readDocumentFile(path);
        if (!read.ok) {
            state.SkipWithError(qPrintable(read.error));
            break;
        }
        typer->setText(read.text);
        QApplication::processEvents();
        benchmark::DoNotOptimize(typer->length());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * QFile(path).size());
}

void BM_OpenPlainText10MB(benchmark::State &state)
{
    static const QString path = writeScratch("plain.txt", plainDocument());
    openInto(state, path);
}

void BM_OpenRichText10MB(benchmark::State &state)
{
    static const QString path = writeScratch("rich.rtf", richDocument());
    openInto(state, path);
}

void BM_OpenOneLine10MB(benchmark::State &state)
{
    static const QString path = writeScratch("oneline.txt", singleLine("alpha beta gamma delta "));
    openInto(state, path);
}

void BM_OpenOneWord10MB(benchmark::State &state)
{
    static const QString path = writeScratch("oneword.txt", singleLine("abcdefghij"));
    openInto(state, path);
}

void BM_SavePost10MB(benchmark::State &state)
{
    const ReadResult post = readDocumentBytes(plainDocument());
    auto typer = std::make_unique<Typer>();
    typer->resize(600, 400);
    typer->show();
    typer->setText(post.text);
    QApplication::processEvents();
    const QString path = scratch().filePath(QStringLiteral("saved.txt"));
    for (auto _ : state) {
        const WriteResult written = writeDocumentFile(path, typer->text());
        if (!written.ok) {
            state.SkipWithError(qPrintable(written.error));
            break;
        }
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * QFile(path).size());
}

BENCHMARK(BM_OpenPlainText10MB)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_OpenRichText10MB)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_OpenOneLine10MB)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_OpenOneWord10MB)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_SavePost10MB)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
