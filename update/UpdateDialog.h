#pragma once

#include "update/UpdateDownloader.h"
#include "ui_UpdateDialog.h"

#include <QDialog>

// The update dialog: shows the update sequence (UpdateDownloader) running in
// the working directory with a progress bar and a coloured status line.
// Closing or cancelling it stops its transfers. When the sequence has handed
// over to the external updater the dialog accepts, and handedOver() tells the
// caller to end the program.
class UpdateDialog : public QDialog, public Ui::UpdateDialog
{
    Q_OBJECT
public:
    // Starts the sequence at once, before the dialog is shown.
    explicit UpdateDialog(QWidget *parent = nullptr, Qt::WindowFlags flags = Qt::WindowFlags());
    ~UpdateDialog() override;

    bool handedOver() const { return m_handedOver; }
    const UpdateDownloader &downloader() const { return m_downloader; }

    void done(int result) override;

private slots:
    void cancelDownload();
    void showStatus(UpdateDownloader::Status status, const QStringList &details);
    void updateDataReadProgress(int value, int maximum);

private:
    void setStatus(const char *colour, const QString &text);
    void fitStatusLine();

    UpdateDownloader m_downloader;
    bool m_handedOver = false;
    // The form's geometry, which a status text of one short line keeps.
    QSize m_formSize;
    QRect m_formBar, m_formStatus, m_formCancel;
};
