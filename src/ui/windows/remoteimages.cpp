#include "windows/remoteimages.h"

#include <QBuffer>
#include <QFuture>
#include <QImageReader>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QtConcurrent/QtConcurrentRun>

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

RemoteImages::RemoteImages(QObject *parent) : QObject(parent)
{
    m_network.setRedirectPolicy(QNetworkRequest::NoLessSafeRedirectPolicy);
}

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

    QNetworkRequest request(url);
    request.setTransferTimeout(m_limits.timeoutMs);
    request.setMaximumRedirectsAllowed(5);
    QNetworkReply *reply = m_network.get(request);
    m_pending.insert(url, reply);

    // The transfer time-out only counts silence; a trickle must end too.
    auto *deadline = new QTimer(reply);
    deadline->setSingleShot(true);
    connect(deadline, &QTimer::timeout, reply, &QNetworkReply::abort);
    deadline->start(m_limits.timeoutMs);

    const qint64 maxBytes = m_limits.maxBytes;
    connect(reply, &QNetworkReply::metaDataChanged, reply, [reply, maxBytes] {
        const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid() && length.toLongLong() > maxBytes)
            reply->abort();
    });
    connect(reply, &QNetworkReply::downloadProgress, reply, [reply, maxBytes](qint64 received) {
        if (received > maxBytes)
            reply->abort();
    });
    connect(reply, &QNetworkReply::finished, this, [this, url, reply] {
        m_pending.remove(url);
        reply->deleteLater();
        if (reply->error() != QNetworkReply::NoError) {
            fail(url);
            return;
        }
        decode(url, reply->readAll());
    });
    return State::Pending;
}

void RemoteImages::decode(const QUrl &url, const QByteArray &bytes)
{
    // Decoding a large picture takes a while; the window goes on meanwhile.
    m_pending.insert(url, nullptr);
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
