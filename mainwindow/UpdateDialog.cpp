#include "mainwindow/UpdateDialog.h"

UpdateDialog::UpdateDialog(QWidget *parent, Qt::WindowFlags flags) : QDialog(parent, flags)
{
    setupUi(this);
    setWindowTitle(tr("Update"));
    cancelPB->setText(tr("Cancel"));
    connect(cancelPB, &QPushButton::clicked, this, &QWidget::close);
    connect(&m_downloader, &UpdateDownloader::statusChanged, this, &UpdateDialog::showStatus);
    connect(&m_downloader, &UpdateDownloader::progressChanged, this, &UpdateDialog::updateDataReadProgress);
    m_downloader.start();
}

UpdateDialog::~UpdateDialog() = default;

void UpdateDialog::done(int result)
{
    // A closed dialog leaves nothing running behind the user's back.
    if (m_downloader.isRunning())
        cancelDownload();
    QDialog::done(result);
}

void UpdateDialog::cancelDownload()
{
    m_downloader.cancelDownload();
}

void UpdateDialog::setStatus(const char *colour, const QString &text)
{
    statusLabel->setStyleSheet(QStringLiteral("QLabel { color: %1}").arg(QLatin1String(colour)));
    statusLabel->setText(text);
}

void UpdateDialog::showStatus(UpdateDownloader::Status status, const QStringList &details)
{
    const QString d1 = details.value(0), d2 = details.value(1);
    switch (status) {
    case UpdateDownloader::Checking:
        setStatus("black", tr("Check for updates"));
        break;
    case UpdateDownloader::NothingToFetch:
        setStatus("green", tr("You have new software version. No need update."));
        cancelPB->setText(tr("Ok"));
        break;
    case UpdateDownloader::Downloading:
        setStatus("black", tr("Download updates"));
        break;
    case UpdateDownloader::AllDownloaded:
        setStatus("black", tr("All updates have been downloaded."));
        break;
    case UpdateDownloader::Unpacking:
        setStatus("black", tr("Unpack update-software.zip"));
        break;
    case UpdateDownloader::UpdaterStarted:
        setStatus("black", tr("The updater has been started."));
        m_handedOver = true;
        accept();
        break;
    case UpdateDownloader::CannotSave:
        setStatus("red", tr("Unable to save the file %1: %2.").arg(d1, d2));
        break;
    case UpdateDownloader::ServerNotFound:
        setStatus("red", tr("Update server not found"));
        statusLabel->setToolTip(d1);
        break;
    case UpdateDownloader::Canceled:
        setStatus("red", tr("Download canceled."));
        break;
    case UpdateDownloader::BadServerInfo:
        setStatus("red", tr("The update information on the server cannot be read."));
        break;
    case UpdateDownloader::UnpackFailed:
        setStatus("red", tr("Unable to unpack %1: %2").arg(d1, d2));
        statusLabel->setToolTip(d2);
        break;
    case UpdateDownloader::RecordFailed:
        setStatus("red", tr("Unable to record the update in %1.").arg(d1));
        break;
    case UpdateDownloader::UpdaterFailed:
        setStatus("red", tr("Unable to start the updater %1.").arg(d1));
        break;
    }
}

void UpdateDialog::updateDataReadProgress(int value, int maximum)
{
    progressBar->setMaximum(maximum);
    progressBar->setValue(value);
}
