// MainWindowImpl: import, export and catalogue identifier conversion.
#include "mainwindow/MainWindowImpl.h"

#include "app/CheckedFile.h"
#include "app/FileDialogs.h"
#include "app/MessageBox.h"
#include "app/QuotedValue.h"
#include "catalogue/CurrentRow.h"
#include "exchange/CatalogueWriter.h"
#include "exchange/ExchangeFile.h"
#include "exchange/ExchangeImport.h"
#include "exchange/IdentityConversion.h"
#include "exchange/ImportValues.h"
#include "exchange/KestrulFile.h"
#include "exchange/OwnDataExport.h"
#include "exchange/PhotosFirst.h"
#include "exchange/RemoteExport.h"
#include "exchange/VrcFile.h"

#include <QDebug>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlTableModel>

namespace {

enum Column { RcidColumn = 0, BrandColumn = 1, ModelColumn = 3, LinkColumn = 5 };

enum class Foreign { Vrc, Kestrul };

} // namespace

// Selects the first row of the model list whose Rcid is rcid; the row the
// refresh selected stays when there is none.
static void selectModelRow(QTableView *view, const QString &rcid)
{
    auto *model = qobject_cast<QSqlTableModel *>(view->model());
    if (!model)
        return;
    for (int row = 0;; ++row) {
        while (row >= model->rowCount() && model->canFetchMore())
            model->fetchMore();
        if (row >= model->rowCount())
            return;
        if (model->index(row, RcidColumn).data().toString() == rcid) {
            view->selectRow(row);
            return;
        }
    }
}

void MainWindowImpl::exportRemote()
{
    clearStatus();
    RemoteExport::Selection selection;
    selection.rcid = CurrentRow::text(ModelsTV, RcidColumn);
    selection.brand = CurrentRow::text(ModelsTV, BrandColumn);
    selection.model = CurrentRow::text(ModelsTV, ModelColumn);
    selection.link = CurrentRow::text(ModelsTV, LinkColumn);
    selection.rcTypeId = CurrentRow::text(RCTypesTV, 0);
    selection.rcTypeName = CurrentRow::text(RCTypesTV, 1);

    if (!QDir(lastExportPath).exists())
        lastExportPath = QStringLiteral("xml");
    QString proposed, error;
    if (!RemoteExport::proposedName(QSqlDatabase::database(), selection, &proposed, &error)) {
        if (!error.isEmpty())
            MessageBox::warning(this, tr("Warning"), tr("The model could not be exported.\n%1").arg(error));
        return; // a linked model without its master: nothing to export
    }

    QFileDialog dialog(this, tr("Export"), lastExportPath + QLatin1Char('/') + proposed,
                       tr("Irvanta XML Files") + QStringLiteral(" (*.xml)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("xml"));
    FileDialogs::followLanguage(&dialog);
    const QString fileName = dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()
        ? dialog.selectedFiles().constFirst()
        : QString();
    if (fileName.isEmpty())
        return;
    lastExportPath = QFileInfo(fileName).absolutePath();
    saveSettings();
    if (QFileInfo(fileName).suffix() != QLatin1String("xml"))
        return;

    QStringList problems;
    if (!RemoteExport::exportTo(QSqlDatabase::database(), QDir::currentPath(), selection, proposed, fileName, &error,
                                &problems)) {
        MessageBox::warning(this, tr("Warning"), tr("The file %1 was not written.\n%2").arg(fileName, error));
        return;
    }
    for (const QString &problem : std::as_const(problems))
        appendLog(tr("Export: %1").arg(problem));
    // A photo that did not come along is said beside the box, where the
    // export's success is said.
    if (problems.isEmpty())
        showStatus(tr("The model was exported to %1.").arg(fileName));
    else
        showStatus(tr("The model was exported without %n photo(s) to %1.", nullptr, int(problems.size())).arg(fileName));
    if (!problems.isEmpty())
        MessageBox::warning(this, tr("Warning"),
                            tr("These photos could not be copied:\n%1").arg(problems.join(QLatin1Char('\n'))));
}

void MainWindowImpl::importRemote()
{
    clearStatus();
    if (!QDir(lastImportPath).exists())
        lastImportPath = QStringLiteral("xml");
    const QString fileName =
        FileDialogs::getOpenFileName(this, tr("Import"), lastImportPath + QLatin1Char('/'),
                                     tr("Irvanta Files") + QStringLiteral(" (*.xml *.vrc *.txt)"));
    if (fileName.isEmpty())
        return;
    lastImportPath = QFileInfo(fileName).absolutePath();
    saveSettings();

    const QString suffix = QFileInfo(fileName).suffix();
    if (suffix != QLatin1String("vrc") && suffix != QLatin1String("xml") && suffix != QLatin1String("txt"))
        return;

    // Only a regular file within the bound is read, checked before it is
    // opened: a named pipe would hold the window in open() for good. A file
    // that grows or ends early while it is read is not imported from a part
    // of it.
    QByteArray bytes;
    if (QString error; CheckedFile::read(fileName, ImportValues::MaxFileSize, &bytes, &error) !=
                       CheckedFile::Result::Done) {
        MessageBox::warning(this, tr("Warning"), tr("The file was not imported.\n%1").arg(error));
        return;
    }

    auto wrongFile = [this](const QString &why) {
        appendLog(tr("Import: %1").arg(why));
        // The parser's reason tells the user what to mend in the file.
        MessageBox::warning(nullptr, tr("Warning"),
                            why.isEmpty() ? tr("Wrong import file") : tr("Wrong import file") + QLatin1Char('\n') + why);
    };
    if (suffix != QLatin1String("xml")) {
        const Foreign kind = suffix == QLatin1String("vrc") ? Foreign::Vrc : Foreign::Kestrul;
        ImportedRemote remote;
        QString error;
        if (!(kind == Foreign::Vrc ? VrcFile::parse(bytes, &remote, &error)
                                   : KestrulFile::parse(bytes, &remote, &error))) {
            wrongFile(error);
            return;
        }
        for (const QString &line : std::as_const(remote.log))
            appendLog(tr("Import: %1").arg(line));
        // Photos lie beside a VRC file under its own name: "remote_1.jpg".
        // They are in place before the model is written.
        QString rcid;
        QStringList photoLog;
        PhotosFirst photos(QDir::currentPath(), [&](const QString &id) {
            return kind == Foreign::Vrc ? VrcFile::copyPhotos(fileName, QDir::currentPath(), id, &photoLog)
                                        : QStringList();
        });
        if (!CatalogueWriter::writeNewMaster(QSqlDatabase::database(), remote, &rcid, &error, &photos)) {
            MessageBox::warning(this, tr("Warning"), tr("The file was not imported.\n%1").arg(error));
            return;
        }
        const QStringList problems = photos.problems();
        photoLog += problems;
        for (const QString &line : std::as_const(photoLog))
            appendLog(tr("Import: %1").arg(line));
        comboBoxDatabase->setCurrentIndex(1);
        refreshBrands();
        refreshTypes();
        brandLineEdit->setText(remote.brand);
        modelLineEdit->setText(remote.model);
        refreshModels();
        selectModelRow(ModelsTV, rcid);
        refreshRC();
        showStatus(tr("The model %1 %2 was imported.").arg(remote.brand, remote.model));
        if (remote.keys.isEmpty())
            MessageBox::warning(this, tr("Warning"),
                                tr("The model %1 %2 was imported without keys: the file holds no key this program "
                                   "can read.")
                                    .arg(QuotedValue::cut(remote.brand), QuotedValue::cut(remote.model)));
        if (!problems.isEmpty())
            MessageBox::warning(this, tr("Warning"),
                                tr("These photos could not be copied:\n%1").arg(problems.join(QLatin1Char('\n'))));
        return;
    }

    ExchangeFile::Document document;
    QString error;
    if (!ExchangeFile::read(bytes, &document, &error)) {
        wrongFile(error);
        return;
    }

    QSqlDatabase db = QSqlDatabase::database();
    const ExchangeImport::Before before = ExchangeImport::before(db, document, &error);
    if (before == ExchangeImport::Before::Refused)
        appendLog(tr("Import: %1").arg(error));
    if (before == ExchangeImport::Before::Failed || before == ExchangeImport::Before::Refused) {
        MessageBox::warning(this, tr("Warning"), tr("The file was not imported.\n%1").arg(error));
        return;
    }
    ExchangeImport::Mode mode = ExchangeImport::Mode::Replace;
    if (before == ExchangeImport::Before::Ask) {
        const QString question = tr("This RC is already exists.") + QLatin1Char('\n') + tr("Do you want to create copy?")
            + QLatin1Char('\n') + tr("Yes - copy") + QLatin1Char('\n') + tr("No - replace") + QLatin1Char('\n')
            + tr("Cancel - no need import");
        switch (MessageBox::question(this, tr("Confirm"), question,
                                     QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Cancel)) {
        case QMessageBox::Yes:
            mode = ExchangeImport::Mode::Copy;
            break;
        case QMessageBox::No:
            break;
        default:
            return;
        }
    }

    // The photos beside the file are in place before the model is written.
    ExchangeImport::Outcome outcome;
    PhotosFirst photos(QDir::currentPath(), [&](const QString &rcid) {
        return ExchangeImport::copyPhotos(QFileInfo(fileName).absolutePath(), document.master.rcid,
                                          QDir::currentPath(), rcid);
    });
    switch (ExchangeImport::write(db, document, mode, &outcome, &error, &photos)) {
    case ExchangeImport::Result::Written:
        break;
    case ExchangeImport::Result::WrongFile:
        wrongFile(error);
        return;
    case ExchangeImport::Result::Refused:
        appendLog(tr("Import: %1").arg(error));
        [[fallthrough]];
    case ExchangeImport::Result::Failed:
        MessageBox::warning(this, tr("Warning"), tr("The file was not imported.\n%1").arg(error));
        return;
    }
    for (const QString &line : std::as_const(outcome.log))
        appendLog(line);

    const QStringList problems = photos.problems();
    for (const QString &problem : problems)
        appendLog(tr("Import: %1").arg(problem));
    brandLineEdit->setText(document.master.brand);
    modelLineEdit->setText(document.master.model);
    refreshModels();
    selectModelRow(ModelsTV, outcome.rcid);
    refreshRC();
    showStatus(tr("The model %1 %2 was imported.").arg(document.master.brand, document.master.model));
    if (!problems.isEmpty())
        MessageBox::warning(this, tr("Warning"),
                            tr("These photos could not be copied:\n%1").arg(problems.join(QLatin1Char('\n'))));
}

void MainWindowImpl::convertDB()
{
    clearStatus();
    if (MessageBox::question(this, tr("Confirm"), tr("Do you really want to convert DB?"),
                             QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
        != QMessageBox::Yes)
        return;
    IdentityConversion::Result result;
    QString error;
    if (!IdentityConversion::convert(QSqlDatabase::database(), QDir::currentPath(), convertDBdeleteImages, &result,
                                     &error)) {
        if (!result.collision.isEmpty())
            MessageBox::warning(this, tr("Warning"),
                                tr("The catalogue was not converted: these identities would become one:\n%1")
                                    .arg(result.collision.join(QLatin1Char('\n'))));
        else
            MessageBox::warning(this, tr("Warning"), tr("The catalogue was not converted.\n%1").arg(error));
        return;
    }
    if (const QString photos = IdentityConversion::photoReport(result); !photos.isEmpty())
        MessageBox::warning(this, tr("Warning"), photos);
    refreshModels();
    refreshBrands();
    refreshTypes();
    refreshRC();
    showStatus(tr("The catalogue was converted."));
}

bool MainWindowImpl::sendDB()
{
    // Nothing in the window calls this; the file stays in the working directory.
    QString error;
    const bool written = OwnDataExport::write(QSqlDatabase::database(), QStringLiteral("simple-modified.xml"),
                                              QStringLiteral("../config.ini"), &error);
    if (!written)
        qDebug() << "own-data export:" << error;
    return written;
}
