#include "windows/remoteimages.h"

#include "platform/webfetch.h"

#include <QBuffer>
#include <QFuture>
#include <QImageReader>
#include <QtConcurrent/QtConcurrentRun>

#include <utility>

namespace quorvane {

namespace {
QImage decodePicture(const QByteArray &bytes, int maxPixels)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QSize size = reader.size();
    if (size.isValid() && qint64(size.width()) * size.height() > maxPixels)
        return QImage();
    return reader.read();
}
} // namespace

RemoteImages::RemoteImages(QObject *parent) : QObject(parent) {}

RemoteImages::~RemoteImages() = default;

RemoteImages::State RemoteImages::fetch(const QUrl &url, QImage *image)
{
    if (const auto ready = m_ready.constFind(url); ready != m_ready.cend()) {
        if (image)
            *image = *ready;
        return State::Ready;
    }
    if (m_failed.contains(url))
        return State::Failed;
    if (m_pending.contains(url))
        return State::Pending;

    if (!std::exchange(m_webTried, true)) {
        QString why;
        m_web = loadWebFetch(&why);
        if (!m_web)
            qWarning("quorvane: pictures from the web cannot be fetched: %s", qPrintable(why));
    }
    if (!m_web) {
        m_failed.insert(url);
        return State::Failed;
    }
    m_pending.insert(url);
    m_web->get(url, {m_limits.maxBytes, m_limits.timeoutMs},
               [this, url](bool ok, const QByteArray &body) {
                   m_pending.remove(url);
                   if (ok)
                       decode(url, body);
                   else
                       fail(url);
               });
    return State::Pending;
}

void RemoteImages::decode(const QUrl &url, const QByteArray &bytes)
{
    // Decoding a large picture takes a while; the window goes on meanwhile.
    m_pending.insert(url);
    QtConcurrent::run(decodePicture, bytes, m_limits.maxPixels)
        .then(this, [this, url](QImage image) {
            m_pending.remove(url);
            if (image.isNull()) {
                fail(url);
                return;
            }
            m_ready.insert(url, image);
            emit finished(url);
        });
}

void RemoteImages::fail(const QUrl &url)
{
    m_failed.insert(url);
    emit finished(url);
}

} // namespace quorvane
