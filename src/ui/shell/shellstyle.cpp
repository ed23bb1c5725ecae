#include "shell/shellstyle.h"

#include <QApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QStyleFactory>
#include <QStyleOption>
#include <QToolButton>

#include <algorithm>

namespace quorvane {

namespace {
// An icon made by the style on first use: the same pixels, drawn later.
class LaterIconEngine : public QIconEngine
{
public:
    LaterIconEngine(const QProxyStyle *style, QStyle::StandardPixmap which)
        : m_style(const_cast<QProxyStyle *>(style)), m_which(which)
    {}

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        made().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return made().pixmap(size, mode, state);
    }
    QSize actualSize(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return made().actualSize(size, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override
    {
        return made().availableSizes(mode, state);
    }
    bool isNull() override { return made().isNull(); }
    QString key() const override { return QStringLiteral("quorvane-later"); }
    QIconEngine *clone() const override { return new LaterIconEngine(*this); }

private:
    const QIcon &made()
    {
        if (!m_made && m_style) {
            m_icon = m_style->baseStyle()->standardIcon(m_which);
            m_made = true;
        }
        return m_icon;
    }

    QPointer<QProxyStyle> m_style;
    QStyle::StandardPixmap m_which;
    QIcon m_icon;
    bool m_made = false;
};

// The framed buttons' colours.
constexpr QColor kFace(224, 224, 224);
constexpr QColor kFaceDown(200, 200, 208);
constexpr QColor kFrame(176, 176, 176);
constexpr QColor kFrameHover(96, 128, 192);
constexpr QColor kFrameFocus(32, 96, 200);
constexpr qreal kRadius = 2;

// The face, and over it the frame's line with its rounded corners.
void drawFrame(QPainter *painter, const QRectF &box, const QColor &face, const QColor &frame)
{
    const qreal r = kRadius;
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    QPainterPath shape;
    // The face reaches to the middle of the frame's line.
    shape.addRoundedRect(box.adjusted(0.5, 0.5, -0.5, -0.5), r - 0.5, r - 0.5);
    painter->fillPath(shape, face);
    // The frame: four straight sides, then the quarter circles joining them.
    painter->setPen(Qt::NoPen);
    painter->setBrush(frame);
    painter->drawRect(QRectF(box.left() + r, box.bottom() - 1, box.width() - 2 * r, 1));
    painter->drawRect(QRectF(box.right() - 1, box.top() + r, 1, box.height() - 2 * r));
    painter->drawRect(QRectF(box.left(), box.top() + r, 1, box.height() - 2 * r));
    painter->drawRect(QRectF(box.left() + r, box.top(), box.width() - 2 * r, 1));
    painter->setPen(QPen(frame, 1, Qt::SolidLine, Qt::SquareCap));
    painter->setBrush(Qt::NoBrush);
    const qreal d = 2 * r - 1;
    const QRectF topLeft(box.left() + 0.5, box.top() + 0.5, d, d);
    const QRectF topRight(box.right() - 2 * r + 0.5, box.top() + 0.5, d, d);
    const QRectF bottomLeft(box.left() + 0.5, box.bottom() - 2 * r + 0.5, d, d);
    const QRectF bottomRight(box.right() - 2 * r + 0.5, box.bottom() - 2 * r + 0.5, d, d);
    painter->drawArc(bottomLeft, -90 * 16, -45 * 16);
    painter->drawArc(bottomRight, -90 * 16, 45 * 16);
    painter->drawArc(topRight, 45 * 16, -45 * 16);
    painter->drawArc(bottomRight, 315 * 16, 45 * 16);
    painter->drawArc(topLeft, 135 * 16, 45 * 16);
    painter->drawArc(bottomLeft, 180 * 16, 45 * 16);
    painter->drawArc(topLeft, 135 * 16, -45 * 16);
    painter->drawArc(topRight, 45 * 16, 45 * 16);
    painter->restore();
}

// The plain colour a widget is drawn over: that of the nearest parent that
// fills its background. Invalid when that is a pattern, a picture or see-through.
QColor plainBackgroundUnder(const QWidget *widget)
{
    for (const QWidget *w = widget->parentWidget(); w; w = w->parentWidget()) {
        if (!w->autoFillBackground() && !w->isWindow())
            continue;
        if (w->testAttribute(Qt::WA_TranslucentBackground) ||
            w->testAttribute(Qt::WA_NoSystemBackground))
            return {};
        const QBrush brush = w->palette().brush(w->backgroundRole());
        if (brush.style() != Qt::SolidPattern || brush.color().alpha() != 255)
            return {};
        return brush.color();
    }
    return {};
}

bool isFramed(const QWidget *widget)
{
    if (!qobject_cast<const QToolButton *>(widget))
        return false;
    for (const QWidget *w = widget->parentWidget(); w; w = w->parentWidget()) {
        if (w->property(ShellStyle::framedButtons).toBool())
            return true;
    }
    return false;
}
} // namespace

void ShellStyle::install()
{
    if (qobject_cast<ShellStyle *>(QApplication::style()))
        return;
    // A fresh copy of the style in use (the desktop's, or one asked for with
    // -style): the application deletes the style it gives up.
    QStyle *base = QStyleFactory::create(QApplication::style()->name());
    QApplication::setStyle(base ? new ShellStyle(base) : new ShellStyle);
}

QIcon ShellStyle::standardIcon(StandardPixmap icon, const QStyleOption *option,
                               const QWidget *widget) const
{
    if (icon == SP_ToolBarHorizontalExtensionButton && !option)
        return QIcon(new LaterIconEngine(this, icon));
    return QProxyStyle::standardIcon(icon, option, widget);
}

void ShellStyle::polish(QWidget *widget)
{
    QProxyStyle::polish(widget);
    // The frame turns blue under the mouse: the button is drawn again as the
    // mouse comes and goes, whatever the style it stands on does.
    if (isFramed(widget))
        widget->setAttribute(Qt::WA_Hover, true);
}

QSize ShellStyle::sizeFromContents(ContentsType type, const QStyleOption *option,
                                   const QSize &contents, const QWidget *widget) const
{
    // Three pixels of room around the contents, as the style sheet gave,
    // and the frame's line on each side.
    if (type == CT_ToolButton && isFramed(widget))
        return contents + QSize(3 + 2, 3 + 2);
    return QProxyStyle::sizeFromContents(type, option, contents, widget);
}

void ShellStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex *option,
                                    QPainter *painter, const QWidget *widget) const
{
    if (control == CC_ToolButton && isFramed(widget)) {
        if (const auto *button = qstyleoption_cast<const QStyleOptionToolButton *>(option)) {
            drawFramedButton(*button, painter, widget);
            return;
        }
    }
    if (control == CC_ScrollBar && drawInBands(option, painter, widget))
        return;
    QProxyStyle::drawComplexControl(control, option, painter, widget);
}

bool ShellStyle::drawInBands(const QStyleOptionComplex *option, QPainter *painter,
                             const QWidget *widget) const
{
    // Qt's painter hands a shaded fill of a hundred lines or more to its
    // thread pool in parts and waits for them all. For a bar a few pixels
    // wide (the editor's scroll bar, in the first frame) starting the pool's
    // threads and waiting for them costs far more than the fill: the bar is
    // drawn here instead, a band of fewer lines at a time, each onto a
    // picture of its own that is then copied into place, the same pixels.
    // Only for Fusion's bars, which cover every pixel of theirs: a band
    // starts from nothing, not from what lies under the bar.
    const QRect bar = option->rect;
    if (bar.height() <= kLinesDrawnHere || bar.width() <= 0 ||
        baseStyle()->name() != QLatin1String("fusion") ||
        painter->device()->devicePixelRatio() != 1 ||
        painter->transform().type() > QTransform::TxTranslate || painter->opacity() < 1 ||
        proxy()->styleHint(SH_ScrollBar_Transient, option, widget))
        return false;
    for (int top = bar.top(); top <= bar.bottom(); top += kLinesDrawnHere) {
        QImage band(bar.width(), std::min(kLinesDrawnHere, bar.bottom() + 1 - top),
                    QImage::Format_RGB32);
        band.fill(option->palette.color(QPalette::Window));
        QPainter onBand(&band);
        onBand.translate(-bar.left(), -top);
        QProxyStyle::drawComplexControl(CC_ScrollBar, option, &onBand, widget);
        onBand.end();
        painter->drawImage(bar.left(), top, band);
    }
    return true;
}

void ShellStyle::drawFramedButton(const QStyleOptionToolButton &option, QPainter *painter,
                                  const QWidget *widget) const
{
    const bool down = option.state & (State_Sunken | State_On);
    const QColor face = down ? kFaceDown : kFace;
    QColor frame = kFrame;
    if ((option.state & State_Enabled) && (option.state & (State_MouseOver | State_Selected)))
        frame = kFrameHover;
    if (option.state & State_HasFocus)
        frame = kFrameFocus;

    // Thirty buttons of a few sizes share a handful of looks: each is drawn
    // once onto the colour it stands on and copied after that.
    const QColor under = plainBackgroundUnder(widget);
    if (under.isValid() && painter->device()->devicePixelRatio() == 1 &&
        painter->transform().type() <= QTransform::TxTranslate) {
        const FrameKey key{option.rect.width(), option.rect.height(), face.rgb(), frame.rgb(),
                           under.rgb()};
        QPixmap &drawn = m_frames[key];
        if (drawn.isNull()) {
            QImage image(option.rect.size(), QImage::Format_RGB32);
            image.fill(under);
            QPainter onImage(&image);
            drawFrame(&onImage, QRectF(image.rect()), face, frame);
            onImage.end();
            drawn = QPixmap::fromImage(std::move(image));
        }
        painter->drawPixmap(option.rect.topLeft(), drawn);
    } else {
        drawFrame(painter, QRectF(option.rect), face, frame);
    }

    QStyleOptionToolButton label(option);
    label.rect = option.rect.adjusted(1, 1, -1, -1);
    label.palette.setBrush(QPalette::Button, face);
    label.palette.setBrush(QPalette::Window, face);
    proxy()->drawControl(CE_ToolButtonLabel, &label, painter, widget);
}

} // namespace quorvane
