#include "commands/windowchrome.h"

#include "platform/appinfo.h"
#include "shell/mainform.h"

#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QToolButton>

namespace quorvane {

namespace {
const char kCloseTip[] = "Exit Quorvane";
const char kMinimizeTip[] = "Minimize To Taskbar";
} // namespace

WindowChrome::WindowChrome(MainForm &form)
    : QObject(&form), m_form(form), m_tip(form.control<QLabel>("ControlBoxTip")),
      m_closeBox(form.control<QToolButton>("CloseBox")),
      m_miniBox(form.control<QToolButton>("MiniBox"))
{
    // Plain moves (no button held) only reach widgets that track the mouse.
    const std::initializer_list<QWidget *> tracked = {form.topFrame(), form.mainFrame(), m_closeBox,
                                                      m_miniBox};
    for (QWidget *widget : tracked) {
        widget->setMouseTracking(true);
        widget->installEventFilter(this);
    }

    connect(form.command("CloseBox"), &QAction::triggered, this, &WindowChrome::CloseBox_Click);
    connect(form.command("MiniBox"), &QAction::triggered, this, &WindowChrome::MiniBox_Click);
    connect(form.command("ControlsLocker"), &QAction::toggled, this,
            &WindowChrome::ControlsLocker_Click);
}

// The same exit as File > Exit, with its offer to save.
void WindowChrome::CloseBox_Click()
{
    m_form.command("QuitPro")->trigger();
}

void WindowChrome::MiniBox_Click()
{
    m_form.showMinimized();
}

// Disabling the frame leaves each control's own state alone, so releasing the
// lock brings back whatever the command states say at that moment.
void WindowChrome::ControlsLocker_Click(bool locked)
{
    m_form.mainFrame()->setEnabled(!locked);
}

bool WindowChrome::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::MouseMove)
        return false;
    if (watched == m_closeBox) {
        m_tip->setText(QLatin1String(kCloseTip));
    } else if (watched == m_miniBox) {
        m_tip->setText(QLatin1String(kMinimizeTip));
    } else {
        // A move a child did not want bubbles up to its frame; only the
        // frame's own bare surface brings the version back.
        auto *frame = static_cast<QWidget *>(watched);
        const QPoint pos = static_cast<QMouseEvent *>(event)->position().toPoint();
        if (!frame->childAt(pos))
            m_tip->setText(QStringLiteral("Version ") + QLatin1String(appinfo::version));
    }
    return false;
}

} // namespace quorvane
