// Resizing the resizable window while it holds a 10 MB post: each step as a
// window manager delivers it (a new size, the layout, one paint) should stay
// under 50 ms. With the preview beside the editor, and without.
#include "settings/workspace.h"
#include "commands/installcommands.h"
#include "commands/livepreviewcommands.h"
#include "platform/launcher.h"
#include "shell/mainform.h"
#include "shell/typer.h"
#include "windows/livepreviewwindow.h"
#include "windows/userdialogs.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <benchmark/benchmark.h>
#include <ctime>

#include "bench_support.h"

using namespace quorvane;

namespace {

QString tenMegabytePost()
{
    const QString line = QStringLiteral("[B]Re: release notes[/B] caf\u00e9 na\u00efve \u2014 "
                                        "[URL=http://example.org/page]a link[/URL] and more words "
                                        "to make the line wrap when the window is narrow\n");
    QString text;
    text.reserve(10 * 1024 * 1024 + line.size());
    while (text.size() < 10 * 1024 * 1024)
        text += line;
    return text;
}

// The machine is shared: the thread's own CPU time says what a step costs
// when wall time is stretched by other work.
qint64 threadCpuNs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}

// A 640-pixel sweep back and forth, in 16-pixel steps, both ways at once.
QSize stepSize(int step)
{
    const int phase = step % 80;
    const int offset = (phase < 40 ? phase : 80 - phase) * 16;
    return {700 + offset, 500 + offset / 2};
}

void resizeWindow(benchmark::State &state, bool previewBeside)
{
    workspace::forget();
    workspace::writeFlag(workspace::resizableKey, true);
    workspace::writeFlag(workspace::previewBesideKey, previewBeside);
    static const QString post = tenMegabytePost();
    QtUserDialogs dialogs;
    DesktopLauncher launcher;
    MainForm form(dialogs, launcher);
    installCommands(form);
    form.show();
    form.typer()->setText(post);
    if (previewBeside) {
        // Its first page is in before the steps are timed: a page arriving
        // is the preview's own cost, measured in bench_livepreview.
        form.command("LivePreview")->setChecked(true);
        const LivePreviewWindow *preview = form.findChild<LivePreviewCommands *>()->window();
        while (preview->pagesMade() == 0 || preview->isBusy())
            QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    QApplication::processEvents();
    form.repaint();

    qint64 longest = 0;
    qint64 longestCpu = 0;
    int step = 0;
    QElapsedTimer clock;
    for (auto _ : state) {
        clock.start();
        const qint64 cpu = threadCpuNs();
        form.resize(stepSize(++step));
        QApplication::sendPostedEvents();
        form.repaint();
        const qint64 took = clock.nsecsElapsed();
        state.SetIterationTime(double(took) / 1e9);
        longest = std::max(longest, took);
        longestCpu = std::max(longestCpu, threadCpuNs() - cpu);
    }
    state.counters["longest_step_ms"] = double(longest) / 1e6;
    state.counters["longest_step_cpu_ms"] = double(longestCpu) / 1e6;
    form.command("LivePreview")->setChecked(false);
    workspace::forget();
}

void BM_ResizeWindow10MB(benchmark::State &state)
{
    resizeWindow(state, false);
}

void BM_ResizeWindowPreviewBeside10MB(benchmark::State &state)
{
    resizeWindow(state, true);
}

} // namespace

BENCHMARK(BM_ResizeWindow10MB)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(80);
BENCHMARK(BM_ResizeWindowPreviewBeside10MB)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(80);

QUORVANE_BENCHMARK_MAIN();
