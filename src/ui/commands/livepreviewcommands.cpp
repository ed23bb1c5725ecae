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
    : QObject(&form), m_form(form), m_images(new RemoteImages(this))
{
    QAction *command = form.command("LivePreview");
    connect(command, &QAction::toggled, this, &LivePreviewCommands::setOpen);
    // The program ends with the main window: the preview's place is kept,
    // and that it was open.
    connect(&form, &MainForm::closed, this, [this] {
        // Docked beside the editor, its place is the splitter's.
        if (m_window && m_window->isVisible() && m_window->isWindow()) {
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
    m_window =
        std::make_unique<LivePreviewWindow>(m_form.typer()->source(), m_form.launcher(), *m_images);
    m_window->setForum(m_forum);
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
    return m_window.get();
}

void LivePreviewCommands::setDataDir(const QString &dir)
{
    m_dataDir = dir;
    if (m_window)
        m_window->setDataDir(dir);
}

void LivePreviewCommands::setForum(Forum forum)
{
    m_forum = forum;
    if (m_window)
        m_window->setForum(forum);
}

void LivePreviewCommands::refresh()
{
    if (m_window)
        m_window->refresh();
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
    if (m_window->isWindow())
        livepreview::writeGeometry(m_window->saveGeometry());
    m_window->hide();
    if (hadKeyboard)
        backToEditor();
}

void LivePreviewCommands::place()
{
    if (m_placed || (m_window && !m_window->isWindow()))
        return;
    m_placed = true;
    LivePreviewWindow *preview = window();
    if (preview->restoreGeometry(livepreview::readGeometry()))
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
        placeBeside(mainFrame, preview->size() + extra, screen->availableGeometry(),
                    std::max(kMinimumWidth, preview->minimumSizeHint().width()) + extra.width());
    if (placed.mainTopLeft != mainFrame.topLeft())
        m_form.move(placed.mainTopLeft);
    preview->resize(placed.companion.size() - extra);
    preview->move(placed.companion.topLeft());
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
