// The look-ups and the key image where the window offers them: the hidden
// "prog" label answers by slot name through the meta-object from the sample
// catalogue, and doStrKeys() gives the image of the model selected in the
// model list, read under its link master.
#include "TestSupport.h"
#include "CatalogueFixture.h"

#include "KeyImageRows.h"
#include "app/MessageBox.h"
#include "mainwindow/MainWindowImpl.h"
#include "programming/programming.h"
#include "tools/samplekit/SampleKit.h"
#include "tools/samplekit/SampleProtocolLookups.h"

#include <QMetaMethod>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>

class TestProgrammingWindow : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_previousDir;
    MainWindowImpl *m_window = nullptr;

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY(TestSupport::enterSampleDirectory(m_dir.path(), &m_previousDir));
        m_window = new MainWindowImpl;
    }
    void cleanupTestCase()
    {
        delete m_window;
        MessageBox::takeLog();
        QDir::setCurrent(m_previousDir);
    }

    void lookUpSlotsInOrder()
    {
        const QMetaObject &mo = programming::staticMetaObject;
        QStringList slotNames;
        for (int i = mo.methodOffset(); i < mo.methodCount(); ++i)
            if (mo.method(i).methodType() == QMetaMethod::Slot)
                slotNames << QString::fromLatin1(mo.method(i).methodSignature());
        QCOMPARE(slotNames, (QStringList{"doStrProtocol11(QString)", "doStrProtocol21(QString,int)",
                                         "doStrProtocol41(QString,int)", "doStrProtocolIRT(QString)"}));
    }

    void lookUpByName_data()
    {
        QTest::addColumn<QByteArray>("slot");
        QTest::addColumn<QString>("prot");
        QTest::addColumn<int>("ntp"); // -1: the slot takes no slot code
        QTest::addColumn<QString>("expected");
        using SampleProtocolLookups::codeString;
        // The sample's protocol numbers are those its key codes carry.
        const QList<int> numbers = SampleKit::protocolNumbers();
        QVERIFY(numbers.size() >= 3);
        const int a = numbers.at(0), b = numbers.at(1), c = numbers.at(2), d = numbers.last();
        auto text = [](int prot) { return QStringLiteral("%1").arg(prot, 3, 10, QLatin1Char('0')); };
        QVERIFY(!SampleProtocolLookups::hasTransmitCode(2));
        QTest::addRow("11") << QByteArray("doStrProtocol11") << text(b) << -1 << codeString("protocols11", b, -1);
        QTest::addRow("21") << QByteArray("doStrProtocol21") << text(a) << 3 << codeString("protocols21", a, 3);
        QTest::addRow("41") << QByteArray("doStrProtocol41") << text(d) << 7 << codeString("protocols41", d, 7);
        QTest::addRow("41 beyond the slot codes") << QByteArray("doStrProtocol41") << text(d) << 8 << "FALSE";
        QTest::addRow("irt") << QByteArray("doStrProtocolIRT") << text(b) << -1 << codeString("protocolsirt", b, -1);
        QTest::addRow("irt without transmit code") << QByteArray("doStrProtocolIRT") << text(c) << -1 << "FALSE";
        QTest::addRow("not a sample protocol") << QByteArray("doStrProtocol11") << "999" << -1 << "FALSE";
    }
    void lookUpByName()
    {
        QFETCH(QByteArray, slot);
        QFETCH(QString, prot);
        QFETCH(int, ntp);
        QFETCH(QString, expected);
        QObject *prog = m_window->findChild<QObject *>(QStringLiteral("prog"));
        QVERIFY(prog);
        QString answer;
        const bool invoked = ntp < 0 ? QMetaObject::invokeMethod(prog, slot.constData(), Q_RETURN_ARG(QString, answer),
                                                                 Q_ARG(QString, prot))
                                     : QMetaObject::invokeMethod(prog, slot.constData(), Q_RETURN_ARG(QString, answer),
                                                                 Q_ARG(QString, prot), Q_ARG(int, ntp));
        QVERIFY(invoked);
        QCOMPARE(answer, expected);
    }

    // A linked model is selected; its keys are those of its master, whatever
    // the selected remote type.
    void doStrKeysOfSelectedModel()
    {
        QSqlDatabase db = QSqlDatabase::database();
        const QVariant rcid = CatalogueFixture::value(
            db, QStringLiteral("SELECT Rcid FROM rcmodels WHERE Rcid<>Link AND Hidden=0 AND Hidden1=0 ORDER BY Rcid"));
        QVERIFY(rcid.isValid());
        const QString link = CatalogueFixture::value(db, QStringLiteral("SELECT Link FROM rcmodels WHERE Rcid=?"),
                                                     {rcid})
                                 .toString();

        const QAbstractItemModel *models = m_window->ModelsTV->model();
        int row = 0;
        while (row < models->rowCount() && models->index(row, 0).data().toString() != rcid.toString())
            ++row;
        QVERIFY(row < models->rowCount());
        m_window->ModelsTV->setCurrentIndex(models->index(row, 1));

        using namespace KeyImageRows;
        const QString a = QStringLiteral("0123456789ABCDE"), b = QStringLiteral("FEDCBA987654321");
        QSqlQuery del(db);
        QVERIFY(del.prepare(QStringLiteral("DELETE FROM rckeys WHERE Rcid=?")));
        del.addBindValue(link);
        QVERIFY(del.exec());
        QVERIFY(CatalogueFixture::addKey(db, {link, 1, QStringLiteral("POWER"), code("003", a), 10}));
        QVERIFY(CatalogueFixture::addKey(db, {link, 5, QStringLiteral("SHIFT"), code("001", b), 70}));

        QString answer;
        QVERIFY(QMetaObject::invokeMethod(m_window, "doStrKeys", Q_RETURN_ARG(QString, answer)));
        QCOMPARE(answer, image(true, "003", "001", {{10, first(a)}, {70, other(b)}}));
    }
};

QTEST_MAIN(TestProgrammingWindow)
#include "tst_programmingwindow.moc"
