#pragma once

#include <QObject>
#include <QString>

#include <chrono>

class QSocketNotifier;

namespace quorvane {

// What a later start asks of the running copy: come to the front and, when
// `file` is not empty, open it (an absolute path).
struct OpenRequest
{
    QString file;
    // The desktop's permission to take the focus, passed on from the later
    // start's environment (XDG_ACTIVATION_TOKEN); "" for none.
    QString activationToken;
    // X11's equivalent (DESKTOP_STARTUP_ID), whose "starting" feedback the
    // running copy ends.
    QString startupId;
};

// The running copy's door for later starts: a Unix socket beside the
// single-instance lock, served from the event loop. Plain sockets rather than
// Qt Network: loading that library (and the Kerberos and proxy libraries it
// brings) was a tenth of a start's time. Each request is acknowledged as soon as it has
// arrived, before anything is done with it, so the later start ends at once
// even while the running copy waits for an answer to a question. A request
// read only after its sender stopped waiting (a copy stopped and continued)
// is dropped: that sender has already reported failure.
class InstanceServer : public QObject
{
    Q_OBJECT

public:
    explicit InstanceServer(QObject *parent = nullptr);
    // Stops listening and removes the socket.
    ~InstanceServer() override;

    // Only for the holder of the lock: a socket left by a killed copy is
    // removed first. False when it cannot listen (errorString() says why).
    bool listen(const QString &path = defaultPath());
    QString errorString() const { return m_error; }

    // Per user: in the runtime folder, beside the lock.
    static QString defaultPath();

signals:
    // Delivered from the event loop, after the acknowledgement was sent.
    void requested(const quorvane::OpenRequest &request);

private:
    class Connection;

    void accept();
    void close();

    int m_fd = -1;
    QSocketNotifier *m_notifier = nullptr;
    QString m_path;
    QString m_error;
};

// Hands `request` to the copy listening at `path` and waits at most `timeout`
// for its acknowledgement; a copy still starting up is waited for within the
// same time. Returns "" once acknowledged, otherwise why not.
QString handOff(const QString &path, const OpenRequest &request,
                std::chrono::milliseconds timeout = std::chrono::seconds(2));

// Why the file at `path` cannot be read ("there is no such file", "it is a
// folder", the system's reason), or "" when it can.
QString unreadableReason(const QString &path);

// A later start: hands `file` (resolved against this process's working
// folder; "" for none) to the running copy. Returns the exit status, with the
// reason on standard error when the file cannot be read (it is not handed
// over) or the running copy could not be reached.
int passToRunningCopy(const QString &file);

} // namespace quorvane
