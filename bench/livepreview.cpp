// The Live Preview's cost to the writer: a key press in a 60 KB post with the
// window open and closed, the time from the last key to the page on screen,
// and the longest the event loop stands still around a 10 MB post; each with
// the program's own page and with a forum's (phpBB 3.3) chosen.
#include "settings/livepreview.h"
#include "bench_support.h"
#include "commands/forumcommands.h"
#include "commands/installcommands.h"
#include "commands/livepreviewcommands.h"
#include "livepreview/livepage.h"
#include "platform/launcher.h"
#include "settings/forumchoice.h"
#include "shell/mainform.h"
#include "shell/typer.h"
#include "windows/livepreviewwindow.h"
#include "windows/previewbrowser.h"
#include "windows/userdialogs.h"

#include <QAction>
#include <QElapsedTimer>
#include <QTest>
#include <QTextDocument>
#include <QThread>
#include <QTimer>
#include <algorithm>

namespace {

QString post(qsizetype bytes)
{
    const QString paragraph = QStringLiteral(
        "[B]Hello[/B] everyone, here is [URL=https://example.org]a link[/URL] and "
        "[Color=Red]some red text[/Color] :) with a [QUOTE]quote[/QUOTE] in it.\r\n");
    QString text;
    text.reserve(bytes + paragraph.size());
    while (text.size() < bytes)
        text += paragraph;
    return text;
}

// The main window with every command, a post, the caret in the middle, and
// the preview open or not.
struct Session
{
    quorvane::QtUserDialogs dialogs;
    quorvane::DesktopLauncher launcher;
    quorvane::MainForm form{dialogs, launcher};
    quorvane::LivePreviewWindow *preview = nullptr;

    Session(qsizetype bytes, bool open, quorvane::Forum forum)
    {
        quorvane::livepreview::forget();
        quorvane::forumchoice::forget();
        quorvane::installCommands(form);
        form.findChild<quorvane::ForumCommands *>()->choose(forum);
        form.show();
        (void)QTest::qWaitForWindowExposed(&form);
        preview = form.findChild<quorvane::LivePreviewCommands *>()->window();
        typer()->setText(post(bytes));
        typer()->setSelStart(typer()->length() / 2);
        if (open) {
            form.command("LivePreview")->trigger();
            settle();
        }
        QCoreApplication::processEvents();
    }
    ~Session()
    {
        quorvane::livepreview::forget();
        quorvane::forumchoice::forget();
    }
    quorvane::Typer *typer() { return form.typer(); }
    void settle()
    {
        QElapsedTimer clock;
        clock.start();
        while ((preview->isBusy() || preview->pagesMade() == 0) && clock.elapsed() < 60000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
};

// The forum of a benchmark's second argument (an index into allForums).
quorvane::Forum forumOf(const benchmark::State &state)
{
    return quorvane::allForums[size_t(state.range(1))];
}

std::string forumLabel(const benchmark::State &state)
{
    return ", " + quorvane::forumKey(forumOf(state)).toStdString();
}

void KeystrokeIn60KPost(benchmark::State &state)
{
    Session session(60 * 1000, state.range(0) != 0, forumOf(state));
    for (auto _ : state) {
        QTest::keyClick(session.typer(), Qt::Key_A);
        session.typer()->viewport()->repaint();
    }
    state.SetLabel((state.range(0) ? "preview open" : "preview closed") + forumLabel(state));
}
BENCHMARK(KeystrokeIn60KPost)
    ->Args({0, 0})
    ->Args({1, 0})
    ->Args({1, 1})
    ->Unit(benchmark::kMillisecond);

// The worker's part of one page: the largest excerpt the window ever takes
// (256 K characters), made into a laid-out document. A forum's page is
// rendered twice, with and without the line marks.
void BuildLivePage256K(benchmark::State &state)
{
    quorvane::PostExcerpt excerpt;
    excerpt.text = post(quorvane::LivePreviewWindow::maximumBudget);
    excerpt.postLines = excerpt.text.count(QLatin1String("\r\n")) + 1;
    excerpt.lineCount = excerpt.postLines;
    const quorvane::BlockHeaders headers = quorvane::BlockHeaders::standard();
    for (auto _ : state) {
        auto page = quorvane::buildLivePage(excerpt, QStringLiteral("/data"), headers, QFont(),
                                            QThread::currentThread(), forumOf(state));
        benchmark::DoNotOptimize(page.get());
    }
    state.SetLabel("forum " + quorvane::forumKey(forumOf(state)).toStdString());
}
BENCHMARK(BuildLivePage256K)->Args({0, 0})->Args({0, 1})->Unit(benchmark::kMillisecond);

// From the last key press to the new page on screen, pause included.
void PauseToShown(benchmark::State &state)
{
    Session session(state.range(0), true, forumOf(state));
    quorvane::LivePreviewWindow *preview = session.preview;
    for (auto _ : state) {
        const int made = preview->pagesMade();
        QTest::keyClick(session.typer(), Qt::Key_A);
        QElapsedTimer clock;
        clock.start();
        while (preview->pagesMade() == made || preview->isBusy())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        preview->view()->viewport()->repaint();
        state.SetIterationTime(double(clock.nsecsElapsed()) / 1e9);
    }
    state.SetLabel(
        "pause " +
        std::to_string(quorvane::LivePreviewWindow::pauseFor(session.typer()->length())) +
        " ms included" + forumLabel(state));
}
BENCHMARK(PauseToShown)
    ->Args({60 * 1000, 0})
    ->Args({10 * 1000 * 1000, 0})
    ->Args({60 * 1000, 1})
    ->Args({10 * 1000 * 1000, 1})
    ->UseManualTime()
    ->Iterations(10)
    ->Unit(benchmark::kMillisecond);

// Writing in a 10 MB post: keys, pauses, the caret sent far away and back.
// The figure is the longest stretch the event loop did not turn.
void WorstStallIn10MBPost(benchmark::State &state)
{
    Session session(10 * 1000 * 1000, state.range(0) != 0, forumOf(state));
    quorvane::Typer *typer = session.typer();
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        qint64 last = 0;
        qint64 worst = 0;
        QTimer beat;
        QObject::connect(&beat, &QTimer::timeout, [&] {
            const qint64 now = clock.nsecsElapsed();
            worst = std::max(worst, now - last);
            last = now;
        });
        beat.start(0);
        auto run = [&](int milliseconds) {
            const qint64 until = clock.elapsed() + milliseconds;
            while (clock.elapsed() < until)
                QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        };
        for (const double where : {0.5, 0.1, 0.9}) {
            typer->setSelStart(qsizetype(double(typer->length()) * where));
            run(600);
            for (int i = 0; i < 10; ++i) {
                QTest::keyClick(typer, Qt::Key_B);
                run(30);
            }
            run(800);
        }
        beat.stop();
        state.SetIterationTime(double(worst) / 1e9);
    }
    state.SetLabel((state.range(0) ? "preview open" : "preview closed") + forumLabel(state));
}
BENCHMARK(WorstStallIn10MBPost)
    ->Args({0, 0})
    ->Args({1, 0})
    ->Args({1, 1})
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

} // namespace

QUORVANE_BENCHMARK_MAIN()
