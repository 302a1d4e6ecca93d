// The window's lists on a damaged catalogue: SQLite hands out some rows and
// then reports the file malformed, at the select or while later rows are
// fetched. A list shows all of its rows or none, and the user is told;
// a failed key search leaves no list that could pass for its result.
#include "DamagedCatalogue.h"
#include "TestSupport.h"

#include "app/MessageBox.h"
#include "catalogue/CatalogueRead.h"
#include "catalogue/CurrentRow.h"
#include "catalogue/RCKeysModel.h"
#include "mainwindow/MainWindowImpl.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

using DamagedCatalogue::Damage;

void fetchAll(QAbstractItemModel *m)
{
    while (m && m->canFetchMore(QModelIndex()))
        m->fetchMore(QModelIndex());
}

// Keys for the model and type the window shows, then damage in their middle:
// count decides whether the damage lies in the rows the list reads at once
// or in those it fetches as it is scrolled.
bool damageShownKeys(MainWindowImpl *w, QSqlDatabase db, int count)
{
    const QString link = CurrentRow::text(w->ModelsTV, 5);
    const int type = CurrentRow::cell(w->RCTypesTV, 0).toInt();
    return !link.isEmpty() && DamagedCatalogue::addKeys(db, link, type, Damage::Middle, count);
}

struct Case
{
    const char *name;
    // Before the window is built (the list is filled at start) ...
    std::function<bool(QSqlDatabase)> before;
    // ... or after, then the action that reads the list again.
    std::function<bool(MainWindowImpl *, QSqlDatabase)> after;
    std::function<void(MainWindowImpl *)> act;
    // True when the list shows none of its rows (or is not shown at all).
    std::function<bool(MainWindowImpl *)> showsNone;
    // The text the box starts with.
    QString told;
};

const QString kUnread = QStringLiteral("The catalogue could not be read: ");

bool rowsNone(QAbstractItemView *view)
{
    return view->model() && view->model()->rowCount() == 0 && view->model()->columnCount() > 0;
}

QList<Case> cases()
{
    return {
        {"model list",
         [](QSqlDatabase db) {
             // Listed through the index on its order, the model list streams
             // rows until the damaged leaf.
             return DamagedCatalogue::leafCount(db, QStringLiteral("rcmodels")) >= 3
                 && DamagedCatalogue::damageLeaf(db, QStringLiteral("rcmodels"), 1);
         },
         nullptr, [](MainWindowImpl *) {}, [](MainWindowImpl *w) { return rowsNone(w->ModelsTV); }, kUnread},
        {"remote-type list",
         [](QSqlDatabase db) { return DamagedCatalogue::damageLeaf(db, QStringLiteral("rctypes"), 0); }, nullptr,
         [](MainWindowImpl *) {}, [](MainWindowImpl *w) { return w->RCTypesTV->model()->rowCount() == 0; }, kUnread},
        {"key list",
         nullptr, [](MainWindowImpl *w, QSqlDatabase db) { return damageShownKeys(w, db, 360); },
         [](MainWindowImpl *w) { w->refreshRC(); }, [](MainWindowImpl *w) { return rowsNone(w->KeysTV); }, kUnread},
        {"key list, rows fetched as it is scrolled",
         [](QSqlDatabase db) {
             // Without the index the keys come in the order they were
             // written: the damage lies beyond the rows read at once.
             // VACUUM, so that the keys added later take new pages.
             return QSqlQuery(db).exec(QStringLiteral("DROP INDEX rckeys_by_model"))
                 && QSqlQuery(db).exec(QStringLiteral("VACUUM"));
         },
         [](MainWindowImpl *w, QSqlDatabase db) { return damageShownKeys(w, db, 900); },
         [](MainWindowImpl *w) {
             w->refreshRC();
             // The first rows read whole (the picture, reading all of the
             // model's keys at once, has met the damage already).
             QVERIFY(w->KeysTV->model()->rowCount() > 0 && !w->keysModel->readFailed());
             fetchAll(w->KeysTV->model());
         },
         [](MainWindowImpl *w) { return rowsNone(w->KeysTV); }, kUnread},
        {"key spots of the picture",
         nullptr,
         [](MainWindowImpl *w, QSqlDatabase db) {
             const int leaves = DamagedCatalogue::leafCount(db, QStringLiteral("rctypekeys"));
             return !w->labelPicture->pixmap().isNull() && leaves >= 2
                 && DamagedCatalogue::damageLeaf(db, QStringLiteral("rctypekeys"), leaves / 2);
         },
         [](MainWindowImpl *w) { w->refreshRC(); },
         // A picture without its spots would say the model has none of its keys.
         [](MainWindowImpl *w) { return w->labelPicture->pixmap().isNull(); }, kUnread},
        {"link list",
         nullptr,
         [](MainWindowImpl *w, QSqlDatabase db) {
             w->tabWidget->setCurrentWidget(w->linksTab);
             if (!w->LinksTV->model() || w->LinksTV->model()->rowCount() == 0)
                 return false;
             // The group's last row, which its list reads through the index on Link.
             QSqlQuery q(db);
             q.prepare(QStringLiteral("SELECT max(rowid) FROM rcmodels WHERE Link=?"));
             q.addBindValue(CurrentRow::text(w->ModelsTV, 5));
             if (!q.exec() || !q.next())
                 return false;
             const qint64 rowid = q.value(0).toLongLong();
             q.finish();
             return DamagedCatalogue::damageRow(db, QStringLiteral("rcmodels"), rowid);
         },
         [](MainWindowImpl *w) { w->refreshRC(); },
         // Hidden rather than empty: an empty list would say the model has no links.
         [](MainWindowImpl *w) { return w->LinksTV->isHidden(); }, kUnread},
        {"key search",
         nullptr,
         [](MainWindowImpl *w, QSqlDatabase db) {
             // A code of the shown model, which the damaged rows hide from a
             // full read.
             w->lineEdit1->setText(w->KeysTV->model()->index(0, 3).data().toString());
             return !w->lineEdit1->text().isEmpty() && damageShownKeys(w, db, 1500);
         },
         [](MainWindowImpl *w) { w->search(); },
         [](MainWindowImpl *w) { return rowsNone(w->ModelsTV); }, QStringLiteral("The search failed: ") + kUnread},
    };
}

} // namespace

class TestDamagedLists : public QObject
{
    Q_OBJECT

    QString m_previousDir;

private slots:
    void initTestCase()
    {
        m_previousDir = QDir::currentPath();
        MessageBox::setAutomatic(true);
    }

    void cleanupTestCase() { QDir::setCurrent(m_previousDir); }

    void listShowsAllOrNone_data()
    {
        QTest::addColumn<int>("index");
        const QList<Case> all = cases();
        for (int i = 0; i < all.size(); ++i)
            QTest::newRow(all.at(i).name) << i;
    }

    void listShowsAllOrNone()
    {
        QFETCH(int, index);
        const Case c = cases().at(index);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QVERIFY(TestSupport::writeSampleDirectory(dir.path(), 120));
        QVERIFY(QDir::setCurrent(dir.path()));
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"));
            db.setDatabaseName(QStringLiteral("rc.db"));
            QVERIFY(db.open());
            if (c.before)
                QVERIFY2(c.before(db), qPrintable(db.lastError().text()));

            auto w = std::make_unique<MainWindowImpl>();
            w->resize(1280, 900);
            w->show();
            QVERIFY(QTest::qWaitForWindowExposed(w.get()));
            if (c.after) {
                QVERIFY(MessageBox::takeLog().isEmpty());
                QVERIFY2(c.after(w.get(), db), "the damage could not be made");
                MessageBox::takeLog();
                c.act(w.get());
            }
            // A failure met while rows are fetched is told once the fetch is done.
            QTest::qWait(20);

            QStringList told;
            for (const MessageBox::Record &r : MessageBox::takeLog())
                told << r.text;
            QVERIFY2(!told.isEmpty(), "the user was not told");
            QVERIFY2(told.first().startsWith(c.told), qPrintable(told.join(QLatin1String(" / "))));
            QVERIFY2(told.first().contains(QLatin1String("restore rc.db from a copy")), qPrintable(told.first()));
            QVERIFY2(c.showsNone(w.get()), "part of the list is shown as all of it");
        }
        QSqlDatabase::database().close();
        QSqlDatabase::removeDatabase(QLatin1String(QSqlDatabase::defaultConnection));
        QDir::setCurrent(m_previousDir);
    }
};

QTEST_MAIN(TestDamagedLists)
#include "tst_damagedlists.moc"
