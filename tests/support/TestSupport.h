#pragma once

#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariantMap>

#include <functional>

class QDialog;

namespace TestSupport {

// Path of a built program or of the source tree, handed in by CTest.
QString binaryDir();
QString sourceDir();
QString programPath(); // the irvanta executable

// Opens (creating) a catalogue with every table on the default connection or
// on a named one; the file lives in dir.
QSqlDatabase openFixtureCatalogue(const QString &dir, const QString &connection = QString());

// One whole row of rcmodels for a fixture.
struct FixtureModel
{
    QString rcid, brand, type, model, documentation, link;
    double correction = 0.0;
    int own = 1;
    int flag = 1;
    int prot = 0;
};
bool insertModel(QSqlDatabase db, const FixtureModel &model);

// Every row of a table as "cell|cell|...", ordered by orderBy; used to show
// that a failed or refused change left a table exactly as it was.
QStringList tableRows(QSqlDatabase db, const QString &table, const QString &orderBy);

// The rcmodels row of rcid by column name; empty when there is none.
QVariantMap modelRow(QSqlDatabase db, const QString &rcid);

// One statement with bound values on the default connection: the first
// column of its first row (invalid when it failed or gave none), or whether
// it ran.
QVariant sqlValue(const QString &sql, const QVariantList &values = {});
bool sqlExec(const QString &sql, const QVariantList &values = {});

// Writes the full sample working directory into dir.
bool writeSampleDirectory(const QString &dir, int models = 40);

// The set-up of a window test: writes the sample working directory into dir,
// makes it the current directory (the previous one goes to *previousDir),
// opens its "rc.db" on the default connection and has message boxes answered
// automatically.
bool enterSampleDirectory(const QString &dir, QString *previousDir);

struct BoxLine
{
    QString kind, title, text, answer;
};

struct RunResult
{
    int exitCode = -1;
    QProcess::ExitStatus exitStatus = QProcess::CrashExit;
    bool finished = false;
    QString output; // stdout and stderr merged
    QList<BoxLine> boxes;
};

// Runs the program in workDir, offscreen, with message boxes logged and
// answered from answers; extraEnv entries are "NAME=value".
RunResult runProgram(const QString &workDir, const QStringList &extraEnv = {}, const QStringList &answers = {},
                     int timeoutMs = 60000);

struct ZipEntry
{
    QString name; // path inside the archive, written as given
    QByteArray data;
    QFile::Permissions permissions = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther;
};

// Writes a zip archive holding entries; false when it cannot be written.
bool writeZip(const QString &path, const QList<ZipEntry> &entries);

// The body of a shell script that stands in for the external updater: it
// writes its working directory and then each argument, one per line, into
// "updater-ran.txt" of its working directory.
QByteArray updaterStandIn();

// Permissions of an executable file.
constexpr QFile::Permissions executablePermissions = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
    | QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther;

// Writes data to path (replacing it) and, when given, sets its permissions.
bool writeFile(const QString &path, const QByteArray &data, QFile::Permissions permissions = {});
// The whole content of a file as UTF-8 text; empty when it cannot be read.
QString readText(const QString &path);

// Runs open, which is expected to run a modal dialog: the first modal dialog
// that shows up is handed to inspect and rejected afterwards should inspect
// leave it open; a dialog still open after timeoutMs is closed so the test
// cannot hang. False when no modal dialog appeared.
bool whileModalDialogOpen(const std::function<void()> &open, const std::function<void(QDialog *)> &inspect,
                          int timeoutMs = 20000);

} // namespace TestSupport
