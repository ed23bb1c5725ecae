#include "windows/previewbrowser.h"

#include "windows/remoteimages.h"

#include <QPainter>
#include <QTextDocument>

namespace quorvane {

namespace {
bool isWeb(const QUrl &url)
{
    return url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https");
}

QImage drawPlaceholder(const QColor &frame, bool crossed)
{
    QImage image(32, 24, QImage::Format_ARGB32_Premultiplied);
    image.fill(QColor(240, 240, 240));
    QPainter painter(&image);
    painter.setPen(frame);
    painter.drawRect(image.rect().adjusted(0, 0, -1, -1));
    // A little landscape: the usual sign for a picture.
    painter.setBrush(frame);
    painter.drawPolygon(
        QPolygon({QPoint(5, 19), QPoint(12, 10), QPoint(17, 15), QPoint(21, 12), QPoint(27, 19)}));
    painter.drawEllipse(QPoint(23, 6), 2, 2);
    if (crossed) {
        painter.setPen(QPen(QColor(176, 48, 48), 2));
        painter.drawLine(4, 4, 28, 20);
    }
    return image;
}
} // namespace

PreviewBrowser::PreviewBrowser(RemoteImages &images, QWidget *parent)
    : QTextBrowser(parent), m_images(images)
{
    // Links go to the desktop through anchorClicked; the window never
    // navigates away from the post.
    setOpenLinks(false);
    setOpenExternalLinks(false);
}

QImage PreviewBrowser::placeholder(Placeholder kind)
{
    static const QImage notLoaded = drawPlaceholder(QColor(150, 150, 150), false);
    static const QImage loading = drawPlaceholder(QColor(110, 140, 200), false);
    static const QImage failed = drawPlaceholder(QColor(150, 150, 150), true);
    switch (kind) {
    case Placeholder::NotLoaded:
        return notLoaded;
    case Placeholder::Loading:
        return loading;
    default:
        return failed;
    }
}

QVariant PreviewBrowser::loadResource(int type, const QUrl &name)
{
    const QUrl url = document()->baseUrl().resolved(name);
    if (type != QTextDocument::ImageResource) {
        // Style sheets and the like: from disk only, never from the web.
        return isWeb(url) ? QVariant() : QTextBrowser::loadResource(type, url);
    }
    if (isWeb(url)) {
        if (!m_remoteAllowed)
            return placeholder(Placeholder::NotLoaded);
        QImage image;
        switch (m_images.fetch(url, &image)) {
        case RemoteImages::State::Ready:
            return image;
        case RemoteImages::State::Pending:
            return placeholder(Placeholder::Loading);
        default:
            return placeholder(Placeholder::Failed);
        }
    }
    if (url.isLocalFile()) {
        auto known = m_localPictures.constFind(url);
        if (known == m_localPictures.cend())
            known = m_localPictures.insert(url, QImage(url.toLocalFile()));
        if (!known->isNull())
            return *known;
    }
    return placeholder(Placeholder::Failed);
}

} // namespace quorvane
