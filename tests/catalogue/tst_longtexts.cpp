// Catalogue texts of megabytes (an old import, a hand-edited rc.db) in the
// real window: the lists, labels and tooltips measure and draw a bounded
// start of such a text, so the window starts, and a click on the key with
// the long code shows, within a second and in little memory.
#include "TestSupport.h"
#include "app/FittedFont.h"
#include "app/MessageBox.h"
#include "app/ShownText.h"
#include "catalogue/CurrentRow.h"
#include "mainwindow/MainWindowImpl.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHelpEvent>
#include <QSqlQuery>
#include <QTextDocument>
#include <QToolTip>
#include <QtTest>

#include <memory>

#include <malloc.h>

namespace {

// A memory figure of this process from /proc/self/status ("VmHWM:" is the
// peak resident size, "VmRSS:" the resident size now), in KiB; -1 when it
// cannot be read.
qint64 statusKib(const QByteArray &field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly | QIODevice::Text))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(field.size()).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

// Sets the peak back to what the process holds now, so that the peak read
// later is what came after (Linux since 4.0).
bool resetPeak()
{
    QFile refs(QStringLiteral("/proc/self/clear_refs"));
    return refs.open(QIODevice::WriteOnly) && refs.write("5") == 1;
}

QString textOf(const QString &unit, qsizetype chars)
{
    QString text = unit.repeated(chars / unit.size() + 1);
    text.truncate(chars);
    return text;
}

bool update(const QString &sql, const QVariantList &values)
{
    QSqlQuery query;
    if (!query.prepare(sql))
        return false;
    for (const QVariant &value : values)
        query.addBindValue(value);
    return query.exec() && query.numRowsAffected() == 1;
}

constexpr QChar kEllipsis(0x2026);

} // namespace

class TestLongTexts : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_previousDir;
    MainWindowImpl *w = nullptr;
    QString m_rcid;
    QString m_typeId;

    // The row of view whose column holds text, or an invalid index.
    static QModelIndex rowHolding(QAbstractItemView *view, int column, const QString &text)
    {
        const QAbstractItemModel *model = view->model();
        for (int row = 0; model && row < model->rowCount(); ++row) {
            if (model->index(row, column).data().toString() == text)
                return model->index(row, column);
        }
        return {};
    }

    void startWindow()
    {
        w = new MainWindowImpl;
        w->insertKeyTimer->stop();
        w->receiveTimer->stop();
        w->resize(1280, 900);
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        w->tabWidget->setCurrentIndex(0);
        // Everything drawn once, as the screen would show it.
        w->grab();
    }

private slots:
    // Each test starts on a catalogue of its own: rows of a table would
    // otherwise meet the long texts of the rows before.
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(TestSupport::enterSampleDirectory(m_dir->path(), &m_previousDir));
        // The window starts on the first remote type of the list; a model
        // with keys for it gets the long texts (and a brand that puts it first).
        m_typeId = TestSupport::sqlValue(QStringLiteral("SELECT MIN(RCTypeId) FROM rctypes")).toString();
        m_rcid = TestSupport::sqlValue(QStringLiteral("SELECT m.Rcid FROM rcmodels m JOIN rckeys k ON k.Rcid=m.Rcid "
                                                      "WHERE m.Link=m.Rcid AND k.RCTypeId=? ORDER BY m.Brand LIMIT 1"),
                                       {m_typeId})
                     .toString();
        QVERIFY(!m_typeId.isEmpty());
        QVERIFY(!m_rcid.isEmpty());
    }
    void cleanup()
    {
        delete w;
        w = nullptr;
        {
            QSqlDatabase db = QSqlDatabase::database();
            db.close();
        }
        QSqlDatabase::removeDatabase(QSqlDatabase::defaultConnection);
        QDir::setCurrent(m_previousDir);
        m_dir.reset();
    }

    // Measured with the whole texts drawn: the brand, model and code row took
    // 36 s and 490 MiB more than an ordinary start (70 ms, nothing more), and
    // the brand's completion another 13 s; the remote-type name 7 s and
    // 360 MiB, the device type 3.5 s and 400 MiB. With a bounded start drawn:
    // under half a second, and the catalogue's own copies of the texts (the
    // list's rows, the lists for completion, SQLite's reads), up to five times
    // their size. The time bound is for a loaded machine.
    void hugeTextsShowQuickly_data()
    {
        QTest::addColumn<int>("brandChars");
        QTest::addColumn<int>("deviceTypeChars");
        QTest::addColumn<int>("modelChars");
        QTest::addColumn<int>("codeChars");
        QTest::addColumn<int>("typeNameChars");
        QTest::addRow("10 MB brand and model, 2 MB code") << 10'000'000 << 0 << 10'000'000 << 2'000'000 << 0;
        QTest::addRow("10 MB remote-type name") << 0 << 0 << 0 << 0 << 10'000'000;
        QTest::addRow("10 MB device type") << 0 << 10'000'000 << 0 << 0 << 0;
    }
    void hugeTextsShowQuickly()
    {
        QFETCH(int, brandChars);
        QFETCH(int, deviceTypeChars);
        QFETCH(int, modelChars);
        QFETCH(int, codeChars);
        QFETCH(int, typeNameChars);
        // "!" sorts before every letter and digit: the brand stays first.
        const QString brand = brandChars ? QLatin1Char('!') + textOf(QStringLiteral("Brand "), brandChars - 1)
                                         : QString();
        const QString deviceType = deviceTypeChars ? textOf(QStringLiteral("TV "), deviceTypeChars) : QString();
        const QString model = modelChars ? textOf(QStringLiteral("Model 42 "), modelChars) : QString();
        const QString code = codeChars ? textOf(QStringLiteral("0123456789ABCDEF"), codeChars) : QString();
        const QString typeName = typeNameChars ? textOf(QStringLiteral("Type "), typeNameChars) : QString();
        QSqlDatabase::database().transaction();
        if (!brand.isEmpty())
            QVERIFY(update(QStringLiteral("UPDATE rcmodels SET Brand=? WHERE Rcid=?"), {brand, m_rcid}));
        if (!deviceType.isEmpty())
            QVERIFY(update(QStringLiteral("UPDATE rcmodels SET Type=? WHERE Rcid=?"), {deviceType, m_rcid}));
        if (!model.isEmpty())
            QVERIFY(update(QStringLiteral("UPDATE rcmodels SET Model=? WHERE Rcid=?"), {model, m_rcid}));
        if (!code.isEmpty()) {
            QVERIFY(update(QStringLiteral("UPDATE rckeys SET ID=? WHERE rowid=(SELECT MIN(rowid) FROM rckeys "
                                          "WHERE Rcid=? AND RCTypeId=?)"),
                           {code, m_rcid, m_typeId}));
        }
        if (!typeName.isEmpty())
            QVERIFY(update(QStringLiteral("UPDATE rctypes SET RCTypeName=? WHERE RCTypeId=?"), {typeName, m_typeId}));
        QVERIFY(QSqlDatabase::database().commit());

        // Freed memory of earlier rows, kept by malloc, would hide a growth.
        malloc_trim(0);
        const bool reset = resetPeak();
        const qint64 before = statusKib(reset ? "VmRSS:" : "VmHWM:");
        QVERIFY(before > 0);
        QElapsedTimer timer;
        timer.start();
        startWindow();
        const qint64 started = timer.elapsed();
        if (!code.isEmpty()) {
            const QModelIndex key = rowHolding(w->KeysTV, 3, code);
            QVERIFY2(key.isValid(), "the window does not show the key with the long code");
            w->KeysTV->scrollTo(key);
            QTest::mouseClick(w->KeysTV->viewport(), Qt::LeftButton, {}, w->KeysTV->visualRect(key).center());
            QCOMPARE(w->KeysTV->currentIndex().row(), key.row());
            w->grab();
            // The Search tab shows the code as well.
            w->tabWidget->setCurrentWidget(w->searchTab);
            w->grab();
        }
        if (!brand.isEmpty()) {
            // The model goes into a simple-programming slot, whose labels name it.
            w->settingsSimpleProgramming = true;
            w->refreshSimpleProgram();
            QVERIFY(w->dev1Add->isEnabled());
            QTest::mousePress(w->dev1Add, Qt::LeftButton);
            QVERIFY(w->dev1Brand->isVisible());
            w->grab();
        }
        // The brand field's completion and the type box's list, as typing
        // "!" or opening the box shows them.
        w->tabWidget->setCurrentIndex(0);
        w->brandCompleter->setCompletionPrefix(QStringLiteral("!"));
        w->brandCompleter->complete();
        QCOMPARE(w->brandCompleter->popup()->isVisible(), !brand.isEmpty());
        w->brandCompleter->popup()->grab();
        w->brandCompleter->popup()->hide();
        w->comboBoxType->showPopup();
        QVERIFY(w->comboBoxType->view()->isVisible());
        w->comboBoxType->view()->grab();
        w->comboBoxType->hidePopup();
        const qint64 elapsed = timer.elapsed();
        const qint64 grown = statusKib("VmHWM:") - before;
        qInfo("started in %lld ms, the rest in %lld ms; peak %lld MiB more", started, elapsed - started, grown / 1024);

        // The window shows what the catalogue holds.
        if (!brand.isEmpty()) {
            QVERIFY(w->ModelsTV->model()->index(0, 1).data().toString() == brand);
            QVERIFY(w->ModelsTV->model()->index(0, 3).data().toString() == model);
            QVERIFY(w->dev1Brand->text() == ShownText::bounded(brand));
            QVERIFY(w->dev1Model->text() == ShownText::bounded(model));
        }
        if (!code.isEmpty()) {
            // The labels show the code's start; the window goes on with the whole code.
            for (QLabel *label : {w->labelKeyId, w->labelKeyId2, w->labelKeyIdSearch}) {
                QVERIFY(FittedFont::text(label) == code);
                QVERIFY(label->text().size() <= ShownText::kMaxChars + 1);
                QVERIFY(code.startsWith(label->text().chopped(1)));
                QVERIFY(label->text().endsWith(kEllipsis));
            }
        }
        if (!deviceType.isEmpty()) {
            const int item = w->comboBoxType->findData(deviceType);
            QVERIFY2(item >= 0, "the type box does not hold the long type");
            QVERIFY(w->comboBoxType->itemText(item) == ShownText::bounded(deviceType));
        }
        if (!typeName.isEmpty())
            QVERIFY2(rowHolding(w->RCTypesTV, 1, typeName).isValid(), "the window does not show the long type name");

        QVERIFY2(elapsed < 5000, qPrintable(QStringLiteral("%1 ms").arg(elapsed)));
        const qint64 chars = qint64(brandChars) + deviceTypeChars + modelChars + codeChars + typeNameChars;
        const qint64 textKib = 2 * chars / 1024;
        QVERIFY2(grown < 5 * textKib + 64 * 1024,
                 qPrintable(QStringLiteral("%1 MiB for %2 MiB of text").arg(grown / 1024).arg(textKib / 1024)));
    }

    // The reasons on greyed-out buttons name the model and the remote type:
    // a name of megabytes by its start.
    void reasonTooltipsNameTheStart()
    {
        // The first model, without keys for the first remote type.
        const QString keyless = m_rcid;
        QVERIFY(TestSupport::sqlExec(QStringLiteral("DELETE FROM rckeys WHERE Rcid=? AND RCTypeId=?"),
                                     {keyless, m_typeId}));
        const QString brand = QLatin1Char('!') + textOf(QStringLiteral("Brand "), 99'999);
        const QString model = textOf(QStringLiteral("Model 42 "), 100'000);
        const QString typeName = textOf(QStringLiteral("Type "), 100'000);
        QVERIFY(update(QStringLiteral("UPDATE rcmodels SET Brand=?, Model=? WHERE Rcid=?"), {brand, model, keyless}));
        QVERIFY(update(QStringLiteral("UPDATE rctypes SET RCTypeName=? WHERE RCTypeId=?"), {typeName, m_typeId}));
        startWindow();
        QCOMPARE(CurrentRow::text(w->ModelsTV, 0), keyless);
        const QString reason = w->dev1Add->toolTip();
        QVERIFY2(reason.contains(brand.left(ShownText::kMaxChars) + kEllipsis), qPrintable(reason.left(200)));
        QVERIFY(reason.contains(model.left(ShownText::kMaxChars) + kEllipsis));
        QVERIFY(reason.contains(typeName.left(ShownText::kMaxChars) + kEllipsis));
        QVERIFY2(reason.size() < 3 * ShownText::kMaxChars + 200, qPrintable(QString::number(reason.size())));
    }

    // The reasons name the model and the type as plain text: a brand that
    // looks like markup is shown as typed, not drawn as markup.
    void reasonTooltipsArePlainText()
    {
        const QString keyless = m_rcid;
        QVERIFY(TestSupport::sqlExec(QStringLiteral("DELETE FROM rckeys WHERE Rcid=? AND RCTypeId=?"),
                                     {keyless, m_typeId}));
        const QString brand = QStringLiteral("!<b>Bold</b>");
        const QString model = QStringLiteral("<i>M</i>");
        QVERIFY(update(QStringLiteral("UPDATE rcmodels SET Brand=?, Model=? WHERE Rcid=?"), {brand, model, keyless}));
        startWindow();
        QCOMPARE(CurrentRow::text(w->ModelsTV, 0), keyless);
        // What the tooltip shows, read as Qt reads a tooltip's text.
        const QString tip = w->dev1Add->toolTip();
        QTextDocument shown;
        if (Qt::mightBeRichText(tip))
            shown.setHtml(tip);
        else
            shown.setPlainText(tip);
        QVERIFY2(shown.toPlainText().contains(brand + QLatin1Char(' ') + model), qPrintable(tip));
    }

    // A code too long for its place shows its whole text in a tooltip; a
    // code of megabytes its start.
    void codeTooltipsShowTheStart()
    {
        const QString code = textOf(QStringLiteral("0123456789ABCDEF"), 100'000);
        QVERIFY(update(QStringLiteral("UPDATE rcmodels SET Brand='!' WHERE Rcid=?"), {m_rcid}));
        QVERIFY(update(QStringLiteral("UPDATE rckeys SET ID=? WHERE rowid=(SELECT MIN(rowid) FROM rckeys "
                                      "WHERE Rcid=? AND RCTypeId=?)"),
                       {code, m_rcid, m_typeId}));
        startWindow();
        const QModelIndex key = rowHolding(w->KeysTV, 3, code);
        QVERIFY(key.isValid());
        w->KeysTV->scrollTo(key);
        const QPoint at = w->KeysTV->visualRect(key).center();
        QHelpEvent help(QEvent::ToolTip, at, w->KeysTV->viewport()->mapToGlobal(at));
        QApplication::sendEvent(w->KeysTV->viewport(), &help);
        QTRY_VERIFY(QToolTip::isVisible());
        const QString listTip = QToolTip::text();
        QToolTip::hideText();
        QTest::mouseClick(w->KeysTV->viewport(), Qt::LeftButton, {}, at);
        QVERIFY(FittedFont::text(w->labelKeyId) == code);
        const QString labelTip = w->labelKeyId->toolTip();
        for (const QString &tip : {listTip, labelTip}) {
            QVERIFY2(tip.contains(code.left(ShownText::kMaxChars) + kEllipsis), qPrintable(tip.left(200)));
            QVERIFY2(tip.size() < ShownText::kMaxChars + 200, qPrintable(QString::number(tip.size())));
        }
    }

    // Deleting a model of megabytes asks and tells by the names' start: the
    // box and the status bar lay out all they are given.
    void deleteNamesTheStart()
    {
        const QString brand = QLatin1Char('!') + textOf(QStringLiteral("Brand "), 9'999'999);
        const QString model = textOf(QStringLiteral("Model 42 "), 10'000'000);
        QVERIFY(update(QStringLiteral("UPDATE rcmodels SET Brand=?, Model=?, Own=1 WHERE Rcid=?"),
                       {brand, model, m_rcid}));
        QVERIFY(TestSupport::sqlExec(QStringLiteral("UPDATE rcmodels SET Own=1 WHERE Link=?"), {m_rcid}));
        startWindow();
        QCOMPARE(CurrentRow::text(w->ModelsTV, 0), m_rcid);
        MessageBox::takeLog();
        MessageBox::setNextAnswer(QMessageBox::Yes);
        QElapsedTimer timer;
        timer.start();
        w->deleteRemoteControl();
        w->grab();
        const qint64 elapsed = timer.elapsed();
        QVERIFY(!TestSupport::sqlValue(QStringLiteral("SELECT 1 FROM rcmodels WHERE Rcid=?"), {m_rcid}).isValid());
        const QList<MessageBox::Record> boxes = MessageBox::takeLog();
        QCOMPARE(boxes.size(), 1);
        const QString asked = boxes.at(0).text;
        QVERIFY2(asked.contains(brand.left(ShownText::kMaxChars) + kEllipsis), qPrintable(asked.left(200)));
        QVERIFY(asked.contains(model.left(ShownText::kMaxChars) + kEllipsis));
        QVERIFY2(asked.size() < 2 * ShownText::kMaxChars + 200, qPrintable(QString::number(asked.size())));
        // The status line is cut as a whole, within the brand.
        const QString told = w->statusbar->currentMessage();
        QVERIFY2(told.contains(brand.left(1000)), qPrintable(told.left(200)));
        QVERIFY2(told.size() <= ShownText::kMaxChars + 1, qPrintable(QString::number(told.size())));
        QVERIFY2(elapsed < 5000, qPrintable(QStringLiteral("%1 ms").arg(elapsed)));
    }
};

QTEST_MAIN(TestLongTexts)
#include "tst_longtexts.moc"
