#include "TestHttpServer.h"

#include <QMutexLocker>
#include <memory>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QUrl>

class TestHttpServerWorker : public QObject
{
public:
    explicit TestHttpServerWorker(TestHttpServer *owner) : m_owner(owner) {}

    quint16 listen(const QHostAddress &address)
    {
        m_server = new QTcpServer(this);
        if (!m_server->listen(address, 0))
            return 0;
        connect(m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = m_server->nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] { readRequest(socket); });
                connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
        return m_server->serverPort();
    }

private:
    // Sends a body generated in pieces as the socket drains, so it is never
    // held whole: `bytes` of it, or without end when bytes is -1 (until the
    // client goes). The connection closes after the last byte.
    static void streamBody(QTcpSocket *socket, qint64 bytes)
    {
        // A small send buffer in the system, so that what bytesSent() counts
        // is what the client took, not megabytes waiting in this side's kernel.
        socket->setSocketOption(QAbstractSocket::SendBufferSizeSocketOption, 64 * 1024);
        const bool endless = bytes < 0;
        auto left = std::make_shared<qint64>(bytes);
        auto done = std::make_shared<bool>(false);
        auto more = [socket, left, done, endless] {
            while (!*done && (endless || *left > 0) && socket->state() == QAbstractSocket::ConnectedState
                   && socket->bytesToWrite() < 1024 * 1024) {
                const qint64 n = endless ? 256 * 1024 : qMin<qint64>(*left, 256 * 1024);
                socket->write(QByteArray(int(n), '['));
                *left -= n;
            }
            if (!*done && !endless && *left == 0) {
                *done = true;
                socket->disconnectFromHost();
            }
        };
        connect(socket, &QTcpSocket::bytesWritten, socket, more);
        more();
    }

    void readRequest(QTcpSocket *socket)
    {
        QByteArray buffer = socket->property("buffer").toByteArray() + socket->readAll();
        socket->setProperty("buffer", buffer);
        if (socket->property("answered").toBool() || !buffer.contains("\r\n\r\n"))
            return;
        socket->setProperty("answered", true);
        const QList<QByteArray> requestLine = buffer.left(buffer.indexOf("\r\n")).split(' ');
        const QString target = requestLine.size() >= 2 ? QString::fromLatin1(requestLine.at(1)) : QString();
        m_owner->record(target);
        const QString path = QUrl(target).path();
        TestHttpServer *owner = m_owner;
        connect(socket, &QTcpSocket::bytesWritten, socket, [owner, path](qint64 n) { owner->addSent(path, n); });
        TestHttpServer::Redirect redirect;
        QPair<qint64, bool> stream{-1, false};
        bool trickle = false;
        {
            QMutexLocker lock(&m_owner->m_mutex);
            redirect = m_owner->m_redirects.value(path);
            stream = m_owner->m_streams.value(path, stream);
            trickle = m_owner->m_trickles.contains(path);
        }
        if (!redirect.location.isEmpty()) {
            socket->write("HTTP/1.1 302 Found\r\nLocation: " + redirect.location.toUtf8() + "\r\n"
                          + (redirect.announced >= 0
                                 ? "Content-Length: " + QByteArray::number(redirect.announced) + "\r\n"
                                 : QByteArray())
                          + "Connection: close\r\n\r\n");
            if (redirect.bodyBytes == 0)
                socket->disconnectFromHost();
            else
                streamBody(socket, redirect.bodyBytes);
            return;
        }
        if (stream.first >= 0) {
            socket->write("HTTP/1.1 200 OK\r\nContent-Type: application/octet-stream\r\n"
                          + (stream.second ? "Content-Length: " + QByteArray::number(stream.first) + "\r\n"
                                           : QByteArray())
                          + "Connection: close\r\n\r\n");
            streamBody(socket, stream.first);
            return;
        }
        if (trickle) {
            socket->write("HTTP/1.1 200 OK\r\nContent-Type: application/octet-stream\r\nContent-Length: 100000\r\n"
                          "Connection: close\r\n\r\n");
            auto *timer = new QTimer(socket);
            connect(timer, &QTimer::timeout, socket, [socket] { socket->write("x"); });
            timer->start(200);
            return;
        }
        const TestHttpServer::Answer answer = m_owner->answerFor(target);
        if (answer.silent)
            return;
        QByteArray head = "HTTP/1.1 " + QByteArray::number(answer.status)
            + (answer.status == 200 ? " OK" : " Error") + "\r\nContent-Type: application/octet-stream\r\n"
            + "Content-Length: " + QByteArray::number(answer.body.size()) + "\r\nConnection: close\r\n\r\n";
        socket->write(head);
        socket->write(answer.sendBytes < 0 ? answer.body : answer.body.left(answer.sendBytes));
        socket->disconnectFromHost();
    }

    TestHttpServer *m_owner;
    QTcpServer *m_server = nullptr;
};

TestHttpServer::TestHttpServer()
{
    m_thread.setObjectName(QStringLiteral("TestHttpServer"));
    m_thread.start();
    m_worker = new TestHttpServerWorker(this);
    m_worker->moveToThread(&m_thread);
}

TestHttpServer::~TestHttpServer()
{
    QMetaObject::invokeMethod(m_worker, [this] { delete m_worker; }, Qt::BlockingQueuedConnection);
    m_thread.quit();
    m_thread.wait();
}

bool TestHttpServer::listen(const QHostAddress &address)
{
    quint16 port = 0;
    m_address = address;
    auto *worker = static_cast<TestHttpServerWorker *>(m_worker);
    QMetaObject::invokeMethod(
        m_worker, [worker, &port, address] { port = worker->listen(address); }, Qt::BlockingQueuedConnection);
    m_port = port;
    return port != 0;
}

QString TestHttpServer::hostAndPort() const
{
    return QStringLiteral("%1:%2").arg(m_address.toString()).arg(m_port);
}

QString TestHttpServer::url(const QString &path) const
{
    return QStringLiteral("http://") + hostAndPort() + path;
}

void TestHttpServer::setAnswer(const QString &path, const Answer &answer)
{
    QMutexLocker lock(&m_mutex);
    m_answers.insert(path, answer);
}

void TestHttpServer::setRedirect(const QString &path, const QString &location)
{
    QMutexLocker lock(&m_mutex);
    m_redirects.insert(path, {location, 0, 0});
}

void TestHttpServer::setRedirectStream(const QString &path, const QString &location, qint64 bodyBytes,
                                       qint64 announced)
{
    QMutexLocker lock(&m_mutex);
    m_redirects.insert(path, {location, bodyBytes, announced});
}

qint64 TestHttpServer::bytesSent(const QString &path) const
{
    QMutexLocker lock(&m_mutex);
    return m_sent.value(path);
}

void TestHttpServer::addSent(const QString &path, qint64 bytes)
{
    QMutexLocker lock(&m_mutex);
    m_sent[path] += bytes;
}

void TestHttpServer::setStream(const QString &path, qint64 bytes, bool announce)
{
    QMutexLocker lock(&m_mutex);
    m_streams.insert(path, {bytes, announce});
}

void TestHttpServer::setTrickle(const QString &path)
{
    QMutexLocker lock(&m_mutex);
    m_trickles.append(path);
}

QStringList TestHttpServer::requests() const
{
    QMutexLocker lock(&m_mutex);
    return m_requests;
}

void TestHttpServer::clearRequests()
{
    QMutexLocker lock(&m_mutex);
    m_requests.clear();
}

TestHttpServer::Answer TestHttpServer::answerFor(const QString &target)
{
    const QString path = QUrl(target).path();
    QMutexLocker lock(&m_mutex);
    const auto it = m_answers.constFind(path);
    if (it != m_answers.constEnd())
        return *it;
    return {404, QByteArray("not found"), -1, false};
}

void TestHttpServer::record(const QString &target)
{
    QMutexLocker lock(&m_mutex);
    m_requests.append(target);
}
