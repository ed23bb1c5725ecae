#include "commands/livepreviewcommands.h"

#include "settings/livepreview.h"
#include "shell/mainform.h"
#include "shell/typer.h"
#include "windows/livepreviewwindow.h"
#include "windows/remoteimages.h"
#include "windows/sideplacement.h"
#include "windows/userdialogs.h"

#include <QAction>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>

namespace quorvane {

namespace {
// Narrower than this, a preview shows too few words a line to be of use.
constexpr int kMinimumWidth = 320;
} // namespace

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
    // As Preview in Browser says it: otherwise the click does nothing at all.
    connect(m_window.get(), &LivePreviewWindow::linkNotOpened, this, [this](const QUrl &url) {
        const bool mail = url.scheme() == QLatin1String("mailto");
        m_form.dialogs().message(
            m_window.get(), QMessageBox::Warning, QStringLiteral("Quorvane"),
            (mail ? QStringLiteral("No mail program could be started to write to \"%1\".")
                  : QStringLiteral("No browser could be started to open \"%1\"."))
                .arg(mail ? url.path() : url.toDisplayString()),
            QMessageBox::Ok, QMessageBox::Ok);
    });
    // The program ends with the main window: the preview's place is kept,
    // and that it was open.
    connect(&form, &MainForm::closed, this, [this] {
        if (m_window->isVisible()) {
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
    if (m_window->restoreGeometry(livepreview::readGeometry()))
        return;
    // First time: beside the main window, where there is room.
    QScreen *screen = m_form.screen();
    if (!screen)
        return;
    // The preview's frame will be as thick as the main window's.
    const QRect mainFrame = m_form.frameGeometry();
    const QMargins frame(m_form.geometry().left() - mainFrame.left(),
                         m_form.geometry().top() - mainFrame.top(),
                         mainFrame.right() - m_form.geometry().right(),
                         mainFrame.bottom() - m_form.geometry().bottom());
    const QSize extra(frame.left() + frame.right(), frame.top() + frame.bottom());
    const SidePlacement placed =
        placeBeside(mainFrame, m_window->size() + extra, screen->availableGeometry(),
                    std::max(kMinimumWidth, m_window->minimumSizeHint().width()) + extra.width());
    if (placed.mainTopLeft != mainFrame.topLeft())
        m_form.move(placed.mainTopLeft);
    m_window->resize(placed.companion.size() - extra);
    m_window->move(placed.companion.topLeft());
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
