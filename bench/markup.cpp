// Checking a post's mark-up: the whole check (tags, pairs, problems) and the
// report's line and column pass, on a long post and a 10 MB one.
//
// Goals: 60 KB within 1 ms, 10 MB within 150 ms (the editor runs it off the
// UI thread); a forum's warnings within 1 ms more at 60 KB, 150 ms at 10 MB.

#include "conversion_post.h"
#include "forum/forumwarnings.h"
#include "markup/markupchecker.h"
#include "markup/markupreport.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>

#include <map>

using namespace quorvane;

namespace {

const QString &post(qsizetype size)
{
    static std::map<qsizetype, QString> posts;
    auto it = posts.find(size);
    if (it == posts.end())
        it = posts.emplace(size, bench::realisticPost(size)).first;
    return it->second;
}

void BM_Check(benchmark::State &state)
{
    const QString &text = post(state.range(0));
    const KnownTags tags;
    std::size_t problems = 0;
    for (auto _ : state) {
        const MarkupAnalysis analysis = analyseMarkup(text, tags);
        problems = analysis.problems.size();
        benchmark::DoNotOptimize(analysis.tags.data());
    }
    state.counters["problems"] = double(problems);
    state.SetBytesProcessed(int64_t(state.iterations()) * state.range(0) * 2);
}

void BM_Report(benchmark::State &state)
{
    const QString &text = post(state.range(0));
    const KnownTags tags;
    for (auto _ : state) {
        qsizetype bytes = 0;
        writeMarkupReport(QStringLiteral("post.txt"), text, tags, [&](QByteArrayView out) {
            bytes += out.size();
            return true;
        });
        benchmark::DoNotOptimize(bytes);
    }
}

// The forum's warnings on top of a check already made (the live check and
// --check --forum make both).
void BM_ForumWarnings(benchmark::State &state)
{
    const Forum forum = Forum(state.range(0));
    const QString &text = post(state.range(1));
    const KnownTags tags;
    const MarkupAnalysis analysis = analyseMarkup(text, tags);
    std::size_t warnings = 0;
    for (auto _ : state) {
        const std::vector<MarkupProblem> found = forumWarnings(forum, text, analysis, tags);
        warnings = found.size();
        benchmark::DoNotOptimize(found.data());
    }
    state.counters["warnings"] = double(warnings);
    state.SetLabel(forumKey(forum).toStdString());
}

void forumsAndSizes(benchmark::internal::Benchmark *b)
{
    for (Forum forum : {Forum::PhpBB, Forum::Smf, Forum::MyBB}) {
        for (int64_t size : {60 * 1024, 10 * 1024 * 1024})
            b->Args({int64_t(forum), size});
    }
}

} // namespace

BENCHMARK(BM_ForumWarnings)->Apply(forumsAndSizes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Check)->Arg(60 * 1024)->Arg(10 * 1024 * 1024)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Report)->Arg(60 * 1024)->Arg(10 * 1024 * 1024)->Unit(benchmark::kMillisecond);

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
