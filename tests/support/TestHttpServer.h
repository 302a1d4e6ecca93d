#pragma once

#include <QByteArray>
#include <QHash>
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

    bool listen();
    quint16 port() const { return m_port; }
    // "127.0.0.1:port"
    QString hostAndPort() const;
    // "http://127.0.0.1:port" + path
    QString url(const QString &path = QStringLiteral("/")) const;

    void setAnswer(const QString &path, const Answer &answer);
    void setFile(const QString &path, const QByteArray &body) { setAnswer(path, {200, body, -1, false}); }
    void setStatus(const QString &path, int status) { setAnswer(path, {status, QByteArray("error"), -1, false}); }

    // Request targets (path and query) in the order they arrived.
    QStringList requests() const;
    void clearRequests();

private:
    friend class TestHttpServerWorker;
    Answer answerFor(const QString &target);
    void record(const QString &target);

    mutable QMutex m_mutex;
    QHash<QString, Answer> m_answers;
    QStringList m_requests;
    QThread m_thread;
    QObject *m_worker = nullptr;
    quint16 m_port = 0;
};
