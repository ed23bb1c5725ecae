#include "commands/editcommands.h"

#include "platform/launcher.h"
#include "shell/mainform.h"
#include "shell/typer.h"
#include "text/textrules.h"
#include "windows/userdialogs.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>

namespace quorvane {

namespace {
// The desktops' character-map programs, in order of preference.
constexpr const char *kCharacterMaps[] = {"gnome-characters", "gucharmap", "kcharselect"};
} // namespace

EditCommands::EditCommands(MainForm &form) : QObject(&form), m_form(form)
{
    connect(form.command("Cut"), &QAction::triggered, this, &EditCommands::cut);
    connect(form.command("Copy"), &QAction::triggered, this, &EditCommands::copy);
    connect(form.command("Paste"), &QAction::triggered, this, &EditCommands::paste);
    connect(form.command("Delete"), &QAction::triggered, this, &EditCommands::deleteSelection);
    connect(form.command("SelectAll"), &QAction::triggered, this, &EditCommands::selectAll);
    connect(form.command("ClearClipboard"), &QAction::triggered, this,
            &EditCommands::clearClipboard);
    connect(form.command("CharMap"), &QAction::triggered, this, &EditCommands::startCharacterMap);
}

void EditCommands::copySelection()
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    // Line breaks leave as LF, the same as the editor's own Ctrl+C gives.
    clipboard->setText(toLfBreaks(m_form.typer()->selText()));
}

void EditCommands::cut()
{
    copySelection();
    m_form.typer()->setSelText(QString());
}

void EditCommands::copy()
{
    copySelection();
}

void EditCommands::paste()
{
    // An unreadable or empty clipboard leaves the post alone.
    const QString text = QGuiApplication::clipboard()->text();
    if (text.isEmpty())
        return;
    m_form.typer()->setSelText(text);
}

void EditCommands::deleteSelection()
{
    Typer *typer = m_form.typer();
    if (typer->selLength() > 0)
        typer->setSelText(QString());
}

void EditCommands::selectAll()
{
    Typer *typer = m_form.typer();
    typer->setSelStart(0);
    typer->setSelLength(typer->length());
}

void EditCommands::clearClipboard()
{
    QGuiApplication::clipboard()->clear();
}

void EditCommands::startCharacterMap()
{
    Launcher &launcher = m_form.launcher();
    for (const char *name : kCharacterMaps) {
        const QString program = launcher.findProgram(QLatin1String(name));
        if (!program.isEmpty()) {
            launcher.startDetached(program, {});
            return;
        }
    }
    m_form.dialogs().message(
        &m_form, QMessageBox::Information, QStringLiteral("Quorvane"),
        QStringLiteral("No character map program is installed.\n\nInstall GNOME Characters "
                       "(gnome-characters), gucharmap or KCharSelect (kcharselect) to use "
                       "this command."),
        QMessageBox::Ok, QMessageBox::Ok);
}

} // namespace quorvane
