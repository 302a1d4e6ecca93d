#pragma once

#include <QByteArray>
#include <QHash>
#include <QHostAddress>
#include <QMutex>
#include <QString>
#include <QStringList>
#include <QThread>

class QTcpServer;

// A small HTTP/1.1 server on 127.0.0.1 for update tests. It runs on a thread
// of its own, so it also answers while the test blocks on a child process.
// Paths it has no answer for get 404. Every response closes its connection.
class TestHttpServer
{
public:
    struct Answer
    {
        int status = 200;
        QByteArray body;
        // Bytes of the body actually sent before the connection is closed;
        // -1 sends it whole. Content-Length always announces the whole body.
        qint64 sendBytes = -1;
        // Accept the request and never answer.
        bool silent = false;
    };

    TestHttpServer();
    ~TestHttpServer();

    // address: any loopback address (127.0.0.2 stands for "another host").
    bool listen(const QHostAddress &address = QHostAddress(QHostAddress::LocalHost));
    quint16 port() const { return m_port; }
    // "127.0.0.1:port"
    QString hostAndPort() const;
    // "http://127.0.0.1:port" + path
    QString url(const QString &path = QStringLiteral("/")) const;

    void setAnswer(const QString &path, const Answer &answer);
    void setFile(const QString &path, const QByteArray &body) { setAnswer(path, {200, body, -1, false}); }
    void setStatus(const QString &path, int status) { setAnswer(path, {status, QByteArray("error"), -1, false}); }
    // A 302 answer sending the client to location.
    void setRedirect(const QString &path, const QString &location);
    // The same with a body generated while it is sent: bodyBytes of it, or
    // without end when bodyBytes is -1; Content-Length announces `announced`
    // (none when -1), whatever is sent.
    void setRedirectStream(const QString &path, const QString &location, qint64 bodyBytes, qint64 announced = -1);
    // A body of bytes generated while it is sent (never held whole), with its
    // Content-Length; announce 0 sends no Content-Length.
    void setStream(const QString &path, qint64 bytes, bool announce = true);
    // Headers, then one byte every 200 ms for as long as the client listens.
    void setTrickle(const QString &path);

    // Bytes the server has handed to the system for answers to path, headers
    // included.
    qint64 bytesSent(const QString &path) const;

    // Request targets (path and query) in the order they arrived.
    QStringList requests() const;
    void clearRequests();

private:
    friend class TestHttpServerWorker;
    Answer answerFor(const QString &target);
    void record(const QString &target);
    void addSent(const QString &path, qint64 bytes);

    mutable QMutex m_mutex;
    QHash<QString, Answer> m_answers;
    struct Redirect
    {
        QString location;
        qint64 bodyBytes = 0;
        qint64 announced = 0;
    };
    QHash<QString, Redirect> m_redirects;
    QHash<QString, qint64> m_sent;
    QHash<QString, QPair<qint64, bool>> m_streams;
    QStringList m_trickles;
    QHostAddress m_address;
    QStringList m_requests;
    QThread m_thread;
    QObject *m_worker = nullptr;
    quint16 m_port = 0;
};
