#include "mainwindow/UpdateCheck.h"

#include "app/SettingsText.h"
#include "mainwindow/UpdateDates.h"

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
    m_reply = m_manager.get(QNetworkRequest(QUrl(server + QStringLiteral("config.ini"))));
    connect(m_reply, &QNetworkReply::finished, this, &UpdateCheck::replyFinished);
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
    if (reply->error() != QNetworkReply::NoError) {
        qDebug() << "error";
        done(Failed, reply->errorString());
        return;
    }
    const QDir dir(m_workDir);
    const QString copyPath = dir.filePath(QStringLiteral("update-tmp/config-check.ini"));
    QFile copy(copyPath);
    if (!copy.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        done(Failed, copy.errorString());
        return;
    }
    const QByteArray body = reply->readAll();
    if (copy.write(body) != body.size() || !copy.flush()) {
        done(Failed, copy.errorString());
        return;
    }
    copy.close();

    QSettings local(dir.filePath(QStringLiteral("config.ini")), QSettings::IniFormat);
    QSettings remote(copyPath, QSettings::IniFormat);
    const UpdateDates remoteDates = UpdateDates::read(remote);
    if (remote.status() != QSettings::NoError || !remoteDates.anyValid()) {
        done(Failed, tr("the server's config.ini holds no update dates"));
        return;
    }
    done(UpdateDates::anyPackageNewer(remoteDates, UpdateDates::read(local)) ? UpdatesAvailable : UpToDate, QString());
}
