#include "app/StartupLanguage.h"

#include <QSet>
#include <QtTest>

class TestStartupLanguage : public QObject
{
    Q_OBJECT
private slots:
    void rule_data()
    {
        QTest::addColumn<QString>("configured");
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QString>("expected");
        QTest::addRow("configured wins") << "German" << "French" << QStringList{"Languages/German.qm"} << "German";
        QTest::addRow("empty takes locale") << "" << "French" << QStringList{"Languages/French.qm"} << "French";
        QTest::addRow("no file falls back") << "" << "French" << QStringList{} << "English";
        QTest::addRow("configured no file") << "German" << "French" << QStringList{"Languages/French.qm"}
                                            << "English";
        QTest::addRow("English without file") << "" << "English" << QStringList{} << "English";
    }
    void rule()
    {
        QFETCH(QString, configured);
        QFETCH(QString, locale);
        QFETCH(QStringList, files);
        QFETCH(QString, expected);
        const QSet<QString> present(files.begin(), files.end());
        QCOMPARE(chooseStartupLanguage(configured, locale, [&](const QString &p) { return present.contains(p); }),
                 expected);
    }
};

QTEST_APPLESS_MAIN(TestStartupLanguage)
#include "tst_startuplanguage.moc"
