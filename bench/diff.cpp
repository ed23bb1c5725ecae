// Compare's difference on large posts: a draft a few edits away from its
// file, and two posts with nothing in common (the bounded case); and the
// Compare window built from them.
#include "bench_support.h"
#include "text/textdiff.h"
#include "windows/comparewindow.h"

#include <QIcon>

namespace {

QString post(qsizetype size)
{
    const QString paragraph = QStringLiteral(
        "[B]Hello[/B] everyone, here is [URL=https://example.org]a link[/URL] and "
        "[Color=Red]some red text[/Color] :) with a [QUOTE]quote[/QUOTE] in it.\r\n");
    QString text;
    text.reserve(size + paragraph.size());
    while (text.size() < size)
        text += paragraph;
    return text;
}

// Ten edits spread through the post: a sentence added, a word changed.
QString edited(QString text)
{
    const qsizetype step = text.size() / 10;
    for (qsizetype at = step * 9; at > 0; at -= step) {
        const qsizetype line = text.indexOf(u'\n', at);
        if (line > 0)
            text.insert(line - 1, QStringLiteral(" An added sentence here."));
    }
    return text;
}

void DiffAFewEdits(benchmark::State &state)
{
    const QString file = post(state.range(0));
    const QString draft = edited(file);
    for (auto _ : state)
        benchmark::DoNotOptimize(quorvane::diffTexts(file, draft));
    state.SetBytesProcessed(state.iterations() * state.range(0) * 2);
}
BENCHMARK(DiffAFewEdits)->Arg(60 * 1024)->Arg(10 * 1024 * 1024)->Unit(benchmark::kMillisecond);

void DiffUnrelatedPosts(benchmark::State &state)
{
    const QString file = post(state.range(0));
    QString draft = file;
    draft.replace(QStringLiteral("everyone"), QStringLiteral("all of you"));
    for (auto _ : state)
        benchmark::DoNotOptimize(quorvane::diffTexts(file, draft));
}
BENCHMARK(DiffUnrelatedPosts)->Arg(60 * 1024)->Arg(2 * 1024 * 1024)->Unit(benchmark::kMillisecond);

void CompareWindowOfAFewEdits(benchmark::State &state)
{
    const QString file = post(state.range(0));
    const QString draft = edited(file);
    for (auto _ : state) {
        quorvane::CompareWindow window(QStringLiteral("Draft"), draft, QStringLiteral("File"), file,
                                       QIcon());
        benchmark::DoNotOptimize(&window);
    }
}
BENCHMARK(CompareWindowOfAFewEdits)
    ->Arg(60 * 1024)
    ->Arg(1024 * 1024)
    ->Unit(benchmark::kMillisecond);

} // namespace

QUORVANE_BENCHMARK_MAIN()
