// Opening a 10 MB plain-text or rich-text file into a real editor, and saving
// a 10 MB post: each should stay well under a second. A post written as one
// line (with spaces, or none at all) should open as fast as ordinary lines.
// A 60 MB post opened in the whole window: the time until it is in the
// editor and the longest the event loop stood still meanwhile, read on the
// UI thread as before and on the worker as now.
#include "commands/documentcommands.h"
#include "commands/installcommands.h"
#include "documents/documentfile.h"
#include "platform/launcher.h"
#include "shell/mainform.h"
#include "shell/typer.h"
#include "windows/userdialogs.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>

#include <algorithm>
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
QByteArray plainDocument(qsizetype target = kTarget)
{
    const QByteArray line = "[B]Re: release notes[/B] caf\xc3\xa9 na\xc3\xafve \xe2\x80\x94 "
                            "[URL=http://example.org/page]a link[/URL] and more words\r\n";
    QByteArray bytes;
    bytes.reserve(target + line.size());
    while (bytes.size() < target)
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

// Measures the gaps between turns of the event loop while `open` runs and
// until `done` says the post is in the editor.
void openInWindow(benchmark::State &state,
                  const std::function<void(MainForm &, const QString &)> &open)
{
    static const QString path = writeScratch("plain60.txt", plainDocument(60 * 1024 * 1024));
    QtUserDialogs dialogs; // a clean post: nothing is asked
    DesktopLauncher launcher;
    qint64 longest = 0;
    for (auto _ : state) {
        // A window of its own each time: the last post is not asked about.
        MainForm form(dialogs, launcher);
        installCommands(form);
        form.show();
        QApplication::processEvents();
        auto *documents = form.findChild<DocumentCommands *>();
        QElapsedTimer clock;
        QElapsedTimer sinceTurn;
        qint64 stall = 0;
        QTimer turn;
        turn.setInterval(0);
        QObject::connect(&turn, &QTimer::timeout,
                         [&] { stall = std::max(stall, sinceTurn.restart()); });
        clock.start();
        sinceTurn.start();
        turn.start();
        open(form, path);
        while (documents->isReading())
            QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        stall = std::max(stall, sinceTurn.elapsed());
        state.SetIterationTime(double(clock.elapsed()) / 1000.0);
        longest = std::max(longest, stall);
        if (form.typer()->length() < 60 * 1000 * 1000) {
            state.SkipWithError("the post did not arrive");
            break;
        }
    }
    state.counters["longest_stall_ms"] = double(longest);
    state.SetBytesProcessed(int64_t(state.iterations()) * QFile(path).size());
}

// What Open did before: read, decode and fill the editor in one go.
void BM_OpenInWindow60MBBlocking(benchmark::State &state)
{
    openInWindow(state, [](MainForm &form, const QString &path) {
        const ReadResult read = readDocumentFile(path);
        form.typer()->setText(read.text);
        benchmark::DoNotOptimize(form.typer()->text().size());
    });
}

void BM_OpenInWindow60MB(benchmark::State &state)
{
    openInWindow(state, [](MainForm &form, const QString &path) {
        form.findChild<DocumentCommands *>()->openFile(path);
    });
}

BENCHMARK(BM_OpenPlainText10MB)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_OpenRichText10MB)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_OpenOneLine10MB)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_OpenOneWord10MB)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_SavePost10MB)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_OpenInWindow60MBBlocking)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(3);
BENCHMARK(BM_OpenInWindow60MB)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);

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
