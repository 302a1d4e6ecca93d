#include "TestSupport.h"

#include "app/MessageBox.h"
#include "tools/samplekit/SampleKit.h"

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>
#include <quazip/quazipnewinfo.h>

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QTimer>
#include <QFile>
#include <QProcessEnvironment>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace TestSupport {

QString binaryDir()
{
    return qEnvironmentVariable("IRVANTA_BINARY_DIR");
}

QString sourceDir()
{
    return qEnvironmentVariable("IRVANTA_SOURCE_DIR");
}

QString programPath()
{
    return binaryDir() + QStringLiteral("/irvanta");
}

QSqlDatabase openFixtureCatalogue(const QString &dir, const QString &connection)
{
    QSqlDatabase db = connection.isEmpty() ? QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"))
                                           : QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
    db.setDatabaseName(QDir(dir).filePath(QStringLiteral("rc.db")));
    if (db.open()) {
        // Fixtures are thrown away after the test: no need to wait for the disk.
        QSqlQuery(db).exec(QStringLiteral("PRAGMA synchronous=OFF"));
        QString error;
        if (!SampleKit::createSchema(db, &error))
            qWarning("fixture schema: %s", qPrintable(error));
    }
    return db;
}

bool insertModel(QSqlDatabase db, const FixtureModel &m)
{
    QSqlQuery q(db);
    q.prepare(QStringLiteral("INSERT INTO rcmodels (Rcid,Brand,Type,Model,Documentation,Link,Author,Correction,Own,"
                             "Hidden,Flag,Hidden1,Prot) VALUES (?,?,?,?,?,?,'',?,?,0,?,0,?)"));
    for (const QVariant &v : {QVariant(m.rcid), QVariant(m.brand), QVariant(m.type), QVariant(m.model),
                              QVariant(m.documentation), QVariant(m.link), QVariant(m.correction), QVariant(m.own),
                              QVariant(m.flag), QVariant(m.prot)})
        q.addBindValue(v);
    if (q.exec())
        return true;
    qWarning("fixture model %s: %s", qPrintable(m.rcid), qPrintable(q.lastError().text()));
    return false;
}

QStringList tableRows(QSqlDatabase db, const QString &table, const QString &orderBy)
{
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("SELECT * FROM %1 ORDER BY %2").arg(table, orderBy)))
        return {QStringLiteral("query failed: ") + q.lastError().text()};
    QStringList rows;
    while (q.next()) {
        QStringList cells;
        for (int i = 0; i < q.record().count(); ++i)
            cells << q.value(i).toString();
        rows << cells.join(QLatin1Char('|'));
    }
    return rows;
}

QVariant sqlValue(const QString &sql, const QVariantList &values)
{
    QSqlQuery q;
    q.prepare(sql);
    for (const QVariant &v : values)
        q.addBindValue(v);
    if (!q.exec() || !q.next())
        return QVariant();
    return q.value(0);
}

bool sqlExec(const QString &sql, const QVariantList &values)
{
    QSqlQuery q;
    q.prepare(sql);
    for (const QVariant &v : values)
        q.addBindValue(v);
    return q.exec();
}

QVariantMap modelRow(QSqlDatabase db, const QString &rcid)
{
    QSqlQuery q(db);
    q.prepare(QStringLiteral("SELECT * FROM rcmodels WHERE Rcid=?"));
    q.addBindValue(rcid);
    QVariantMap out;
    if (q.exec() && q.next())
        for (int i = 0; i < q.record().count(); ++i)
            out.insert(q.record().fieldName(i), q.value(i));
    return out;
}

bool writeSampleDirectory(const QString &dir, int models)
{
    SampleKit::Options options;
    options.models = models;
    QString error;
    if (!SampleKit::writeWorkingDirectory(dir, options, &error)) {
        qWarning("sample directory: %s", qPrintable(error));
        return false;
    }
    return true;
}

bool enterSampleDirectory(const QString &dir, QString *previousDir)
{
    if (dir.isEmpty() || !writeSampleDirectory(dir))
        return false;
    if (previousDir)
        *previousDir = QDir::currentPath();
    if (!QDir::setCurrent(dir))
        return false;
    MessageBox::setAutomatic(true);
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"));
    db.setDatabaseName(QStringLiteral("rc.db"));
    return db.open();
}

namespace {
QString unescape(const QString &field)
{
    QString out;
    for (int i = 0; i < field.size(); ++i) {
        if (field.at(i) == QLatin1Char('\\') && i + 1 < field.size()) {
            const QChar c = field.at(++i);
            out.append(c == QLatin1Char('t') ? QChar('\t') : c == QLatin1Char('n') ? QChar('\n') : c);
        } else {
            out.append(field.at(i));
        }
    }
    return out;
}
} // namespace

RunResult runProgram(const QString &workDir, const QStringList &extraEnv, const QStringList &answers, int timeoutMs)
{
    RunResult result;
    const QString logPath = QDir(workDir).filePath(QStringLiteral(".boxes.log"));
    QFile::remove(logPath);

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("IRVANTA_MESSAGEBOX_LOG"), logPath);
    env.insert(QStringLiteral("IRVANTA_MESSAGEBOX_ANSWERS"), answers.join(QLatin1Char(',')));
    for (const QString &e : extraEnv) {
        const int eq = e.indexOf(QLatin1Char('='));
        env.insert(e.left(eq), e.mid(eq + 1));
    }

    QProcess p;
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(workDir);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(programPath(), {});
    if (!p.waitForStarted(10000)) {
        result.output = p.errorString();
        return result;
    }
    result.finished = p.waitForFinished(timeoutMs);
    if (!result.finished) {
        p.kill();
        p.waitForFinished(5000);
    }
    result.exitCode = p.exitCode();
    result.exitStatus = p.exitStatus();
    result.output = QString::fromLocal8Bit(p.readAll());

    QFile log(logPath);
    if (log.open(QIODevice::ReadOnly | QIODevice::Text)) {
        const QStringList lines = QString::fromUtf8(log.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        for (const QString &line : lines) {
            const QStringList f = line.split(QLatin1Char('\t'));
            if (f.size() == 4)
                result.boxes.append({unescape(f[0]), unescape(f[1]), unescape(f[2]), unescape(f[3])});
        }
    }
    return result;
}

bool writeZip(const QString &path, const QList<ZipEntry> &entries)
{
    QuaZip zip(path);
    if (!zip.open(QuaZip::mdCreate))
        return false;
    for (const ZipEntry &e : entries) {
        QuaZipNewInfo info(e.name);
        info.setPermissions(e.permissions);
        QuaZipFile out(&zip);
        if (!out.open(QIODevice::WriteOnly, info))
            return false;
        if (out.write(e.data) != e.data.size())
            return false;
        out.close();
        if (out.getZipError() != 0)
            return false;
    }
    zip.close();
    return zip.getZipError() == 0;
}

QByteArray updaterStandIn()
{
    return QByteArrayLiteral("#!/bin/sh\n"
                             "printf '%s\\n' \"$PWD\" \"$@\" > updater-ran.txt\n");
}

bool writeFile(const QString &path, const QByteArray &data, QFile::Permissions permissions)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(data) != data.size())
        return false;
    f.close();
    return permissions == QFile::Permissions() || f.setPermissions(permissions);
}

QString readText(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

bool whileModalDialogOpen(const std::function<void()> &open, const std::function<void(QDialog *)> &inspect,
                          int timeoutMs)
{
    bool seen = false;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!dialog || seen)
            return;
        seen = true;
        inspect(dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
    poll.start();
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] {
        if (QWidget *w = QApplication::activeModalWidget())
            w->close();
    });
    guard.start(timeoutMs);
    open();
    return seen;
}

} // namespace TestSupport
