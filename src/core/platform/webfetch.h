#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>

#include <functional>
#include <memory>

namespace quorvane {

// Fetches from the web. The network stack lives in a module loaded on the
// first fetch: Qt Network and the Kerberos and proxy libraries it brings cost
// a tenth of a start, for a capability most sessions never use.
class WebFetch
{
public:
    struct Limits
    {
        qint64 maxBytes = 0; // more fails the fetch, however it is announced
        int timeoutMs = 0;   // for the whole transfer, not just a silence
    };
    // Called once, from the event loop: the body, or ok false for a fetch
    // that failed (an error, too large, too slow). Never after the fetcher is
    // gone.
    using Done = std::function<void(bool ok, const QByteArray &body)>;

    virtual ~WebFetch() = default;
    virtual void get(const QUrl &url, const Limits &limits, Done done) = 0;
};

// The name the module exports its maker under: WebFetch *(*)().
inline constexpr char webFetchMaker[] = "quorvane_make_web_fetch";

// The fetcher from the module in the program's private library folder, or
// nullptr with the reason in `error` when it cannot be loaded.
std::unique_ptr<WebFetch> loadWebFetch(QString *error = nullptr);

} // namespace quorvane
