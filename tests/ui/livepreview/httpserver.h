#pragma once

// A small HTTP server on the loopback address, in the test's own thread,
// that answers the ways a picture server can: a picture, a trickle, a huge
// body (declared or endless), a missing file, something that is no picture.
#include <QBuffer>
#include <QHash>
#include <QImage>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

namespace quorvane::test {

class PictureServer : public QObject
{
public:
    QHash<QByteArray, int> requests; // path -> how many times asked

    PictureServer()
    {
        QImage picture(7, 5, QImage::Format_RGB32);
        picture.fill(Qt::red);
        QBuffer buffer(&m_png);
        buffer.open(QIODevice::WriteOnly);
        picture.save(&buffer, "PNG");
        m_server.listen(QHostAddress::LocalHost);
        QObject::connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = m_server.nextPendingConnection())
                QObject::connect(socket, &QTcpSocket::readyRead, this,
                                 [this, socket] { answer(socket); });
        });
    }
    QString url(const char *path) const
    {
        return QStringLiteral("http://127.0.0.1:%1%2")
            .arg(m_server.serverPort())
            .arg(QLatin1String(path));
    }
    int total() const
    {
        int sum = 0;
        for (int count : requests)
            sum += count;
        return sum;
    }

private:
    void answer(QTcpSocket *socket)
    {
        m_requestText[socket] += socket->readAll();
        const QByteArray &request = m_requestText[socket];
        if (!request.contains("\r\n\r\n"))
            return;
        const QByteArray path = request.split(' ').value(1);
        m_requestText.remove(socket);
        ++requests[path];
        if (path == "/picture.png") {
            reply(socket, "200 OK", m_png);
        } else if (path == "/missing.png") {
            reply(socket, "404 Not Found", "no such picture");
        } else if (path == "/text.png") {
            reply(socket, "200 OK", "this is not a picture");
        } else if (path == "/slow.png") {
            // Declared small, sent a byte at a time: never silent, never done.
            socket->write("HTTP/1.1 200 OK\r\nContent-Type: image/png\r\n"
                          "Content-Length: 100000\r\n\r\n");
            auto *drip = new QTimer(socket);
            QObject::connect(drip, &QTimer::timeout, socket, [socket] { socket->write("x"); });
            drip->start(20);
        } else if (path == "/huge.png" || path == "/endless.png") {
            socket->write(path == "/huge.png" ? "HTTP/1.1 200 OK\r\nContent-Type: image/png\r\n"
                                                "Content-Length: 1000000000\r\n\r\n"
                                              : "HTTP/1.1 200 OK\r\nContent-Type: image/png\r\n"
                                                "Connection: close\r\n\r\n");
            const QByteArray block(64 * 1024, 'z');
            QPointer<QTcpSocket> guard(socket);
            QObject::connect(socket, &QTcpSocket::bytesWritten, socket, [socket, block] {
                if (socket->bytesToWrite() < block.size())
                    socket->write(block);
            });
            socket->write(block);
        } else {
            reply(socket, "404 Not Found", "");
        }
    }
    static void reply(QTcpSocket *socket, const char *status, const QByteArray &body)
    {
        socket->write("HTTP/1.1 " + QByteArray(status) + "\r\nContent-Length: " +
                      QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body);
        socket->disconnectFromHost();
    }

    QTcpServer m_server;
    QByteArray m_png;
    QHash<QTcpSocket *, QByteArray> m_requestText;
};

} // namespace quorvane::test
