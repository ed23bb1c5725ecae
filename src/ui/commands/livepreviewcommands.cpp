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
    : QObject(&form), m_form(form), m_images(new RemoteImages(this))
{
    QAction *command = form.command("LivePreview");
    connect(command, &QAction::toggled, this, &LivePreviewCommands::setOpen);
    // The program ends with the main window: the preview's place is kept,
    // and that it was open.
    connect(&form, &MainForm::closed, this, [this] {
        if (m_window && m_window->isVisible()) {
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

LivePreviewWindow *LivePreviewCommands::window()
{
    if (m_window)
        return m_window.get();
    m_window = std::make_unique<LivePreviewWindow>(*m_form.typer(), m_form.launcher(), *m_images);
    m_window->setWindowIcon(m_form.windowIcon());
    m_window->setRemoteImagesAllowed(
        livepreview::readFlag(livepreview::remoteImagesKey, livepreview::defaultRemoteImages));
    if (!m_dataDir.isEmpty())
        m_window->setDataDir(m_dataDir);
    connect(m_window.get(), &LivePreviewWindow::remoteImagesChanged, this,
            [](bool allowed) { livepreview::writeFlag(livepreview::remoteImagesKey, allowed); });
    QAction *command = m_form.command("LivePreview");
    connect(m_window.get(), &LivePreviewWindow::closedByUser, command,
            [command] { command->setChecked(false); });
    connect(m_window.get(), &LivePreviewWindow::toggleRequested, command, &QAction::trigger);
    connect(m_window.get(), &LivePreviewWindow::backToEditor, this,
            &LivePreviewCommands::backToEditor);
    return m_window.get();
}

void LivePreviewCommands::setDataDir(const QString &dir)
{
    m_dataDir = dir;
    if (m_window)
        m_window->setDataDir(dir);
}

void LivePreviewCommands::setOpen(bool open)
{
    livepreview::writeFlag(livepreview::openKey, open);
    if (open) {
        place();
        window()->show();
        return;
    }
    if (!m_window)
        return;
    const bool hadKeyboard = m_window->isActiveWindow();
    livepreview::writeGeometry(m_window->saveGeometry());
    m_window->hide();
    if (hadKeyboard)
        backToEditor();
}

void LivePreviewCommands::place()
{
    if (m_placed)
        return;
    m_placed = true;
    LivePreviewWindow *preview = window();
    if (preview->restoreGeometry(livepreview::readGeometry()))
        return;
    // First time: beside the main window, on its right when there is room.
    const QRect main = m_form.frameGeometry();
    const QRect screen = m_form.screen() ? m_form.screen()->availableGeometry() : QRect();
    QPoint at(main.right() + 8, main.top());
    if (screen.isValid() && at.x() + preview->width() > screen.right())
        at.setX(std::max(screen.left(), main.left() - 8 - preview->frameGeometry().width()));
    preview->move(at);
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
