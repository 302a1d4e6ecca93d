// bench_keysearch [--models N] [--keys-per-model K] [--dir DIR]
//
// Times the key search on a large catalogue written by the sample kit
// (100,000 models, about 30 keys per master, three remote types configured):
// four search rows filled with the codes of one master's keys, the search run
// through the window until the list is painted, beside hand-written queries
// that give the same answer with the indexes the catalogue has. The catalogue
// is used as written; nothing is added to its schema.
#include "app/Application.h"
#include "catalogue/RCModelsModel.h"
#include "mainwindow/MainWindowImpl.h"
#include "search/KeySearchFilter.h"
#include "tools/samplekit/SampleKit.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

#include <algorithm>
#include <functional>

namespace {

QTextStream out(stdout);

double msSince(const QElapsedTimer &t)
{
    return double(t.nsecsElapsed()) / 1e6;
}

double median(QList<double> v)
{
    std::sort(v.begin(), v.end());
    return v.isEmpty() ? 0 : v.at(v.size() / 2);
}

const QStringList kTypes{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("5")};
const int kRows[] = {1, 3, 4, 5}; // POWER, 1, 2, 3

struct Row
{
    int order;
    QString code;
};

// Runs sql with values bound and reads every row; the Rcids found.
QSet<QString> runQuery(const QString &sql, const QVariantList &values, double *ms)
{
    QElapsedTimer t;
    t.start();
    QSqlQuery q;
    q.setForwardOnly(true);
    QSet<QString> rcids;
    if (!q.prepare(sql)) {
        out << "query failed: " << q.lastError().text() << "\n";
        return rcids;
    }
    for (const QVariant &v : values)
        q.addBindValue(v);
    if (!q.exec())
        out << "query failed: " << q.lastError().text() << "\n";
    while (q.next())
        rcids.insert(q.value(0).toString());
    *ms = msSince(t);
    return rcids;
}

struct Written
{
    QString sql;
    QVariantList values;
};

// Per type, the terms of the rows that apply to it, joined by glue and put
// in parentheses; term gives one row's text and binds its values.
QStringList typeTerms(const QList<Row> &rows, const KeySearchFilter::PositionMap &positions, const QString &glue,
                      const std::function<QString(const QString &type, const Row &row, int nkey)> &term)
{
    QStringList types;
    for (const QString &t : kTypes) {
        QStringList terms;
        for (const Row &r : rows) {
            const QString k = positions.value(t + "_" + QString::number(r.order));
            if (!k.isEmpty() && k != QLatin1String("-1"))
                terms << term(t, r, k.toInt());
        }
        if (!terms.isEmpty())
            types << QLatin1Char('(') + terms.join(glue) + QLatin1Char(')');
    }
    return types;
}

QVariantList keyValues(const QString &type, const Row &row, int nkey)
{
    return {type.toInt(), nkey, nkey + KeySearchFilter::shiftOffset(type), row.code};
}

// Per model, one index probe per row and type on (Rcid, RCTypeId, Nkey).
Written correlatedProbes(const QList<Row> &rows, const KeySearchFilter::PositionMap &positions)
{
    Written w;
    const QStringList types = typeTerms(rows, positions, QStringLiteral(" AND "), [&](auto t, auto r, int k) {
        w.values << keyValues(t, r, k);
        return QStringLiteral("EXISTS(SELECT 1 FROM rckeys k WHERE k.Rcid=m.Rcid AND k.RCTypeId=? AND "
                              "k.Nkey IN (?,?) AND k.ID=?)");
    });
    w.sql = QStringLiteral("SELECT m.* FROM rcmodels m WHERE ") + types.join(QStringLiteral(" OR ")) +
            QStringLiteral(" ORDER BY m.Brand, m.Model");
    return w;
}

// One pass over the keys with a searched code, grouped by master.
Written groupedPass(const QList<Row> &rows, const KeySearchFilter::PositionMap &positions)
{
    Written w;
    QStringList marks;
    for (const Row &r : rows) {
        if (!w.values.contains(r.code)) {
            w.values << r.code;
            marks << QStringLiteral("?");
        }
    }
    const QStringList types = typeTerms(rows, positions, QStringLiteral(" AND "), [&](auto t, auto r, int k) {
        w.values << keyValues(t, r, k);
        return QStringLiteral("max(RCTypeId=? AND Nkey IN (?,?) AND ID=?)");
    });
    w.sql = QStringLiteral("SELECT m.* FROM rcmodels m JOIN (SELECT Rcid FROM rckeys WHERE ID IN (%1) GROUP BY Rcid "
                           "HAVING %2) h ON h.Rcid=m.Rcid ORDER BY m.Brand, m.Model")
                .arg(marks.join(QLatin1Char(',')), types.join(QStringLiteral(" OR ")));
    return w;
}

// One sub-select per row and type, each reading the key table.
Written subSelectPerRow(const QList<Row> &rows, const KeySearchFilter::PositionMap &positions)
{
    Written w;
    const QStringList types = typeTerms(rows, positions, QStringLiteral(" AND "), [&](auto t, auto r, int k) {
        w.values << keyValues(t, r, k);
        return QStringLiteral("Rcid IN (SELECT Rcid FROM rckeys WHERE RCTypeId=? AND Nkey IN (?,?) AND ID=?)");
    });
    w.sql = QStringLiteral("SELECT * FROM rcmodels WHERE ") + types.join(QStringLiteral(" OR ")) +
            QStringLiteral(" ORDER BY Brand, Model");
    return w;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("IRVANTA_HID_BACKEND"))
        qputenv("IRVANTA_HID_BACKEND", "simulator");

    SampleKit::Options options;
    options.models = 100000;
    options.keysPerModel = 30;
    QString dirPath;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (qstrcmp(argv[i], "--models") == 0)
            options.models = QByteArray(argv[i + 1]).toInt();
        else if (qstrcmp(argv[i], "--keys-per-model") == 0)
            options.keysPerModel = QByteArray(argv[i + 1]).toInt();
        else if (qstrcmp(argv[i], "--dir") == 0)
            dirPath = QString::fromLocal8Bit(argv[i + 1]);
    }
    QTemporaryDir temp;
    if (dirPath.isEmpty())
        dirPath = temp.path();

    QElapsedTimer t;
    {
        QCoreApplication writer(argc, argv);
        t.start();
        QString error;
        if (!SampleKit::writeWorkingDirectory(dirPath, options, &error)) {
            out << "sample kit: " << error << "\n";
            return 1;
        }
        // Three remote types configured.
        QFile ini(QDir(dirPath).filePath(QStringLiteral("config.ini")));
        if (!ini.open(QIODevice::ReadOnly)) {
            out << "cannot read config.ini\n";
            return 1;
        }
        QByteArray text = ini.readAll();
        ini.close();
        text.replace("rcTypes=1_2_3_4_5", "rcTypes=1_2_5");
        if (!ini.open(QIODevice::WriteOnly | QIODevice::Truncate) || ini.write(text) != text.size()) {
            out << "cannot write config.ini\n";
            return 1;
        }
        ini.close();
        out << "catalogue: " << options.models << " models written in " << qRound(msSince(t)) << " ms to " << dirPath
            << "\n";
    }
    QDir::setCurrent(dirPath);

    Application app(argc, argv);
    if (!app.started()) {
        out << "the program did not start on the catalogue\n";
        return 1;
    }
    MainWindowImpl *w = MainWindowImpl::getInstance();
    if (!QTest::qWaitForWindowExposed(w))
        out << "the window was not exposed; paint times are left out\n";
    w->actionSearch->trigger();

    {
        QSqlQuery q;
        q.exec(QStringLiteral("SELECT count(*), count(DISTINCT Rcid) FROM rckeys"));
        if (q.next())
            out << "keys: " << q.value(0).toInt() << " under " << q.value(1).toInt() << " masters; types searched: "
                << w->rcTypeList.join(QLatin1Char(',')) << "\n";
    }

    // A master with keys of the three types: its type 1 codes of POWER, 1, 2
    // and 3 fill the rows, as picking each key in the key list would.
    QSqlQuery pick;
    pick.exec(QStringLiteral("SELECT Rcid FROM rckeys GROUP BY Rcid HAVING sum(RCTypeId=1 AND Nkey<4)=4 AND "
                             "sum(RCTypeId=2)>0 AND sum(RCTypeId=5)>0 LIMIT 1 OFFSET 1000"));
    if (!pick.next()) {
        out << "no master with keys of types 1, 2 and 5\n";
        return 1;
    }
    const QString master = pick.value(0).toString();
    const KeySearchFilter::PositionMap positions = KeySearchFilter::readPositions(QSqlDatabase::database());
    QList<Row> rows;
    QLineEdit *const edits[] = {w->lineEdit1, w->lineEdit3, w->lineEdit4, w->lineEdit5};
    for (int i = 0; i < 4; ++i) {
        QSqlQuery code;
        code.prepare(QStringLiteral("SELECT ID FROM rckeys WHERE Rcid=? AND RCTypeId=1 AND Nkey=?"));
        code.addBindValue(master);
        code.addBindValue(positions.value(QStringLiteral("1_%1").arg(kRows[i])).toInt());
        if (!code.exec() || !code.next()) {
            out << "master " << master << " lacks a key\n";
            return 1;
        }
        rows.append({kRows[i], code.value(0).toString()});
        edits[i]->setText(rows.last().code);
    }

    // The program: search() until the list is painted, panels included.
    QList<double> runs;
    for (int i = 0; i < 5; ++i) {
        t.restart();
        w->search();
        w->ModelsTV->viewport()->repaint();
        runs << msSince(t);
        QApplication::processEvents();
    }
    QAbstractItemModel *list = w->ModelsTV->model();
    QSet<QString> listed;
    while (w->modelsModel->canFetchMore())
        w->modelsModel->fetchMore();
    for (int row = 0; row < list->rowCount(); ++row)
        listed.insert(list->index(row, 0).data().toString());

    QStringList rowTexts;
    for (QLineEdit *edit : {w->lineEdit1,  w->lineEdit2,  w->lineEdit3,  w->lineEdit4,  w->lineEdit5,  w->lineEdit6,
                            w->lineEdit7,  w->lineEdit8,  w->lineEdit9,  w->lineEdit10, w->lineEdit11, w->lineEdit12,
                            w->lineEdit13, w->lineEdit14, w->lineEdit15, w->lineEdit16, w->lineEdit17, w->lineEdit18,
                            w->lineEdit19, w->lineEdit20, w->lineEditX1, w->lineEditX2})
        rowTexts << edit->text();
    const QString statement = QStringLiteral("SELECT * FROM rcmodels WHERE ") +
                              KeySearchFilter::filter(rowTexts, w->rcTypeList, positions);

    struct Case
    {
        const char *name;
        Written query;
    };
    const Case cases[] = {
        {"the program's statement alone", {statement, {}}},
        {"hand-written: one grouped pass", groupedPass(rows, positions)},
        {"hand-written: index probes", correlatedProbes(rows, positions)},
        {"hand-written: sub-select per row", subSelectPerRow(rows, positions)},
    };

    out << "\nfour rows over three types, " << listed.size() << " models listed\n";
    out << qSetFieldWidth(36) << Qt::left << "search() until painted" << qSetFieldWidth(10) << Qt::right
        << QString::number(median(runs), 'f', 1) << qSetFieldWidth(0) << " ms  (median of 5)\n";
    for (const Case &c : cases) {
        QList<double> times;
        QSet<QString> found;
        for (int i = 0; i < 5; ++i) {
            double ms = 0;
            found = runQuery(c.query.sql, c.query.values, &ms);
            times << ms;
        }
        out << qSetFieldWidth(36) << Qt::left << c.name << qSetFieldWidth(10) << Qt::right
            << QString::number(median(times), 'f', 1) << qSetFieldWidth(0) << " ms"
            << (found == listed ? "  same answer" : "  DIFFERENT ANSWER") << "\n";
    }
    return 0;
}
