// The record dialog driven through its widgets: the three modes, what each
// writes, and that an edit changes only what the user changed.
#include "CostlyDocumentations.h"
#include "TestSupport.h"
#include "catalogue/DocumentationText.h"

#include "catalogue/NewRemoteDialogImpl.h"

#include <QClipboard>
#include <QCompleter>
#include <QElapsedTimer>
#include <QSqlQuery>
#include <QStringListModel>
#include <QTextList>
#include <QTextTable>
#include <QtTest>

#include <sys/stat.h>

class TestNewRemoteDialog : public QObject
{
    Q_OBJECT

    QTemporaryDir *m_dir = nullptr;
    QSqlDatabase m_db;
    NewRemoteDialogImpl *m_dialog = nullptr;
    QCompleter *m_brands = nullptr;
    QCompleter *m_types = nullptr;

    // What the last OK did.
    NewRemoteDialogImpl::WriteResult m_result = NewRemoteDialogImpl::WriteResult::NoMode;
    QString m_rcid, m_error;
    int m_presses = 0;

    void insert(const TestSupport::FixtureModel &m) { QVERIFY(TestSupport::insertModel(m_db, m)); }
    QVariantMap row(const QString &rcid) { return TestSupport::modelRow(m_db, rcid); }
    QStringList allRows() { return TestSupport::tableRows(m_db, QStringLiteral("rcmodels"), QStringLiteral("Rcid")); }

    NewRemoteDialogImpl::Record record(const QString &rcid)
    {
        const QVariantMap r = row(rcid);
        NewRemoteDialogImpl::Record rec;
        rec.rcid = r.value(QStringLiteral("Rcid")).toString();
        rec.link = r.value(QStringLiteral("Link")).toString();
        rec.brand = r.value(QStringLiteral("Brand")).toString();
        rec.type = r.value(QStringLiteral("Type")).toString();
        rec.model = r.value(QStringLiteral("Model")).toString();
        rec.documentation = r.value(QStringLiteral("Documentation")).toString();
        rec.correction = r.value(QStringLiteral("Correction")).toDouble();
        rec.own = r.value(QStringLiteral("Own")).toBool();
        rec.prot = r.value(QStringLiteral("Prot")).toInt();
        return rec;
    }

    void type(QWidget *w, const QString &text)
    {
        w->setFocus();
        // keyClicks knows only ASCII; other letters arrive as their text.
        for (const QChar c : text) {
            if (c.unicode() < 0x80)
                QTest::keyClick(w, c.toLatin1());
            else
                QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
    }

    void replace(QLineEdit *w, const QString &text)
    {
        w->selectAll();
        type(w, text);
    }

    void pressOk()
    {
        QTest::mouseClick(m_dialog->okPushButton, Qt::LeftButton);
    }

    void openEdit(const QString &rcid, bool showRcidLink = false, bool correction = false, bool protocol = false)
    {
        m_dialog->prepareEdit(record(rcid), m_brands, m_types, showRcidLink, correction, protocol);
        m_dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_dialog));
    }

private slots:
    void init()
    {
        m_dir = new QTemporaryDir;
        QVERIFY(m_dir->isValid());
        m_db = TestSupport::openFixtureCatalogue(m_dir->path());
        QVERIFY(m_db.isOpen());
        insert({"aaaa0000", "ALPHA", "TV", "A-1", "<p>A <b>bold</b> word</p>", "aaaa0000", 1.25, 1, 1, 1234});
        insert({"aaaa0001", "ALPHA", "TV", "A-2", "", "aaaa0000", 0, 1, 1, 0});
        insert({"ffff0000", "sony", "tv", "kd-55", "<i>factory</i> notes", "ffff0000", 25.0, 0, 1, 1234});

        m_dialog = new NewRemoteDialogImpl;
        m_brands = new QCompleter(QStringList{QStringLiteral("ALPHA"), QStringLiteral("BEKKER")}, m_dialog);
        m_brands->setCaseSensitivity(Qt::CaseInsensitive);
        m_types = new QCompleter(QStringList{QStringLiteral("DVD"), QStringLiteral("TV")}, m_dialog);
        m_presses = 0;
        m_result = NewRemoteDialogImpl::WriteResult::NoMode;
        m_rcid.clear();
        m_error.clear();
        // The main window runs the write on the button going down; so does the test.
        connect(m_dialog->okPushButton, &QPushButton::pressed, m_dialog, [this] {
            ++m_presses;
            m_rcid.clear();
            m_result = m_dialog->write(m_db, &m_rcid, &m_error);
        });
    }
    void cleanup()
    {
        delete m_dialog;
        m_dialog = nullptr;
        m_db.close();
        m_db = QSqlDatabase();
        QSqlDatabase::removeDatabase(QLatin1String(QSqlDatabase::defaultConnection));
        delete m_dir;
        m_dir = nullptr;
    }

    void form()
    {
        QCOMPARE(m_dialog->objectName(), QStringLiteral("NewRemoteDialog"));
        QCOMPARE(m_dialog->minimumSize(), QSize(600, 470));
        QCOMPARE(m_dialog->maximumSize(), QSize(600, 580));
        QCOMPARE(m_dialog->correctionDSB->decimals(), 1);
        QCOMPARE(m_dialog->correctionDSB->minimum(), -20.0);
        QCOMPARE(m_dialog->correctionDSB->maximum(), 20.0);
        QCOMPARE(m_dialog->correctionDSB->singleStep(), 0.1);
        QCOMPARE(m_dialog->protocolSB->maximum(), 999);
        QCOMPARE(m_dialog->protocolSB->buttonSymbols(), QAbstractSpinBox::NoButtons);
        for (QLabel *l : {m_dialog->labelBrand, m_dialog->labelType, m_dialog->labelModel, m_dialog->labelRcid,
                          m_dialog->labelLink, m_dialog->correctionLabel, m_dialog->protocolLabel}) {
            QCOMPARE(l->minimumWidth(), 150);
            QCOMPARE(l->maximumWidth(), 150);
        }
        QCOMPARE(m_dialog->layoutWidget->geometry(), QRect(10, 10, 580, 560));
    }

    void openingTexts_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("ok");
        QTest::addRow("new") << 1 << "New Remote Control"
                             << "Add New RC";
        QTest::addRow("edit") << 2 << "Edit Remote Control"
                              << "Edit RC";
        QTest::addRow("link") << 3 << "New Remote Control Link"
                              << "Add New RC Link";
    }
    void openingTexts()
    {
        QFETCH(int, mode);
        QFETCH(QString, title);
        QFETCH(QString, ok);
        if (mode == 1)
            m_dialog->prepareNew(m_brands, m_types);
        else if (mode == 2)
            m_dialog->prepareEdit(record(QStringLiteral("aaaa0000")), m_brands, m_types, false, false, false);
        else
            m_dialog->prepareLink(QStringLiteral("aaaa0000"), m_brands, m_types);
        QCOMPARE(m_dialog->mode, mode);
        QCOMPARE(m_dialog->windowTitle(), title);
        QCOMPARE(m_dialog->okPushButton->text(), ok);
        QCOMPARE(m_dialog->cancelPushButton->text(), QStringLiteral("Cancel"));
        QVERIFY(!(m_dialog->windowFlags() & Qt::WindowContextHelpButtonHint));
        QCOMPARE(m_dialog->brandLineEdit->completer(), m_brands);
        QCOMPARE(m_dialog->typeLineEdit->completer(), m_types);
    }

    void newModelStoresTextsExactly_data()
    {
        QTest::addColumn<QString>("brand");
        QTest::addColumn<QString>("doc");
        QTest::addRow("apostrophe") << QStringLiteral("o'neil") << QStringLiteral("it's John's remote");
        QTest::addRow("percent") << QStringLiteral("100% hifi_x") << QStringLiteral("50% off; 'quoted'");
        QTest::addRow("non-ASCII") << QStringLiteral("grundig élan") << QStringLiteral("Fernbedienung für Küche");
        QTest::addRow("injection") << QStringLiteral("')or(1=1") << QStringLiteral("'); DROP TABLE rcmodels; --");
    }
    void newModelStoresTextsExactly()
    {
        QFETCH(QString, brand);
        QFETCH(QString, doc);
        m_dialog->prepareNew(m_brands, m_types);
        m_dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_dialog));
        QVERIFY(m_dialog->ownCheckBox->isChecked());
        QVERIFY(!m_dialog->ownCheckBox->isEnabled());
        for (QWidget *w : {static_cast<QWidget *>(m_dialog->correctionDSB), static_cast<QWidget *>(m_dialog->protocolSB),
                           static_cast<QWidget *>(m_dialog->rcidLineEdit), static_cast<QWidget *>(m_dialog->linkLineEdit)})
            QVERIFY(!w->isVisible());

        type(m_dialog->brandLineEdit, brand);
        type(m_dialog->typeLineEdit, QStringLiteral("dvd"));
        type(m_dialog->modelLineEdit, QStringLiteral("ab-12"));
        type(m_dialog->documentationTextEdit, doc);
        pressOk();
        QCOMPARE(m_result, NewRemoteDialogImpl::WriteResult::Written);
        QVERIFY(QRegularExpression(QStringLiteral("^[0-9a-f]{8}$")).match(m_rcid).hasMatch());
        const QVariantMap r = row(m_rcid);
        QCOMPARE(r.value(QStringLiteral("Brand")).toString(), brand.toUpper());
        QCOMPARE(r.value(QStringLiteral("Type")).toString(), QStringLiteral("DVD"));
        QCOMPARE(r.value(QStringLiteral("Model")).toString(), QStringLiteral("AB-12"));
        QCOMPARE(r.value(QStringLiteral("Documentation")).toString(), doc);
        QCOMPARE(r.value(QStringLiteral("Link")).toString(), m_rcid);
        QCOMPARE(r.value(QStringLiteral("Own")).toInt(), 1);
        QCOMPARE(r.value(QStringLiteral("Flag")).toInt(), 0);
        QCOMPARE(allRows().size(), 4);
    }

    void emptyFieldWritesNothing_data()
    {
        QTest::addColumn<int>("emptyField");
        QTest::addRow("brand") << 0;
        QTest::addRow("type") << 1;
        QTest::addRow("model") << 2;
    }
    void emptyFieldWritesNothing()
    {
        QFETCH(int, emptyField);
        const QStringList before = allRows();
        m_dialog->prepareNew(m_brands, m_types);
        m_dialog->show();
        QLineEdit *fields[] = {m_dialog->brandLineEdit, m_dialog->typeLineEdit, m_dialog->modelLineEdit};
        for (int i = 0; i < 3; ++i)
            if (i != emptyField)
                type(fields[i], QStringLiteral("x"));
        pressOk();
        QCOMPARE(m_result, NewRemoteDialogImpl::WriteResult::Incomplete);
        QCOMPARE(allRows(), before);
        // Blanks are text: the Part accepts them.
        type(fields[emptyField], QStringLiteral(" "));
        pressOk();
        QCOMPARE(m_result, NewRemoteDialogImpl::WriteResult::Written);
    }

    void linkJoinsMaster()
    {
        m_dialog->prepareLink(QStringLiteral("aaaa0000"), m_brands, m_types);
        m_dialog->show();
        QCOMPARE(m_dialog->masterRcid, QStringLiteral("aaaa0000"));
        type(m_dialog->brandLineEdit, QStringLiteral("beta"));
        type(m_dialog->typeLineEdit, QStringLiteral("sat"));
        type(m_dialog->modelLineEdit, QStringLiteral("b-2"));
        pressOk();
        QCOMPARE(m_result, NewRemoteDialogImpl::WriteResult::Written);
        const QVariantMap r = row(m_rcid);
        QCOMPARE(r.value(QStringLiteral("Link")).toString(), QStringLiteral("aaaa0000"));
        QCOMPARE(r.value(QStringLiteral("Brand")).toString(), QStringLiteral("BETA"));
        QCOMPARE(r.value(QStringLiteral("Own")).toInt(), 1);
    }

    void linkToMissingMasterWritesNothing()
    {
        QSqlQuery q(m_db);
        QVERIFY(q.exec(QStringLiteral("DELETE FROM rcmodels WHERE Rcid='aaaa0000'")));
        const QStringList before = allRows();
        m_dialog->prepareLink(QStringLiteral("aaaa0000"), m_brands, m_types);
        m_dialog->show();
        type(m_dialog->brandLineEdit, QStringLiteral("b"));
        type(m_dialog->typeLineEdit, QStringLiteral("t"));
        type(m_dialog->modelLineEdit, QStringLiteral("m"));
        pressOk();
        QCOMPARE(m_result, NewRemoteDialogImpl::WriteResult::Failed);
        QVERIFY(m_error.contains(QLatin1String("aaaa0000")));
        QCOMPARE(allRows(), before);
    }

    void editShowsRecord_data()
    {
        QTest::addColumn<bool>("showRcidLink");
        QTest::addColumn<bool>("correction");
        QTest::addColumn<bool>("protocol");
        QTest::addRow("all hidden") << false << false << false;
        QTest::addRow("all shown") << true << true << true;
        QTest::addRow("only correction") << false << true << false;
    }
    void editShowsRecord()
    {
        QFETCH(bool, showRcidLink);
        QFETCH(bool, correction);
        QFETCH(bool, protocol);
        openEdit(QStringLiteral("aaaa0001"), showRcidLink, correction, protocol);
        QCOMPARE(m_dialog->currentRcid, QStringLiteral("aaaa0001"));
        QCOMPARE(m_dialog->brandLineEdit->text(), QStringLiteral("ALPHA"));
        QCOMPARE(m_dialog->modelLineEdit->text(), QStringLiteral("A-2"));
        QCOMPARE(m_dialog->rcidLineEdit->text(), QStringLiteral("aaaa0001"));
        QCOMPARE(m_dialog->linkLineEdit->text(), QStringLiteral("aaaa0000"));
        QCOMPARE(m_dialog->rcidLineEdit->isVisible(), showRcidLink);
        QCOMPARE(m_dialog->labelLink->isVisible(), showRcidLink);
        QCOMPARE(m_dialog->correctionDSB->isVisible(), correction);
        QCOMPARE(m_dialog->protocolSB->isVisible(), protocol);
        QVERIFY(m_dialog->brandLineEdit->isEnabled());
        QVERIFY(!m_dialog->ownCheckBox->isEnabled());
        QVERIFY(m_dialog->ownCheckBox->isChecked());
    }

    void editOwnWritesOnlyChanges()
    {
        // Everything shown; only the type is changed.
        openEdit(QStringLiteral("aaaa0000"), true, true, true);
        QCOMPARE(m_dialog->correctionDSB->value(), 1.3); // shown rounded ...
        QCOMPARE(m_dialog->protocolSB->value(), 999);    // ... and limited
        QCOMPARE(m_dialog->documentationTextEdit->toPlainText(), QStringLiteral("A bold word"));
        const QVariantMap before = row(QStringLiteral("aaaa0000"));
        replace(m_dialog->typeLineEdit, QStringLiteral("o'neil 5%"));
        pressOk();
        QCOMPARE(m_result, NewRemoteDialogImpl::WriteResult::Written);
        QCOMPARE(m_rcid, QStringLiteral("aaaa0000"));
        QVariantMap expected = before;
        expected[QStringLiteral("Type")] = QStringLiteral("O'NEIL 5%");
        expected[QStringLiteral("Flag")] = 0;
        const QVariantMap after = row(QStringLiteral("aaaa0000"));
        for (auto it = expected.cbegin(); it != expected.cend(); ++it)
            QCOMPARE(after.value(it.key()).toString(), it.value().toString());
    }

    // A plain documentation edited by one word keeps every other character:
    // the editor's plain text would turn no-break spaces into spaces and
    // line separators into line breaks all through it.
    void editedPlainTextKeepsItsCharacters()
    {
        const QString nbsp(QChar(0x00A0));
        const QString separator(QChar(0x2028));
        const QString before = QStringLiteral("Press") + nbsp + QStringLiteral("OK") + separator
            + QStringLiteral("then 10") + nbsp + QStringLiteral("s wait");
        QSqlQuery q(m_db);
        QVERIFY(q.prepare(QStringLiteral("UPDATE rcmodels SET Documentation=? WHERE Rcid='aaaa0001'")));
        q.addBindValue(before);
        QVERIFY(q.exec());
        openEdit(QStringLiteral("aaaa0001"));
        QTextCursor end(m_dialog->documentationTextEdit->document());
        end.movePosition(QTextCursor::End);
        m_dialog->documentationTextEdit->setTextCursor(end);
        type(m_dialog->documentationTextEdit, QStringLiteral("!"));
        pressOk();
        QCOMPARE(m_result, NewRemoteDialogImpl::WriteResult::Written);
        QCOMPARE(row(QStringLiteral("aaaa0001")).value(QStringLiteral("Documentation")).toString(),
                 before + QStringLiteral("!"));
    }

    void editOwnChangedFields()
    {
        openEdit(QStringLiteral("aaaa0000"), false, true, true);
        replace(m_dialog->brandLineEdit, QStringLiteral("ölmann"));
        m_dialog->correctionDSB->setFocus();
        m_dialog->correctionDSB->selectAll();
        QTest::keyClicks(m_dialog->correctionDSB, QStringLiteral("-2.5"));
        m_dialog->protocolSB->setFocus();
        m_dialog->protocolSB->selectAll();
        QTest::keyClicks(m_dialog->protocolSB, QStringLiteral("7"));
        m_dialog->documentationTextEdit->setFocus();
        m_dialog->documentationTextEdit->moveCursor(QTextCursor::End);
        QTest::keyClicks(m_dialog->documentationTextEdit, QStringLiteral(" and more"));
        pressOk();
        QCOMPARE(m_result, NewRemoteDialogImpl::WriteResult::Written);
        const QVariantMap r = row(QStringLiteral("aaaa0000"));
        QCOMPARE(r.value(QStringLiteral("Brand")).toString(), QStringLiteral("ÖLMANN"));
        QCOMPARE(r.value(QStringLiteral("Correction")).toDouble(), -2.5);
        QCOMPARE(r.value(QStringLiteral("Prot")).toInt(), 7);
        // A formatted text stays formatted.
        const QString doc = r.value(QStringLiteral("Documentation")).toString();
        QVERIFY2(doc.contains(QLatin1String("font-weight")) && doc.contains(QLatin1String("and more")), qPrintable(doc));
        QCOMPARE(r.value(QStringLiteral("Flag")).toInt(), 0);
    }

    // The documentation's markup fetches nothing it names and lays out at
    // once; a formatted text stays formatted, one too deep or too costly to
    // lay out is edited as its plain text, and a picture pasted in arrives
    // as text.
    void editShowsDocumentationSafely_data()
    {
        QTest::addColumn<QString>("documentation");
        QTest::addColumn<bool>("formatted");
        QTest::addColumn<int>("boundMs");
        const int bound = CostlyDocumentations::kPlainMs;
        QTest::addRow("picture on /dev/zero") << "<p><b>Power</b><img src=\"/dev/zero\"></p>" << true << bound;
        QTest::addRow("picture on a FIFO") << "<p><b>Power</b><img src=\"%FIFO%\"></p>" << true << bound;
        QTest::addRow("local picture") << "<p><b>Power</b><img src=\"%PICTURE%\" width=\"80\" height=\"80\"></p>"
                                       << true << bound;
        QTest::addRow("20 nested tables")
            << QStringLiteral("<table><tr><td>").repeated(20) + "<b>Power</b>" + QStringLiteral("</td></tr></table>").repeated(20)
            << false << bound;
        QTest::addRow("3000 nested tables")
            << QStringLiteral("<table><tr><td>").repeated(3000) + "<b>Power</b>"
                   + QStringLiteral("</td></tr></table>").repeated(3000)
            << false << bound;
        QTest::addRow("font-size 100000pt") << "<p style=\"font-size:100000pt\"><b>Power</b></p>" << false << bound;
        for (const CostlyDocumentations::Row &row : CostlyDocumentations::rows())
            QTest::addRow("%s", row.name) << row.text << row.rich << row.boundMs;
    }
    void editShowsDocumentationSafely()
    {
        QFETCH(QString, documentation);
        QFETCH(bool, formatted);
        QFETCH(int, boundMs);
        const QString fifo = m_dir->filePath(QStringLiteral("pipe"));
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        const QString picture = m_dir->filePath(QStringLiteral("red.png"));
        QImage red(80, 80, QImage::Format_RGB32);
        red.fill(Qt::red);
        QVERIFY(red.save(picture));
        documentation.replace(QLatin1String("%FIFO%"), fifo).replace(QLatin1String("%PICTURE%"), picture);
        QSqlQuery q(m_db);
        QVERIFY(q.prepare(QStringLiteral("UPDATE rcmodels SET Documentation=? WHERE Rcid='aaaa0000'")));
        q.addBindValue(documentation);
        QVERIFY(q.exec());

        QElapsedTimer timer;
        timer.start();
        openEdit(QStringLiteral("aaaa0000"));
        QTextEdit *edit = m_dialog->documentationTextEdit;
        const QImage shot = edit->viewport()->grab().toImage();
        // These took seconds, minutes, or never ended.
        QVERIFY2(timer.elapsed() < boundMs, qPrintable(QString::number(timer.elapsed())));
        for (int y = 0; y < shot.height(); ++y) {
            for (int x = 0; x < shot.width(); ++x) {
                const QRgb c = shot.pixel(x, y);
                QVERIFY2(!(qRed(c) > 200 && qGreen(c) < 60 && qBlue(c) < 60), "the picture was drawn");
            }
        }
        if (formatted) {
            const QTextCursor power = edit->document()->find(QStringLiteral("Power"));
            QVERIFY(!power.isNull());
            QVERIFY(power.charFormat().fontWeight() >= QFont::Bold);
        } else if (documentation.size() <= DocumentationText::kMaxStoredChars) {
            QCOMPARE(edit->toPlainText(), documentation);
        } else { // longer than the dialog edits: its start
            QCOMPARE(edit->toPlainText(), documentation.left(DocumentationText::kMaxStoredChars) + QChar(0x2026));
        }

        // Unchanged, nothing is written back.
        pressOk();
        QCOMPARE(m_result, NewRemoteDialogImpl::WriteResult::Written);
        QCOMPARE(row(QStringLiteral("aaaa0000")).value(QStringLiteral("Documentation")).toString(), documentation);

        // A picture pasted in is text, not a picture.
        auto *pasted = new QMimeData;
        pasted->setHtml(QStringLiteral("<img src=\"%1\">").arg(picture));
        pasted->setText(QStringLiteral("pasted"));
        QGuiApplication::clipboard()->setMimeData(pasted);
        edit->setEnabled(true);
        edit->setReadOnly(false);
        edit->moveCursor(QTextCursor::End);
        edit->paste();
        QVERIFY(edit->toPlainText().endsWith(QLatin1String("pasted")));
        QVERIFY(!edit->toHtml().contains(QLatin1String("img")));
    }

    // A documentation longer than the dialog edits (stored before the bound,
    // megabytes long) opens at once, its start shown read-only with a word
    // why, and stays byte for byte whatever else the user changes.
    void longDocumentationOpensAtOnceAndStays_data()
    {
        QTest::addColumn<QString>("documentation");
        const int size = 16 * 1024 * 1024;
        QTest::addRow("plain") << QStringLiteral("word ").repeated(size / 5);
        QTest::addRow("formatted") << "<p>" + QStringLiteral("<b>word</b> ").repeated(size / 12) + "</p>";
    }
    void longDocumentationOpensAtOnceAndStays()
    {
        QFETCH(QString, documentation);
        QSqlQuery q(m_db);
        QVERIFY(q.prepare(QStringLiteral("UPDATE rcmodels SET Documentation=? WHERE Rcid='aaaa0000'")));
        q.addBindValue(documentation);
        QVERIFY(q.exec());

        QElapsedTimer timer;
        timer.start();
        openEdit(QStringLiteral("aaaa0000"));
        // Sixteen megabytes took more than ten seconds to open.
        QVERIFY2(timer.elapsed() < 3000, qPrintable(QString::number(timer.elapsed())));
        QTextEdit *edit = m_dialog->documentationTextEdit;
        QVERIFY(edit->isReadOnly());
        QCOMPARE(edit->toPlainText(), documentation.left(DocumentationText::kMaxStoredChars) + QChar(0x2026));
        QVERIFY(m_dialog->documentationNoteLabel->isVisible());
        QVERIFY2(m_dialog->documentationNoteLabel->text().contains(QLatin1String("65536")),
                 qPrintable(m_dialog->documentationNoteLabel->text()));
        edit->setFocus();
        QTest::keyClicks(edit, QStringLiteral("more"));
        replace(m_dialog->modelLineEdit, QStringLiteral("a-3"));
        pressOk();
        QCOMPARE(m_result, NewRemoteDialogImpl::WriteResult::Written);
        const QVariantMap r = row(QStringLiteral("aaaa0000"));
        QCOMPARE(r.value(QStringLiteral("Model")).toString(), QStringLiteral("A-3"));
        QVERIFY(r.value(QStringLiteral("Documentation")).toString() == documentation);

        // The next model opened is editable again.
        openEdit(QStringLiteral("aaaa0001"));
        QVERIFY(!edit->isReadOnly());
        QVERIFY(!m_dialog->documentationNoteLabel->isVisible());
    }

    // The dialog stores no documentation longer than it edits (and the
    // imports take): typed or pasted past the bound, nothing is written and
    // the user is told.
    void documentationPastTheBoundIsRefused_data()
    {
        QTest::addColumn<bool>("newModel");
        QTest::addColumn<int>("length");
        for (bool newModel : {true, false}) {
            const char *mode = newModel ? "new" : "edit";
            QTest::addRow("%s, at the bound", mode) << newModel << DocumentationText::kMaxStoredChars;
            QTest::addRow("%s, one past", mode) << newModel << DocumentationText::kMaxStoredChars + 1;
        }
    }
    void documentationPastTheBoundIsRefused()
    {
        QFETCH(bool, newModel);
        QFETCH(int, length);
        const QStringList before = allRows();
        if (newModel) {
            m_dialog->prepareNew(m_brands, m_types);
            m_dialog->show();
            type(m_dialog->brandLineEdit, QStringLiteral("b"));
            type(m_dialog->typeLineEdit, QStringLiteral("t"));
            type(m_dialog->modelLineEdit, QStringLiteral("m"));
        } else {
            openEdit(QStringLiteral("aaaa0001"));
        }
        const QString documentation = QStringLiteral("line of text\n").repeated(length / 13 + 1).left(length);
        m_dialog->documentationTextEdit->setPlainText(documentation);
        pressOk();
        if (length <= DocumentationText::kMaxStoredChars) {
            QCOMPARE(m_result, NewRemoteDialogImpl::WriteResult::Written);
            QCOMPARE(row(m_rcid).value(QStringLiteral("Documentation")).toString(), documentation);
            return;
        }
        QCOMPARE(m_result, NewRemoteDialogImpl::WriteResult::Failed);
        QVERIFY2(m_error.contains(QLatin1String("65536")), qPrintable(m_error));
        QCOMPARE(allRows(), before);
    }

    // A formatted documentation the user edits is stored as markup that
    // shows formatted again (not Qt's whole document, several times its
    // size, which past the markup bound would show as its source).
    void editedFormattedTextStaysFormatted_data()
    {
        QTest::addColumn<QString>("documentation");
        QTest::addColumn<int>("items"); // list items, or table rows
        const QString heading = QStringLiteral("<p>Keys of the <b>ACME</b> remote:</p>");
        QString list = heading + QStringLiteral("<ul>");
        for (int i = 0; i < 1500; ++i)
            list += QStringLiteral("<li>item %1</li>").arg(i);
        QTest::addRow("list of 1,500 items") << list + "</ul>" << 1500;
        QString table = heading + QStringLiteral("<table border=\"1\">");
        for (int i = 0; i < 300; ++i)
            table += QStringLiteral("<tr><td>item %1</td><td>code</td></tr>").arg(i);
        QTest::addRow("table of 300 rows") << table + "</table>" << 300;
    }
    void editedFormattedTextStaysFormatted()
    {
        QFETCH(QString, documentation);
        QFETCH(int, items);
        QVERIFY(DocumentationText::forDisplay(documentation).rich);
        QSqlQuery q(m_db);
        QVERIFY(q.prepare(QStringLiteral("UPDATE rcmodels SET Documentation=? WHERE Rcid='aaaa0000'")));
        q.addBindValue(documentation);
        QVERIFY(q.exec());
        openEdit(QStringLiteral("aaaa0000"));

        // One word changed, as the user does it.
        QTextEdit *edit = m_dialog->documentationTextEdit;
        QTextCursor word = edit->document()->find(QStringLiteral("item 123"), 0, QTextDocument::FindWholeWords);
        QVERIFY(!word.isNull());
        word.setPosition(word.selectionStart());
        word.movePosition(QTextCursor::EndOfWord, QTextCursor::KeepAnchor);
        edit->setTextCursor(word);
        edit->setFocus();
        QTest::keyClicks(edit, QStringLiteral("thing"));
        pressOk();
        QCOMPARE(m_result, NewRemoteDialogImpl::WriteResult::Written);

        const QString stored = row(QStringLiteral("aaaa0000")).value(QStringLiteral("Documentation")).toString();
        QVERIFY2(stored.size() <= DocumentationText::kMaxMarkupChars, qPrintable(QString::number(stored.size())));
        QVERIFY(!stored.contains(QLatin1String("<head"), Qt::CaseInsensitive));
        const DocumentationText::Shown shown = DocumentationText::forDisplay(stored);
        QVERIFY(shown.rich);
        QTextDocument again;
        again.setHtml(shown.text);
        QVERIFY(!again.find(QStringLiteral("thing 123"), 0, QTextDocument::FindWholeWords).isNull());
        QVERIFY(again.find(QStringLiteral("item 123"), 0, QTextDocument::FindWholeWords).isNull());
        QVERIFY(again.find(QStringLiteral("ACME")).charFormat().fontWeight() >= QFont::Bold);
        const QTextCursor last = again.find(QStringLiteral("item %1").arg(items - 1));
        QVERIFY(!last.isNull());
        if (QTextList *list = last.block().textList()) {
            QCOMPARE(list->count(), items);
        } else {
            QTextTable *table = last.currentTable();
            QVERIFY(table);
            QCOMPARE(table->rows(), items);
        }

        // Opened again, the text is the one written and nothing more is stored.
        openEdit(QStringLiteral("aaaa0000"));
        QCOMPARE(edit->toPlainText(), again.toPlainText());
        pressOk();
        QCOMPARE(row(QStringLiteral("aaaa0000")).value(QStringLiteral("Documentation")).toString(), stored);
    }

    // An edit that takes a formatted documentation past what is shown
    // formatted is refused with a word why: stored, it would show as its
    // markup.
    void formattedTextPastTheBoundsIsRefused()
    {
        const QString documentation = "<p><b>Words:</b> " + QStringLiteral("a ").repeated(DocumentationText::kMaxLines - 100) + "</p>";
        QVERIFY(DocumentationText::forDisplay(documentation).rich);
        QSqlQuery q(m_db);
        QVERIFY(q.prepare(QStringLiteral("UPDATE rcmodels SET Documentation=? WHERE Rcid='aaaa0000'")));
        q.addBindValue(documentation);
        QVERIFY(q.exec());
        openEdit(QStringLiteral("aaaa0000"));
        QTextEdit *edit = m_dialog->documentationTextEdit;
        edit->moveCursor(QTextCursor::End);
        edit->insertPlainText(QStringLiteral(" b").repeated(200));
        pressOk();
        QCOMPARE(m_result, NewRemoteDialogImpl::WriteResult::Failed);
        QVERIFY2(m_error.contains(QLatin1String("formatted")), qPrintable(m_error));
        QCOMPARE(row(QStringLiteral("aaaa0000")).value(QStringLiteral("Documentation")).toString(), documentation);
    }

    // A formatted documentation cleared is stored empty, not as an empty paragraph's markup.
    void clearedFormattedTextIsEmpty()
    {
        openEdit(QStringLiteral("aaaa0000"));
        m_dialog->documentationTextEdit->selectAll();
        m_dialog->documentationTextEdit->setFocus();
        QTest::keyClick(m_dialog->documentationTextEdit, Qt::Key_Delete);
        QVERIFY(m_dialog->documentationTextEdit->toPlainText().isEmpty());
        pressOk();
        QCOMPARE(m_result, NewRemoteDialogImpl::WriteResult::Written);
        QCOMPARE(row(QStringLiteral("aaaa0000")).value(QStringLiteral("Documentation")).toString(), QString());
    }

    void editWithHiddenRowsKeepsTheirValues()
    {
        openEdit(QStringLiteral("aaaa0000"));
        replace(m_dialog->modelLineEdit, QStringLiteral("a-9"));
        pressOk();
        const QVariantMap r = row(QStringLiteral("aaaa0000"));
        QCOMPARE(r.value(QStringLiteral("Model")).toString(), QStringLiteral("A-9"));
        QCOMPARE(r.value(QStringLiteral("Correction")).toDouble(), 1.25);
        QCOMPARE(r.value(QStringLiteral("Prot")).toInt(), 1234);
        QCOMPARE(r.value(QStringLiteral("Documentation")).toString(), QStringLiteral("<p>A <b>bold</b> word</p>"));
    }

    void editClearedModelWritesNothing()
    {
        const QStringList before = allRows();
        openEdit(QStringLiteral("aaaa0001"));
        replace(m_dialog->brandLineEdit, QStringLiteral("new brand"));
        m_dialog->modelLineEdit->clear();
        pressOk();
        QCOMPARE(m_result, NewRemoteDialogImpl::WriteResult::Incomplete);
        QCOMPARE(allRows(), before);
        QCOMPARE(m_dialog->brandLineEdit->text(), QStringLiteral("new brand"));
    }

    void editFactoryOnlyOwn()
    {
        openEdit(QStringLiteral("ffff0000"), true, true, true);
        for (QWidget *w : {static_cast<QWidget *>(m_dialog->brandLineEdit), static_cast<QWidget *>(m_dialog->typeLineEdit),
                           static_cast<QWidget *>(m_dialog->modelLineEdit),
                           static_cast<QWidget *>(m_dialog->documentationTextEdit),
                           static_cast<QWidget *>(m_dialog->correctionDSB), static_cast<QWidget *>(m_dialog->protocolSB)})
            QVERIFY(!w->isEnabled());
        QVERIFY(m_dialog->ownCheckBox->isEnabled());
        QVERIFY(!m_dialog->ownCheckBox->isChecked());

        // OK without a change writes nothing at all, not even the flag.
        const QStringList before = allRows();
        pressOk();
        QCOMPARE(m_result, NewRemoteDialogImpl::WriteResult::Written);
        QCOMPARE(allRows(), before);

        QTest::mouseClick(m_dialog->ownCheckBox, Qt::LeftButton, {}, QPoint(8, m_dialog->ownCheckBox->height() / 2));
        QVERIFY(m_dialog->ownCheckBox->isChecked());
        pressOk();
        QCOMPARE(m_result, NewRemoteDialogImpl::WriteResult::Written);
        const QVariantMap r = row(QStringLiteral("ffff0000"));
        QCOMPARE(r.value(QStringLiteral("Own")).toInt(), 1);
        QCOMPARE(r.value(QStringLiteral("Flag")).toInt(), 0);
        QCOMPARE(r.value(QStringLiteral("Brand")).toString(), QStringLiteral("sony"));
        QCOMPARE(r.value(QStringLiteral("Type")).toString(), QStringLiteral("tv"));
        QCOMPARE(r.value(QStringLiteral("Model")).toString(), QStringLiteral("kd-55"));
        QCOMPARE(r.value(QStringLiteral("Documentation")).toString(), QStringLiteral("<i>factory</i> notes"));
        QCOMPARE(r.value(QStringLiteral("Correction")).toDouble(), 25.0);
        QCOMPARE(r.value(QStringLiteral("Prot")).toInt(), 1234);
    }

    void editOfVanishedModelFails()
    {
        openEdit(QStringLiteral("aaaa0001"));
        QSqlQuery q(m_db);
        QVERIFY(q.exec(QStringLiteral("DELETE FROM rcmodels WHERE Rcid='aaaa0001'")));
        replace(m_dialog->modelLineEdit, QStringLiteral("z"));
        pressOk();
        QCOMPARE(m_result, NewRemoteDialogImpl::WriteResult::Failed);
        QVERIFY(!m_error.isEmpty());
    }

    void brandCompletion()
    {
        m_dialog->prepareNew(m_brands, m_types);
        m_dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_dialog));
        type(m_dialog->brandLineEdit, QStringLiteral("bek"));
        QCOMPARE(m_brands->currentCompletion(), QStringLiteral("BEKKER"));
    }

    void cancelWritesNothing()
    {
        const QStringList before = allRows();
        m_dialog->prepareNew(m_brands, m_types);
        m_dialog->show();
        type(m_dialog->brandLineEdit, QStringLiteral("b"));
        type(m_dialog->typeLineEdit, QStringLiteral("t"));
        type(m_dialog->modelLineEdit, QStringLiteral("m"));
        QTest::mousePress(m_dialog->cancelPushButton, Qt::LeftButton);
        QVERIFY(!m_dialog->isVisible());
        QTest::mouseRelease(m_dialog->cancelPushButton, Qt::LeftButton);
        QCOMPARE(m_presses, 0);
        QCOMPARE(allRows(), before);
    }
};

QTEST_MAIN(TestNewRemoteDialog)
#include "tst_newremotedialog.moc"
