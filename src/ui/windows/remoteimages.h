#pragma once

#include <QHash>
#include <QImage>
#include <QObject>
#include <QSet>
#include <QUrl>

#include <memory>

namespace quorvane {

class WebFetch;

// Pictures from the web for the live preview, fetched in the background and
// kept for the session. A picture that is too large, too slow or not a
// picture at all fails; a failure is remembered too, so nothing is asked twice.
// The network is loaded with the first picture asked for.
class RemoteImages : public QObject
{
    Q_OBJECT

public:
    struct Limits
    {
        qint64 maxBytes = 8 * 1024 * 1024;
        int timeoutMs = 15000; // for the whole transfer, not just a silence
        int maxPixels = 4096 * 4096;
    };
    enum class State { Pending, Ready, Failed };

    explicit RemoteImages(QObject *parent = nullptr);
    ~RemoteImages() override;

    void setLimits(const Limits &limits) { m_limits = limits; }
    const Limits &limits() const { return m_limits; }

    // The state of the picture at url; a first question starts fetching it.
    // image is set when it is Ready.
    State fetch(const QUrl &url, QImage *image = nullptr);
    // Forgets the failures, so that they are tried again.
    void retryFailed() { m_failed.clear(); }
    int pendingCount() const { return int(m_pending.size()); }

signals:
    // A fetch ended, ready or failed.
    void finished(const QUrl &url);

private:
    void fail(const QUrl &url);
    void decode(const QUrl &url, const QByteArray &bytes);

    Limits m_limits;
    std::unique_ptr<WebFetch> m_web;
    bool m_webTried = false;
    QHash<QUrl, QImage> m_ready;
    QSet<QUrl> m_failed;
    QSet<QUrl> m_pending;
};

} // namespace quorvane
