// Splitting a long post into parts that fit a forum's limit, and counting its
// words afresh (what the status does when a post is opened).
//
// Goal: a 1 MB post into 10 000-character parts within 100 ms.

#include "conversion_post.h"
#include "split/postlength.h"
#include "split/postsplitter.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>

using namespace quorvane;

namespace {

const QString &post()
{
    static const QString text = bench::realisticPost(1024 * 1024);
    return text;
}

void BM_Split(benchmark::State &state)
{
    const KnownTags tags;
    SplitOptions options;
    options.limit = 10000;
    options.rule.countTags = state.range(0) != 0;
    options.labelTemplate = QStringLiteral("(%1/%2)");
    qsizetype parts = 0;
    for (auto _ : state) {
        const SplitResult result = splitPost(post(), options, tags);
        parts = result.parts.size();
        benchmark::DoNotOptimize(result.parts.data());
    }
    state.counters["parts"] = double(parts);
}

void BM_Words(benchmark::State &state)
{
    const KnownTags tags;
    for (auto _ : state)
        benchmark::DoNotOptimize(countWords(post(), tags));
}

} // namespace

BENCHMARK(BM_Split)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Words)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
