// Typing into a large post: one key press with the change step (character
// count, undo state, the drafts journal's timers) and the repaint it causes.
// The second argument turns the journal off, to show what it adds.
#include "bench_support.h"
#include "commands/draftcommands.h"
#include "commands/installcommands.h"
#include "platform/launcher.h"
#include "shell/mainform.h"
#include "shell/typer.h"
#include "windows/userdialogs.h"

#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

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

void TypeOneCharacter(benchmark::State &state)
{
    quorvane::QtUserDialogs dialogs;
    quorvane::DesktopLauncher launcher;
    quorvane::MainForm form(dialogs, launcher);
    quorvane::installCommands(form);
    QTemporaryDir drafts;
    if (state.range(1))
        quorvane::DraftCommands::of(form)->setFolder(drafts.path());
    else
        delete quorvane::DraftCommands::of(form);
    form.show();
    (void)QTest::qWaitForWindowExposed(&form);
    quorvane::Typer *typer = form.typer();
    typer->setText(post(state.range(0)));
    typer->setSelStart(typer->length() / 2);
    QCoreApplication::processEvents();
    for (auto _ : state) {
        QTest::keyClick(typer, Qt::Key_A);
        typer->viewport()->repaint();
    }
    auto *count = form.control<QLineEdit>("LettersNo");
    benchmark::DoNotOptimize(count->text());
    state.SetLabel(QString::number(typer->length()).toStdString() + " characters");
}
BENCHMARK(TypeOneCharacter)
    ->ArgsProduct({{10 * 1000, 10 * 1000 * 1000}, {1, 0}})
    ->ArgNames({"size", "drafts"})
    ->Unit(benchmark::kMillisecond);

} // namespace

QUORVANE_BENCHMARK_MAIN()
