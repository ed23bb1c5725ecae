#include "commands/editorformatcommands.h"

#include "settings/editorformat.h"
#include "shell/mainform.h"
#include "shell/typer.h"
#include "windows/customform.h"
#include "windows/userdialogs.h"

#include <QAction>
#include <QFontInfo>

namespace quorvane {

EditorFormatCommands::EditorFormatCommands(MainForm &form) : QObject(&form), m_form(form)
{
    const editorformat::EditorFont font = editorformat::storedEditorFont();
    form.typer()->setEditorFont(font.name, font.size, editorformat::storedStandIn(font.name));
    form.afterFirstPaint(this, [this] { rememberStandIn(); });
    connect(form.command("Custom"), &QAction::triggered, this, &EditorFormatCommands::open);
}

EditorFormatCommands::~EditorFormatCommands()
{
    delete m_window;
}

CustomForm *EditorFormatCommands::customForm()
{
    if (m_window)
        return m_window;
    QString name = editorformat::readStored(editorformat::fontNameKey);
    QString size = editorformat::readStored(editorformat::fontSizeKey);
    if (std::exchange(m_firstWindow, false)) {
        const editorformat::EditorFont font = editorformat::storedEditorFont();
        name = font.name;
        size = QString::number(font.size);
    }
    m_window = new CustomForm(editorformat::fontNames(), editorformat::fontSizes(), name, size);
    m_window->setWindowIcon(m_form.windowIcon());
    connect(m_window, &CustomForm::chosen, this, &EditorFormatCommands::chosen);
    connect(m_window, &CustomForm::cancelled, this, [this] {
        m_form.closeAuxiliary(m_window);
        // Forget the unsaved choice: the next opening builds the window anew.
        m_window->deleteLater();
        m_window = nullptr;
    });
    return m_window;
}

void EditorFormatCommands::rememberStandIn()
{
    // Qt's own search for the chosen family, as a start without a remembered
    // stand-in makes it: when it finds another family than the one drawn now
    // (a font installed or removed since), the editor takes it at once and
    // the next start names it.
    Typer *typer = m_form.typer();
    QFont chosen = typer->font();
    chosen.setFamily(typer->editorFontFamily());
    const QString found = QFontInfo(chosen).family();
    if (found == typer->font().family() &&
        editorformat::storedStandIn(typer->editorFontFamily()) == found)
        return;
    if (found != typer->font().family()) {
        typer->setEditorFont(typer->editorFontFamily(), typer->font().pointSize(), found);
        typer->viewport()->update();
    }
    editorformat::writeStandIn(typer->editorFontFamily(), found);
}

void EditorFormatCommands::open()
{
    m_form.openAuxiliary(customForm());
}

void EditorFormatCommands::chosen(const QString &name, const QString &size)
{
    m_form.closeAuxiliary(m_window);
    // An empty list has nothing to store; the editor keeps what it has.
    bool stored = true;
    if (!name.isEmpty())
        stored = editorformat::writeStored(editorformat::fontNameKey, name) && stored;
    if (!size.isEmpty())
        stored = editorformat::writeStored(editorformat::fontSizeKey, size) && stored;
    Typer *typer = m_form.typer();
    const int points = size.toInt();
    typer->setEditorFont(name.isEmpty() ? typer->editorFontFamily() : name,
                         points > 0 ? points : typer->font().pointSize());
    typer->viewport()->update();
    if (!stored) {
        m_form.dialogs().message(
            &m_form, QMessageBox::Warning, QStringLiteral("Editor Format"),
            QStringLiteral("The font is used now, but it could not be kept for the next start: "
                           "%1 cannot be written.")
                .arg(editorformat::storePath()),
            QMessageBox::Ok, QMessageBox::Ok);
    }
}

} // namespace quorvane
