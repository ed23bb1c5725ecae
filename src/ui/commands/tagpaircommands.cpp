#include "commands/tagpaircommands.h"

#include "shell/mainform.h"
#include "shell/typer.h"
#include "text/tagpairs.h"

#include <QAction>

namespace quorvane {

TagPairCommands::TagPairCommands(MainForm &form) : QObject(&form), m_form(form)
{
    for (const TagPair &pair : tagPairs()) {
        connect(form.command(pair.command), &QAction::triggered, this, [this, &pair] {
            Typer *typer = m_form.typer();
            typer->setSelText(QLatin1String(pair.opening) + typer->selText() +
                              QLatin1String(pair.closing));
        });
    }
    connect(form.command("DecreaseIndentClick"), &QAction::triggered, this,
            &TagPairCommands::RemoveIndent);
}

void TagPairCommands::RemoveIndent()
{
    Typer *typer = m_form.typer();
    typer->setText(removeIndentTags(typer->text()));
}

} // namespace quorvane
