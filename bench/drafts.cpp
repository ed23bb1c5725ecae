// The journal's costs: what the UI thread pays to hand a snapshot of a large
// post to the writer, what the writer pays to put it on disk, and what the
// start-up check costs when there are no drafts.
#include "bench_support.h"
#include "commands/draftcommands.h"
#include "commands/installcommands.h"
#include "drafts/draftstore.h"
#include "drafts/draftwriter.h"
#include "platform/launcher.h"
#include "shell/mainform.h"
#include "shell/typer.h"
#include "windows/userdialogs.h"

#include <QTemporaryDir>
#include <QTest>

#include <memory>

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

// A key press and the snapshot taken after it: the copy of the text and the
// hand-over to the writer, all the UI thread ever does for a draft.
void SnapshotHandOver(benchmark::State &state)
{
    QTemporaryDir dir;
    quorvane::QtUserDialogs dialogs;
    quorvane::DesktopLauncher launcher;
    quorvane::MainForm form(dialogs, launcher);
    quorvane::installCommands(form);
    auto *drafts = quorvane::DraftCommands::of(form);
    drafts->setFolder(dir.path());
    quorvane::Typer *typer = form.typer();
    typer->setText(post(state.range(0)));
    typer->setSelStart(typer->length() / 2);
    for (auto _ : state) {
        QTest::keyClick(typer, Qt::Key_A);
        drafts->writeNow();
    }
    drafts->writer().waitUntilIdle(std::chrono::minutes(1));
    state.SetLabel(QString::number(typer->length()).toStdString() + " characters");
}
BENCHMARK(SnapshotHandOver)->Arg(10 * 1000)->Arg(10 * 1000 * 1000)->Unit(benchmark::kMillisecond);

// The writer's side: encode, write, fdatasync, rename, fsync the folder.
void SnapshotOnDisk(benchmark::State &state)
{
    QTemporaryDir dir;
    quorvane::drafts::DraftStore store(dir.path());
    const QString text = post(state.range(0));
    for (auto _ : state) {
        quorvane::drafts::SnapshotHeader header;
        header.postId = QStringLiteral("bench");
        QString error;
        if (!store.write(header, text, &error))
            state.SkipWithError(error.toStdString().c_str());
        state.PauseTiming();
        store.prune(0, {1, 0, 0}); // keep only the newest
        state.ResumeTiming();
    }
}
BENCHMARK(SnapshotOnDisk)->Arg(10 * 1000)->Arg(10 * 1000 * 1000)->Unit(benchmark::kMillisecond);

// Start-up with no drafts: where the folder is, whether the last session
// ended cleanly, the writer's thread, and the running marker handed to it.
void StartUpCheck(benchmark::State &state)
{
    for (auto _ : state) {
        auto writer = std::make_unique<quorvane::drafts::DraftWriter>();
        const quorvane::drafts::DraftStore store;
        benchmark::DoNotOptimize(store.previousRunEndedUncleanly());
        writer->markRunning();
        state.PauseTiming();
        writer.reset();
        quorvane::drafts::DraftStore().markCleanEnd();
        state.ResumeTiming();
    }
}
BENCHMARK(StartUpCheck)->Unit(benchmark::kMicrosecond);

} // namespace

QUORVANE_BENCHMARK_MAIN()
