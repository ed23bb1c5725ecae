#include "commands/commandstates.h"

#include "shell/mainform.h"
#include "shell/typer.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>

namespace quorvane {

CommandStates::CommandStates(MainForm &form)
    : QObject(&form), m_form(form), m_cut(form.command("Cut")), m_copy(form.command("Copy")),
      m_delete(form.command("Delete")), m_paste(form.command("Paste")),
      m_clearClipboard(form.command("ClearClipboard")), m_selectAll(form.command("SelectAll")),
      m_findMenu(form.command("FindMenu")), m_replaceMenu(form.command("ReplaceMenu")),
      m_searchCommand(form.command("SearchCommand")),
      m_replaceCommand(form.command("ReplaceCommand")), m_center(form.command("Center")),
      m_leftJustify(form.command("LJ")), m_rightJustify(form.command("RJ"))
{
    Typer *typer = form.typer();
    connect(typer, &Typer::changed, this, &CommandStates::refresh);
    connect(typer, &Typer::selectionChanged, this, &CommandStates::refresh);
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this,
            &CommandStates::clipboardChanged);
    for (QMenu *menu : form.findChildren<QMenu *>())
        connect(menu, &QMenu::aboutToShow, this, &CommandStates::refresh);

    clipboardChanged();
}

void CommandStates::clipboardChanged()
{
    // Read once per change of the clipboard, not on every refresh: fetching
    // another program's text can take a while.
    m_clipboardHasText = !QGuiApplication::clipboard()->text().isEmpty();
    refresh();
}

void CommandStates::refresh()
{
    const Typer *typer = m_form.typer();
    const bool selected = typer->textCursor().hasSelection();
    const bool hasPost = !typer->isEmpty();

    m_copy->setEnabled(selected);
    m_cut->setEnabled(selected);
    m_delete->setEnabled(selected);
    m_clearClipboard->setEnabled(m_clipboardHasText);
    m_paste->setEnabled(m_clipboardHasText);
    m_selectAll->setEnabled(hasPost);
    m_findMenu->setEnabled(hasPost);
    m_replaceMenu->setEnabled(hasPost);
    m_searchCommand->setEnabled(hasPost);
    m_replaceCommand->setEnabled(hasPost);

    const Typer::TextAlignment alignment = typer->textAlignment();
    m_rightJustify->setChecked(alignment == Typer::AlignRight);
    m_center->setChecked(alignment == Typer::AlignCenter);
    m_leftJustify->setChecked(alignment == Typer::AlignLeft);
}

} // namespace quorvane
