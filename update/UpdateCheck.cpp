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
    m_earlierBytes = 0;
    m_body.clear();
    request(address);
    m_timer.start(m_timeoutMs);
}

void UpdateCheck::request(const QUrl &address)
{
    QNetworkRequest request(address);
    // Redirects are followed one request at a time (metaData), by the
    // same rules as the update itself: no other server, no loop.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    m_reply = m_manager.get(request);
    m_reply->setReadBufferSize(UpdateDownloader::readAheadBytes);
    connect(m_reply, &QNetworkReply::metaDataChanged, this, &UpdateCheck::metaData);
    connect(m_reply, &QNetworkReply::finished, this, &UpdateCheck::replyFinished);
    // Read as it comes (the network layer holds little), and no endless
    // file: every answer of the check counts against one bound.
    connect(m_reply, &QIODevice::readyRead, this, [this] {
        if (!m_reply || !m_refusal.isEmpty())
            return;
        m_body += m_reply->readAll();
        if (m_earlierBytes + m_body.size() > UpdateDownloader::maxInfoBytes)
            refuse(tooLarge());
    });
}

QString UpdateCheck::tooLarge()
{
    return UpdateDownloader::tr("%1 is larger than %2 bytes")
        .arg(QStringLiteral("config.ini"))
        .arg(UpdateDownloader::maxInfoBytes);
}

void UpdateCheck::refuse(const QString &why)
{
    if (!m_reply || !m_refusal.isEmpty())
        return;
    m_refusal = why;
    m_reply->abort(); // finishes the reply; replyFinished reports
}

// A redirect is judged on its headers, before its size, by the update's own
// rules (no other server, no loop), and its body is not read.
void UpdateCheck::metaData()
{
    QNetworkReply *reply = m_reply;
    if (!reply || m_timedOut || !m_refusal.isEmpty())
        return;
    if (!UpdateDownloader::isRedirect(reply)) {
        const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid() && m_earlierBytes + length.toLongLong() > UpdateDownloader::maxInfoBytes)
            refuse(tooLarge());
        return;
    }
    m_reply = nullptr;
    disconnect(reply, nullptr, this, nullptr);
    m_earlierBytes += reply->bytesAvailable();
    QUrl next;
    QString why = UpdateDownloader::redirectRefusal(m_home, reply, &m_seen, &next);
    UpdateDownloader::discard(reply);
    if (why.isEmpty() && m_earlierBytes > UpdateDownloader::maxInfoBytes)
        why = tooLarge();
    if (why.isEmpty()) {
        // The time-out runs on over the next address.
        request(next);
        return;
    }
    m_timer.stop();
    done(Failed, why);
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
    m_body += reply->readAll();
    if (!AtomicFile::writeWhole(copyPath, m_body, &error)) {
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
