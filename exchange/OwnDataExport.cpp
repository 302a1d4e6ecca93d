#include "exchange/OwnDataExport.h"

#include "app/AtomicFile.h"
#include "app/CheckedFile.h"
#include "app/SettingsText.h"
#include "catalogue/CatalogueRead.h"
#include "exchange/CatalogueWriter.h"

#include <QDateTime>
#include <QDebug>
#include <QDomDocument>
#include <QNetworkInterface>
#include <QSettings>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>
#include <QVariant>

using CatalogueWriter::fail;
using CatalogueWriter::run;

bool OwnDataExport::document(QSqlDatabase db, const QString &settingsPath, QByteArray *xml, QString *error)
{
    QDomDocument dom;
    QDomElement root = dom.createElement(QStringLiteral("rc"));
    QDomElement models = dom.createElement(QStringLiteral("rcmodels"));
    QDomElement keys = dom.createElement(QStringLiteral("rckeys"));
    QDomElement about = dom.createElement(QStringLiteral("about"));
    root.appendChild(models);
    root.appendChild(keys);
    root.appendChild(about);
    dom.appendChild(dom.createProcessingInstruction(QStringLiteral("xml"),
                                                    QStringLiteral("version=\"1.0\" encoding=\"UTF-8\"")));
    dom.appendChild(root);

    // A dummy first entry keeps the list from being empty.
    QVariantList links{QStringLiteral("XXXXX")};
    QSqlQuery q(db);
    if (!run(q, QStringLiteral("SELECT DISTINCT Link FROM rcmodels WHERE Own=1 AND Flag=0 LIMIT %1").arg(MaxLinks), {},
             error))
        return false;
    if (!CatalogueRead::each(q, [&](const QSqlQuery &row) { links << row.value(0); }, error))
        return false;
    QStringList shown;
    for (const QVariant &link : std::as_const(links))
        shown << link.toString();
    qDebug() << "own-data export links:" << shown;
    const QString marks = QStringList(links.size(), QStringLiteral("?")).join(QLatin1Char(','));

    if (!run(q, QStringLiteral("SELECT * FROM rcmodels WHERE Own=1 AND Flag=0 AND Link IN (%1)").arg(marks), links,
             error))
        return false;
    static const char *const modelColumns[] = {"Rcid", "Brand",  "Type", "Model",   "Documentation", "Link", "Author",
                                               "Correction", "Own", "Hidden", "Flag", "Hidden1", "Prot"};
    if (!CatalogueRead::each(
            q,
            [&](const QSqlQuery &row) {
                QDomElement model = dom.createElement(QStringLiteral("model"));
                for (const char *column : modelColumns) {
                    const QVariant v = row.record().value(QLatin1String(column));
                    model.setAttribute(QLatin1String(column), v.isNull() ? QString() : v.toString());
                }
                models.appendChild(model);
            },
            error))
        return false;

    if (!run(q,
             QStringLiteral("SELECT rckeys.Rcid, rckeys.RCTypeId, rckeys.Name, rckeys.ID, rckeys.Nkey FROM rckeys "
                            "INNER JOIN rcmodels ON rckeys.Rcid = rcmodels.Link WHERE rcmodels.Own=1 AND "
                            "rcmodels.Flag=0 AND rcmodels.Link IN (%1)")
                 .arg(marks),
             links, error))
        return false;
    static const char *const keyColumns[] = {"Rcid", "RCTypeId", "Name", "ID", "Nkey"};
    if (!CatalogueRead::each(
            q,
            [&](const QSqlQuery &row) {
                QDomElement key = dom.createElement(QStringLiteral("key"));
                for (int i = 0; i < 5; ++i)
                    key.setAttribute(QLatin1String(keyColumns[i]),
                                     row.value(i).isNull() ? QString() : row.value(i).toString());
                keys.appendChild(key);
            },
            error))
        return false;

    const auto file = CheckedFile::settings(settingsPath);
    const QSettings &settings = *file;
    const QList<QNetworkInterface> interfaces = QNetworkInterface::allInterfaces();
    const QDateTime now = QDateTime::currentDateTimeUtc();
    about.setAttribute(QStringLiteral("macAddress"),
                       interfaces.isEmpty() ? QString() : interfaces.constFirst().hardwareAddress());
    about.setAttribute(QStringLiteral("currentMSecsSinceEpoch"), QString::number(now.toMSecsSinceEpoch()));
    about.setAttribute(QStringLiteral("currentDateTimeUtc"), now.toString(QStringLiteral("yyyy-MM-dd-hh-mm-ss")));
    about.setAttribute(QStringLiteral("company"),
                       settingsText(settings, QStringLiteral("Settings/company"), QStringLiteral("company")));
    about.setAttribute(QStringLiteral("address"),
                       settingsText(settings, QStringLiteral("Settings/address"), QStringLiteral("address")));
    about.setAttribute(QStringLiteral("contact"),
                       settingsText(settings, QStringLiteral("Settings/contact"), QStringLiteral("contact")));
    about.setAttribute(QStringLiteral("version"), QStringLiteral("2.0"));

    *xml = dom.toByteArray(1);
    return true;
}

bool OwnDataExport::write(QSqlDatabase db, const QString &fileName, const QString &settingsPath, QString *error)
{
    QByteArray xml;
    if (!document(db, settingsPath, &xml, error))
        return false;
    QString reason;
    if (!AtomicFile::writeWhole(fileName, xml, &reason)) {
        qDebug().noquote() << "own-data export:" << reason;
        return fail(error, reason);
    }
    return true;
}
