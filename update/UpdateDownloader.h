#pragma once

#include "update/UpdateDates.h"
#include "update/ZipUnpacker.h"

#include <QDate>
#include <QNetworkAccessManager>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QMutex>
#include <QTimer>
#include <QUrl>

#include <atomic>
#include <memory>

class AtomicFile;
class QNetworkReply;
class QThread;

// The update sequence behind the update dialog: fetches the server's
// "config.ini", decides which packages are newer than the installed ones,
// downloads them one after the other into "update-tmp/", unpacks a new updater
// package into "update/", records its date and starts the external updater.
// Every path is taken relative to the working directory given at
// construction. It shows nothing itself: it reports its state through
// statusChanged() and progressChanged().
class UpdateDownloader : public QObject
{
    Q_OBJECT
public:
    enum Status {
        Checking,        // fetching the server's config.ini
        NothingToFetch,  // nothing newer than what is installed
        Downloading,     // fetching packages
        AllDownloaded,   // every package is in update-tmp/
        Unpacking,       // unpacking the updater package
        UpdaterStarted,  // the external updater runs; the program should end
        CannotSave,      // a download target could not be written (details: path, reason)
        ServerNotFound,  // a transfer failed (details: the network error)
        Canceled,        // cancelled by the user
        BadServerInfo,   // the server's config.ini holds no usable date
        UnpackFailed,    // the updater package could not be unpacked (details: reason)
        RecordFailed,    // the local config.ini could not be written (details: its name, why)
        UpdaterFailed,   // the updater could not be started (details: its path)
        Refused,         // the server's answer was refused (details: why: another host, too large, too slow)
    };
    Q_ENUM(Status)

    static bool isFailure(Status status);

    // Name of the updater inside "update/".
    static QString updaterName() { return QStringLiteral("v-ivizuziz.exe"); }
    // The maker's update server: the base address used when "UpdateInfo/server"
    // is empty, and where the company report goes. Its host is a reserved name
    // that never resolves; IRVANTA_TEST_UPDATE_HOST (host[:port]) replaces it
    // for tests.
    static QString makerServer();
    // MD5 of the product word followed by the UTF-8 company text, lower-case hex.
    static QString reportHash(const QString &company);
    static QUrl companyReportUrl(const QString &company, const QString &address, const QString &contact);
    // Bar position while the package number finished (1-based, counting the
    // config.ini as 0) of files runs: the size of the current file is the unit
    // for every package.
    static qint64 progressValue(qint64 bytesRead, qint64 totalBytes, int finishedCount, int totalFiles);

    // Most redirects one request follows.
    static constexpr int maxRedirects = 10;
    // Why a redirect to target is not followed, empty when it may be: it stays
    // on home's scheme, host and port, comes back to no address the request
    // has asked already (seen, which it joins) and keeps within maxRedirects.
    // Another server is named by scheme, host and port, the port filled in
    // when the address leaves it out.
    static QString redirectRefusal(const QUrl &home, const QUrl &target, QStringList *seen);
    // The same for a redirect from the address `from` whose Location header
    // is `location`: where it leads (*next) and why it is not followed, also
    // when it names no address, or one whose host or form is not valid.
    static QString redirectRefusal(const QUrl &home, const QUrl &from, const QByteArray &location,
                                   QStringList *seen, QUrl *next);
    // The same for a redirect answer.
    static QString redirectRefusal(const QUrl &home, const QNetworkReply *reply, QStringList *seen, QUrl *next);
    // Whether an answer is a redirect (its body is nobody's file).
    static bool isRedirect(const QNetworkReply *reply);
    // Ends an answer that is not wanted, without reading it, once the signal
    // that found it out has returned (aborting inside Qt's own emission is
    // not safe). The caller has disconnected from it.
    static void discard(QNetworkReply *reply);
    // What the network layer reads ahead of the program for one answer: an
    // answer cut off (a redirect, a refused file) costs no more than this.
    static constexpr qint64 readAheadBytes = 64 * 1024;

    // A download that receives nothing for this long fails.
    static constexpr int transferTimeoutMs = 30000;
    // The server's config.ini is a few lines; anything bigger is not one.
    static constexpr qint64 maxInfoBytes = 256 * 1024;
    // Default for the largest package, overridden by "UpdateInfo/maxPackageMiB".
    static constexpr qint64 defaultMaxPackageBytes = qint64(1024) * 1024 * 1024;

    // Each step must be done within its time, redirects included, however
    // slowly the server keeps sending: the check (the server's config.ini)
    // and each package (an hour is 1 GiB at 300 KB/s).
    int checkDeadlineMs = 30000;
    int packageDeadlineMs = 60 * 60 * 1000;
    qint64 maxPackageBytes = defaultMaxPackageBytes;
    // What the updater package may unpack to.
    ZipLimits unpackLimits;

    explicit UpdateDownloader(const QString &workDir = QStringLiteral("."), QObject *parent = nullptr);
    ~UpdateDownloader() override;

    // Reads the server address and starts with the server's config.ini.
    void start();
    // Stops a running transfer; its partial file is removed. Reports Canceled
    // when something was running.
    void cancelDownload();
    // True from start() until the sequence has ended one way or another.
    bool isRunning() const { return running; }

    QString server;
    int step = 0;
    int finishedCount = 0;
    QDate remoteUpdateDate;
    int needUpdate = 0;
    int needMain = 0;
    int needDatabase = 0;
    int needOther = 0;
    int needDistributor = 0;
    int totalFiles = 0;
    QString distributor;
    QUrl url;

signals:
    void statusChanged(UpdateDownloader::Status status, const QStringList &details);
    // maximum 0 means the size is not known.
    void progressChanged(int value, int maximum);

private slots:
    void checkNextDownloadFile();
    void downloadFile(QUrl url);
    void httpFinished();
    void httpReadyRead();
    void httpMetaData();
    void updateDataReadProgress(qint64 bytesRead, qint64 totalBytes);
    void unpackFinished();

private:
    void startRequest(QUrl url);
    bool readServerInfo();
    void sendCompanyReport(const QString &company, const QString &address, const QString &contact);
    void finish();
    void report(Status status, const QStringList &details = {});
    void stop(Status status, const QStringList &details = {});
    QString path(const QString &relative) const;
    void dropFile(bool remove);
    void refuse(const QString &reason);
    qint64 sizeLimit() const;
    int deadlineMs() const;
    void stopUnpacking();
    void startUpdater();

    QNetworkAccessManager networkManager;
    QNetworkReply *reply = nullptr;
    std::unique_ptr<AtomicFile> file;
    QString refusal;
    QStringList redirectsSeen; // addresses the current file was asked at
    qint64 earlierBytes = 0;   // what the step's earlier answers (redirects) delivered
    QTimer deadline;
    QThread *unpacker = nullptr;
    std::atomic<bool> stopUnpack{false};
    QMutex unpackMutex; // guards unpackError
    QString unpackError;
    std::atomic<bool> unpackOk{false};
    bool httpRequestAborted = false;
    bool writeFailed = false;
    bool running = false;
    QString m_workDir;
};
