// The window while another program holds rc.db locked: each refresh waits
// for the lock at most once and no longer than the busy time-out, tells the
// user, and leaves the lists showing what they showed before.
#include "TestSupport.h"

#include "app/MessageBox.h"
#include "catalogue/CatalogueRead.h"
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
    }

    void refreshWhileLocked()
    {
        QFETCH(int, action);
        const QStringList modelsBefore = shown(w->ModelsTV->model());
        const QStringList keysBefore = shown(w->KeysTV->model());

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

        // With the lock gone the same step works again.
        w->ModelsTV->selectRow(1);
        w->refreshRC();
        QCOMPARE(warnings(), QStringList());
        QVERIFY(shown(w->KeysTV->model()) != keysBefore);
    }
};

QTEST_MAIN(TestLockedCatalogue)
#include "tst_lockedcatalogue.moc"
