#include "shell/deferredicon.h"

#include "shell/bakedpictures.h"

#include <QApplication>
#include <QHash>
#include <QIconEngine>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QPixmap>
#include <QStyle>
#include <QStyleOption>
#include <memory>

namespace quorvane {

namespace {
// One picture's drawings, shared by every copy of its icon: the normal one
// for each size asked, and those of the other modes made from them.
struct SharedPicture
{
    explicit SharedPicture(QString p) : path(std::move(p)) {}

    QString path;
    QHash<quint64, QPixmap> drawn; // by size and mode
};

quint64 keyOf(const QSize &size, QIcon::Mode mode)
{
    return (quint64(quint32(size.width())) << 34) | (quint64(quint32(size.height())) << 4) |
           quint64(mode);
}

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

    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        const quint64 key = keyOf(size, mode);
        if (const auto found = m_picture->drawn.constFind(key); found != m_picture->drawn.cend())
            return *found;
        QPixmap drawn = mode == QIcon::Normal ? draw(size)
                                              : generated(pixmap(size, QIcon::Normal, state), mode);
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
    // into the size, on a transparent image. The sizes of the first paint
    // were drawn so at build time; others are read through Qt's SVG image
    // plugin, which parses the file once.
    QPixmap draw(const QSize &size) const
    {
        if (QPixmap drawn = baked(size); !drawn.isNull())
            return drawn;
        QImageReader reader(m_picture->path);
        QSize fitted = reader.size();
        if (!fitted.isNull())
            fitted.scale(size, Qt::KeepAspectRatio);
        if (fitted.isEmpty())
            return {};
        reader.setScaledSize(fitted);
        QImage image = reader.read();
        if (image.isNull())
            return {};
        if (image.format() != QImage::Format_ARGB32_Premultiplied)
            image.convertTo(QImage::Format_ARGB32_Premultiplied);
        return QPixmap::fromImage(std::move(image));
    }

    // The other modes are the style's rendering of the normal picture.
    static QPixmap generated(const QPixmap &normal, QIcon::Mode mode)
    {
        if (normal.isNull() || !qobject_cast<QApplication *>(QCoreApplication::instance()))
            return normal;
        QStyleOption option(0);
        option.palette = QGuiApplication::palette();
        const QPixmap made = QApplication::style()->generatedIconPixmap(mode, normal, &option);
        return made.isNull() ? normal : made;
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
