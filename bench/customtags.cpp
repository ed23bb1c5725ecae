// A board's custom tags: a file of 1,000 of them read and made into the
// forum's tag set (goal: within 50 ms), and what they add to the work done
// on each keystroke: a post rendered and checked with and without them.

#include "forum/customtags.h"
#include "conversion_post.h"
#include "forum/bbcodeparser.h"
#include "forum/forumwriter.h"
#include "markup/markupchecker.h"

#include <benchmark/benchmark.h>

#include <map>

using namespace quorvane;

namespace {

// Tags as boards define them: a value, named attributes, numbered tokens.
QByteArray thousandTags()
{
    QByteArray file;
    for (int i = 0; i < 1000; ++i) {
        const QByteArray n = QByteArray::number(i);
        switch (i % 4) {
        case 0:
            file += "[spoil" + n + "={TEXT1}]{TEXT2}[/spoil" + n +
                    "]\n<details class=\"s\"><summary>{TEXT1}</summary>{TEXT2}</details>\n\n";
            break;
        case 1:
            file += "[box" + n + " width={NUMBER} color={COLOR}]{TEXT}[/box" + n +
                    "]\n<div style=\"width: {NUMBER}px; color: {COLOR}\" onclick=\"x()\">"
                    "{TEXT}</div>\n\n";
            break;
        case 2:
            file += "[go" + n + "]{URL}[/go" + n + "]\n<a href=\"{URL}\">{URL}</a>\n\n";
            break;
        default:
            file += "[rule" + n + "]\n<hr class=\"r\">\n\n";
        }
    }
    return file;
}

void BM_LoadThousandCustomTags(benchmark::State &state)
{
    const QByteArray file = thousandTags();
    for (auto _ : state) {
        const CustomTagsRead read = readCustomTags(file);
        const auto set = makeForumTagSet(Forum::PhpBB, read.tags);
        // The first post read compiles the usage lines.
        benchmark::DoNotOptimize(parseForumPost(*set->dialect, u"[spoil0=a]b[/spoil0]"));
    }
}

// A post with the custom tags in it, every tag family of the forum besides.
// A post as people write it (bench/conversion_post.h), made once a size.
const QString &plainPost(qsizetype size)
{
    static std::map<qsizetype, QString> posts;
    auto it = posts.find(size);
    if (it == posts.end())
        it = posts.emplace(size, bench::realisticPost(size)).first;
    return it->second;
}

const QString &postWithCustomTags(qsizetype size)
{
    static std::map<qsizetype, QString> posts;
    auto it = posts.find(size);
    if (it == posts.end()) {
        const QString &plain = plainPost(size);
        QString post;
        post.reserve(plain.size() * 5 / 4);
        for (qsizetype at = 0; at < plain.size(); at += 400) {
            post += QStringView(plain).mid(at, 400);
            post += u"[spoil8=Hint]x[/spoil8][box9 width=4 color=red]y[/box9]";
        }
        it = posts.emplace(size, std::move(post)).first;
    }
    return it->second;
}

const std::vector<CustomTag> &customTags(bool with)
{
    static const std::vector<CustomTag> none;
    static const std::vector<CustomTag> thousand = readCustomTags(thousandTags()).tags;
    return with ? thousand : none;
}

// A post as people write it, without the custom tags: what having 1,000 of
// them costs. Arg 0: the forum's tags alone; 1: with the custom tags.
void BM_RenderPost(benchmark::State &state)
{
    const auto set = makeForumTagSet(Forum::PhpBB, customTags(state.range(0)));
    const QString &text = plainPost(state.range(1));
    for (auto _ : state)
        benchmark::DoNotOptimize(
            writeForumHtml(*set->dialect, parseForumPost(*set->dialect, text)));
    state.SetLabel(state.range(0) ? "1,000 custom tags" : "forum's own tags");
}

// The check of the same post: the custom names are known either way (as
// "Forum Tag Names..." would make them); with definitions their values are
// checked too.
void BM_CheckPost(benchmark::State &state)
{
    const auto set = makeForumTagSet(Forum::PhpBB, customTags(true));
    KnownTags tags;
    if (state.range(0))
        tags.addBoardTags(set->customNames, set->singleNames, set->dialect);
    else
        tags = KnownTags(set->customNames);
    const QString &text =
        state.range(2) ? postWithCustomTags(state.range(1)) : plainPost(state.range(1));
    for (auto _ : state)
        benchmark::DoNotOptimize(analyseMarkup(text, tags));
    state.SetLabel(std::string(state.range(0) ? "definitions" : "names only") +
                   (state.range(2) ? ", custom tags in the post" : ""));
}

// A post that uses them: every 400 characters a spoiler and a box.
void BM_RenderPostUsingThem(benchmark::State &state)
{
    const auto set = makeForumTagSet(Forum::PhpBB, customTags(true));
    const QString &text = postWithCustomTags(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(
            writeForumHtml(*set->dialect, parseForumPost(*set->dialect, text)));
}

constexpr int64_t k60K = 60 * 1024;
constexpr int64_t k10M = 10 * 1024 * 1024;

} // namespace

BENCHMARK(BM_LoadThousandCustomTags)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RenderPost)
    ->ArgsProduct({{0, 1}, {k60K, k10M}})
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime();
BENCHMARK(BM_CheckPost)
    ->ArgsProduct({{0, 1}, {k60K, k10M}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime();
BENCHMARK(BM_RenderPostUsingThem)
    ->Arg(k60K)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime();

#include "bench_support.h"
QUORVANE_BENCHMARK_MAIN()
