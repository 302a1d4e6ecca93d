#include "app/SettingsWriter.h"

#include "app/AtomicFile.h"

#include <QDir>
#include <QFileInfo>
#include <QMap>
#include <QSettings>
#include <QTemporaryDir>

#include <algorithm>

namespace {

// What a value reads back as: QSettings writes simple values as text.
QVariant readBack(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::QString:
        return value.toString();
    default:
        return value;
    }
}

QMap<QString, QVariant> contents(const QString &path)
{
    const QSettings settings(path, QSettings::IniFormat);
    QMap<QString, QVariant> all;
    for (const QString &key : settings.allKeys())
        all.insert(key, readBack(settings.value(key)));
    return all;
}

bool fail(QString *error, const QString &text)
{
    if (error)
        *error = text;
    return false;
}

} // namespace

QString SettingsWriter::incomplete()
{
    return tr("the settings could not be written in full");
}

bool SettingsWriter::write(const QString &path, const Values &values, QString *error)
{
    const QString shown = QDir::toNativeSeparators(path);
    const QFileInfo target(path);
    if (target.isDir())
        return AtomicFile::writeWhole(path, QByteArray(), error); // names the file and says why

    // The old content, whole; a file that cannot be read fully is not
    // rewritten from a part of it.
    QByteArray old;
    if (target.exists() && !AtomicFile::readWhole(path, &old))
        return fail(error, tr("Cannot read the file %1").arg(shown));

    QTemporaryDir work;
    if (!work.isValid())
        return fail(error, tr("Cannot write the file %1: %2").arg(shown, work.errorString()));
    // Fresh names that no QSettings of this process has cached.
    const QString before = work.filePath(QStringLiteral("before.ini"));
    const QString after = work.filePath(QStringLiteral("after.ini"));
    const QString check = work.filePath(QStringLiteral("check.ini"));
    QString reason;
    if (!AtomicFile::writeWhole(before, old, &reason) || !AtomicFile::writeWhole(after, old, &reason))
        return fail(error, tr("Cannot write the file %1: %2").arg(shown, reason));

    QMap<QString, QVariant> expected = contents(before);
    {
        QSettings settings(after, QSettings::IniFormat);
        for (const auto &value : values) {
            settings.setValue(value.first, value.second);
            expected.insert(value.first, readBack(value.second));
        }
        settings.sync();
        if (settings.status() == QSettings::AccessError)
            return fail(error, tr("Cannot write the file %1: %2").arg(shown, incomplete()));
    }

    QByteArray data;
    if (!AtomicFile::readWhole(after, &data) || !AtomicFile::writeWhole(check, data, &reason) || contents(check) != expected)
        return fail(error, tr("Cannot write the file %1: %2").arg(shown, incomplete()));
    return AtomicFile::writeWhole(path, data, error);
}
