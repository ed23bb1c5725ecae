#include "commands/installcommands.h"

#include "commands/commandstates.h"
#include "commands/documentcommands.h"
#include "commands/editcommands.h"
#include "commands/helpcommands.h"
#include "commands/insertcommands.h"
#include "commands/previewcommands.h"
#include "commands/searchpanels.h"
#include "commands/smiliespanel.h"
#include "commands/tagpaircommands.h"
#include "commands/windowchrome.h"
#include "shell/mainform.h"

#include <QAction>

namespace quorvane {

void installCommands(MainForm &form)
{
    // Each family is a child of the window and wires its own controls.
    new TagPairCommands(form);
    new InsertCommands(form);
    new SmiliesPanel(form);
    new PreviewCommands(form);
    new DocumentCommands(form);
    new SearchPanels(form);
    new EditCommands(form);
    new CommandStates(form);
    new WindowChrome(form);
    new HelpCommands(form);
    QObject::connect(form.command("Custom"), &QAction::triggered, &form,
                     &MainForm::openEditorFormat);
}

} // namespace quorvane
