// Typing into a large post: one key press with the change step (character
// count, undo state, the drafts journal's timers) and the repaint it causes,
// with the tags coloured and checked; the journal can be turned off to show
// what it adds. Typing "[CODE]" at the top of a large post, which changes the
// colouring of everything after it: the longest the window is kept busy at a
// time (goal: under 50 ms). Opening a large post with colouring on: the text
// set and first painted (goal: under 1 s); the time until every block is
// coloured is given beside it. Typing is also measured in a post written as
// one line, with spaces or without any, as pasted from elsewhere. With
// spelling on, the same in a post with misspelled words, against spelling
// off (goal: under 1 ms added per key); a 60 KB post opened and checked on
// screen (goal: within 200 ms); the longest the window is kept busy when a
// 10 MB post is opened with spelling on, or spelling is turned on in it
// (goal: under 50 ms).
#include "bench_support.h"
#include "commands/draftcommands.h"
#include "commands/installcommands.h"
#include "commands/lengthstatus.h"
#include "commands/markupcommands.h"
#include "commands/postlengthcommands.h"
#include "commands/spellingcommands.h"
#include "platform/launcher.h"
#include "shell/livecheck.h"
#include "shell/mainform.h"
#include "shell/markuphighlighter.h"
#include "shell/spellunderlines.h"
#include "shell/typer.h"
#include "windows/userdialogs.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

enum Shape { Lines = 0, OneLine = 1, OneWord = 2, Misspelt = 3 };

QString post(qsizetype bytes, Shape shape = Lines)
{
    QString piece;
    switch (shape) {
    case Lines:
        piece = QStringLiteral(
            "[B]Hello[/B] everyone, here is [URL=https://example.org]a link[/URL] and "
            "[Color=Red]some red text[/Color] :) with a [QUOTE]quote[/QUOTE] in it.\r\n");
        break;
    case OneLine:
        piece = QStringLiteral("alpha beta gamma delta ");
        break;
    case OneWord:
        piece = QStringLiteral("abcdefghij");
        break;
    case Misspelt:
        piece = QStringLiteral(
            "[B]Hello[/B] evryone, here is [URL=https://example.org]a lnik[/URL] and "
            "[Color=Red]some red txet[/Color] :) with a [QUOTE]quote[/QUOTE] in it.\r\n");
        break;
    }
    QString text;
    text.reserve(bytes + piece.size());
    while (text.size() < bytes)
        text += piece;
    return text;
}

quorvane::MarkupCommands &markup(quorvane::MainForm &form)
{
    return *form.findChild<quorvane::MarkupCommands *>();
}

// The UI thread's own processor time in milliseconds: on a shared machine the
// wall clock also counts other programs' turns.
double threadMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

struct Stall
{
    double wall = 0;
    double cpu = 0;
    void add(double wallMs, double cpuMs)
    {
        wall = std::max(wall, wallMs);
        cpu = std::max(cpu, cpuMs);
    }
};

// Runs the event loop until every block's state is known and the check is
// done; records the longest single pass of the loop.
void settle(quorvane::MainForm &form, Stall *stall = nullptr)
{
    quorvane::MarkupCommands &commands = markup(form);
    QElapsedTimer clock;
    while (!commands.highlighter().isSettled() || !commands.liveCheck().isCurrent()) {
        clock.start();
        const double cpu = threadMs();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        if (stall)
            stall->add(clock.nsecsElapsed() / 1e6, threadMs() - cpu);
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    }
}

// Spelling on with the dictionary of the system's language (en_US under the C
// locale) loaded, or off.
void useSpelling(quorvane::MainForm &form, bool on)
{
    auto *spelling = quorvane::SpellingCommands::of(form);
    spelling->lookForDictionaries();
    if (!QTest::qWaitFor([&] { return spelling->isSettled() && spelling->speller(); }, 60000)) {
        std::fprintf(stderr, "no dictionary loaded\n");
        std::abort();
    }
    if (!on)
        spelling->underlines().setSpeller(nullptr);
}

struct Window
{
    quorvane::QtUserDialogs dialogs;
    quorvane::DesktopLauncher launcher;
    quorvane::MainForm form{dialogs, launcher};
    QTemporaryDir drafts;

    explicit Window(bool journal = false)
    {
        quorvane::installCommands(form);
        if (journal)
            quorvane::DraftCommands::of(form)->setFolder(drafts.path());
        else
            delete quorvane::DraftCommands::of(form);
        form.show();
        (void)QTest::qWaitForWindowExposed(&form);
    }
};

void TypeOneCharacter(benchmark::State &state)
{
    Window window(state.range(2) != 0);
    quorvane::MainForm &form = window.form;
    quorvane::Typer *typer = form.typer();
    useSpelling(form, state.range(4) != 0);
    if (state.range(1) == 0) // the editor as it was without colouring
        markup(form).highlighter().setDocument(nullptr);
    typer->setText(post(state.range(0), Shape(state.range(3))));
    typer->setSelStart(typer->length() / 2);
    typer->ensureCursorVisible();
    if (state.range(1) != 0)
        settle(form);
    QCoreApplication::processEvents();
    // The length status has counted the opened post.
    const quorvane::LengthStatus &status =
        form.findChild<quorvane::PostLengthCommands *>()->status();
    while (!status.isSettled())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    for (auto _ : state) {
        QTest::keyClick(typer, Qt::Key_A);
        typer->viewport()->repaint();
    }
    auto *count = form.control<QLineEdit>("LettersNo");
    benchmark::DoNotOptimize(count->text());
    state.SetLabel(QString::number(typer->length()).toStdString() + " characters");
}
BENCHMARK(TypeOneCharacter)
    ->ArgNames({"size", "coloured", "drafts", "shape", "spelling"})
    ->Args({10 * 1000, 1, 1, Lines, 0})
    ->Args({10 * 1000 * 1000, 0, 0, Lines, 0})
    ->Args({10 * 1000 * 1000, 1, 0, Lines, 0})
    ->Args({10 * 1000 * 1000, 1, 1, Lines, 0})
    ->Args({10 * 1000 * 1000, 1, 0, OneLine, 0})
    ->Args({10 * 1000 * 1000, 1, 0, OneWord, 0})
    ->Args({60 * 1000, 1, 0, Misspelt, 0})
    ->Args({60 * 1000, 1, 0, Misspelt, 1})
    ->Args({10 * 1000 * 1000, 1, 0, Misspelt, 0})
    ->Args({10 * 1000 * 1000, 1, 0, Misspelt, 1})
    ->Args({10 * 1000 * 1000, 1, 0, OneLine, 1})
    ->Unit(benchmark::kMillisecond);

void TypeCodeAtTop(benchmark::State &state)
{
    Window window;
    quorvane::MainForm &form = window.form;
    quorvane::Typer *typer = form.typer();
    typer->setText(post(state.range(0)));
    settle(form);
    Stall worst;
    for (auto _ : state) {
        typer->setSelStart(0);
        Stall stall;
        QElapsedTimer clock;
        for (const QChar c : QStringLiteral("[CODE]")) {
            clock.start();
            const double cpu = threadMs();
            QTest::keyClick(typer, c.toLatin1());
            typer->viewport()->repaint();
            stall.add(clock.nsecsElapsed() / 1e6, threadMs() - cpu);
            settle(form, &stall);
        }
        state.SetIterationTime(stall.wall / 1000);
        worst.add(stall.wall, stall.cpu);
        state.PauseTiming();
        typer->setSelStart(0);
        typer->setSelLength(6);
        typer->setSelText(QString());
        settle(form);
        state.ResumeTiming();
    }
    state.counters["worst_stall_cpu_ms"] = worst.cpu;
}
BENCHMARK(TypeCodeAtTop)
    ->Arg(10 * 1000 * 1000)
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

void OpenColoured(benchmark::State &state)
{
    Window window;
    quorvane::MainForm &form = window.form;
    quorvane::Typer *typer = form.typer();
    if (state.range(1) == 0)
        markup(form).highlighter().setDocument(nullptr);
    const QString text = post(state.range(0));
    double settledAfter = 0;
    double cpu = 0;
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        const double cpuBefore = threadMs();
        typer->setText(text);
        typer->viewport()->repaint();
        state.SetIterationTime(clock.nsecsElapsed() / 1e9);
        cpu = threadMs() - cpuBefore;
        if (state.range(1) != 0)
            settle(form);
        settledAfter = clock.nsecsElapsed() / 1e6;
        state.PauseTiming();
        typer->setText(QString());
        if (state.range(1) != 0)
            settle(form);
        state.ResumeTiming();
    }
    state.counters["open_cpu_ms"] = cpu;
    state.counters["states_known_ms"] = settledAfter;
}
BENCHMARK(OpenColoured)
    ->ArgNames({"size", "coloured"})
    ->Args({10 * 1000 * 1000, 0})
    ->Args({10 * 1000 * 1000, 1})
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

// A post opened with spelling on or off: the time until the text is set,
// every block's state is known and the screen is coloured and checked
// (what is off screen is checked when it comes on screen); the open itself
// (setting the text) and the longest single pass of the event loop after it.
void OpenSpelled(benchmark::State &state)
{
    Window window;
    quorvane::MainForm &form = window.form;
    quorvane::Typer *typer = form.typer();
    useSpelling(form, state.range(1) != 0);
    const quorvane::MarkupHighlighter &highlighter = markup(form).highlighter();
    const QString text = post(state.range(0), Misspelt);
    Stall open;
    Stall after;
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        double cpu = threadMs();
        typer->setText(text);
        typer->viewport()->repaint();
        open.add(clock.nsecsElapsed() / 1e6, threadMs() - cpu);
        while (!highlighter.isSettled()) {
            QElapsedTimer pass;
            pass.start();
            cpu = threadMs();
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            typer->viewport()->repaint();
            after.add(pass.nsecsElapsed() / 1e6, threadMs() - cpu);
        }
        state.SetIterationTime(clock.nsecsElapsed() / 1e9);
        state.PauseTiming();
        typer->setText(QString());
        settle(form);
        state.ResumeTiming();
    }
    state.counters["open_ms"] = open.wall;
    state.counters["open_cpu_ms"] = open.cpu;
    state.counters["worst_stall_after_ms"] = after.wall;
    state.counters["worst_stall_after_cpu_ms"] = after.cpu;
}
BENCHMARK(OpenSpelled)
    ->ArgNames({"size", "spelling"})
    ->Args({60 * 1000, 0})
    ->Args({60 * 1000, 1})
    ->Args({10 * 1000 * 1000, 0})
    ->Args({10 * 1000 * 1000, 1})
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

// Spelling turned on in an open 10 MB post (as when the dictionary arrives
// from its worker): every block is marked for new colours, the screen is
// checked and painted.
void SpellingArrives(benchmark::State &state)
{
    Window window;
    quorvane::MainForm &form = window.form;
    quorvane::Typer *typer = form.typer();
    useSpelling(form, true);
    auto *spelling = quorvane::SpellingCommands::of(form);
    quorvane::Speller *speller = spelling->speller();
    typer->setText(post(state.range(0), Misspelt));
    typer->setSelStart(typer->length() / 2);
    typer->ensureCursorVisible();
    settle(form);
    double cpu = 0;
    for (auto _ : state) {
        spelling->underlines().setSpeller(nullptr);
        typer->viewport()->repaint();
        QElapsedTimer clock;
        clock.start();
        const double cpuBefore = threadMs();
        spelling->underlines().setSpeller(speller);
        typer->viewport()->repaint();
        state.SetIterationTime(clock.nsecsElapsed() / 1e9);
        cpu = std::max(cpu, threadMs() - cpuBefore);
    }
    state.counters["cpu_ms"] = cpu;
}
BENCHMARK(SpellingArrives)
    ->Arg(10 * 1000 * 1000)
    ->UseManualTime()
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond);

} // namespace

QUORVANE_BENCHMARK_MAIN()
