#include "commands/openrequests.h"

#include "commands/documentcommands.h"
#include "commands/installcommands.h"
#include "platform/startupnotice.h"
#include "shell/mainform.h"

#include <QApplication>
#include <QTimer>

#include <utility>

namespace quorvane {

namespace {
constexpr int kRetryMs = 100;
} // namespace

OpenRequests::OpenRequests(MainForm &form) : QObject(&form), m_form(form)
{
    m_retry.setSingleShot(true);
    m_retry.setInterval(kRetryMs);
    connect(&m_retry, &QTimer::timeout, this, [this] { open(std::exchange(m_waiting, {})); });
}

void OpenRequests::openAtStart(const QString &path)
{
    if (!path.isEmpty())
        QTimer::singleShot(0, this, [this, path] { open(path); });
}

void OpenRequests::handle(const OpenRequest &request)
{
    bringToFront(request);
    if (!request.file.isEmpty())
        open(request.file);
}

void OpenRequests::open(const QString &path)
{
    // A later start may hand its file over before the first frame.
    installRemainingCommands(m_form);
    auto *documents = m_form.findChild<DocumentCommands *>(QString(), Qt::FindDirectChildrenOnly);
    if (!documents)
        return;
    if (QApplication::activeModalWidget() || documents->isBusy()) {
        m_waiting = path;
        m_retry.start();
        return;
    }
    documents->openFile(path);
}

void OpenRequests::bringToFront(const OpenRequest &request)
{
    // A Wayland compositor lets a window take the focus with the token the
    // later start was given by whoever launched it.
    if (!request.activationToken.isEmpty())
        qputenv("XDG_ACTIVATION_TOKEN", request.activationToken.toUtf8());
    completeStartup(request.startupId);
    m_form.setWindowState(m_form.windowState() & ~Qt::WindowMinimized);
    m_form.show();
    m_form.raise();
    // The program's other windows come along and stay above it; the one that
    // takes the input (a question, an auxiliary window) gets the focus.
    QWidget *active = &m_form;
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (window == &m_form || !window->isVisible() || window->windowType() == Qt::Popup)
            continue;
        window->raise();
        if (!m_form.isEnabled())
            active = window;
    }
    if (QWidget *modal = QApplication::activeModalWidget())
        active = modal;
    active->activateWindow();
}

} // namespace quorvane
