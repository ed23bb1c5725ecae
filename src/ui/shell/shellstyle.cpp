#include "shell/shellstyle.h"

#include <QApplication>
#include <QIconEngine>
#include <QPointer>
#include <QStyleFactory>

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

} // namespace quorvane
