// The window while another program holds rc.db locked: each refresh waits
// for the lock at most once and no longer than the busy time-out, tells the
// user, and leaves the lists showing what they showed before.
#include "TestSupport.h"

#include "app/MessageBox.h"
#include "catalogue/CatalogueRead.h"
#include "catalogue/CurrentRow.h"
#include "catalogue/KeyPositionTable.h"
#include "ir/Decode.h"
#include "catalogue/RCKeysModel.h"
#include "catalogue/RCModelsModel.h"
#include "mainwindow/MainWindowImpl.h"

#include <QElapsedTimer>
#include <QSqlError>
#include <QSqlQuery>
#include <QtTest>

class TestLockedCatalogue : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_previousDir;
    MainWindowImpl *w = nullptr;

    // What a list shows: its rows' first two cells and its header texts.
    static QStringList shown(QAbstractItemModel *model)
    {
        QStringList out;
        if (!model)
            return {QStringLiteral("no model")};
        for (int column = 0; column < model->columnCount(); ++column)
            out << QStringLiteral("header:") + model->headerData(column, Qt::Horizontal).toString();
        for (int row = 0; row < model->rowCount(); ++row)
            out << model->index(row, 0).data().toString() + QLatin1Char('|') + model->index(row, 1).data().toString();
        return out;
    }

    static QStringList warnings()
    {
        QStringList texts;
        for (const MessageBox::Record &r : MessageBox::takeLog())
            if (r.kind == QLatin1String("warning"))
                texts << r.text;
        return texts;
    }

    // Another connection holding rc.db, as another program would.
    struct Holder
    {
        QSqlDatabase db;
        QSqlQuery lock;
        bool held = false;
        explicit Holder(const QString &path)
        {
            db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("holder"));
            db.setDatabaseName(path);
            if (db.open()) {
                lock = QSqlQuery(db);
                held = lock.exec(QStringLiteral("BEGIN EXCLUSIVE"));
            }
        }
        ~Holder() { release(); }
        void release()
        {
            if (!db.isValid())
                return;
            lock.exec(QStringLiteral("ROLLBACK"));
            lock = QSqlQuery();
            db.close();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(QStringLiteral("holder"));
        }
    };
    QString catalogue() const { return QDir(m_dir.path()).filePath(QStringLiteral("rc.db")); }

    // The Rcid of the first own masters in the model list, at most `count`.
    QStringList ownMasters(int count) const
    {
        QStringList out;
        QAbstractItemModel *models = w->ModelsTV->model();
        for (int row = 0; row < models->rowCount() && out.size() < count; ++row) {
            const QString rcid = models->index(row, 0).data().toString();
            if (models->index(row, 8).data().toInt() == 1 && models->index(row, 5).data().toString() == rcid)
                out << rcid;
        }
        return out;
    }
    static bool selectRowWith(QTableView *view, const QString &value)
    {
        QAbstractItemModel *m = view->model();
        for (int row = 0; m && row < m->rowCount(); ++row) {
            if (m->index(row, 0).data().toString() == value) {
                view->setCurrentIndex(m->index(row, 1));
                return true;
            }
        }
        return false;
    }
    static QVariant storedCode(const QString &rcid, int type, int nkey)
    {
        QSqlQuery q;
        q.prepare(QStringLiteral("SELECT ID FROM rckeys WHERE Rcid=? AND RCTypeId=? AND Nkey=?"));
        q.addBindValue(rcid);
        q.addBindValue(type);
        q.addBindValue(nkey);
        return q.exec() && q.next() ? q.value(0) : QVariant();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY(TestSupport::enterSampleDirectory(m_dir.path(), &m_previousDir));
        // Opened as the program opens it.
        QSqlDatabase db = QSqlDatabase::database();
        db.close();
        CatalogueRead::limitBusyWait(db);
        QVERIFY(db.open());
        w = new MainWindowImpl;
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w));
    }

    void cleanupTestCase()
    {
        delete w;
        QSqlDatabase::database().close();
        QDir::setCurrent(m_previousDir);
    }

    void init()
    {
        w->setFilters();
        QVERIFY(w->modelsModel->rowCount() >= 2);
        w->ModelsTV->selectRow(0);
        w->refreshRC();
        QVERIFY(w->keysModel && w->keysModel->rowCount() > 0);
        MessageBox::takeLog();
    }

    void refreshWhileLocked_data()
    {
        QTest::addColumn<int>("action");
        QTest::newRow("another model chosen") << 0;
        QTest::newRow("filters applied") << 1;
        QTest::newRow("key list refreshed") << 2;
        QTest::newRow("another remote type chosen") << 3;
    }

    void refreshWhileLocked()
    {
        QFETCH(int, action);
        const QStringList modelsBefore = shown(w->ModelsTV->model());
        const QStringList keysBefore = shown(w->KeysTV->model());
        const QString modelBefore = CurrentRow::text(w->ModelsTV, 0);
        const QString typeBefore = CurrentRow::text(w->RCTypesTV, 0);

        QSqlDatabase holder = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("holder"));
        holder.setDatabaseName(QDir(m_dir.path()).filePath(QStringLiteral("rc.db")));
        QVERIFY(holder.open());
        QSqlQuery lock(holder);
        QVERIFY2(lock.exec(QStringLiteral("BEGIN EXCLUSIVE")), qPrintable(lock.lastError().text()));

        QElapsedTimer frozen;
        frozen.start();
        switch (action) {
        case 0:
            w->ModelsTV->selectRow(1);
            w->refreshRC();
            break;
        case 1:
            w->setFilters();
            break;
        case 3:
            w->RCTypesTV->selectRow(1);
            w->refreshRC();
            break;
        default:
            w->refreshKeys();
            break;
        }
        const qint64 elapsed = frozen.elapsed();

        QVERIFY(lock.exec(QStringLiteral("ROLLBACK")));
        lock.finish();
        holder.close();
        holder = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("holder"));

        // One wait for the lock, not one per panel; the margin is for a slow machine.
        QVERIFY2(elapsed < CatalogueRead::BusyTimeoutMs + 1500, qPrintable(QString::number(elapsed)));
        const QStringList told = warnings();
        QVERIFY2(!told.isEmpty(), "the user was not told");
        QVERIFY2(told.first().startsWith(QLatin1String("The catalogue could not be read: ")), qPrintable(told.first()));
        QVERIFY2(told.first().contains(QLatin1String("locked")), qPrintable(told.first()));
        QCOMPARE(shown(w->KeysTV->model()), keysBefore);
        if (action == 1)
            QCOMPARE(shown(w->ModelsTV->model()), modelsBefore);
        // What is chosen is what the panels show.
        QCOMPARE(CurrentRow::text(w->ModelsTV, 0), modelBefore);
        QCOMPARE(CurrentRow::text(w->RCTypesTV, 0), typeBefore);

        // With the lock gone the same step works again.
        if (action == 3)
            w->RCTypesTV->selectRow(1);
        else
            w->ModelsTV->selectRow(1);
        w->refreshRC();
        QCOMPARE(warnings(), QStringList());
        QVERIFY(shown(w->KeysTV->model()) != keysBefore);
    }

    // A key learned on the picture goes to the model whose keys the picture
    // shows, whatever row the model list has current.
    void learnedKeyGoesToShownModel_data()
    {
        QTest::addColumn<bool>("locked");
        QTest::newRow("after a refresh refused under a lock") << true;
        QTest::newRow("row moved without a refresh") << false;
    }

    void learnedKeyGoesToShownModel()
    {
        QFETCH(bool, locked);
        const QStringList masters = ownMasters(2);
        QCOMPARE(masters.size(), 2);
        QVERIFY(selectRowWith(w->ModelsTV, masters.at(0)));
        w->refreshRC();
        const int type = CurrentRow::cell(w->RCTypesTV, 0).toInt();
        // A key both models have, with a place on the picture.
        int nkey = -1;
        for (int n = 0; n < KeyPositionTable::HitTestLimit && nkey < 0; ++n) {
            if (w->keyPositions.contains(n) && storedCode(masters.at(0), type, n).isValid()
                && storedCode(masters.at(1), type, n).isValid())
                nkey = n;
        }
        QVERIFY(nkey >= 0);
        const QVariant otherCode = storedCode(masters.at(1), type, nkey);

        if (locked) {
            Holder holder(catalogue());
            QVERIFY(holder.held);
            QVERIFY(selectRowWith(w->ModelsTV, masters.at(1)));
            w->refreshRC();
        } else {
            QVERIFY(selectRowWith(w->ModelsTV, masters.at(1)));
        }
        MessageBox::takeLog();

        // A double click on the key once a code is shown.
        const QString code = QStringLiteral("0552") + Decode::encode(QStringLiteral("110010111"));
        w->setKeyCodeLabels(code);
        w->labelPicture->selectedKey = nkey;
        w->labelPicture->assignRequest = true;
        MessageBox::setNextAnswer(QMessageBox::Yes);
        w->insertKey();
        QCOMPARE(MessageBox::takeLog().size(), 1); // "replace this key?"
        QCOMPARE(storedCode(masters.at(0), type, nkey).toString(), code);
        QCOMPARE(storedCode(masters.at(1), type, nkey), otherCode);
        w->setKeyCodeLabels(QStringLiteral("UNKNOWN"));
    }

    // A tab switch while another program holds rc.db: one wait, a word in
    // the status line, and no empty link list.
    void tabSwitchWhileLocked()
    {
        w->tabWidget->setCurrentIndex(0);
        w->setKeyCodeLabels(CurrentRow::text(w->KeysTV, 3)); // same-key marks read on a switch too
        w->statusbar->clearMessage();
        {
            Holder holder(catalogue());
            QVERIFY(holder.held);
            QElapsedTimer frozen;
            frozen.start();
            w->tabWidget->setCurrentWidget(w->linksTab);
            const qint64 elapsed = frozen.elapsed();
            QVERIFY2(elapsed < CatalogueRead::BusyTimeoutMs + 1500, qPrintable(QString::number(elapsed)));
            const QString status = w->statusbar->currentMessage();
            QVERIFY2(status.startsWith(QLatin1String("The catalogue could not be read: ")), qPrintable(status));
            QVERIFY2(status.contains(QLatin1String("locked")), qPrintable(status));
            QVERIFY2(w->LinksTV->isHidden() || (w->LinksTV->model() && w->LinksTV->model()->rowCount() > 0),
                     "the link list is shown empty");

            w->statusbar->clearMessage();
            frozen.restart();
            w->tabWidget->setCurrentIndex(0);
            QVERIFY2(frozen.elapsed() < CatalogueRead::BusyTimeoutMs + 1500, qPrintable(QString::number(frozen.elapsed())));
            QVERIFY(!w->statusbar->currentMessage().isEmpty());
        }
        // Readable again: the links tab shows the model's group.
        w->tabWidget->setCurrentWidget(w->linksTab);
        QVERIFY(w->LinksTV->isVisibleTo(w));
        QVERIFY(w->LinksTV->model() && w->LinksTV->model()->rowCount() > 0);
        QCOMPARE(warnings(), QStringList());
        w->tabWidget->setCurrentIndex(0);
        w->setKeyCodeLabels(QStringLiteral("UNKNOWN"));
    }

    // A key search while another program holds rc.db: a box, and a list
    // that is not taken for the search's result.
    void searchWhileLocked()
    {
        // The code of the shown model's key 0, which the first search row looks for.
        const QAbstractItemModel *keys = w->KeysTV->model();
        for (int row = 0; row < keys->rowCount() && w->lineEdit1->text().isEmpty(); ++row) {
            if (keys->index(row, 4).data().toInt() == 0)
                w->lineEdit1->setText(keys->index(row, 3).data().toString());
        }
        QVERIFY(!w->lineEdit1->text().isEmpty());
        {
            Holder holder(catalogue());
            QVERIFY(holder.held);
            w->search();
        }
        const QList<MessageBox::Record> told = MessageBox::takeLog();
        QCOMPARE(told.size(), 1);
        QCOMPARE(told.first().title, QStringLiteral("Search"));
        QVERIFY2(told.first().text.startsWith(QLatin1String("The search failed: The catalogue could not be read: ")),
                 qPrintable(told.first().text));
        QCOMPARE(w->ModelsTV->model()->rowCount(), 0);
        // Once readable the same search lists its models.
        w->search();
        QCOMPARE(warnings(), QStringList());
        QVERIFY(w->ModelsTV->model()->rowCount() > 0);
        w->lineEdit1->clear();
    }
};

QTEST_MAIN(TestLockedCatalogue)
#include "tst_lockedcatalogue.moc"
