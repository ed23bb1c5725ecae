#include "commands/previewbesidecommands.h"

#include "commands/livepreviewcommands.h"
#include "settings/livepreview.h"
#include "settings/workspace.h"
#include "shell/mainform.h"
#include "shell/typer.h"
#include "windows/livepreviewwindow.h"
#include "windows/previewdock.h"
#include "windows/userdialogs.h"

#include <QAction>
#include <QEvent>
#include <QScreen>
#include <QSplitter>
#include <QTimer>

namespace quorvane {

PreviewBesideCommands::PreviewBesideCommands(MainForm &form, LivePreviewCommands &preview)
    : QObject(&form), m_form(form), m_preview(preview),
      m_command(form.command("PreviewBesideEditor"))
{
    if (workspace::readFlag(workspace::previewBesideKey, workspace::defaultPreviewBeside)) {
        m_command->setChecked(true);
        // In its place before Live Preview reopens, so it never flashes up
        // as a window of its own; shown once the editor has been painted.
        build();
        m_dock->setHeld(true);
        m_dock->take(m_preview.window());
        form.typer()->viewport()->installEventFilter(this);
    }
    connect(m_command, &QAction::toggled, this, &PreviewBesideCommands::setBeside);
}

bool PreviewBesideCommands::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Paint) {
        watched->removeEventFilter(this);
        QTimer::singleShot(0, this, [this] {
            if (m_dock)
                m_dock->setHeld(false);
        });
    }
    return false;
}

void PreviewBesideCommands::setBeside(bool beside)
{
    workspace::writeFlag(workspace::previewBesideKey, beside);
    if (beside)
        dock();
    else
        undock();
}

void PreviewBesideCommands::build()
{
    if (m_splitter)
        return;
    m_splitter = new QSplitter(Qt::Horizontal);
    m_splitter->setObjectName(QStringLiteral("EditorSplitter"));
    m_splitter->setChildrenCollapsible(false);
    m_form.setEditorArea(m_splitter);
    m_splitter->addWidget(m_form.typer());
    m_dock = new PreviewDock(m_splitter);
    m_splitter->addWidget(m_dock);
    m_splitter->setStretchFactor(0, 3);
    m_splitter->setStretchFactor(1, 2);
    if (!m_splitter->restoreState(workspace::readSplitter()))
        m_splitter->setSizes({600, 400});
    connect(m_splitter, &QSplitter::splitterMoved, this,
            [this] { workspace::writeSplitter(m_splitter->saveState()); });
    connect(&m_form, &MainForm::closed, this, [this] {
        if (m_dock->isVisible())
            workspace::writeSplitter(m_splitter->saveState());
    });
}

void PreviewBesideCommands::dock()
{
    QAction *resizable = m_form.command("ResizableWindow");
    if (!resizable->isChecked()) {
        resizable->setChecked(true);
        makeRoom();
        m_form.dialogs().message(&m_form, QMessageBox::Information, QStringLiteral("Quorvane"),
                                 QStringLiteral("Preview Beside Editor needs more room than the "
                                                "fixed window has: Resizable Window is now on."),
                                 QMessageBox::Ok, QMessageBox::Ok);
    }
    build();
    LivePreviewWindow *preview = m_preview.window();
    if (preview->isWindow() && preview->isVisible())
        livepreview::writeGeometry(preview->saveGeometry());
    m_dock->setHeld(false);
    m_dock->take(preview);
    // Asked for beside the editor: shown there.
    m_form.command("LivePreview")->setChecked(true);
}

void PreviewBesideCommands::undock()
{
    if (!m_dock)
        return;
    QWidget *preview = m_dock->release();
    if (!preview)
        return;
    // Where it stood as a window, else beside the main window.
    if (!preview->restoreGeometry(livepreview::readGeometry()))
        preview->move(m_form.frameGeometry().topRight() + QPoint(8, 0));
    if (m_form.command("LivePreview")->isChecked())
        preview->show();
}

void PreviewBesideCommands::makeRoom()
{
    // The fixed size leaves no room: wider, as far as the screen allows.
    const QScreen *screen = m_form.screen();
    const int room = screen ? screen->availableGeometry().width() - 40 : 1100;
    m_form.resize(std::max(m_form.width(), std::min(room, m_form.width() + 480)), m_form.height());
}

} // namespace quorvane
