#include "shell/deferredicon.h"

#include "shell/bakedpictures.h"

#include <QApplication>
#include <QHash>
#include <QIconEngine>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QStyle>
#include <QStyleOption>
#include <QSvgRenderer>
#include <memory>

namespace quorvane {

namespace {
// The parsed picture and its drawings, shared by every copy of one icon.
struct SharedPicture
{
    explicit SharedPicture(QString p) : path(std::move(p)) {}

    QSvgRenderer &renderer()
    {
        if (!parsed) {
            parsed = std::make_unique<QSvgRenderer>(path);
        }
        return *parsed;
    }

    QString path;
    std::unique_ptr<QSvgRenderer> parsed;
    QHash<quint64, QPixmap> drawn; // by size and mode
};

class DeferredIconEngine : public QIconEngine
{
public:
    explicit DeferredIconEngine(QString path)
        : m_picture(std::make_shared<SharedPicture>(std::move(path)))
    {}

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        QSize size = rect.size();
        if (painter->device())
            size *= painter->device()->devicePixelRatio();
        painter->drawPixmap(rect, pixmap(size, mode, state));
    }

    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State) override
    {
        const quint64 key = (quint64(quint32(size.width())) << 34) |
                            (quint64(quint32(size.height())) << 4) | quint64(mode);
        if (const auto found = m_picture->drawn.constFind(key); found != m_picture->drawn.cend())
            return *found;
        QPixmap drawn = draw(size, mode);
        m_picture->drawn.insert(key, drawn);
        return drawn;
    }

    QSize actualSize(const QSize &size, QIcon::Mode, QIcon::State) override
    {
        // A vector picture fills whatever size is asked for.
        return size;
    }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override { return {}; }
    bool isNull() override { return false; }
    QString key() const override { return QStringLiteral("quorvane-deferred"); }
    QIconEngine *clone() const override { return new DeferredIconEngine(*this); }

private:
    // As Qt's SVG icon engine draws: the picture's own proportions fitted
    // into the size, on a transparent image; other modes are the style's
    // rendering of the normal one. The sizes of the first paint were drawn
    // so at build time.
    QPixmap draw(const QSize &size, QIcon::Mode mode)
    {
        QPixmap drawn = baked(size);
        if (drawn.isNull()) {
            QSvgRenderer &renderer = m_picture->renderer();
            if (!renderer.isValid())
                return {};
            QSize fitted = renderer.defaultSize();
            if (!fitted.isNull())
                fitted.scale(size, Qt::KeepAspectRatio);
            if (fitted.isEmpty())
                return {};
            QImage image(fitted, QImage::Format_ARGB32_Premultiplied);
            image.fill(0x00000000);
            QPainter painter(&image);
            renderer.render(&painter);
            painter.end();
            drawn = QPixmap::fromImage(image);
        }
        if (mode != QIcon::Normal && qobject_cast<QApplication *>(QCoreApplication::instance())) {
            QStyleOption option(0);
            option.palette = QGuiApplication::palette();
            const QPixmap generated =
                QApplication::style()->generatedIconPixmap(mode, drawn, &option);
            if (!generated.isNull())
                drawn = generated;
        }
        return drawn;
    }

    QPixmap baked(const QSize &size) const
    {
        for (const BakedPicture &picture : bakedPictures()) {
            if (picture.askedWidth == size.width() && picture.askedHeight == size.height() &&
                m_picture->path == QLatin1String(picture.path)) {
                return QPixmap::fromImage(QImage(picture.pixels, picture.width, picture.height,
                                                 picture.width * 4,
                                                 QImage::Format_ARGB32_Premultiplied));
            }
        }
        return {};
    }

    std::shared_ptr<SharedPicture> m_picture;
};
} // namespace

QIcon deferredIcon(const QString &path)
{
    return QIcon(new DeferredIconEngine(path));
}

} // namespace quorvane
