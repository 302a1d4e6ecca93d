// Catalogue text is text wherever the window shows it: a brand, model, type
// and key names made of markup that names a FIFO (hovering a tooltip Qt took
// for rich text would block the window for good) are walked through the
// states that set tooltips and labels, with a simulated remote plugged in
// and out, and every tooltip, status tip, "what's this" and label of the
// window is checked.
#include "ConnectionRig.h"
#include "TestSupport.h"
#include "app/MessageBox.h"
#include "catalogue/CurrentRow.h"
#include "mainwindow/MainWindowImpl.h"
#include "usb/sim/SimulatedRemote2.h"

#include <QAction>
#include <QImage>
#include <QLabel>
#include <QSqlError>
#include <QSqlQuery>
#include <QTextDocument>
#include <QtTest>

#include <sys/stat.h>

namespace {

// Records every resource Qt's rich text would fetch, and answers with an
// empty picture: with no answer Qt would load the named file itself.
class RecordingDocument : public QTextDocument
{
public:
    QList<QUrl> asked;

protected:
    QVariant loadResource(int type, const QUrl &name) override
    {
        asked.append(name);
        if (type != QTextDocument::ImageResource)
            return QString();
        QImage nothing(1, 1, QImage::Format_ARGB32);
        nothing.fill(Qt::transparent);
        return nothing;
    }
};

// What Qt shows of markup; the resources it names go to *asked.
QString shownText(const QString &text, QList<QUrl> *asked)
{
    RecordingDocument document;
    document.setHtml(text);
    document.setTextWidth(300);
    document.size();
    *asked += document.asked;
    return document.toPlainText();
}

constexpr char kRcid[] = "0badc0de";

} // namespace

class TestCatalogueAsText : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QTemporaryDir m_fifoDir;
    QString m_previousDir;
    QString m_markup; // names the FIFO
    MainWindowImpl *w = nullptr;
    ConnectionRig *m_rig = nullptr;
    std::shared_ptr<SimulatedRemote2> m_remote;

    QString brand() const { return m_markup + QStringLiteral("ACME"); }
    QString model() const { return m_markup + QStringLiteral("M1"); }

    bool selectModel()
    {
        QAbstractItemModel *list = w->ModelsTV->model();
        for (int row = 0; list; ++row) {
            if (row >= list->rowCount()) {
                if (!list->canFetchMore(QModelIndex()))
                    return false;
                list->fetchMore(QModelIndex());
                if (row >= list->rowCount())
                    return false;
            }
            if (list->index(row, 0).data().toString() == QLatin1String(kRcid)) {
                w->ModelsTV->selectRow(row);
                return true;
            }
        }
        return false;
    }
    bool selectType(int type)
    {
        const QAbstractItemModel *types = w->RCTypesTV->model();
        for (int row = 0; types && row < types->rowCount(); ++row) {
            if (types->index(row, 0).data().toInt() == type) {
                w->RCTypesTV->selectRow(row);
                return true;
            }
        }
        return false;
    }
    void show(int type)
    {
        QVERIFY2(selectType(type), qPrintable(QString::number(type)));
        QVERIFY(selectModel());
        w->refreshRC();
        QCOMPARE(CurrentRow::text(w->ModelsTV, 0), QLatin1String(kRcid));
        QCOMPARE(CurrentRow::cell(w->RCTypesTV, 0).toInt(), type);
    }

    // Every tooltip, status tip, "what's this" and label of the window:
    // where Qt would take one for markup, it names nothing to fetch and
    // holds none of the catalogue's markup unescaped. Returns the tips and
    // label texts that show the catalogue's markup as text.
    QStringList checkWindow(const char *state)
    {
        QStringList shown;
        // format: how Qt takes the text (AutoText: by Qt::mightBeRichText).
        auto check = [&](const QString &where, const QString &text, Qt::TextFormat format) {
            if (text.isEmpty())
                return;
            const bool rich = format == Qt::RichText || (format == Qt::AutoText && Qt::mightBeRichText(text));
            QList<QUrl> asked;
            const QString seen = rich ? shownText(QStringLiteral("<qt>") + text, &asked) : text;
            const QByteArray what = QStringLiteral("%1, %2: %3").arg(QLatin1String(state), where, text.left(300)).toUtf8();
            QVERIFY2(asked.isEmpty(), what.constData());
            QVERIFY2(!rich || !text.contains(m_markup), what.constData());
            if (seen.contains(m_markup))
                shown << where;
        };
        QList<QWidget *> widgets = w->findChildren<QWidget *>();
        widgets.prepend(w);
        for (QWidget *widget : std::as_const(widgets)) {
            const QString name = widget->objectName();
            check(name + QStringLiteral(" tooltip"), widget->toolTip(), Qt::AutoText);
            check(name + QStringLiteral(" what's this"), widget->whatsThis(), Qt::AutoText);
            // The status bar draws a status tip as plain text.
            check(name + QStringLiteral(" status tip"), widget->statusTip(), Qt::PlainText);
            if (auto *label = qobject_cast<QLabel *>(widget))
                check(name + QStringLiteral(" text"), label->text(), label->textFormat());
        }
        for (QAction *action : w->findChildren<QAction *>()) {
            const QString name = action->objectName();
            check(name + QStringLiteral(" tooltip"), action->toolTip(), Qt::AutoText);
            check(name + QStringLiteral(" what's this"), action->whatsThis(), Qt::AutoText);
            check(name + QStringLiteral(" status tip"), action->statusTip(), Qt::PlainText);
        }
        return shown;
    }

    void plugRemote()
    {
        m_rig->sim.plug(m_remote);
        QTRY_VERIFY_WITH_TIMEOUT(w->labelUSBconnection->text().endsWith(QLatin1String("is connected")), 10000);
        QTRY_COMPARE(w->deviceRCTypeId, 2);
    }
    void unplugRemote()
    {
        m_rig->sim.unplug(m_remote);
        QTRY_COMPARE_WITH_TIMEOUT(w->labelUSBconnection->text(), QStringLiteral("USB remote control not connected"),
                                  10000);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid() && m_fifoDir.isValid());
        QVERIFY(TestSupport::enterSampleDirectory(m_dir.path(), &m_previousDir));
        const QString fifo = m_fifoDir.filePath(QStringLiteral("pipe"));
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        m_markup = QStringLiteral("<img src=\"%1\">").arg(fifo);

        // No keys for type 2 (the simulated remote's), one for type 1, two for type 3.
        QSqlQuery q;
        QVERIFY(q.prepare(QStringLiteral("INSERT INTO rcmodels (Rcid,Brand,Type,Model,Documentation,Link,Own) "
                                         "VALUES (?,?,?,?,'',?,1)")));
        q.addBindValue(QLatin1String(kRcid));
        q.addBindValue(brand());
        q.addBindValue(m_markup + QStringLiteral("TV"));
        q.addBindValue(model());
        q.addBindValue(QLatin1String(kRcid));
        QVERIFY2(q.exec(), qPrintable(q.lastError().text()));
        const struct
        {
            int type, nkey;
        } keys[] = {{1, 5}, {3, 10}, {3, 11}};
        for (const auto &k : keys) {
            QVERIFY(q.prepare(QStringLiteral("INSERT INTO rckeys VALUES (?,?,?,?,?)")));
            q.addBindValue(QLatin1String(kRcid));
            q.addBindValue(k.type);
            q.addBindValue(m_markup + QStringLiteral("Power"));
            q.addBindValue(QStringLiteral("00FF%1").arg(k.nkey));
            q.addBindValue(k.nkey);
            QVERIFY2(q.exec(), qPrintable(q.lastError().text()));
        }
        QVERIFY(q.prepare(QStringLiteral("UPDATE rctypes SET RCTypeName=? || RCTypeName")));
        q.addBindValue(m_markup);
        QVERIFY(q.exec());
    }
    void cleanupTestCase() { QDir::setCurrent(m_previousDir); }

    void init()
    {
        m_rig = new ConnectionRig;
        m_remote = m_rig->sim.addRemote2();
        w = new MainWindowImpl;
        w->attachUsb(&m_rig->state);
        w->connectUsbConnection(&m_rig->connection);
        m_rig->connection.start();
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w));
    }
    void cleanup()
    {
        m_rig->connection.stop();
        delete w;
        w = nullptr;
        m_remote.reset();
        delete m_rig;
        m_rig = nullptr;
        MessageBox::takeLog();
    }

    // The full version, the remote out, in and out again.
    void fullVersion()
    {
        show(2);
        QVERIFY(checkWindow("no remote, no keys").contains(QStringLiteral("dev1Add tooltip")));
        show(1);
        QVERIFY(checkWindow("no remote, one key").contains(QStringLiteral("dev1Add tooltip")));

        plugRemote();
        show(2);
        QVERIFY(checkWindow("remote, no keys").contains(QStringLiteral("dev1Add tooltip")));
        show(1);
        QVERIFY(checkWindow("remote of another type").contains(QStringLiteral("buttonSimpleUSBProgramm tooltip")));
        show(3);
        checkWindow("remote, two keys");

        unplugRemote();
        show(2);
        checkWindow("remote gone");
    }

    // The simple version: the slots name the models they hold.
    void simpleProgramming()
    {
        plugRemote();
        w->settingsSimpleProgramming = true;
        w->changeFullSimpleVersion(false);
        QVERIFY(QSqlDatabase::database().transaction()); // the slot assignment stays in this test
        auto rollback = qScopeGuard([] { QSqlDatabase::database().rollback(); });
        show(2);
        const QStringList noKeys = checkWindow("simple, no keys");
        QVERIFY(noKeys.contains(QStringLiteral("dev1Add tooltip")));
        show(1);
        QVERIFY(checkWindow("simple, one key").contains(QStringLiteral("dev1Add tooltip")));
        show(3);
        QVERIFY(w->dev1Add->isEnabled());
        QTest::mousePress(w->dev1Add, Qt::LeftButton);
        QTest::mouseRelease(w->dev1Add, Qt::LeftButton);
        w->refreshRC();
        const QStringList assigned = checkWindow("simple, a slot holds the model");
        QVERIFY2(assigned.contains(QStringLiteral("dev1Brand text")), qPrintable(assigned.join(", ")));
        QVERIFY(assigned.contains(QStringLiteral("dev1Model text")));
        show(1);
        checkWindow("simple, another type");
        unplugRemote();
        checkWindow("simple, remote gone");
    }
};

QTEST_MAIN(TestCatalogueAsText)
#include "tst_catalogueastext.moc"
