#include "platform/instancechannel.h"

#include "platform/singleinstance.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocalSocket>
#include <QThread>
#include <QTimer>
#include <QtEndian>

#include <cstdio>

namespace quorvane {

namespace {

// A request: the magic, the length of the body (big-endian), then the body, a
// JSON object. The answer is kAck.
constexpr char kMagic[] = "QVO1";
constexpr qsizetype kHeaderSize = 8;
constexpr quint32 kMaxBody = 1 << 20;
constexpr char kAck[] = "OK\n";
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

} // namespace

InstanceServer::InstanceServer(QObject *parent) : QObject(parent)
{
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&m_server, &QLocalServer::newConnection, this, &InstanceServer::accept);
}

bool InstanceServer::listen(const QString &path)
{
    QLocalServer::removeServer(path);
    return m_server.listen(path);
}

QString InstanceServer::defaultPath()
{
    return QFileInfo(SingleInstance::defaultLockPath()).absolutePath() +
           QStringLiteral("/quorvane.socket");
}

void InstanceServer::accept()
{
    while (QLocalSocket *socket = m_server.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        QTimer::singleShot(kIdleMs, socket, [socket] { socket->abort(); });
        const auto read = [this, socket] {
            if (socket->bytesAvailable() < kHeaderSize)
                return;
            const QByteArray header = socket->peek(kHeaderSize);
            const quint32 length = qFromBigEndian<quint32>(header.constData() + 4);
            if (!header.startsWith(kMagic) || length > kMaxBody) {
                socket->abort();
                return;
            }
            if (socket->bytesAvailable() < kHeaderSize + length)
                return;
            socket->skip(kHeaderSize);
            const QJsonObject body = QJsonDocument::fromJson(socket->read(length)).object();
            // A later start that has given up waiting has told its user so:
            // its request is not carried out behind their back.
            if (QDateTime::currentMSecsSinceEpoch() >
                body.value(QStringLiteral("deadline")).toInteger()) {
                socket->abort();
                return;
            }
            socket->write(kAck);
            socket->flush();
            socket->disconnectFromServer();
            const OpenRequest request{body.value(QStringLiteral("file")).toString(),
                                      body.value(QStringLiteral("activationToken")).toString(),
                                      body.value(QStringLiteral("startupId")).toString()};
            // Whatever the request leads to (a question, a file to read)
            // happens after this connection is done with.
            QMetaObject::invokeMethod(
                this, [this, request] { emit requested(request); }, Qt::QueuedConnection);
        };
        connect(socket, &QLocalSocket::readyRead, this, read);
        read();
    }
}

QString handOff(const QString &path, const OpenRequest &request, std::chrono::milliseconds timeout)
{
    const QDeadlineTimer deadline(timeout);
    const QString noAnswer = QStringLiteral("the running copy did not answer within %1 seconds")
                                 .arg(double(timeout.count()) / 1000.0);
    QLocalSocket socket;
    for (;;) {
        socket.connectToServer(path);
        if (socket.waitForConnected(int(deadline.remainingTime())))
            break;
        // A copy that holds the lock but is still starting up has no socket
        // yet, or not yet one that listens.
        const bool starting = socket.error() == QLocalSocket::ServerNotFoundError ||
                              socket.error() == QLocalSocket::ConnectionRefusedError;
        if (!starting && socket.error() != QLocalSocket::SocketTimeoutError)
            return socket.errorString();
        if (deadline.hasExpired())
            return noAnswer;
        QThread::msleep(20);
    }
    socket.write(encode(request, QDateTime::currentMSecsSinceEpoch() + deadline.remainingTime()));
    while (socket.bytesToWrite() > 0) {
        if (!socket.waitForBytesWritten(int(deadline.remainingTime())))
            return noAnswer;
    }
    while (socket.bytesAvailable() < qsizetype(sizeof kAck - 1)) {
        if (!socket.waitForReadyRead(int(deadline.remainingTime())))
            return socket.state() == QLocalSocket::UnconnectedState
                       ? QStringLiteral("the running copy closed the connection")
                       : noAnswer;
    }
    if (socket.read(sizeof kAck - 1) != kAck)
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
