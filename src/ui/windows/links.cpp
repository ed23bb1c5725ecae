#include "windows/links.h"

#include <QIcon>
#include <QKeyEvent>

namespace quorvane {

LinkButton::LinkButton(const QString &text, const QString &toolTip, QWidget *parent)
    : QPushButton(text, parent)
{
    setFlat(true);
    // Inside a dialog a push button would otherwise take Enter typed anywhere.
    setAutoDefault(false);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
    setToolTip(toolTip);
    setAccessibleName(toolTip.isEmpty() ? text : toolTip);
    if (!toolTip.isEmpty() && toolTip != text)
        setAccessibleDescription(text);
    // The border is always there, transparent, so the focus mark does not
    // shift the text.
    setStyleSheet(QStringLiteral(
        "QPushButton { color: rgb(0,0,192); text-decoration: underline; background: transparent;"
        " border: 1px solid transparent; padding: 0px 1px; text-align: left; }"
        "QPushButton:hover { color: rgb(0,64,255); }"
        "QPushButton:focus { border: 1px dotted rgb(32,96,200); }"
        "QPushButton:disabled { color: rgb(128,128,128); }"));
}

namespace {
bool isEnter(const QKeyEvent *event)
{
    return (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
           (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}
} // namespace

// Enter presses a link as Space does; people expect it of links.
void LinkButton::keyPressEvent(QKeyEvent *event)
{
    if (isEnter(event)) {
        click();
        event->accept();
        return;
    }
    QPushButton::keyPressEvent(event);
}

PictureButton::PictureButton(const QIcon &icon, const QSize &size, const QString &toolTip,
                             QWidget *parent)
    : QToolButton(parent)
{
    setIcon(icon);
    setIconSize(size);
    setAutoRaise(true);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
    setToolTip(toolTip);
    setAccessibleName(toolTip);
    setStyleSheet(QStringLiteral(
        "QToolButton { background: transparent; border: 1px solid transparent; padding: 0px; }"
        "QToolButton:hover { border-color: rgb(96,128,192); }"
        "QToolButton:focus { border: 1px dotted rgb(32,96,200); }"));
}

void PictureButton::keyPressEvent(QKeyEvent *event)
{
    if (isEnter(event)) {
        click();
        event->accept();
        return;
    }
    QToolButton::keyPressEvent(event);
}

} // namespace quorvane
