// The search tab and the conversion dialog in the real main window on the
// sample working directory: a key picked in the key list searched for, the
// rows' buttons, "New Search", and a conversion confirmed, declined, refused
// and failing.
#include "TestSupport.h"

#include "app/MessageBox.h"
#include "app/ShownText.h"
#include "catalogue/RCConvertModel.h"
#include "mainwindow/MainWindowImpl.h"
#include "search/KeySearchFilter.h"

#include <QHeaderView>
#include <QSqlQuery>
#include <QSqlTableModel>
#include <QtTest>

class TestSearchWindow : public QObject
{
    Q_OBJECT

    QTemporaryDir *m_dir = nullptr;
    QString m_previousDir;
    QSqlDatabase m_db;
    MainWindowImpl *w = nullptr;
    QString m_master; // a master with linked models and keys of types 1 and 5

    void exec(const QString &sql, const QVariantList &values = {})
    {
        QSqlQuery q(m_db);
        QVERIFY2(q.prepare(sql), qPrintable(sql));
        for (const QVariant &v : values)
            q.addBindValue(v);
        QVERIFY2(q.exec(), qPrintable(sql));
    }
    QVariant value(const QString &sql, const QVariantList &values = {})
    {
        QSqlQuery q(m_db);
        q.prepare(sql);
        for (const QVariant &v : values)
            q.addBindValue(v);
        return q.exec() && q.next() ? q.value(0) : QVariant();
    }

    static QModelIndex find(const QAbstractItemModel *m, int column, const QString &text)
    {
        for (int row = 0; m && row < m->rowCount(); ++row)
            if (m->index(row, column).data().toString() == text)
                return m->index(row, column);
        return QModelIndex();
    }

    // The model and remote type selected as a click in the lists would.
    bool select(const QString &rcid, const QString &type)
    {
        w->removeFilters();
        auto *list = qobject_cast<QSqlTableModel *>(w->ModelsTV->model());
        while (list && list->canFetchMore())
            list->fetchMore();
        const QModelIndex model = find(list, 0, rcid);
        const QModelIndex typeRow = find(w->RCTypesTV->model(), 0, type);
        if (!model.isValid() || !typeRow.isValid())
            return false;
        w->ModelsTV->selectRow(model.row());
        w->RCTypesTV->selectRow(typeRow.row());
        w->refreshRC();
        return true;
    }

    // Clicks the key list's row of key nkey, as the user picks a key.
    bool pickKey(int nkey)
    {
        const QModelIndex key = find(w->KeysTV->model(), 4, QString::number(nkey));
        if (!key.isValid())
            return false;
        const QModelIndex cell = key.sibling(key.row(), 2);
        w->KeysTV->scrollTo(cell);
        QTest::mouseClick(w->KeysTV->viewport(), Qt::LeftButton, {}, w->KeysTV->visualRect(cell).center());
        return true;
    }

    QStringList listedRcids() const
    {
        QStringList out;
        const QAbstractItemModel *m = w->ModelsTV->model();
        for (int row = 0; m && row < m->rowCount(); ++row)
            out << m->index(row, 0).data().toString();
        return out;
    }

    QStringList keysOf(const QString &rcid, int type)
    {
        QStringList out;
        QSqlQuery q(m_db);
        q.prepare(QStringLiteral("SELECT Nkey, Name, ID FROM rckeys WHERE Rcid=? AND RCTypeId=? ORDER BY Nkey"));
        q.addBindValue(rcid);
        q.addBindValue(type);
        q.exec();
        while (q.next())
            out << q.value(0).toString() + QLatin1Char(':') + q.value(1).toString() + QLatin1Char(':') +
                       q.value(2).toString();
        return out;
    }

    void whileDialogOpen(const std::function<void()> &open, const std::function<void(QDialog *)> &work)
    {
        QVERIFY(TestSupport::whileModalDialogOpen(open, work));
    }

    // Selects the conversion described so in the dialog's list.
    static bool chooseConversion(ConvertDialog &dialog, const QString &description)
    {
        const QModelIndex row = find(dialog.convertTV->model(), 1, description);
        if (!row.isValid())
            return false;
        dialog.convertTV->selectRow(row.row());
        return true;
    }

private slots:
    void initTestCase() { m_previousDir = QDir::currentPath(); }
    void cleanupTestCase() { QDir::setCurrent(m_previousDir); }

    void init()
    {
        m_dir = new QTemporaryDir;
        QVERIFY(m_dir->isValid());
        QVERIFY(TestSupport::enterSampleDirectory(m_dir->path(), nullptr));
        m_db = QSqlDatabase::database();
        m_master = value(QStringLiteral(
                             "SELECT m.Rcid FROM rcmodels m WHERE m.Rcid=m.Link AND m.Hidden=0 AND m.Hidden1=0 "
                             "AND EXISTS(SELECT 1 FROM rcmodels l WHERE l.Link=m.Rcid AND l.Rcid!=l.Link) "
                             "AND EXISTS(SELECT 1 FROM rckeys k WHERE k.Rcid=m.Rcid AND k.RCTypeId=5) "
                             "AND EXISTS(SELECT 1 FROM rckeys k WHERE k.Rcid=m.Rcid AND k.RCTypeId=1 AND k.Nkey=0) "
                             "ORDER BY m.Rcid"))
                       .toString();
        QVERIFY(!m_master.isEmpty());
        w = new MainWindowImpl;
        w->insertKeyTimer->stop();
        w->receiveTimer->stop();
        w->resize(1200, 800);
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        MessageBox::takeLog();
    }
    void cleanup()
    {
        delete w;
        w = nullptr;
        m_db = QSqlDatabase();
        QSqlDatabase::database().close();
        QSqlDatabase::removeDatabase(QLatin1String(QSqlDatabase::defaultConnection));
        QDir::setCurrent(m_previousDir);
        delete m_dir;
        m_dir = nullptr;
        MessageBox::takeLog();
    }

    void searchForAPickedKey()
    {
        QVERIFY(select(m_master, QStringLiteral("1")));
        QVERIFY(pickKey(0)); // the sample's POWER, search position 1 on every type
        const QString code = w->labelKeyId->text();
        QVERIFY(!code.isEmpty() && code != QLatin1String("UNKNOWN"));
        // Two more masters carry the code: one on type 5's shift twin of its
        // position 1 key, which is found, and one on a key of no position.
        const QStringList others = [&] {
            QStringList rcids;
            QSqlQuery q(m_db);
            q.exec(QStringLiteral("SELECT Rcid FROM rcmodels WHERE Rcid=Link AND Rcid!='%1' AND Hidden=1 "
                                  "ORDER BY Rcid LIMIT 1").arg(m_master));
            if (q.next())
                rcids << q.value(0).toString();
            q.exec(QStringLiteral("SELECT Rcid FROM rcmodels WHERE Rcid=Link AND Rcid!='%1' AND Hidden=0 "
                                  "ORDER BY Rcid DESC LIMIT 1").arg(m_master));
            if (q.next())
                rcids << q.value(0).toString();
            return rcids;
        }();
        QCOMPARE(others.size(), 2);
        const int type5Position = value("SELECT Nkey FROM rctypesearch WHERE RCTypeId=5 AND SearchOrder=1").toInt();
        exec("DELETE FROM rckeys WHERE Rcid=? AND RCTypeId=5 AND Nkey=?", {others.at(0), type5Position + 43});
        exec("INSERT INTO rckeys VALUES (?,5,'SHIFT POWER',?,?)", {others.at(0), code, type5Position + 43});
        exec("DELETE FROM rckeys WHERE Rcid=? AND RCTypeId=1 AND Nkey=33", {others.at(1)});
        exec("INSERT INTO rckeys VALUES (?,1,'REW',?,33)", {others.at(1), code});

        QTest::mouseClick(w->keysSearch1, Qt::LeftButton);
        QCOMPARE(w->lineEdit1->text(), code);

        // Every model that carries the code on a position 1 key, worked out
        // here type by type, sorted by brand and model.
        QStringList expected;
        QSqlQuery q(m_db);
        QVERIFY(q.prepare(QStringLiteral(
            "SELECT m.Rcid FROM rcmodels m WHERE EXISTS(SELECT 1 FROM rckeys k JOIN rctypesearch s ON "
            "s.RCTypeId=k.RCTypeId AND s.SearchOrder=1 WHERE k.Rcid=m.Rcid AND k.ID=? AND (k.Nkey=s.Nkey OR "
            "k.Nkey=s.Nkey+(CASE WHEN k.RCTypeId<=4 THEN 56 ELSE 43 END))) ORDER BY m.Brand, m.Model")));
        q.addBindValue(code);
        QVERIFY(q.exec());
        while (q.next())
            expected << q.value(0).toString();
        QVERIFY(expected.contains(m_master));
        QVERIFY(expected.contains(others.at(0))); // hidden, yet listed
        QVERIFY(!expected.contains(others.at(1)));
        QCOMPARE(listedRcids(), expected);
        for (int row = 0; row < w->ModelsTV->model()->rowCount(); ++row)
            QCOMPARE(w->ModelsTV->model()->index(row, 5).data().toString(), listedRcids().at(row));
        // The first result is selected and the panels follow it.
        QCOMPARE(w->ModelsTV->currentIndex().row(), 0);
        QCOMPARE(w->ModelsTV->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Brand"));

        // "New Search" empties the rows and the list.
        QTest::mouseClick(w->removeSearchPushButton, Qt::LeftButton);
        QVERIFY(w->lineEdit1->text().isEmpty());
        QCOMPARE(listedRcids(), QStringList());
        QVERIFY(!w->ModelsTV->currentIndex().isValid());
    }

    // A code longer than a line edit holds (32,767 characters) is searched
    // for whole: the row shows its start, and the model that carries it is
    // found.
    void searchForALongCode()
    {
        const QString code = QStringLiteral("0123456789ABCDEF").repeated(2500);
        exec("UPDATE rckeys SET ID=? WHERE Rcid=? AND RCTypeId=1 AND Nkey=0", {code, m_master});
        QVERIFY(select(m_master, QStringLiteral("1")));
        QVERIFY(pickKey(0));
        QTest::mouseClick(w->keysSearch1, Qt::LeftButton);
        QVERIFY2(listedRcids().contains(m_master), qPrintable(listedRcids().join(QLatin1Char(' '))));
        QVERIFY(w->lineEdit1->text().size() <= 2 * ShownText::kMaxChars);
        QVERIFY(code.startsWith(w->lineEdit1->text().chopped(1)));
        // A row typed over searches what was typed.
        w->lineEdit1->setText(QStringLiteral("0"));
        w->search();
        QVERIFY(!listedRcids().contains(m_master));
    }

    // A picked key's code shows on all three code labels, so a row button of
    // the Search tab copies the code that tab shows, not the last one received.
    void pickedKeyShownOnTheSearchTab()
    {
        QVERIFY(select(m_master, QStringLiteral("1")));
        const QString received = QStringLiteral("0011FFFFFFFFFFFFFFFFF");
        w->labelKeyId->setText(received);
        w->labelKeyId2->setText(received);
        w->labelKeyIdSearch->setText(received);
        QVERIFY(pickKey(0));
        const QString code = value("SELECT ID FROM rckeys WHERE Rcid=? AND RCTypeId=1 AND Nkey=0", {m_master})
                                 .toString();
        QVERIFY(!code.isEmpty() && code != received);
        QCOMPARE(w->labelKeyId->text(), code);
        QCOMPARE(w->labelKeyId2->text(), code);
        QCOMPARE(w->labelKeyIdSearch->text(), code);
        w->tabWidget->setCurrentWidget(w->searchTab);
        QTest::mouseClick(w->keysSearch1, Qt::LeftButton);
        QCOMPARE(w->lineEdit1->text(), w->labelKeyIdSearch->text());
    }

    // A key code is text from the catalogue: markup in it shows as typed on
    // every code label.
    void codeLabelsShowCodesAsTyped()
    {
        const QString hostile = QStringLiteral("<b>001</b><a href=\"http://x\">2</a>");
        exec("UPDATE rckeys SET ID=? WHERE Rcid=? AND RCTypeId=1 AND Nkey=0", {hostile, m_master});
        QVERIFY(select(m_master, QStringLiteral("1")));
        QVERIFY(pickKey(0));
        for (QLabel *label : {w->labelKeyId, w->labelKeyId2, w->labelKeyIdSearch}) {
            QCOMPARE(label->text(), hostile);
            QCOMPARE(label->textFormat(), Qt::PlainText);
        }
        for (QLabel *label : {w->dev1Brand, w->dev1Model, w->dev4Model, w->labelUSBconnection})
            QCOMPARE(label->textFormat(), Qt::PlainText);
        // The documentation label sets its format per text (rich only as
        // markup rebuilt to fetch nothing), never leaving it to Qt's guess.
        QVERIFY(w->documentationLabel->textFormat() != Qt::AutoText);
    }

    void rowButtons()
    {
        QVERIFY(select(m_master, QStringLiteral("1")));
        QVERIFY(pickKey(0));
        const QString code = w->labelKeyId->text();
        QTest::mouseClick(w->keysSearchX2, Qt::LeftButton);
        QCOMPARE(w->lineEditX2->text(), code);
        QVERIFY(listedRcids().contains(m_master));

        // "UNKNOWN" never reaches a row, and nothing is searched.
        QAbstractItemModel *before = w->ModelsTV->model();
        w->labelKeyId->setText(QStringLiteral("UNKNOWN"));
        QTest::mouseClick(w->keysSearch2, Qt::LeftButton);
        QVERIFY(w->lineEdit2->text().isEmpty());
        QCOMPARE(w->ModelsTV->model(), before);
        // "-" on an empty row does nothing either.
        QTest::mouseClick(w->minus3, Qt::LeftButton);
        QCOMPARE(w->ModelsTV->model(), before);

        // A key without a code empties the row it is added to, and searches.
        w->labelKeyId->setText(QString());
        QTest::mouseClick(w->keysSearchX2, Qt::LeftButton);
        QVERIFY(w->lineEditX2->text().isEmpty());
        QVERIFY(w->ModelsTV->model() != before);
        QCOMPARE(listedRcids(), QStringList());

        // "-" on a filled row empties it and searches again.
        w->labelKeyId->setText(code);
        QTest::mouseClick(w->keysSearchX1, Qt::LeftButton);
        QVERIFY(listedRcids().contains(m_master));
        QTest::mouseClick(w->minusX1, Qt::LeftButton);
        QVERIFY(w->lineEditX1->text().isEmpty());
        QCOMPARE(listedRcids(), QStringList());

        // The filter panel's list replaces the result; the rows keep their codes.
        QTest::mouseClick(w->keysSearch20, Qt::LeftButton);
        w->setFilters();
        QCOMPARE(w->lineEdit20->text(), code);
        QVERIFY(listedRcids().size() > 10);
    }

    // A failed search must pass neither for "nothing carries these codes" nor,
    // by the list left as it was, for "everything does".
    void failedSearchIsTold()
    {
        QVERIFY(select(m_master, QStringLiteral("1")));
        QVERIFY(pickKey(0));
        exec("ALTER TABLE rckeys RENAME TO rckeys_elsewhere");
        QVERIFY(!listedRcids().isEmpty());
        MessageBox::takeLog();
        QTest::mouseClick(w->keysSearchX1, Qt::LeftButton);
        const QList<MessageBox::Record> told = MessageBox::takeLog();
        QVERIFY(!told.isEmpty());
        QCOMPARE(told.first().title, QStringLiteral("Search"));
        QVERIFY2(told.first().text.startsWith(QLatin1String("The search failed: The catalogue could not be read: ")),
                 qPrintable(told.first().text));
        QVERIFY2(told.first().text.endsWith(QLatin1String("The model list is empty until a search or filter can be read.")),
                 qPrintable(told.first().text));
        // Empty, with its headers: no row stands for a result.
        QCOMPARE(listedRcids(), QStringList());
        QCOMPARE(w->ModelsTV->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Brand"));
        QVERIFY2(w->textEdit->toPlainText().contains(QLatin1String("The search failed: ")),
                 qPrintable(w->textEdit->toPlainText()));
        // Whatever else could not be read says so.
        for (const MessageBox::Record &r : told.mid(1))
            QVERIFY2(r.text.startsWith(QLatin1String("The catalogue could not be read: ")), qPrintable(r.text));
    }

    void searchTabOpens()
    {
        w->tabWidget->setCurrentIndex(0);
        w->actionSearch->trigger();
        QCOMPARE(w->tabWidget->currentWidget(), w->searchTab);
    }

    void conversionDeclinedThenConfirmed()
    {
        QVERIFY(select(m_master, QStringLiteral("5")));
        const QStringList source = keysOf(m_master, 1);
        const QStringList targetBefore = keysOf(m_master, 5);
        // What the sample's "Eight to Learner" map makes of the type 1 keys.
        QMap<int, QString> converted;
        QSqlQuery q(m_db);
        QVERIFY(q.exec(QStringLiteral("SELECT NkeyFrom, NkeyTo FROM rcconvertmap WHERE ConvertId=1")));
        while (q.next())
            for (const QString &key : source)
                if (key.section(':', 0, 0).toInt() == q.value(0).toInt())
                    converted[q.value(1).toInt()] = q.value(1).toString() + ':' + key.section(':', 1);
        QVERIFY(converted.size() > 10);
        QVERIFY(QStringList(converted.values()) != targetBefore);

        whileDialogOpen([&] { w->actionConvertRemoteControl->trigger(); },
                        [&](QDialog *dialog) {
                            QCOMPARE(dialog, static_cast<QDialog *>(&w->convertDialog));
                            QCOMPARE(dialog->windowTitle(), QStringLiteral("Converting"));
                            QCOMPARE(dialog->size(), QSize(350, 254));
                            QCOMPARE(w->convertDialog.convertButton->text(), QStringLiteral("Convert"));
                            RCConvertTableView *view = w->convertDialog.convertTV;
                            QVERIFY(view->isColumnHidden(0) && view->isColumnHidden(2) && view->isColumnHidden(3));
                            QCOMPARE(view->model()->headerData(1, Qt::Horizontal).toString(),
                                     QStringLiteral("Description"));
                            QVERIFY(chooseConversion(w->convertDialog, "Irvanta Eight to Irvanta Learner"));

                            MessageBox::setNextAnswer(QMessageBox::No);
                            QTest::mousePress(w->convertDialog.convertButton, Qt::LeftButton);
                            QTest::mouseRelease(w->convertDialog.convertButton, Qt::LeftButton);
                            const QList<MessageBox::Record> asked = MessageBox::takeLog();
                            QCOMPARE(asked.size(), 1);
                            QCOMPARE(asked.first().text, QStringLiteral("Do you really want to convert?"));
                            QVERIFY(dialog->isVisible());
                            QCOMPARE(keysOf(m_master, 5), targetBefore);

                            MessageBox::setNextAnswer(QMessageBox::Yes);
                            QTest::mousePress(w->convertDialog.convertButton, Qt::LeftButton);
                            QVERIFY(!dialog->isVisible());
                        });
        QCOMPARE(keysOf(m_master, 5), QStringList(converted.values()));
        QCOMPARE(keysOf(m_master, 1), source);
        QCOMPARE(w->statusbar->currentMessage(),
                 QStringLiteral("The keys were converted: the target remote type now holds %1 key(s).")
                     .arg(converted.size()));
        // The key list of the selected model and type shows the new keys.
        QCOMPARE(w->KeysTV->model()->rowCount(), converted.size());

        // A linked model shows its master's converted keys.
        const QString linked =
            value("SELECT Rcid FROM rcmodels WHERE Link=? AND Rcid!=Link AND Hidden=0 AND Hidden1=0", {m_master})
                .toString();
        if (!linked.isEmpty()) {
            QVERIFY(select(linked, QStringLiteral("5")));
            QCOMPARE(w->KeysTV->model()->rowCount(), converted.size());
        }
    }

    void conversionRefusedOrFailing_data()
    {
        QTest::addColumn<QString>("description");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("message");
        QTest::addRow("onto itself") << "Irvanta Eight onto itself" << "warning"
                                     << "This conversion has the same remote type as source and target; nothing "
                                        "was converted.";
        QTest::addRow("a statement fails") << "Irvanta Eight to Irvanta Learner" << "critical"
                                           << "The keys were not converted; nothing was changed.\ndisk is full";
        QTest::addRow("no conversion chosen") << "" << "information"
                                              << "Choose a conversion in the list first; nothing was converted.";
    }
    void conversionRefusedOrFailing()
    {
        QFETCH(QString, description);
        QFETCH(QString, kind);
        QFETCH(QString, message);
        exec("INSERT INTO rcconvert VALUES (9,'Irvanta Eight onto itself',1,1)");
        exec("INSERT INTO rcconvertmap VALUES (9,0,1)");
        exec("CREATE TRIGGER full BEFORE INSERT ON rckeys WHEN NEW.RCTypeId=5 BEGIN SELECT RAISE(ABORT, 'disk is "
             "full'); END");
        QVERIFY(select(m_master, QStringLiteral("1")));
        const QStringList before = TestSupport::tableRows(m_db, QStringLiteral("rckeys"), "Rcid,RCTypeId,Nkey");
        whileDialogOpen([&] { w->actionConvertRemoteControl->trigger(); },
                        [&](QDialog *dialog) {
                            if (description.isEmpty())
                                w->convertDialog.convertTV->setCurrentIndex(QModelIndex());
                            else
                                QVERIFY(chooseConversion(w->convertDialog, description));
                            MessageBox::setNextAnswer(QMessageBox::Yes);
                            QTest::mousePress(w->convertDialog.convertButton, Qt::LeftButton);
                            const QList<MessageBox::Record> log = MessageBox::takeLog();
                            QCOMPARE(log.size(), kind == QLatin1String("critical") ? 2 : 1); // a refusal comes before the question
                            QCOMPARE(log.last().kind, kind);
                            // The database's own words may follow.
                            QVERIFY2(log.last().text.startsWith(message), qPrintable(log.last().text));
                            QVERIFY(dialog->isVisible()); // the user may choose again
                        });
        QCOMPARE(TestSupport::tableRows(m_db, QStringLiteral("rckeys"), "Rcid,RCTypeId,Nkey"), before);
    }
};

QTEST_MAIN(TestSearchWindow)
#include "tst_searchwindow.moc"
