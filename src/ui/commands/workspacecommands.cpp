#include "commands/workspacecommands.h"

#include "settings/workspace.h"
#include "shell/mainform.h"
#include "shell/typer.h"
#include "windows/previewdock.h"

#include <QAction>
#include <QEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QMenuBar>
#include <QScreen>
#include <QShortcut>
#include <QToolButton>

namespace quorvane {

namespace {
// The counts stay in full screen: the writer still sees how long the post is.
bool isCount(const QWidget *widget)
{
    for (const char *name : {"LettersNo", "LengthLeft", "WordCount", "ProblemCount"}) {
        if (widget->objectName() == QLatin1String(name))
            return true;
    }
    return false;
}
} // namespace

WorkspaceCommands::WorkspaceCommands(MainForm &form)
    : QObject(&form), m_form(form), m_resizable(form.command("ResizableWindow")),
      m_fullScreen(form.command("FullScreen")), m_fixedFlags(form.windowFlags()),
      m_fixedSize(form.minimumSize()), m_leave(new QShortcut(QKeySequence(Qt::Key_Escape), &form))
{
    m_leave->setEnabled(false);
    connect(m_leave, &QShortcut::activated, m_fullScreen,
            [this] { m_fullScreen->setChecked(false); });

    // Before the window is first shown: it maps where it was left.
    if (workspace::readFlag(workspace::resizableKey, workspace::defaultResizable)) {
        m_resizable->setChecked(true);
        growable();
        restoreGeometry();
    }
    connect(m_resizable, &QAction::toggled, this, &WorkspaceCommands::setResizable);
    connect(m_fullScreen, &QAction::toggled, this, &WorkspaceCommands::setFullScreen);
    connect(&form, &MainForm::closed, this, [this] {
        if (m_resizable->isChecked())
            keepGeometry();
    });
}

void WorkspaceCommands::setResizable(bool resizable)
{
    workspace::writeFlag(workspace::resizableKey, resizable);
    if (resizable) {
        growable();
        return;
    }
    m_fullScreen->setChecked(false);
    keepGeometry();
    fixed();
}

void WorkspaceCommands::growable()
{
    const bool shown = m_form.isVisible();
    m_form.setWindowFlags(Qt::Window);
    m_form.setMinimumSize(m_fixedSize);
    m_form.setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    if (shown)
        m_form.show();
}

void WorkspaceCommands::fixed()
{
    const bool shown = m_form.isVisible();
    m_form.setWindowState(Qt::WindowNoState);
    m_form.setWindowFlags(m_fixedFlags);
    m_form.setFixedSize(m_fixedSize);
    if (shown)
        m_form.show();
}

void WorkspaceCommands::restoreGeometry()
{
    QList<QRect> screens;
    for (const QScreen *screen : QGuiApplication::screens())
        screens << screen->availableGeometry();
    const QRect saved = workspace::readGeometry();
    if (workspace::fitsOnScreens(saved, screens))
        m_form.setGeometry(saved);
    if (workspace::readFlag(workspace::maximizedKey, false))
        m_form.setWindowState(m_form.windowState() | Qt::WindowMaximized);
}

void WorkspaceCommands::keepGeometry()
{
    const bool maximized =
        m_form.isFullScreen() ? bool(m_stateBefore & Qt::WindowMaximized) : m_form.isMaximized();
    workspace::writeGeometry(m_form.normalGeometry());
    workspace::writeFlag(workspace::maximizedKey, maximized);
}

void WorkspaceCommands::setFullScreen(bool full)
{
    m_leave->setEnabled(full);
    // Its own record: the window's state may arrive later than asked for.
    if (full == m_full)
        return;
    m_full = full;
    if (full) {
        m_stateBefore = m_form.windowState();
        // Neither the fixed size nor the dialog's border (no maximising:
        // window managers refuse such a window the whole screen) may stay.
        m_form.setMinimumSize(0, 0);
        m_form.setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        if (!m_resizable->isChecked())
            m_form.setWindowFlags(Qt::Window);
        hideAllButEditor();
        m_form.showFullScreen();
        // A window shown anew after its border changed may come back in the
        // state it had (Qt's offscreen platform does): asked once more.
        if (!m_form.isFullScreen())
            m_form.showFullScreen();
        // The window manager may end full screen by its own keys.
        m_form.installEventFilter(this);
        m_form.typer()->setFocus(Qt::OtherFocusReason);
        return;
    }
    m_form.removeEventFilter(this);
    showAgain();
    if (!m_resizable->isChecked()) {
        fixed();
        return;
    }
    m_form.setWindowState(m_stateBefore & ~Qt::WindowFullScreen);
    m_form.setMinimumSize(m_fixedSize);
}

void WorkspaceCommands::hideAllButEditor()
{
    const auto hide = [this](QWidget *widget) {
        if (widget && !widget->isHidden()) {
            widget->hide();
            m_hidden << widget;
        }
    };
    hide(m_form.menuBar());
    hide(m_form.topFrame());
    hide(m_form.control<QToolButton>("ControlsLocker"));
    for (QWidget *panel : {m_form.findFrame(), m_form.replaceFrame(), m_form.smilesFrame()})
        hide(panel);
    hide(m_form.control<QWidget>("ProblemsFrame"));
    // Held rather than hidden: F6 meanwhile still decides whether it shows after.
    if (auto *dock = m_form.findChild<PreviewDock *>())
        dock->setHeld(true);
    for (QWidget *child :
         m_form.mainFrame()->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly)) {
        if (!isCount(child))
            hide(child);
    }
    // The menus are away, and with them their keys: the window holds the
    // commands meanwhile, so Ctrl+S and the rest still work.
    for (QAction *action : m_form.findChildren<QAction *>(QString(), Qt::FindDirectChildrenOnly)) {
        if (!action->isSeparator() && !m_form.actions().contains(action)) {
            m_form.addAction(action);
            m_lent << action;
        }
    }
}

void WorkspaceCommands::showAgain()
{
    for (QAction *action : std::as_const(m_lent))
        m_form.removeAction(action);
    m_lent.clear();
    for (const QPointer<QWidget> &widget : std::as_const(m_hidden)) {
        if (widget)
            widget->show();
    }
    m_hidden.clear();
    if (auto *dock = m_form.findChild<PreviewDock *>())
        dock->setHeld(false);
}

bool WorkspaceCommands::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == &m_form && event->type() == QEvent::WindowStateChange &&
        m_fullScreen->isChecked() && !m_form.isFullScreen() && !m_form.isMinimized())
        m_fullScreen->setChecked(false);
    return false;
}

} // namespace quorvane
