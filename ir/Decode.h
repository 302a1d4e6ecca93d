#pragma once

#include <QObject>
#include <QString>

// Key-code codec: packs code bits into 15-digit blocks whose first two digits
// stay in clear and select a substitution/permutation row for the other 13.
// Pure functions of their argument and the two constant tables.
class Decode : public QObject
{
    Q_OBJECT
public:
    explicit Decode(QObject *parent = nullptr) : QObject(parent) {}

    static QString encode(const QString &bits);
    static QString decode(const QString &blocks);

    // "0".."9", "A".."F" -> 0..15; anything else (lower case, empty, longer) -> 0.
    static int hexToInt(const QString &digit);
    // "0000".."1111" -> '0'..'F'; anything else -> '0'.
    static char binToHex(const QString &bits);

    static const int substitutionTable[256][13];
    static const int permutationTable[256][13];

private:
    static QString encodeBlock(const QString &piece);
    static QString decodeBlock(const QString &block);
};
