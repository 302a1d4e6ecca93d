#pragma once

#include <QByteArray>
#include <QNetworkAccessManager>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QUrl>

class QNetworkReply;

// The start-up update check: fetches the server's "config.ini" (address from
// "UpdateInfo/server" of the local "config.ini", no default), keeps a copy as
// "update-tmp/config-check.ini" and tells whether the program, the catalogue
// or the other files are newer there. It never blocks: the answer comes as
// finished(), at the latest when the time-out has run out.
class UpdateCheck : public QObject
{
    Q_OBJECT
public:
    enum Result {
        UpdatesAvailable,
        UpToDate,
        Failed, // time-out, network error, copy not writable, nothing readable
    };
    Q_ENUM(Result)

    static constexpr int defaultTimeoutMs = 5000;

    explicit UpdateCheck(const QString &workDir = QStringLiteral("."), int timeoutMs = defaultTimeoutMs,
                         QObject *parent = nullptr);
    ~UpdateCheck() override;

    void start();
    bool isRunning() const { return m_reply != nullptr; }

signals:
    void finished(UpdateCheck::Result result, const QString &detail);

private:
    void request(const QUrl &address);
    void metaData();
    void refuse(const QString &why);
    static QString tooLarge();
    void replyFinished();
    void timedOut();
    void done(Result result, const QString &detail);

    QString m_workDir;
    int m_timeoutMs;
    QString m_refusal; // why the answer was refused, when it was
    QUrl m_home;       // the configured server
    QStringList m_seen; // addresses asked, for redirect loops
    qint64 m_earlierBytes = 0; // what the check's earlier answers (redirects) delivered
    QByteArray m_body;         // the answer read so far
    QNetworkAccessManager m_manager;
    QTimer m_timer;
    QNetworkReply *m_reply = nullptr;
    bool m_timedOut = false;
};
