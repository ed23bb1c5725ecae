// Splitting a long post into parts that fit a forum's limit, and counting its
// words afresh (what the status does when a post is opened).
//
// Goal: a 1 MB post into 10 000-character parts within 100 ms.

#include "conversion_post.h"
#include "split/postlength.h"
#include "split/postsplitter.h"
#include "split/posttally.h"

#include <QCoreApplication>
#include <QStringList>
#include <benchmark/benchmark.h>

#include <limits>

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

// The same, counted as phpBB (0), SMF (1) or MyBB (2) counts.
void BM_SplitForum(benchmark::State &state)
{
    const KnownTags tags;
    SplitOptions options;
    options.limit = 10000;
    options.rule = forumLengthRule(Counting(state.range(0)));
    options.labelTemplate = QStringLiteral("(%1/%2)");
    for (auto _ : state)
        benchmark::DoNotOptimize(splitPost(post(), options, tags).parts.data());
}

// A key press in the middle of a 10 MB post: the tally reads the one line
// again and the status asks for the length, as the program counts (-1) or
// as phpBB, SMF or MyBB counts (0, 1, 2).
void BM_TallyKeyPress(benchmark::State &state)
{
    const KnownTags tags;
    static const QStringList lines = bench::realisticPost(10 * 1024 * 1024).split(u'\n');
    QStringList edited = lines;
    PostTally tally(tags);
    tally.replace(0, 0, lines.size());
    const auto source = [&](qsizetype i) { return PostTally::Line{edited[i], false}; };
    tally.settle(source, std::numeric_limits<qsizetype>::max());
    const LengthRule rule =
        state.range(0) < 0 ? LengthRule() : forumLengthRule(Counting(state.range(0)));
    const qsizetype middle = lines.size() / 2;
    bool typed = false;
    for (auto _ : state) {
        // Typed and taken back in turn: the line stays as long.
        edited[middle] = typed ? lines[middle] : lines[middle] + u'a';
        typed = !typed;
        tally.replace(middle, 1, 1);
        tally.settle(source, 4096);
        benchmark::DoNotOptimize(tally.length(rule));
    }
}

BENCHMARK(BM_Split)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SplitForum)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TallyKeyPress)->DenseRange(-1, 2)->Unit(benchmark::kMicrosecond);
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
