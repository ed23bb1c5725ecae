#include "commands/alignmentcommands.h"

#include "shell/mainform.h"
#include "shell/typer.h"

#include <QAction>

namespace quorvane {

AlignmentCommands::AlignmentCommands(MainForm &form) : QObject(&form)
{
    const std::pair<const char *, Typer::TextAlignment> alignments[] = {
        {"Center", Typer::AlignCenter},
        {"LJ", Typer::AlignLeft},
        {"RJ", Typer::AlignRight},
    };
    for (const auto &[name, alignment] : alignments) {
        connect(form.command(name), &QAction::triggered, this, [this, &form, alignment] {
            form.typer()->setTextAlignment(alignment);
            emit aligned();
        });
    }
}

} // namespace quorvane
