// A post rendered as each forum shows it, on realistic posts of 60 KB, 1 MB
// and 10 MB (every tag family, quotes, code, lists, links, smilies).
//
// Goals: 60 KB within 5 ms and 10 MB within 500 ms for every forum, and
// 10 MB at most 12 times the 1 MB time. Adapting 1 MB for a forum within
// 100 ms (BM_AdaptForum).

#include "conversion_post.h"
#include "forum/forumadapt.h"
#include "forum/forumpage.h"

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

void BM_RenderForum(benchmark::State &state)
{
    const Forum forum = Forum(state.range(0));
    const QString &text = post(state.range(1));
    for (auto _ : state)
        benchmark::DoNotOptimize(renderForumHtml(forum, text));
    state.SetBytesProcessed(int64_t(state.iterations()) * state.range(1) * 2);
    state.SetLabel(forumKey(forum).toStdString());
}

void BM_ForumPage(benchmark::State &state)
{
    const QString &text = post(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(
            forumPageHtml(Forum::PhpBB, text, QStringLiteral("/usr/share/quorvane")));
}

// The post adapted for the forum (forum/forumadapt).
void BM_AdaptForum(benchmark::State &state)
{
    const Forum forum = Forum(state.range(0));
    const QString &text = post(state.range(1));
    const Dialect &rules = dialect(forum);
    for (auto _ : state)
        benchmark::DoNotOptimize(adaptPost(rules, text));
    state.SetBytesProcessed(int64_t(state.iterations()) * state.range(1) * 2);
    state.SetLabel(forumKey(forum).toStdString());
}

constexpr int64_t k60K = 60 * 1024;
constexpr int64_t k1M = 1024 * 1024;
constexpr int64_t k10M = 10 * 1024 * 1024;

void forumsAndSizes(benchmark::internal::Benchmark *b)
{
    for (Forum forum : {Forum::PhpBB, Forum::Smf, Forum::MyBB}) {
        for (int64_t size : {k60K, k1M, k10M})
            b->Args({int64_t(forum), size});
    }
}

} // namespace

BENCHMARK(BM_RenderForum)->Apply(forumsAndSizes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ForumPage)->Arg(k60K)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AdaptForum)
    ->Args({int64_t(Forum::PhpBB), k1M})
    ->Args({int64_t(Forum::Smf), k1M})
    ->Args({int64_t(Forum::MyBB), k1M})
    ->Unit(benchmark::kMillisecond);

#include "bench_support.h"
QUORVANE_BENCHMARK_MAIN()
