// Find next, Replace all and the command-state refresh, each with a 10 MB post
// in the real window (offscreen). Goals: 200 ms, 200 ms and 0.1 ms.

#include "text/search.h"
#include "bench_support.h"
#include "commands/commandstates.h"
#include "commands/installcommands.h"
#include "commands/searchpanels.h"
#include "platform/launcher.h"
#include "shell/mainform.h"
#include "shell/typer.h"
#include "windows/userdialogs.h"

#include <QLineEdit>
#include <memory>

using namespace quorvane;

namespace {

class SilentDialogs : public UserDialogs
{
public:
    QString prompt(QWidget *, const QString &, const QString &, const QString &) override
    {
        return QString();
    }
    QMessageBox::StandardButton message(QWidget *, QMessageBox::Icon, const QString &,
                                        const QString &, QMessageBox::StandardButtons,
                                        QMessageBox::StandardButton) override
    {
        return QMessageBox::Ok;
    }
    QString openFileName(QWidget *, const QString &, const QString &) override { return QString(); }
    QString saveFileName(QWidget *, const QString &) override { return QString(); }
    std::optional<TableShape> tableShape(QWidget *, const TableShape &, bool) override
    {
        return std::nullopt;
    }
    std::optional<QuoteSource> quoteSource(QWidget *, const QString &, QuoteParts,
                                           const QStringList &) override
    {
        return std::nullopt;
    }
};

class NoLauncher : public Launcher
{
public:
    bool openUrl(const QUrl &) override { return false; }
    bool startDetached(const QString &, const QStringList &) override { return false; }
    QString findProgram(const QString &) override { return QString(); }
};

constexpr qsizetype kPostSize = 10'000'000;
constexpr int kTermCount = 100'000;

// 100 000 lines of 100 characters (CR LF included), each with one "cat".
QString tenMegabytePost()
{
    const QString line = QStringLiteral("The quick brown fox jumps over the lazy cat, then "
                                        "runs off into the hills beyond the old windmill.\r\n");
    if (line.size() != kPostSize / kTermCount)
        qFatal("the line must be %lld characters", kPostSize / kTermCount);
    QString post;
    post.reserve(kPostSize);
    for (int i = 0; i < kTermCount; ++i)
        post += line;
    return post;
}

struct Fixture
{
    SilentDialogs dialogs;
    NoLauncher launcher;
    std::unique_ptr<MainForm> form;

    Fixture() : form(std::make_unique<MainForm>(dialogs, launcher))
    {
        installCommands(*form);
        form->show();
        QCoreApplication::processEvents();
    }
    Typer *typer() { return form->typer(); }
    SearchPanels *panels() { return form->findChild<SearchPanels *>(); }
};

void BM_FindNextToAHitNearTheEnd(benchmark::State &state)
{
    Fixture f;
    QString post = tenMegabytePost();
    post.replace(kPostSize - 500, 6, QStringLiteral("Needle"));
    f.typer()->setText(post);
    f.form->command("FindMenu")->trigger();
    f.form->control<QLineEdit>("FindText")->setText(QStringLiteral("NEEDLE"));
    for (auto _ : state) {
        f.panels()->findNext();
        state.PauseTiming();
        if (f.typer()->selStart() != kPostSize - 500)
            state.SkipWithError("missed the hit");
        f.panels()->findNext(); // reports the end and starts again from the top
        state.ResumeTiming();
    }
}
BENCHMARK(BM_FindNextToAHitNearTheEnd)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ReplaceAllOfAHundredThousandHits(benchmark::State &state)
{
    Fixture f;
    const QString post = tenMegabytePost();
    f.form->command("ReplaceMenu")->trigger();
    f.typer()->setText(post);
    f.form->command("ReplaceMenu")->trigger();
    f.form->control<QLineEdit>("FindWhat")->setText(QStringLiteral("CAT"));
    f.form->control<QLineEdit>("ReplaceWith")->setText(QStringLiteral("tiger"));
    for (auto _ : state) {
        state.PauseTiming();
        f.typer()->setText(post);
        QCoreApplication::processEvents();
        state.ResumeTiming();
        f.panels()->replaceAll();
        QCoreApplication::processEvents(); // the repaint that shows the new post
    }
    if (f.typer()->length() != kPostSize + 2 * kTermCount)
        state.SkipWithError(QByteArray::number(f.typer()->length()).constData());
}
BENCHMARK(BM_ReplaceAllOfAHundredThousandHits)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(2.0);

void BM_StateRefresh(benchmark::State &state)
{
    Fixture f;
    f.typer()->setText(tenMegabytePost());
    f.typer()->setSelStart(kPostSize / 2);
    f.typer()->setSelLength(10);
    CommandStates *states = f.form->findChild<CommandStates *>();
    for (auto _ : state)
        states->refresh();
}
BENCHMARK(BM_StateRefresh)->Unit(benchmark::kMicrosecond);

// The parts on their own, to see where the time goes.
void BM_CoreFindCaseless(benchmark::State &state)
{
    QString post = tenMegabytePost();
    post.replace(kPostSize - 500, 6, QStringLiteral("Needle"));
    for (auto _ : state)
        benchmark::DoNotOptimize(findCaseless(post, u"NEEDLE", 0));
}
BENCHMARK(BM_CoreFindCaseless)->Unit(benchmark::kMillisecond);

void BM_CoreReplaceAllCaseless(benchmark::State &state)
{
    const QString post = tenMegabytePost();
    for (auto _ : state)
        benchmark::DoNotOptimize(replaceAllCaseless(post, u"CAT", u"tiger"));
}
BENCHMARK(BM_CoreReplaceAllCaseless)->Unit(benchmark::kMillisecond);

void BM_TyperText(benchmark::State &state)
{
    Fixture f;
    f.typer()->setText(tenMegabytePost());
    for (auto _ : state)
        benchmark::DoNotOptimize(f.typer()->text());
}
BENCHMARK(BM_TyperText)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

QUORVANE_BENCHMARK_MAIN()
