#include "update/UpdateCheck.h"

#include "app/AtomicFile.h"
#include "app/SettingsText.h"
#include "update/UpdateDates.h"
#include "update/UpdateDownloader.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSettings>

UpdateCheck::UpdateCheck(const QString &workDir, int timeoutMs, QObject *parent)
    : QObject(parent), m_workDir(workDir), m_timeoutMs(timeoutMs)
{
    m_timer.setSingleShot(true);
    // A coarse timer may fire up to 5 % early.
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &UpdateCheck::timedOut);
}

UpdateCheck::~UpdateCheck()
{
    if (m_reply) {
        disconnect(m_reply, nullptr, this, nullptr);
        m_reply->abort();
        m_reply->deleteLater();
    }
}

void UpdateCheck::start()
{
    if (m_reply)
        return;
    const QDir dir(m_workDir);
    QSettings local(dir.filePath(QStringLiteral("config.ini")), QSettings::IniFormat);
    const QString server = settingsText(local, QStringLiteral("UpdateInfo/server"));
    m_timedOut = false;
    m_refusal.clear();
    const QUrl home(server);
    QNetworkRequest request(QUrl(server + QStringLiteral("config.ini")));
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::UserVerifiedRedirectPolicy);
    m_reply = m_manager.get(request);
    connect(m_reply, &QNetworkReply::finished, this, &UpdateCheck::replyFinished);
    // The same rules as the update itself: no other server, no endless file.
    connect(m_reply, &QNetworkReply::redirected, this, [this, home](const QUrl &to) {
        if (!m_reply)
            return;
        const QUrl target = m_reply->url().resolved(to);
        const int port = home.scheme() == QLatin1String("https") ? 443 : 80;
        if (target.scheme().compare(home.scheme(), Qt::CaseInsensitive) == 0
            && target.host().compare(home.host(), Qt::CaseInsensitive) == 0 && target.port(port) == home.port(port)) {
            emit m_reply->redirectAllowed();
            return;
        }
        m_refusal = UpdateDownloader::tr("the server sent the request on to another address, %1")
                        .arg(target.authority());
        m_reply->abort();
    });
    connect(m_reply, &QNetworkReply::downloadProgress, this, [this](qint64 received, qint64 total) {
        if (!m_reply || !m_refusal.isEmpty())
            return;
        if (received > UpdateDownloader::maxInfoBytes || total > UpdateDownloader::maxInfoBytes) {
            m_refusal = UpdateDownloader::tr("%1 is larger than %2 bytes")
                            .arg(QStringLiteral("config.ini"))
                            .arg(UpdateDownloader::maxInfoBytes);
            m_reply->abort();
        }
    });
    m_timer.start(m_timeoutMs);
}

void UpdateCheck::timedOut()
{
    if (!m_reply)
        return;
    m_timedOut = true;
    m_reply->abort(); // finishes the reply; replyFinished reports
}

void UpdateCheck::done(Result result, const QString &detail)
{
    emit finished(result, detail);
}

void UpdateCheck::replyFinished()
{
    QNetworkReply *reply = m_reply;
    if (!reply)
        return;
    m_reply = nullptr;
    m_timer.stop();
    reply->deleteLater();

    if (m_timedOut) {
        done(Failed, tr("no answer within %1 ms").arg(m_timeoutMs));
        return;
    }
    if (!m_refusal.isEmpty()) {
        done(Failed, m_refusal);
        return;
    }
    if (reply->error() != QNetworkReply::NoError) {
        qDebug() << "error";
        done(Failed, reply->errorString());
        return;
    }
    const QDir dir(m_workDir);
    const QString copyPath = dir.filePath(QStringLiteral("update-tmp/config-check.ini"));
    QString error;
    if (!AtomicFile::writeWhole(copyPath, reply->readAll(), &error)) {
        done(Failed, error);
        return;
    }

    QSettings local(dir.filePath(QStringLiteral("config.ini")), QSettings::IniFormat);
    QSettings remote(copyPath, QSettings::IniFormat);
    const UpdateDates remoteDates = UpdateDates::read(remote);
    if (remote.status() != QSettings::NoError || !remoteDates.anyValid()) {
        done(Failed, tr("the server's config.ini holds no update dates"));
        return;
    }
    done(UpdateDates::anyPackageNewer(remoteDates, UpdateDates::read(local)) ? UpdatesAvailable : UpToDate, QString());
}
