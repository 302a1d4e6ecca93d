#include "TestHttpServer.h"

#include <QMutexLocker>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUrl>

class TestHttpServerWorker : public QObject
{
public:
    explicit TestHttpServerWorker(TestHttpServer *owner) : m_owner(owner) {}

    quint16 listen()
    {
        m_server = new QTcpServer(this);
        if (!m_server->listen(QHostAddress::LocalHost, 0))
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

bool TestHttpServer::listen()
{
    quint16 port = 0;
    auto *worker = static_cast<TestHttpServerWorker *>(m_worker);
    QMetaObject::invokeMethod(m_worker, [worker, &port] { port = worker->listen(); }, Qt::BlockingQueuedConnection);
    m_port = port;
    return port != 0;
}

QString TestHttpServer::hostAndPort() const
{
    return QStringLiteral("127.0.0.1:%1").arg(m_port);
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
