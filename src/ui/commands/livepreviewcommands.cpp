#include "commands/livepreviewcommands.h"

#include "settings/livepreview.h"
#include "shell/mainform.h"
#include "shell/typer.h"
#include "windows/livepreviewwindow.h"
#include "windows/remoteimages.h"

#include <QAction>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>

namespace quorvane {

LivePreviewCommands::LivePreviewCommands(MainForm &form)
    : QObject(&form), m_form(form), m_images(new RemoteImages(this)),
      m_window(std::make_unique<LivePreviewWindow>(*form.typer(), form.launcher(), *m_images))
{
    m_window->setWindowIcon(form.windowIcon());
    m_window->setRemoteImagesAllowed(
        livepreview::readFlag(livepreview::remoteImagesKey, livepreview::defaultRemoteImages));
    connect(m_window.get(), &LivePreviewWindow::remoteImagesChanged, this,
            [](bool allowed) { livepreview::writeFlag(livepreview::remoteImagesKey, allowed); });

    QAction *command = form.command("LivePreview");
    connect(command, &QAction::toggled, this, &LivePreviewCommands::setOpen);
    connect(m_window.get(), &LivePreviewWindow::closedByUser, command,
            [command] { command->setChecked(false); });
    connect(m_window.get(), &LivePreviewWindow::toggleRequested, command, &QAction::trigger);
    connect(m_window.get(), &LivePreviewWindow::backToEditor, this,
            &LivePreviewCommands::backToEditor);
    // The program ends with the main window: the preview's place is kept,
    // and that it was open.
    connect(&form, &MainForm::closed, this, [this] {
        // Docked beside the editor, its place is the splitter's.
        if (m_window->isVisible() && m_window->isWindow()) {
            livepreview::writeGeometry(m_window->saveGeometry());
            m_window->hide();
        }
    });

    if (livepreview::readFlag(livepreview::openKey, livepreview::defaultOpen)) {
        // Once the main window is up.
        QTimer::singleShot(0, command, [command] { command->setChecked(true); });
    }
}

LivePreviewCommands::~LivePreviewCommands() = default;

void LivePreviewCommands::setDataDir(const QString &dir)
{
    m_window->setDataDir(dir);
}

void LivePreviewCommands::setOpen(bool open)
{
    livepreview::writeFlag(livepreview::openKey, open);
    if (open) {
        place();
        m_window->show();
        return;
    }
    const bool hadKeyboard = m_window->isActiveWindow();
    if (m_window->isWindow())
        livepreview::writeGeometry(m_window->saveGeometry());
    m_window->hide();
    if (hadKeyboard)
        backToEditor();
}

void LivePreviewCommands::place()
{
    if (m_placed || !m_window->isWindow())
        return;
    m_placed = true;
    if (m_window->restoreGeometry(livepreview::readGeometry()))
        return;
    // First time: beside the main window, on its right when there is room.
    const QRect main = m_form.frameGeometry();
    const QRect screen = m_form.screen() ? m_form.screen()->availableGeometry() : QRect();
    QPoint at(main.right() + 8, main.top());
    if (screen.isValid() && at.x() + m_window->width() > screen.right())
        at.setX(std::max(screen.left(), main.left() - 8 - m_window->frameGeometry().width()));
    m_window->move(at);
}

void LivePreviewCommands::backToEditor()
{
    // While an auxiliary window holds the main window, the keyboard stays there.
    if (!m_form.isEnabled())
        return;
    m_form.raise();
    m_form.activateWindow();
    m_form.typer()->setFocus(Qt::OtherFocusReason);
}

} // namespace quorvane
