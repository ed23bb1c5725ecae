#include "windows/links.h"

#include <QIcon>
#include <QKeyEvent>
#include <QPainter>

namespace quorvane {

namespace {
constexpr QColor kLink(0, 0, 192);
constexpr QColor kHovered(0, 64, 255);
constexpr QColor kDisabled(128, 128, 128);
constexpr QColor kFocus(32, 96, 200);
} // namespace

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
    // Drawn by paintEvent rather than by a style sheet, which would be parsed
    // and would put all of the widget's drawing through a style of its own:
    // costly at start, where the main window shows a link. Hovering repaints.
    setAttribute(Qt::WA_Hover);
}

// Room for the text, a pixel of padding at each side and the one-pixel
// border, which is always there (unseen without the focus) so that the focus
// mark does not shift the text.
QSize LinkButton::sizeHint() const
{
    if (m_hint.isEmpty() || m_measured != text()) {
        const QFontMetrics metrics = fontMetrics();
        m_measured = text();
        m_hint = QSize(metrics.horizontalAdvance(m_measured) + 4, metrics.height() + 2);
    }
    return m_hint;
}

QSize LinkButton::minimumSizeHint() const
{
    return sizeHint();
}

void LinkButton::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange)
        m_hint = QSize();
    QPushButton::changeEvent(event);
}

void LinkButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    QFont underlined = font();
    underlined.setUnderline(true);
    painter.setFont(underlined);
    QColor ink = kLink;
    if (!isEnabled())
        ink = kDisabled;
    else if (underMouse())
        ink = kHovered;
    painter.setPen(ink);
    painter.drawText(rect().adjusted(2, 1, -2, -1), Qt::AlignLeft | Qt::AlignVCenter, text());
    if (hasFocus()) {
        painter.setPen(QPen(kFocus, 1, Qt::DotLine));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
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
