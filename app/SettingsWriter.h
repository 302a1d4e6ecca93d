#pragma once

#include <QCoreApplication>
#include <QList>
#include <QPair>
#include <QString>
#include <QVariant>

// The one way the program changes an INI settings file. QSettings cannot be
// trusted to write it: it ignores a failed final flush, so a full disk leaves
// an empty file behind and reports nothing. Here QSettings writes a private
// copy (in a folder of its own beside the file), the copy is read back and every key compared with what it must hold,
// and only then are its bytes put in place whole (AtomicFile). On any failure
// the file stays exactly as it was.
class SettingsWriter
{
    Q_DECLARE_TR_FUNCTIONS(SettingsWriter)

public:
    using Values = QList<QPair<QString, QVariant>>;

    // Sets values in the file at path; every other key stays as it is. False
    // with *error (naming the file and the reason) when nothing was changed.
    static bool write(const QString &path, const Values &values, QString *error = nullptr);

private:
    static QString incomplete();
};
