#include "catalogue/ModelFilter.h"

#include "catalogue/CatalogueRead.h"

#include <QRegularExpression>
#include <QSqlQuery>
#include <QVariant>

QString ModelFilter::quoted(const QString &value)
{
    QString out = value;
    out.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + out + QLatin1Char('\'');
}

QString ModelFilter::brandValue(const QString &text)
{
    QString brand = text.toUpper().trimmed();
    const int open = brand.indexOf(QLatin1Char('('));
    if (open >= 0) {
        const int close = brand.indexOf(QLatin1Char(')'));
        // A missing ")" or one before the "(" leaves everything after the "(".
        brand = close > open ? brand.mid(open + 1, close - open - 1) : brand.mid(open + 1);
    }
    return brand;
}

bool ModelFilter::brandSpellings(QSqlDatabase db, const QString &brand, QStringList *out, QString *error)
{
    out->clear();
    // Each step seeks the next larger brand in the (Brand, Model) index.
    QSqlQuery q(db);
    q.setForwardOnly(true);
    q.exec(QStringLiteral("WITH RECURSIVE b(Brand) AS (SELECT min(Brand) FROM rcmodels UNION ALL "
                          "SELECT (SELECT min(Brand) FROM rcmodels WHERE Brand > b.Brand) FROM b "
                          "WHERE b.Brand IS NOT NULL) "
                          "SELECT Brand FROM b WHERE Brand IS NOT NULL"));
    QStringList found;
    if (!CatalogueRead::each(
            q,
            [&](const QSqlQuery &row) {
                const QString stored = row.value(0).toString();
                if (stored.compare(brand, Qt::CaseInsensitive) == 0)
                    found << stored;
            },
            error))
        return false;
    *out = found;
    return true;
}

QStringList ModelFilter::typeValues(const QString &text)
{
    if (text.isEmpty())
        return {};
    return text.split(QLatin1Char(','));
}

QString ModelFilter::modelPattern(const QString &text, bool advancedFilter)
{
    static const QRegularExpression digitRuns(QStringLiteral("([0-9]+)"));
    static const QRegularExpression letterRuns(QStringLiteral("([A-Za-z]+)"));
    static const QRegularExpression digit(QStringLiteral("([0-9])"));
    static const QRegularExpression letter(QStringLiteral("([A-Za-z])"));
    const QRegularExpression &digits = advancedFilter ? digit : digitRuns;
    const QRegularExpression &letters = advancedFilter ? letter : letterRuns;

    const QString model = text.toUpper().trimmed();
    QString pattern = QStringLiteral("%");
    int pos = 0;
    for (;;) {
        const QRegularExpressionMatch d = digits.match(model, pos);
        const QRegularExpressionMatch l = letters.match(model, pos);
        if (!d.hasMatch() && !l.hasMatch())
            break;
        const QRegularExpressionMatch &first =
            !l.hasMatch() || (d.hasMatch() && d.capturedStart(1) < l.capturedStart(1)) ? d : l;
        pattern += first.captured(1) + QLatin1Char('%');
        pos = first.capturedEnd(1);
    }
    return pattern;
}

QString ModelFilter::conditions(const Panel &panel)
{
    QString where = QStringLiteral("(1)");
    switch (panel.database) {
    case OwnModels:
        where += QLatin1String("AND(Own=1)");
        break;
    case FactoryModels:
        where += QLatin1String("AND(Own=0)");
        break;
    case MastersOnly:
        where += QLatin1String("AND(Rcid=Link)");
        break;
    default:
        break;
    }

    const QString brand = brandValue(panel.brand);
    if (!brand.isEmpty()) {
        if (panel.brandSpellings.isEmpty()) {
            where += QLatin1String("AND(Brand =") + quoted(brand) + QLatin1Char(')');
        } else {
            QStringList literals;
            for (const QString &spelling : panel.brandSpellings)
                literals << quoted(spelling);
            where += QLatin1String("AND(Brand IN (") + literals.join(QLatin1Char(',')) + QLatin1String("))");
        }
    }

    const QStringList types = typeValues(panel.types);
    if (!types.isEmpty()) {
        QStringList literals;
        for (const QString &type : types)
            literals << quoted(type);
        where += QLatin1String("AND(Type IN (") + literals.join(QLatin1Char(',')) + QLatin1String("))");
    }

    if (!panel.model.trimmed().isEmpty())
        where += QLatin1String("AND(Model LIKE ") + quoted(modelPattern(panel.model, panel.advancedFilter)) +
                 QLatin1Char(')');

    if (!panel.showHidden)
        where += QLatin1String("AND(Hidden=0)");
    if (!panel.showHidden1)
        where += QLatin1String("AND(Hidden1=0)");

    const QString rcid = panel.rcid.trimmed();
    if (!rcid.isEmpty())
        where += QLatin1String("AND(Rcid=") + quoted(rcid) + QLatin1Char(')');
    const QString link = panel.link.trimmed();
    if (!link.isEmpty())
        where += QLatin1String("AND(Link=") + quoted(link) + QLatin1Char(')');
    return where;
}

QString ModelFilter::filter(const Panel &panel)
{
    return conditions(panel) + QLatin1String(" ORDER BY Brand,Model");
}
