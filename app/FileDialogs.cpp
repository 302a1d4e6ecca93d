#include "app/FileDialogs.h"

#include <QFileDialog>
#include <QFileSystemModel>
#include <QIdentityProxyModel>
#include <QLocale>

namespace FileDialogs {

namespace {

// The columns of QFileSystemModel the system locale formats.
constexpr int kSizeColumn = 1;
constexpr int kDateColumn = 3;

// Passes everything through (sorting too: QAbstractProxyModel hands it to the
// file model, which sorts sizes and dates by value) but the text of sizes and
// dates, written anew from the file model's values.
class LocaleProxy : public QIdentityProxyModel
{
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex &index, int role) const override
    {
        const auto *files = qobject_cast<const QFileSystemModel *>(sourceModel());
        if (role != Qt::DisplayRole || !files || !index.isValid())
            return QIdentityProxyModel::data(index, role);
        const QModelIndex source = mapToSource(index);
        // Folders have no size, as in the file model.
        if (index.column() == kSizeColumn)
            return files->isDir(source) ? QString() : QLocale().formattedDataSize(files->size(source));
        if (index.column() == kDateColumn) {
            const QDateTime modified = files->lastModified(source);
            return modified.isValid() ? QLocale().toString(modified, QLocale::ShortFormat) : QString();
        }
        return QIdentityProxyModel::data(index, role);
    }
};

} // namespace

void followLanguage(QFileDialog *dialog)
{
    dialog->setProxyModel(new LocaleProxy(dialog));
}

QString getOpenFileName(QWidget *parent, const QString &caption, const QString &dir, const QString &filter)
{
    QFileDialog dialog(parent, caption, dir, filter);
    dialog.setFileMode(QFileDialog::ExistingFile);
    followLanguage(&dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

} // namespace FileDialogs
