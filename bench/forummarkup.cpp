// Insert Table... on selected tab-separated lines: a spreadsheet's copy of
// 100 to 10,000 rows of 8 cells read into cells and written as SMF's table.
//
// Goal: 10,000 rows (about 1 MB) within 50 ms, so a large paste made into a
// table does not hold the window up.

#include "forum/forumtable.h"

#include <benchmark/benchmark.h>

using namespace quorvane;

namespace {

QString spreadsheet(int64_t rows)
{
    QString out;
    for (int64_t r = 0; r < rows; ++r) {
        for (int c = 0; c < 8; ++c) {
            out += QStringLiteral("cell %1.%2").arg(r).arg(c);
            out += c < 7 ? QStringLiteral("\t") : QStringLiteral("\r\n");
        }
    }
    return out;
}

void BM_TableFromLines(benchmark::State &state)
{
    const QString lines = spreadsheet(state.range(0));
    const Dialect &smf = dialect(Forum::Smf);
    for (auto _ : state)
        benchmark::DoNotOptimize(tableMarkup(smf, tabSeparatedRows(lines), true));
    state.SetBytesProcessed(int64_t(state.iterations()) * lines.size() * 2);
}

} // namespace

BENCHMARK(BM_TableFromLines)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

#include "bench_support.h"
QUORVANE_BENCHMARK_MAIN()
