#include "update/UpdateDialog.h"

#include "app/CheckedPicture.h"
#include "app/PlainTextLabels.h"

#include <QTextDocument>

UpdateDialog::UpdateDialog(QWidget *parent, Qt::WindowFlags flags) : QDialog(parent, flags)
{
    setupUi(this);
    // Read through the checked reader; the main window tells when it is refused.
    setWindowIcon(CheckedPicture::windowIcon());
    m_formSize = size();
    m_formBar = progressBar->geometry();
    m_formStatus = statusLabel->geometry();
    m_formCancel = cancelPB->geometry();
    statusLabel->setWordWrap(true);
    // The status quotes file names from the downloaded package and errors
    // from the network: text, never markup.
    statusLabel->setTextFormat(Qt::PlainText);
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
    fitStatusLine();
}

// The form's status line holds one line of 380 px, too little for a failure
// with its reason. A longer text is wrapped at blanks; the dialog grows as wide
// as its longest word needs and as high as its lines, and keeps the form's
// geometry whenever the text fits that.
void UpdateDialog::fitStatusLine()
{
    const QFontMetrics metrics = statusLabel->fontMetrics();
    int longestWord = 0;
    for (const QString &word : statusLabel->text().split(QLatin1Char(' '), Qt::SkipEmptyParts))
        longestWord = qMax(longestWord, metrics.horizontalAdvance(word));
    const int width = qMax(m_formStatus.width(), longestWord + 2 * statusLabel->margin() + 2);
    const int height = qMax(m_formStatus.height(), statusLabel->heightForWidth(width));
    const int wider = width - m_formStatus.width();
    const int higher = height - m_formStatus.height();

    const QSize dialog = m_formSize + QSize(wider, higher);
    setFixedSize(dialog);
    progressBar->setFixedSize(m_formBar.size() + QSize(wider, 0));
    progressBar->move(m_formBar.topLeft());
    statusLabel->setFixedSize(width, height);
    statusLabel->move(m_formStatus.topLeft());
    cancelPB->move((dialog.width() - m_formCancel.width()) / 2, m_formCancel.y() + higher);
}

void UpdateDialog::showStatus(UpdateDownloader::Status status, const QStringList &details)
{
    const QString d1 = details.value(0), d2 = details.value(1);
    // A sequence that failed has not done what the bar would claim, even when
    // every download was complete (an updater package that cannot be unpacked).
    // Nothing is left to cancel after a failure, and a bar that has nothing to
    // measure shows no "0%".
    if (UpdateDownloader::isFailure(status)) {
        progressBar->reset();
        progressBar->setTextVisible(false);
        cancelPB->setText(tr("Close"));
    }
    switch (status) {
    case UpdateDownloader::Checking:
        setStatus("black", tr("Check for updates"));
        break;
    case UpdateDownloader::NothingToFetch:
        setStatus("green", tr("You have new software version. No need update."));
        cancelPB->setText(tr("Ok"));
        progressBar->reset();
        progressBar->setTextVisible(false);
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
        statusLabel->setToolTip(plainTextTip(d1));
        break;
    case UpdateDownloader::Canceled:
        setStatus("red", tr("Download canceled."));
        break;
    case UpdateDownloader::BadServerInfo:
        setStatus("red", tr("The update information on the server cannot be read."));
        break;
    case UpdateDownloader::UnpackFailed:
        setStatus("red", tr("Unable to unpack %1: %2").arg(d1, d2));
        statusLabel->setToolTip(plainTextTip(d2));
        break;
    case UpdateDownloader::RecordFailed:
        setStatus("red", tr("Unable to record the update in %1: %2").arg(d1, d2));
        statusLabel->setToolTip(plainTextTip(d2));
        break;
    case UpdateDownloader::UpdaterFailed:
        setStatus("red", tr("Unable to start the updater %1.").arg(d1));
        break;
    case UpdateDownloader::Refused:
        setStatus("red", tr("The update was stopped: %1.").arg(d1));
        break;
    }
}

void UpdateDialog::updateDataReadProgress(int value, int maximum)
{
    progressBar->setTextVisible(true);
    progressBar->setMaximum(maximum);
    progressBar->setValue(value);
}
