#include "update/UpdateCheck.h"

#include "app/AtomicFile.h"
#include "app/CheckedFile.h"
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
    const auto localFile = CheckedFile::settings(dir.filePath(QStringLiteral("config.ini")));
    const QSettings &local = *localFile;
    const QString server = settingsText(local, QStringLiteral("UpdateInfo/server"));
    m_timedOut = false;
    m_refusal.clear();
    m_home = QUrl(server);
    const QUrl address(server + QStringLiteral("config.ini"));
    m_seen = QStringList{address.adjusted(QUrl::RemoveFragment).toString()};
    request(address);
    m_timer.start(m_timeoutMs);
}

void UpdateCheck::request(const QUrl &address)
{
    QNetworkRequest request(address);
    // Redirects are followed one request at a time (replyFinished), by the
    // same rules as the update itself: no other server, no loop.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    m_reply = m_manager.get(request);
    connect(m_reply, &QNetworkReply::finished, this, &UpdateCheck::replyFinished);
    // No endless file.
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
    reply->deleteLater();
    if (!m_timedOut && m_refusal.isEmpty() && reply->error() == QNetworkReply::NoError
        && UpdateDownloader::isRedirect(reply)) {
        // Nothing of a redirect is kept; the time-out runs on over the next address.
        QUrl next;
        const QString why = UpdateDownloader::redirectRefusal(m_home, reply, &m_seen, &next);
        if (why.isEmpty()) {
            request(next);
            return;
        }
        m_refusal = why;
    }
    m_timer.stop();

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

    const auto localFile = CheckedFile::settings(dir.filePath(QStringLiteral("config.ini")));
    const QSettings &local = *localFile;
    QSettings remote(copyPath, QSettings::IniFormat);
    const UpdateDates remoteDates = UpdateDates::read(remote);
    if (remote.status() != QSettings::NoError || !remoteDates.anyValid()) {
        done(Failed, tr("the server's config.ini holds no update dates"));
        return;
    }
    done(UpdateDates::anyPackageNewer(remoteDates, UpdateDates::read(local)) ? UpdatesAvailable : UpToDate, QString());
}
