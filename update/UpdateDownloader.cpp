#include "update/UpdateDownloader.h"

#include "app/AtomicFile.h"
#include "app/CheckedFile.h"
#include "app/QuotedValue.h"
#include "app/SettingsText.h"
#include "app/SettingsWriter.h"
#include "update/ZipUnpacker.h"

#include <QCryptographicHash>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QThread>

#include <climits>

bool UpdateDownloader::isFailure(Status status)
{
    switch (status) {
    case CannotSave:
    case ServerNotFound:
    case Canceled:
    case BadServerInfo:
    case UnpackFailed:
    case RecordFailed:
    case UpdaterFailed:
    case Refused:
        return true;
    default:
        return false;
    }
}

QString UpdateDownloader::makerServer()
{
    QString host = qEnvironmentVariable("IRVANTA_TEST_UPDATE_HOST");
    if (host.isEmpty())
        host = QStringLiteral("update.irvanta.invalid");
    return QStringLiteral("http://") + host + QStringLiteral("/Irvanta/");
}

QString UpdateDownloader::reportHash(const QString &company)
{
    QCryptographicHash md5(QCryptographicHash::Md5);
    md5.addData(QByteArrayLiteral("Irvanta"));
    md5.addData(company.toUtf8());
    return QString::fromLatin1(md5.result().toHex());
}

QUrl UpdateDownloader::companyReportUrl(const QString &company, const QString &address, const QString &contact)
{
    // Every value is percent-encoded, so "&", "=", "+" or "#" in a company
    // name cannot change the query.
    const auto enc = [](const QString &v) { return QString::fromLatin1(QUrl::toPercentEncoding(v)); };
    QUrl url(makerServer() + QStringLiteral("index.php"));
    url.setQuery(QStringLiteral("company=") + enc(company) + QStringLiteral("&address=") + enc(address)
                     + QStringLiteral("&contact=") + enc(contact) + QStringLiteral("&hash=") + reportHash(company),
                 QUrl::StrictMode);
    return url;
}

namespace {

int defaultPort(const QUrl &url)
{
    if (url.scheme().compare(QLatin1String("https"), Qt::CaseInsensitive) == 0)
        return 443;
    if (url.scheme().compare(QLatin1String("http"), Qt::CaseInsensitive) == 0)
        return 80;
    return -1;
}

// "scheme://host:port" of an address, nothing else of it.
QString serverOf(const QUrl &url)
{
    QUrl server;
    server.setScheme(url.scheme());
    server.setHost(url.host());
    server.setPort(url.port(defaultPort(url)));
    return server.toString();
}

// Whether an address that names a server ("scheme://…" or "//…") names a
// host that is one; a path on the same server names none and passes.
bool namesValidHost(const QString &address)
{
    static const QRegularExpression authority(QStringLiteral("^(?:[A-Za-z][A-Za-z0-9+.-]*:)?//([^/?#]*)"));
    const QRegularExpressionMatch match = authority.match(address);
    if (!match.hasMatch())
        return true;
    QString host = match.captured(1);
    host = host.mid(host.lastIndexOf(QLatin1Char('@')) + 1);
    if (host.startsWith(QLatin1Char('[')))
        host = host.left(host.indexOf(QLatin1Char(']')) + 1);
    else
        host = host.left(host.indexOf(QLatin1Char(':')));
    QUrl probe;
    probe.setHost(host);
    return probe.isValid() && !probe.host().isEmpty();
}

} // namespace

QString UpdateDownloader::redirectRefusal(const QUrl &home, const QUrl &target, QStringList *seen)
{
    if (target.scheme().compare(home.scheme(), Qt::CaseInsensitive) != 0
        || target.host().compare(home.host(), Qt::CaseInsensitive) != 0
        || target.port(defaultPort(target)) != home.port(defaultPort(home))) {
        // The scheme too: "https://" on our own host and port is another server.
        return tr("the server sent the request on to another address, %1").arg(serverOf(target));
    }
    const QString address = target.adjusted(QUrl::RemoveFragment).toString();
    if (seen->contains(address))
        return tr("the server redirected the request in a loop");
    // The first entry is the address first asked.
    if (seen->size() > maxRedirects)
        return tr("the server redirected the request more than %n time(s)", nullptr, maxRedirects);
    seen->append(address);
    return QString();
}

QString UpdateDownloader::redirectRefusal(const QUrl &home, const QUrl &from, const QByteArray &location,
                                          QStringList *seen, QUrl *next)
{
    // Read as the network layer reads it: UTF-8, else Latin-1.
    QString text = QString::fromUtf8(location).trimmed();
    QUrl to(text);
    if (!to.isValid()) {
        text = QString::fromLatin1(location).trimmed();
        to = QUrl(text);
    }
    if (text.isEmpty())
        return tr("the server answered with a redirect that names no address");
    const QUrl target = from.resolved(to);
    if (!namesValidHost(text) || (target.isValid() && target.host().isEmpty()))
        return tr("the server sent the request on to an address whose host is not valid, %1")
            .arg(QuotedValue::cut(text));
    if (!target.isValid())
        return tr("the server sent the request on to an address that is not valid, %1").arg(QuotedValue::cut(text));
    *next = target;
    return redirectRefusal(home, target, seen);
}

QString UpdateDownloader::redirectRefusal(const QUrl &home, const QNetworkReply *reply, QStringList *seen, QUrl *next)
{
    return redirectRefusal(home, reply->url(), reply->rawHeader("Location"), seen, next);
}

bool UpdateDownloader::isRedirect(const QNetworkReply *reply)
{
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    return status >= 300 && status < 400;
}

void UpdateDownloader::discard(QNetworkReply *reply)
{
    QMetaObject::invokeMethod(
        reply,
        [reply] {
            reply->abort();
            reply->deleteLater();
        },
        Qt::QueuedConnection);
}

qint64 UpdateDownloader::progressValue(qint64 bytesRead, qint64 totalBytes, int finishedCount, int totalFiles)
{
    if (totalFiles <= 0)
        return bytesRead;
    return (bytesRead + qint64(finishedCount - 1) * totalBytes) / totalFiles;
}

UpdateDownloader::UpdateDownloader(const QString &workDir, QObject *parent) : QObject(parent), m_workDir(workDir)
{
    deadline.setSingleShot(true);
    connect(&deadline, &QTimer::timeout, this, [this] {
        refuse(tr("the server %1 did not send %2 within %n second(s)", nullptr, (deadlineMs() + 999) / 1000)
                   .arg(QUrl(server).host(), url.fileName()));
    });
}

UpdateDownloader::~UpdateDownloader()
{
    // Nothing may run on once the sequence is gone.
    httpRequestAborted = true;
    running = false;
    if (reply) {
        disconnect(reply, nullptr, this, nullptr);
        reply->abort();
        reply->deleteLater();
        reply = nullptr;
    }
    dropFile(true);
    stopUnpacking();
}

void UpdateDownloader::stopUnpacking()
{
    if (!unpacker)
        return;
    stopUnpack = true;
    unpacker->requestInterruption();
    unpacker->wait();
    delete unpacker;
    unpacker = nullptr;
}

void UpdateDownloader::refuse(const QString &reason)
{
    if (!reply || !refusal.isEmpty())
        return;
    refusal = reason;
    reply->abort();
}

qint64 UpdateDownloader::sizeLimit() const
{
    return step == 0 ? maxInfoBytes : maxPackageBytes;
}

int UpdateDownloader::deadlineMs() const
{
    return step == 0 ? checkDeadlineMs : packageDeadlineMs;
}

QString UpdateDownloader::path(const QString &relative) const
{
    return QDir(m_workDir).filePath(relative);
}

void UpdateDownloader::report(Status status, const QStringList &details)
{
    emit statusChanged(status, details);
}

void UpdateDownloader::stop(Status status, const QStringList &details)
{
    running = false;
    deadline.stop();
    report(status, details);
}

void UpdateDownloader::start()
{
    const auto localFile = CheckedFile::settings(path(QStringLiteral("config.ini")));
    const QSettings &local = *localFile;
    server = settingsText(local, QStringLiteral("UpdateInfo/server"));
    if (server.isEmpty())
        server = makerServer();
    step = 0;
    finishedCount = 0;
    remoteUpdateDate = QDate();
    needUpdate = needMain = needDatabase = needOther = needDistributor = 0;
    totalFiles = 0;
    bool ok = false;
    const qint64 mib = local.value(QStringLiteral("UpdateInfo/maxPackageMiB")).toLongLong(&ok);
    if (ok && mib > 0)
        maxPackageBytes = mib * 1024 * 1024;
    running = true;
    checkNextDownloadFile();
}

void UpdateDownloader::cancelDownload()
{
    if (!running)
        return;
    running = false;
    report(Canceled);
    httpRequestAborted = true;
    deadline.stop();
    stopUnpack = true;
    if (reply)
        reply->abort();
}

void UpdateDownloader::checkNextDownloadFile()
{
    if (!running)
        return;
    if (step == 0) {
        report(Checking);
        url = QUrl(server + QStringLiteral("config.ini"));
        downloadFile(url);
        return;
    }
    if (step == 1 && finishedCount == 1 && !readServerInfo())
        return;

    if (!needMain && !needDatabase && !needOther) {
        stop(NothingToFetch);
        return;
    }
    report(Downloading);
    for (; step < 6; ++step) {
        QString name;
        switch (step) {
        case 1:
            if (needUpdate)
                name = QStringLiteral("update-software.zip");
            break;
        case 2:
            if (needMain)
                name = QStringLiteral("main.zip");
            break;
        case 3:
            if (needDatabase)
                name = QStringLiteral("rcdb.zip");
            break;
        case 4:
            if (needOther)
                name = QStringLiteral("other.zip");
            break;
        case 5:
            if (needDistributor)
                name = QStringLiteral("distributor-") + distributor + QStringLiteral(".zip");
            break;
        }
        if (!name.isEmpty()) {
            url = QUrl(server + name);
            downloadFile(url);
            return;
        }
    }
    finish();
}

bool UpdateDownloader::readServerInfo()
{
    const auto localFile = CheckedFile::settings(path(QStringLiteral("config.ini")));
    const QSettings &local = *localFile;
    const UpdateDates localDates = UpdateDates::read(local);
    distributor = settingsText(local, QStringLiteral("UpdateInfo/distributor"));
    const QString company = settingsText(local, QStringLiteral("Settings/company"));
    const QString address = settingsText(local, QStringLiteral("Settings/address"));
    const QString contact = settingsText(local, QStringLiteral("Settings/contact"));

    QSettings remote(path(QStringLiteral("update-tmp/config.ini")), QSettings::IniFormat);
    const UpdateDates remoteDates = UpdateDates::read(remote);
    // A file that is no INI file, or one without a single date, tells nothing:
    // saying "no need to update" would pass a broken server off as current.
    if (remote.status() != QSettings::NoError || !remoteDates.anyValid()) {
        stop(BadServerInfo);
        return false;
    }
    remoteUpdateDate = remoteDates.update;
    const int updateMode = remote.value(QStringLiteral("UpdateInfo/updateMode"), 0).toInt();

    qDebug().noquote() << localDates.update.toString(Qt::TextDate);

    if (updateMode == 1)
        sendCompanyReport(company, address, contact);

    needUpdate = UpdateDates::isNewer(remoteDates.update, localDates.update) ? 1 : 0;
    needMain = UpdateDates::isNewer(remoteDates.main, localDates.main) ? 1 : 0;
    needDatabase = UpdateDates::isNewer(remoteDates.database, localDates.database) ? 1 : 0;
    needOther = UpdateDates::isNewer(remoteDates.other, localDates.other) ? 1 : 0;
    needDistributor = ((needMain || needDatabase || needOther) && !distributor.isEmpty()) ? 1 : 0;
    totalFiles = needUpdate + needMain + needDatabase + needOther + needDistributor;
    return true;
}

void UpdateDownloader::sendCompanyReport(const QString &company, const QString &address, const QString &contact)
{
    // Fire and forget: the answer is not read and holds nothing up.
    QNetworkReply *r = networkManager.get(QNetworkRequest(companyReportUrl(company, address, contact)));
    connect(r, &QNetworkReply::finished, r, &QObject::deleteLater);
}

void UpdateDownloader::downloadFile(QUrl url)
{
    const QString relative = QStringLiteral("update-tmp/") + url.fileName();
    if (url.fileName().isEmpty()) {
        stop(CannotSave, {relative, tr("no file name")});
        return;
    }
    // Written whole or not at all: a transfer that fails leaves no part behind.
    file = std::make_unique<AtomicFile>(path(relative));
    if (!file->open()) {
        const QString reason = file->errorString();
        file.reset();
        stop(CannotSave, {relative, reason});
        return;
    }
    refusal.clear();
    redirectsSeen = QStringList{url.adjusted(QUrl::RemoveFragment).toString()};
    earlierBytes = 0;
    // The stall timer of each request does not end a server that keeps
    // sending a byte now and then; this ends the whole step.
    deadline.start(deadlineMs());
    httpRequestAborted = false;
    writeFailed = false;
    startRequest(url);
}

void UpdateDownloader::startRequest(QUrl url)
{
    QNetworkRequest request(url);
    request.setTransferTimeout(transferTimeoutMs);
    // Redirects are followed here, one request each (httpMetaData): Qt's
    // own following can end a loop by handing over the last redirect as the
    // answer.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    reply = networkManager.get(request);
    reply->setReadBufferSize(readAheadBytes);
    connect(reply, &QNetworkReply::metaDataChanged, this, &UpdateDownloader::httpMetaData);
    connect(reply, &QNetworkReply::finished, this, &UpdateDownloader::httpFinished);
    connect(reply, &QIODevice::readyRead, this, &UpdateDownloader::httpReadyRead);
    connect(reply, &QNetworkReply::downloadProgress, this, &UpdateDownloader::updateDataReadProgress);
}

// A redirect is judged on its headers, before its size, and its body is not
// read: it may be endless, and the stall timer never fires while it flows.
// Redirects may move within the server, never to another one (the packages
// it names are started as programs), nor round in a loop.
void UpdateDownloader::httpMetaData()
{
    if (!reply || writeFailed || httpRequestAborted || !refusal.isEmpty())
        return;
    if (isRedirect(reply)) {
        QNetworkReply *redirect = reply;
        reply = nullptr;
        disconnect(redirect, nullptr, this, nullptr);
        // What it delivered unread counts against the step's bound all the same.
        earlierBytes += redirect->bytesAvailable();
        QUrl next;
        QString why = redirectRefusal(QUrl(server), redirect, &redirectsSeen, &next);
        discard(redirect);
        if (why.isEmpty() && earlierBytes > sizeLimit())
            why = tr("%1 is larger than %2 bytes").arg(url.fileName()).arg(sizeLimit());
        if (!why.isEmpty()) {
            dropFile(true);
            stop(Refused, {why});
            return;
        }
        startRequest(next);
        return;
    }
    const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
    if (length.isValid() && earlierBytes + length.toLongLong() > sizeLimit())
        refuse(tr("%1 is larger than %2 bytes").arg(url.fileName()).arg(sizeLimit()));
}

void UpdateDownloader::httpReadyRead()
{
    if (!file || !reply || writeFailed || !refusal.isEmpty())
        return;
    const QByteArray data = reply->readAll();
    if (earlierBytes + file->written() + data.size() > sizeLimit()) {
        refuse(tr("%1 is larger than %2 bytes").arg(url.fileName()).arg(sizeLimit()));
        return;
    }
    if (!file->write(data)) {
        // A disk that takes no more stops the transfer; httpFinished reports it.
        writeFailed = true;
        reply->abort();
    }
}

void UpdateDownloader::dropFile(bool remove)
{
    if (!file)
        return;
    if (remove)
        file->cancel();
    file.reset();
}

namespace {

// AtomicFile's reason names the file; the status line names it already.
QString reasonOnly(const AtomicFile &file)
{
    const QString text = file.errorString();
    const QString prefix = QDir::toNativeSeparators(file.path()) + QStringLiteral(": ");
    return text.startsWith(prefix) ? text.mid(prefix.size()) : text;
}

} // namespace

void UpdateDownloader::httpFinished()
{
    QNetworkReply *finished = qobject_cast<QNetworkReply *>(sender());
    if (!finished || finished != reply)
        return;
    reply = nullptr;
    finished->deleteLater();
    deadline.stop();

    const QString relative = QStringLiteral("update-tmp/") + url.fileName();
    if (writeFailed) {
        const QString reason = file ? reasonOnly(*file) : QString();
        dropFile(true);
        stop(CannotSave, {relative, reason});
        return;
    }
    if (httpRequestAborted) {
        dropFile(true);
        return;
    }
    if (!refusal.isEmpty()) {
        dropFile(true);
        stop(Refused, {refusal});
        return;
    }
    QString failure;
    if (finished->error() != QNetworkReply::NoError) {
        failure = finished->errorString();
    } else {
        // A connection closed before the announced length is a broken file.
        const QVariant length = finished->header(QNetworkRequest::ContentLengthHeader);
        if (file && length.isValid() && file->written() != length.toLongLong())
            failure = tr("received %1 of %2 bytes").arg(file->written()).arg(length.toLongLong());
    }
    if (!failure.isNull()) {
        dropFile(true);
        stop(ServerNotFound, {failure});
        return;
    }
    if (file && !file->commit()) {
        const QString reason = reasonOnly(*file);
        dropFile(true);
        stop(CannotSave, {relative, reason});
        return;
    }
    dropFile(false);
    ++step;
    ++finishedCount;
    checkNextDownloadFile();
}

void UpdateDownloader::updateDataReadProgress(qint64 bytesRead, qint64 totalBytes)
{
    if (httpRequestAborted || step == 0)
        return;
    if (totalBytes <= 0) {
        emit progressChanged(0, 0);
        return;
    }
    qint64 value = progressValue(bytesRead, totalBytes, finishedCount, totalFiles);
    // The bar counts in int; very large packages are shown in KiB steps.
    while (totalBytes > INT_MAX) {
        totalBytes /= 1024;
        value /= 1024;
    }
    emit progressChanged(int(value), int(totalBytes));
}

void UpdateDownloader::finish()
{
    report(AllDownloaded);
    if (needUpdate) {
        report(Unpacking);
        // Unpacking takes long for a large package: it runs on a worker, the
        // window stays responsive and the bar follows it.
        const QString package = path(QStringLiteral("update-tmp/update-software.zip"));
        const QString target = path(QStringLiteral("update"));
        const ZipLimits limits = unpackLimits;
        stopUnpack = false;
        unpackOk = false;
        unpacker = QThread::create([this, package, target, limits] {
            QString error;
            const bool ok = ZipUnpacker::unpack(package, target, &error, limits, &stopUnpack,
                                                [this](qint64 done, qint64 announced) {
                                                    if (announced <= 0)
                                                        return;
                                                    const int value = int(done * 1000 / qMax(done, announced));
                                                    QMetaObject::invokeMethod(this, [this, value] {
                                                        if (running)
                                                            emit progressChanged(value, 1000);
                                                    });
                                                });
            {
                QMutexLocker lock(&unpackMutex);
                unpackError = error;
            }
            unpackOk = ok;
        });
        connect(unpacker, &QThread::finished, this, &UpdateDownloader::unpackFinished);
        unpacker->start();
        return;
    }
    startUpdater();
}

void UpdateDownloader::unpackFinished()
{
    if (!unpacker)
        return;
    unpacker->wait();
    delete unpacker;
    unpacker = nullptr;
    const QString package = path(QStringLiteral("update-tmp/update-software.zip"));
    if (!running) {
        QFile::remove(package);
        return;
    }
    if (!unpackOk) {
        // A refused or damaged package is of no use to anyone.
        QFile::remove(package);
        QString error;
        {
            QMutexLocker lock(&unpackMutex);
            error = unpackError;
        }
        stop(UnpackFailed, {QStringLiteral("update-software.zip"), error});
        return;
    }
    // Through the checked writer: QSettings would leave an empty config.ini
    // on a full disk and report success, and the updater would start anyway.
    QString error;
    if (!SettingsWriter::write(path(QStringLiteral("config.ini")),
                               {{QStringLiteral("UpdateInfo/update"), remoteUpdateDate.toString(Qt::ISODate)}}, &error)) {
        stop(RecordFailed, {QStringLiteral("config.ini"), error});
        return;
    }
    startUpdater();
}

void UpdateDownloader::startUpdater()
{
    const QString updateDir = QFileInfo(path(QStringLiteral("update"))).absoluteFilePath();
    const QString program = QDir(updateDir).filePath(updaterName());
    if (!QProcess::startDetached(program, {QStringLiteral("-A"), QStringLiteral("true")}, updateDir)) {
        stop(UpdaterFailed, {QStringLiteral("update/") + updaterName()});
        return;
    }
    stop(UpdaterStarted);
}
