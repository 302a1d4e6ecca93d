#include "mainwindow/AboutText.h"

#include <QCoreApplication>

QString AboutText::build(const QString &productName, const QString &authorLine, const QDate &databaseDate)
{
    const QString br = QStringLiteral("<br>");
    return QStringLiteral("<center><b>") + productName + QStringLiteral("</b></center>") + br
        + QCoreApplication::translate("MainWindowImpl", "Version") + QLatin1Char(' ') + programVersion() + br
        + QCoreApplication::translate("MainWindowImpl", "Date") + QLatin1Char(' ') + programDate() + br + br
        + QCoreApplication::translate("MainWindowImpl", "Database Date") + QLatin1Char(' ')
        + databaseDate.toString(QStringLiteral("dd.MM.yyyy")) + br + br
        + authorLine + br + br
        + QCoreApplication::translate("MainWindowImpl", "%1 software uses Qt Open Source Edition").arg(productName);
}
