#include "app/SettingsText.h"
#include "mainwindow/AboutText.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTranslator>
#include <QtTest>

namespace {
// Translates the three words of the box and "Foo" in the main window's context.
class FakeTranslator : public QTranslator
{
public:
    QString translate(const char *context, const char *sourceText, const char *, int) const override
    {
        if (qstrcmp(context, "MainWindowImpl") != 0)
            return QString();
        const QString s = QString::fromLatin1(sourceText);
        if (s == "Version" || s == "Date" || s == "Database Date")
            return "<" + s + ">";
        return QString();
    }
    bool isEmpty() const override { return false; }
};
} // namespace

class TestAboutText : public QObject
{
    Q_OBJECT
private slots:
    void databaseDate_data()
    {
        QTest::addColumn<QByteArray>("ini"); // empty: no file at all
        QTest::addColumn<QString>("line");
        QTest::addRow("set") << QByteArray("[UpdateInfo]\ndatabase=2023-11-21\n") << "Database Date 21.11.2023";
        QTest::addRow("first of year") << QByteArray("[UpdateInfo]\ndatabase=2024-01-05\n")
                                       << "Database Date 05.01.2024";
        QTest::addRow("no file") << QByteArray() << "Database Date ";
        QTest::addRow("no key") << QByteArray("[UpdateInfo]\nmain=2023-11-21\n") << "Database Date ";
        QTest::addRow("empty") << QByteArray("[UpdateInfo]\ndatabase=\n") << "Database Date ";
        QTest::addRow("not a date") << QByteArray("[UpdateInfo]\ndatabase=soon\n") << "Database Date ";
        QTest::addRow("impossible date") << QByteArray("[UpdateInfo]\ndatabase=2023-02-30\n") << "Database Date ";
        QTest::addRow("day first") << QByteArray("[UpdateInfo]\ndatabase=21.11.2023\n") << "Database Date ";
    }
    void databaseDate()
    {
        QFETCH(QByteArray, ini);
        QFETCH(QString, line);
        QTemporaryDir dir;
        const QString path = dir.filePath("config.ini");
        if (!ini.isEmpty()) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(ini);
        }
        QSettings settings(path, QSettings::IniFormat);
        const QString text = AboutText::build("Irvanta", "by us", settingsDate(settings, "UpdateInfo/database"));
        const QStringList lines = text.split("<br>");
        QVERIFY2(lines.contains(line), qPrintable(text));
    }

    void wholeText()
    {
        QCOMPARE(AboutText::build("Irvanta", "Made by A and B", QDate(2023, 11, 21)),
                 QString("<center><b>Irvanta</b></center><br>"
                         "Version 2.5.10<br>"
                         "Date 21.11.2023<br><br>"
                         "Database Date 21.11.2023<br><br>"
                         "Made by A and B<br><br>"
                         "Irvanta software uses Qt Open Source Edition"));
    }

    void onlyTheThreeWordsAreTranslated()
    {
        FakeTranslator translator;
        QVERIFY(QCoreApplication::installTranslator(&translator));
        const QString text = AboutText::build("Irvanta", "Made by A and B", QDate());
        QCoreApplication::removeTranslator(&translator);
        QCOMPARE(text, QString("<center><b>Irvanta</b></center><br>"
                               "<Version> 2.5.10<br>"
                               "<Date> 21.11.2023<br><br>"
                               "<Database Date> <br><br>"
                               "Made by A and B<br><br>"
                               "Irvanta software uses Qt Open Source Edition"));
    }

    // The closing line is a sentence of its own in every language.
    void closingLineTranslated()
    {
        class Closing : public QTranslator
        {
        public:
            QString translate(const char *context, const char *sourceText, const char *, int) const override
            {
                if (qstrcmp(context, "MainWindowImpl") == 0
                    && qstrcmp(sourceText, "%1 software uses Qt Open Source Edition") == 0)
                    return QStringLiteral("Die Software %1 verwendet Qt");
                return QString();
            }
            bool isEmpty() const override { return false; }
        } translator;
        QVERIFY(QCoreApplication::installTranslator(&translator));
        const QString text = AboutText::build("Irvanta", "Made by A and B", QDate());
        QCoreApplication::removeTranslator(&translator);
        QVERIFY2(text.endsWith("Made by A and B<br><br>Die Software Irvanta verwendet Qt"), qPrintable(text));
    }
};

QTEST_GUILESS_MAIN(TestAboutText)
#include "tst_abouttext.moc"
