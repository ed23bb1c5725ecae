// Spelling a post: finding its prose words and asking the dictionary about
// each (what the editor does for the lines it shows), with a speller that has
// seen the words before and with a new one, and the whole check with
// suggestions that quorvane-convert --check prints.
//
// The posts use 20,000 different words of the en_US dictionary with one word
// in 30 misspelt, between tags, links, smilies and code, so the speller's
// memory of words is not flattered by a small vocabulary.

#include "bench_support.h"
#include "markup/knowntags.h"
#include "spelling/prosewords.h"
#include "spelling/speller.h"

#include <QFile>
#include <QStringList>

#include <algorithm>
#include <map>
#include <random>
#include <set>

using namespace quorvane;

namespace {

QStringList dictionaryWords()
{
    QStringList words;
    QFile file(QStringLiteral("/usr/share/hunspell/en_US.dic"));
    if (!file.open(QIODevice::ReadOnly))
        return words;
    file.readLine(); // the count
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        const QString word = line.section(u'/', 0, 0);
        if (word.size() > 1 && word.at(0).isLower())
            words.append(word);
    }
    return words;
}

QString post(qsizetype size)
{
    static std::map<qsizetype, QString> posts;
    auto it = posts.find(size);
    if (it != posts.end())
        return it->second;
    std::mt19937 rng(11);
    auto below = [&](qsizetype n) {
        return qsizetype(std::uniform_int_distribution<qsizetype>(0, n - 1)(rng));
    };
    QStringList all = dictionaryWords();
    std::shuffle(all.begin(), all.end(), rng);
    const QStringList words = all.mid(0, 20000);
    QString text;
    text.reserve(size + 200);
    while (text.size() < size && !words.isEmpty()) {
        QString word = words[below(words.size())];
        if (below(30) == 0 && word.size() > 3) {
            const qsizetype i = 1 + below(word.size() - 2);
            std::swap(word[i], word[i + 1]);
        }
        switch (below(40)) {
        case 0:
            text += QStringLiteral("[B]%1[/B] ").arg(word);
            break;
        case 1:
            text += QStringLiteral("[URL=https://example.org/%1]%1 page[/URL] ").arg(word);
            break;
        case 2:
            text += QStringLiteral(":rolleyes: ");
            break;
        case 3:
            text += QStringLiteral("\r\n[CODE]int %1 = f(x[2]);\r\n[/CODE]\r\n").arg(word);
            break;
        case 4:
            text += QStringLiteral("www.%1.com ").arg(word);
            break;
        case 5:
            text += QStringLiteral(".\r\n\r\n");
            break;
        default:
            text += word + u' ';
        }
    }
    return posts.emplace(size, text).first->second;
}

std::unique_ptr<Speller> english(benchmark::State &state)
{
    std::unique_ptr<Speller> speller = Speller::load(QStringLiteral("en_US"));
    if (!speller)
        state.SkipWithError("no en_US dictionary");
    return speller;
}

// Every line's prose words through isCorrect, as the editor's check does.
qsizetype checkLines(const QString &text, const KnownTags &tags, const Speller &speller)
{
    qsizetype wrong = 0;
    int verbatim = MarkupScanner::noVerbatim;
    for (QStringView line : QStringView(text).tokenize(u'\n')) {
        verbatim = proseWords(tags, line, verbatim, [&](WordSpan span) {
            wrong += !speller.isCorrect(line.sliced(span.start, span.length));
        });
    }
    return wrong;
}

void BM_ProseWordsOnly(benchmark::State &state)
{
    const QString text = post(state.range(0));
    const KnownTags tags;
    for (auto _ : state) {
        qsizetype count = 0;
        int verbatim = MarkupScanner::noVerbatim;
        for (QStringView line : QStringView(text).tokenize(u'\n'))
            verbatim = proseWords(tags, line, verbatim, [&](WordSpan) { ++count; });
        benchmark::DoNotOptimize(count);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * state.range(0) * 2);
}

// The speller has seen the words: typing and scrolling.
void BM_CheckWarm(benchmark::State &state)
{
    const QString text = post(state.range(0));
    const KnownTags tags;
    const std::unique_ptr<Speller> speller = english(state);
    if (!speller)
        return;
    checkLines(text, tags, *speller);
    qsizetype wrong = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(wrong = checkLines(text, tags, *speller));
    state.counters["misspelt"] = double(wrong);
    state.SetBytesProcessed(int64_t(state.iterations()) * state.range(0) * 2);
}

// A speller fresh from loading: the first check of an opened post.
void BM_CheckCold(benchmark::State &state)
{
    const QString text = post(state.range(0));
    const KnownTags tags;
    for (auto _ : state) {
        state.PauseTiming();
        std::unique_ptr<Speller> speller = english(state);
        state.ResumeTiming();
        if (!speller)
            return;
        benchmark::DoNotOptimize(checkLines(text, tags, *speller));
        state.PauseTiming();
        speller.reset();
        state.ResumeTiming();
    }
}

// quorvane-convert --check's spelling: every misspelling with suggestions.
void BM_FindMisspellings(benchmark::State &state)
{
    const QString text = post(state.range(0));
    const KnownTags tags;
    const std::unique_ptr<Speller> speller = english(state);
    if (!speller)
        return;
    std::size_t found = 0;
    for (auto _ : state)
        found = findMisspellings(text, tags, *speller).size();
    state.counters["misspellings"] = double(found);
}

// One 16 KB line of 2,000 different misspellings (dictionary words with two
// letters swapped), as `quorvane-convert --check` gets a pasted log: with the
// suggestion budget (range 0), without suggestions (1), and with every word
// suggested for as before the budget (2; a minute of CPU).
QString twoThousandMisspellings()
{
    QFile dic(QStringLiteral("/usr/share/hunspell/en_US.dic"));
    if (!dic.open(QIODevice::ReadOnly))
        return {};
    std::mt19937 random(7);
    QStringList words;
    std::set<QString> seen;
    const QList<QByteArray> lines = dic.readAll().split('\n');
    while (words.size() < 2000) {
        QString word = QString::fromUtf8(lines[qsizetype(random() % quint32(lines.size()))])
                           .section(u'/', 0, 0);
        if (word.size() < 5 || word.size() > 9 || word != word.toLower() ||
            !std::all_of(word.begin(), word.end(), [](QChar c) { return c.isLetter(); }))
            continue;
        const qsizetype i = qsizetype(random() % quint32(word.size() - 1));
        std::swap(word[i], word[i + 1]);
        if (seen.insert(word).second)
            words.append(word);
    }
    return words.join(u' ');
}

void BM_CheckReport2000Misspellings(benchmark::State &state)
{
    const QString text = twoThousandMisspellings();
    const std::unique_ptr<Speller> speller = english(state);
    if (!speller || text.isEmpty())
        return;
    SuggestionBudget budget;
    budget.suggest = state.range(0) != 1;
    if (state.range(0) == 2)
        budget.time = std::chrono::hours(1);
    qsizetype unsuggested = 0;
    std::size_t found = 0;
    for (auto _ : state)
        found = findMisspellings(text, KnownTags(), *speller, budget, &unsuggested).size();
    state.counters["misspellings"] = double(found);
    state.counters["without_suggestions"] = double(unsuggested);
}

void BM_Load(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(english(state));
}

} // namespace

BENCHMARK(BM_ProseWordsOnly)->Arg(60 * 1024)->Arg(10 * 1024 * 1024)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CheckWarm)->Arg(60 * 1024)->Arg(10 * 1024 * 1024)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CheckCold)
    ->Arg(60 * 1024)
    ->Arg(10 * 1024 * 1024)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
// Hunspell needs tens of milliseconds of CPU to suggest for one word, so the
// 10 MB post's tens of thousands of different misspellings would take many
// minutes: the whole check is measured on the 60 KB post.
BENCHMARK(BM_FindMisspellings)->Arg(60 * 1024)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_CheckReport2000Misspellings)
    ->Arg(0)
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->UseRealTime();
BENCHMARK(BM_Load)->Unit(benchmark::kMillisecond)->Iterations(5);

QUORVANE_BENCHMARK_MAIN()
