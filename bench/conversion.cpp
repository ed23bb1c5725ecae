// The preview conversion, the page bytes and the stripper on realistic posts
// of 10 KB, 1 MB and 10 MB, the one-pass versions beside the literal passes.
//
// Goals: a 10 MB post to its page (read, convert, write) within 120 ms as a
// whole quorvane-convert process (bench/compare-npm.sh times that); stripping
// 10 MB within 300 ms; 10 MB at most 12 times the 1 MB time.
//
// `bench_conversion --write-post=FILE [--size=BYTES]` writes the post used
// here as UTF-8 and exits, for timing the command-line tool on it.

#include "conversion/bbcode.h"
#include "conversion/previewpage.h"
#include "conversion/stripper.h"
#include "conversion_post.h"
#include "documents/documentfile.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cstring>
#include <map>

using namespace quorvane;

namespace {

const QString kDataDir = QStringLiteral("/usr/share/quorvane");

const QString &post(qsizetype size)
{
    static std::map<qsizetype, QString> posts;
    auto it = posts.find(size);
    if (it == posts.end())
        it = posts.emplace(size, bench::realisticPost(size)).first;
    return it->second;
}

void setBytes(benchmark::State &state)
{
    state.SetBytesProcessed(int64_t(state.iterations()) * state.range(0) * 2);
}

void BM_Convert(benchmark::State &state)
{
    const QString &text = post(state.range(0));
    const BlockHeaders headers = BlockHeaders::standard();
    for (auto _ : state)
        benchmark::DoNotOptimize(convertBBCode(text, kDataDir, headers));
    setBytes(state);
}

void BM_ConvertReference(benchmark::State &state)
{
    const QString &text = post(state.range(0));
    const BlockHeaders headers = BlockHeaders::standard();
    for (auto _ : state)
        benchmark::DoNotOptimize(convertBBCodeReference(text, kDataDir, headers));
    setBytes(state);
}

void BM_ConvertToPageBytes(benchmark::State &state)
{
    const QString &text = post(state.range(0));
    const BlockHeaders headers = BlockHeaders::standard();
    for (auto _ : state)
        benchmark::DoNotOptimize(convertBBCodeToPageBytes(text, kDataDir, headers));
    setBytes(state);
}

void BM_PageBytes(benchmark::State &state)
{
    const QString page = convertBBCode(post(state.range(0)), kDataDir, BlockHeaders::standard());
    for (auto _ : state)
        benchmark::DoNotOptimize(previewPageBytes(page));
    setBytes(state);
}

// What quorvane-convert does, in one process: read the file, convert, encode
// and write the page.
void BM_FileToPage(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString in = dir.filePath(QStringLiteral("post.txt"));
    {
        QFile f(in);
        if (!f.open(QIODevice::WriteOnly))
            qFatal("cannot write %s", qPrintable(in));
        f.write(post(state.range(0)).toUtf8());
    }
    const QString out = dir.filePath(QStringLiteral("page.htm"));
    const BlockHeaders headers = BlockHeaders::standard();
    for (auto _ : state) {
        const ReadResult doc = readDocumentFile(in);
        const QByteArray bytes = convertBBCodeToPageBytes(doc.text, kDataDir, headers);
        QFile f(out);
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(out));
    }
    setBytes(state);
}

void BM_Strip(benchmark::State &state)
{
    const QString &text = post(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(stripFormatting(text));
    setBytes(state);
}

void BM_StripReference(benchmark::State &state)
{
    const QString &text = post(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(stripFormattingReference(text));
    setBytes(state);
}

constexpr int64_t k10K = 10 * 1024;
constexpr int64_t k1M = 1024 * 1024;
constexpr int64_t k10M = 10 * 1024 * 1024;

BENCHMARK(BM_Convert)->Arg(k10K)->Arg(k1M)->Arg(k10M)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConvertReference)->Arg(k10K)->Arg(k1M)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConvertReference)->Arg(k10M)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConvertToPageBytes)->Arg(k1M)->Arg(k10M)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PageBytes)->Arg(k10M)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FileToPage)->Arg(k1M)->Arg(k10M)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Strip)->Arg(k10K)->Arg(k1M)->Arg(k10M)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StripReference)->Arg(k10K)->Arg(k1M)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StripReference)->Arg(k10M)->Iterations(1)->Unit(benchmark::kMillisecond);

int writePost(const char *path, qsizetype size)
{
    QFile f(QString::fromLocal8Bit(path));
    const QByteArray bytes = bench::realisticPost(size).toUtf8();
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", path);
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const char *postPath = nullptr;
    qsizetype size = k10M;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--write-post=", 13) == 0)
            postPath = argv[i] + 13;
        else if (std::strncmp(argv[i], "--size=", 7) == 0)
            size = std::atoll(argv[i] + 7);
    }
    if (postPath)
        return writePost(postPath, size);

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
