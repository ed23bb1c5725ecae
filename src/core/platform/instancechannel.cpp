#include "platform/instancechannel.h"

#include "platform/singleinstance.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSocketNotifier>
#include <QThread>
#include <QTimer>
#include <QtEndian>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <memory>
#include <utility>

#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace quorvane {

namespace {

// A request: the magic, the length of the body (big-endian), then the body, a
// JSON object. The answer is kAck.
constexpr char kMagic[] = "QVO1";
constexpr qsizetype kHeaderSize = 8;
constexpr quint32 kMaxBody = 1 << 20;
constexpr char kAck[] = "OK\n";
constexpr qsizetype kAckSize = sizeof kAck - 1;
// A later start that connects and then says nothing is let go.
constexpr int kIdleMs = 10000;

QByteArray encode(const OpenRequest &request, qint64 deadlineMs)
{
    const QByteArray body =
        QJsonDocument(QJsonObject{
                          {QStringLiteral("file"), request.file},
                          {QStringLiteral("activationToken"), request.activationToken},
                          {QStringLiteral("startupId"), request.startupId},
                          {QStringLiteral("deadline"), deadlineMs},
                      })
            .toJson(QJsonDocument::Compact);
    QByteArray frame(kMagic, 4);
    frame.resize(kHeaderSize);
    qToBigEndian(quint32(body.size()), frame.data() + 4);
    return frame + body;
}

// Closes the descriptor when it goes out of scope.
struct ClosedAtExit
{
    int fd = -1;
    ~ClosedAtExit()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

// "" when `path` fits a socket address, otherwise why not.
QString socketAddress(const QString &path, sockaddr_un *address)
{
    const QByteArray name = QFile::encodeName(path);
    *address = {};
    if (name.isEmpty() || name.size() >= qsizetype(sizeof address->sun_path))
        return QStringLiteral("the socket's path %1 is too long").arg(path);
    address->sun_family = AF_UNIX;
    std::memcpy(address->sun_path, name.constData(), size_t(name.size()));
    return {};
}

// Until `fd` is ready for `events`; false once the deadline has passed, never
// before, and only after a last look: what arrived in time counts.
bool waitFor(int fd, short events, const QDeadlineTimer &deadline)
{
    for (;;) {
        const bool last = deadline.hasExpired();
        const qint64 leftNs = last ? 0 : deadline.remainingTimeNSecs();
        pollfd ready{fd, events, 0};
        const int n =
            ::poll(&ready, 1, int(std::min<qint64>((leftNs + 999999) / 1000000, INT_MAX)));
        if (n > 0)
            return true;
        if ((n == 0 && last) || (n < 0 && errno != EINTR))
            return false;
    }
}

} // namespace

// One later start's connection, read as its bytes arrive and closed once its
// request is answered or dropped.
class InstanceServer::Connection : public QObject
{
public:
    Connection(int fd, InstanceServer *server)
        : QObject(server), m_server(server), m_fd(fd),
          m_notifier(std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read))
    {
        QObject::connect(m_notifier.get(), &QSocketNotifier::activated, this, &Connection::read);
        QTimer::singleShot(kIdleMs, this, &Connection::drop);
    }
    ~Connection() override
    {
        m_notifier.reset();
        ::close(m_fd);
    }

    void read()
    {
        bool ended = false;
        char bytes[4096];
        for (;;) {
            const ssize_t n = ::recv(m_fd, bytes, sizeof bytes, 0);
            if (n > 0) {
                m_received.append(bytes, n);
                if (m_received.size() <= kHeaderSize + kMaxBody)
                    continue;
            } else if (n < 0 && errno == EINTR) {
                continue;
            } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
                break;
            }
            ended = true;
            break;
        }
        if (!serve() && ended)
            drop();
    }

private:
    // True once the request is complete (carried out or refused).
    bool serve()
    {
        if (m_received.size() < kHeaderSize)
            return false;
        const quint32 length = qFromBigEndian<quint32>(m_received.constData() + 4);
        if (!m_received.startsWith(kMagic) || length > kMaxBody) {
            drop();
            return true;
        }
        if (m_received.size() < kHeaderSize + qsizetype(length))
            return false;
        const QJsonObject body =
            QJsonDocument::fromJson(m_received.mid(kHeaderSize, length)).object();
        // A later start that has given up waiting has told its user so: its
        // request is not carried out behind their back.
        if (QDateTime::currentMSecsSinceEpoch() >=
            body.value(QStringLiteral("deadline")).toInteger()) {
            drop();
            return true;
        }
        // Three bytes always fit an empty socket's buffer.
        [[maybe_unused]] const ssize_t sent = ::send(m_fd, kAck, kAckSize, MSG_NOSIGNAL);
        const OpenRequest request{body.value(QStringLiteral("file")).toString(),
                                  body.value(QStringLiteral("activationToken")).toString(),
                                  body.value(QStringLiteral("startupId")).toString()};
        // Whatever the request leads to (a question, a file to read) happens
        // after this connection is done with.
        InstanceServer *server = m_server;
        QMetaObject::invokeMethod(
            server, [server, request] { emit server->requested(request); }, Qt::QueuedConnection);
        drop();
        return true;
    }

    void drop()
    {
        m_notifier->setEnabled(false);
        deleteLater();
    }

    InstanceServer *m_server;
    int m_fd;
    std::unique_ptr<QSocketNotifier> m_notifier;
    QByteArray m_received;
};

InstanceServer::InstanceServer(QObject *parent) : QObject(parent) {}

InstanceServer::~InstanceServer()
{
    close();
}

bool InstanceServer::listen(const QString &path)
{
    close();
    sockaddr_un address;
    m_error = socketAddress(path, &address);
    if (!m_error.isEmpty())
        return false;
    ::unlink(address.sun_path);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        m_error = qt_error_string(errno);
        return false;
    }
    // Only this user may connect: the socket is theirs before it listens.
    if (::bind(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0 ||
        ::chmod(address.sun_path, S_IRUSR | S_IWUSR) != 0 || ::listen(fd, SOMAXCONN) != 0) {
        m_error = qt_error_string(errno);
        ::close(fd);
        return false;
    }
    m_fd = fd;
    m_path = path;
    m_notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &InstanceServer::accept);
    return true;
}

void InstanceServer::close()
{
    if (m_fd < 0)
        return;
    delete m_notifier;
    m_notifier = nullptr;
    ::close(m_fd);
    m_fd = -1;
    QFile::remove(m_path);
    m_path.clear();
}

QString InstanceServer::defaultPath()
{
    return QFileInfo(SingleInstance::defaultLockPath()).absolutePath() +
           QStringLiteral("/quorvane.socket");
}

void InstanceServer::accept()
{
    for (;;) {
        const int fd = ::accept4(m_fd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd >= 0)
            (new Connection(fd, this))->read();
        else if (errno != EINTR && errno != ECONNABORTED)
            return;
    }
}

QString handOff(const QString &path, const OpenRequest &request, std::chrono::milliseconds timeout)
{
    const QDeadlineTimer deadline(timeout);
    const QString noAnswer = QStringLiteral("the running copy did not answer within %1 seconds")
                                 .arg(double(timeout.count()) / 1000.0);
    const QString closed = QStringLiteral("the running copy closed the connection");
    sockaddr_un address;
    if (const QString why = socketAddress(path, &address); !why.isEmpty())
        return why;
    ClosedAtExit socket;
    for (;;) {
        socket.fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        if (socket.fd < 0)
            return qt_error_string(errno);
        if (::connect(socket.fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0)
            break;
        const int error = errno;
        ::close(std::exchange(socket.fd, -1));
        // A copy that holds the lock but is still starting up has no socket
        // yet, or not yet one that listens; a full queue clears.
        if (error != ENOENT && error != ECONNREFUSED && error != EAGAIN && error != EINTR)
            return qt_error_string(error);
        if (deadline.hasExpired())
            return noAnswer;
        QThread::msleep(20);
    }
    const QByteArray frame = encode(request, QDateTime::currentMSecsSinceEpoch() +
                                                 deadline.remainingTimeNSecs() / 1000000);
    for (qsizetype sent = 0; sent < frame.size();) {
        const ssize_t n =
            ::send(socket.fd, frame.constData() + sent, size_t(frame.size() - sent), MSG_NOSIGNAL);
        if (n >= 0) {
            sent += n;
        } else if (errno == EAGAIN) {
            if (!waitFor(socket.fd, POLLOUT, deadline))
                return noAnswer;
        } else if (errno == EPIPE || errno == ECONNRESET) {
            return closed;
        } else if (errno != EINTR) {
            return qt_error_string(errno);
        }
    }
    QByteArray answer;
    while (answer.size() < kAckSize) {
        char bytes[kAckSize];
        const ssize_t n = ::recv(socket.fd, bytes, size_t(kAckSize - answer.size()), 0);
        if (n > 0) {
            answer.append(bytes, n);
        } else if (n == 0 || errno == ECONNRESET) {
            return closed;
        } else if (errno == EAGAIN) {
            if (!waitFor(socket.fd, POLLIN, deadline))
                return noAnswer;
        } else if (errno != EINTR) {
            return qt_error_string(errno);
        }
    }
    if (answer != QByteArray(kAck, kAckSize))
        return QStringLiteral("the running copy gave an unexpected answer");
    return QString();
}

QString unreadableReason(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return info.isSymLink() ? QStringLiteral("it links to nothing")
                                : QStringLiteral("there is no such file");
    if (info.isDir())
        return QStringLiteral("it is a folder");
    // A pipe or a device would block the open below, or never end.
    if (!info.isFile())
        return QStringLiteral("it is not a regular file");
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return file.errorString();
    return {};
}

int passToRunningCopy(const QString &file)
{
    OpenRequest request;
    if (!file.isEmpty()) {
        request.file = QFileInfo(file).absoluteFilePath();
        // The caller (a file manager, a script) learns of it from the exit
        // status; the running window is not bothered with it.
        const QString why = unreadableReason(request.file);
        if (!why.isEmpty()) {
            std::fprintf(stderr, "quorvane: cannot open %s: %s.\n", qPrintable(file),
                         qPrintable(why));
            return 1;
        }
    }
    request.activationToken = qEnvironmentVariable("XDG_ACTIVATION_TOKEN");
    request.startupId = qEnvironmentVariable("DESKTOP_STARTUP_ID");
    const QString problem = handOff(InstanceServer::defaultPath(), request);
    if (problem.isEmpty())
        return 0;
    std::fprintf(stderr, "quorvane: Quorvane is already running, but %s.\n", qPrintable(problem));
    return 1;
}

} // namespace quorvane
