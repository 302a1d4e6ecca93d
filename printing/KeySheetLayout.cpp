#include "printing/KeySheetLayout.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

QList<KeySheetLayout::Pair> KeySheetLayout::documentationPairs(const QString &documentation)
{
    static const QRegularExpression separators(QStringLiteral("[\r\n\t]+"));
    QList<Pair> pairs;
    const QStringList parts = documentation.split(separators, Qt::SkipEmptyParts);
    for (const QString &part : parts) {
        const int eq = int(part.lastIndexOf(QLatin1Char('=')));
        if (eq < 0)
            pairs.append({part.trimmed(), part.trimmed()});
        else
            pairs.append({part.left(eq).trimmed(), part.mid(eq + 1).trimmed()});
    }
    return pairs;
}

QString KeySheetLayout::printVariant(const QString &documentation)
{
    QString variant;
    for (const Pair &pair : documentationPairs(documentation)) {
        qDebug().noquote() << "KeySheet: documentation" << pair.key << "=" << pair.value;
        if (pair.key == QLatin1String("print"))
            variant = pair.value;
    }
    return variant;
}

bool KeySheetLayout::isUsableVariant(const QString &variant)
{
    // Anything else could leave "images/" or name a file the user never meant.
    static const QRegularExpression plain(QStringLiteral("\\A[A-Za-z0-9_-]+\\z"));
    return plain.match(variant).hasMatch();
}

QList<KeySheetLayout::Candidate> KeySheetLayout::templateCandidates(int namedKeys, const QString &customerId,
                                                                    const QString &typeId, const QString &variant)
{
    const QString own = QStringLiteral("images/print-") + customerId + QLatin1Char('-') + typeId;
    const QString shared = QStringLiteral("images/print-0-") + typeId;
    const QString sharedCustomer = QStringLiteral("0");
    QList<Candidate> list;
    if (namedKeys > 0) {
        list.append({own + QStringLiteral(".png"), customerId});
        if (isUsableVariant(variant))
            list.append({shared + QLatin1Char('-') + variant + QStringLiteral(".png"), sharedCustomer});
        list.append({shared + QStringLiteral(".png"), sharedCustomer});
    } else {
        list.append({own + QStringLiteral("-clear.png"), customerId});
        list.append({shared + QStringLiteral("-clear.png"), sharedCustomer});
    }
    list.append({fallbackTemplate(), sharedCustomer});
    return list;
}

KeySheetLayout::Choice KeySheetLayout::chooseTemplate(int namedKeys, const QString &customerId, const QString &typeId,
                                                      const QString &variant, const QString &baseDir)
{
    const QDir base(baseDir);
    Choice choice;
    for (const Candidate &candidate : templateCandidates(namedKeys, customerId, typeId, variant)) {
        if (QFileInfo::exists(base.filePath(candidate.fileName))) {
            choice.candidate = candidate;
            choice.found = true;
            return choice;
        }
    }
    return choice;
}

QPoint KeySheetLayout::textPosition(Text text)
{
    switch (text) {
    case Text::Brand:
        return QPoint(100, 100);
    case Text::Type:
        return QPoint(100, 165);
    case Text::Model:
        return QPoint(100, 230);
    case Text::Company:
        return QPoint(800, 100);
    case Text::Address:
        return QPoint(800, 165);
    case Text::Contact:
        return QPoint(800, 230);
    }
    return QPoint();
}

QPoint KeySheetLayout::legendPosition(int printOrder)
{
    // Left to right on the sheet the columns hold 0-31, 64-95, 32-63, 96-127.
    static const int columnX[4] = {1110, 2410, 1610, 2910};
    if (printOrder < 0 || printOrder > 127)
        return QPoint(5000, 5000);
    return QPoint(columnX[printOrder / 32], 392 + 65 * (printOrder % 32));
}

QString KeySheetLayout::legendText(const QString &name, int namedKeys)
{
    if (name.isEmpty() && namedKeys > 0)
        return QStringLiteral("            *");
    return name;
}

bool KeySheetLayout::photoTurned(const QSize &original)
{
    return original.width() > original.height();
}

QSize KeySheetLayout::photoSize(const QSize &original)
{
    if (original.isEmpty())
        return QSize();
    const QSize upright = photoTurned(original) ? original.transposed() : original;
    return upright.scaled(photoBox(), Qt::KeepAspectRatio);
}

QRect KeySheetLayout::sheetViewport(const QRect &printable, const QSize &templateSize)
{
    if (templateSize.isEmpty())
        return QRect(printable.topLeft(), QSize());
    return QRect(printable.topLeft(), templateSize.scaled(printable.size(), Qt::KeepAspectRatio));
}
