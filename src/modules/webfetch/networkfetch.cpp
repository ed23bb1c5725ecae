// Fetching through Qt Network, built as a module the program loads on the
// first fetch.
#include "platform/webfetch.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

namespace {

class NetworkFetch final : public quorvane::WebFetch
{
public:
    NetworkFetch() { m_network.setRedirectPolicy(QNetworkRequest::NoLessSafeRedirectPolicy); }

    ~NetworkFetch() override
    {
        // Nothing is reported from a fetcher that is gone.
        for (QNetworkReply *reply : m_network.findChildren<QNetworkReply *>()) {
            reply->disconnect();
            reply->abort();
        }
    }

    void get(const QUrl &url, const Limits &limits, Done done) override
    {
        QNetworkRequest request(url);
        request.setTransferTimeout(limits.timeoutMs);
        request.setMaximumRedirectsAllowed(5);
        QNetworkReply *reply = m_network.get(request);

        // The transfer time-out only counts silence; a trickle must end too.
        auto *deadline = new QTimer(reply);
        deadline->setSingleShot(true);
        QObject::connect(deadline, &QTimer::timeout, reply, &QNetworkReply::abort);
        deadline->start(limits.timeoutMs);

        const qint64 maxBytes = limits.maxBytes;
        QObject::connect(reply, &QNetworkReply::metaDataChanged, reply, [reply, maxBytes] {
            const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
            if (length.isValid() && length.toLongLong() > maxBytes)
                reply->abort();
        });
        QObject::connect(reply, &QNetworkReply::downloadProgress, reply,
                         [reply, maxBytes](qint64 received) {
                             if (received > maxBytes)
                                 reply->abort();
                         });
        QObject::connect(reply, &QNetworkReply::finished, reply, [reply, done = std::move(done)] {
            reply->deleteLater();
            const bool ok = reply->error() == QNetworkReply::NoError;
            done(ok, ok ? reply->readAll() : QByteArray());
        });
    }

private:
    QNetworkAccessManager m_network;
};

} // namespace

extern "C" Q_DECL_EXPORT quorvane::WebFetch *quorvane_make_web_fetch()
{
    return new NetworkFetch;
}
