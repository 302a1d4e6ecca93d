#pragma once

#include "programming/KeyImage.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariant>

// The compact slot image of the second-generation remote: per protocol a mask
// of the code bits that differ between the keys and the bits they share, then
// per key position only that key's own varying bits. Built as upper-case hex
// text, or "FALSE" when the model cannot be written.
class Remote2SlotImage
{
public:
    static constexpr int CodeBits = 116;  // code bits kept per key
    static constexpr int MaskBits = 128;  // mask and constant fields, prefix included
    static constexpr double MaxCorrection = 20.0;
    static constexpr int MaxTime = 16383; // a corrected time keeps two 7-bit bytes

    using Key = KeyImage::Key;

    struct Inputs
    {
        QList<Key> keys; // in the order the database returns them
        int typeId = 0;
        QString caption; // the slot's caption as the device last reported it
        QString brand, type, model;
        double correction = 0.0; // timing correction in percent
        int prot = 0;            // protocol override for single-protocol models, 0: none
        int deviceId = 0;
    };

    struct Result
    {
        QString image;   // "FALSE" when the model cannot be written
        QStringList log; // the log lines of the build, and the reason of a refusal
        QString reason;  // empty unless image is "FALSE"
        bool ok() const { return image != QLatin1String("FALSE"); }
    };

    // Key positions of a remote type: 112, or 86 for type ids above 4.
    static int positions(int typeId);

    // A timing value after a correction in percent, truncated toward zero and
    // kept within 0..MaxTime.
    static int correctedTime(int value, double correction);

    // The image of the inputs; code blobs are read from "usbprotocols".
    static Result build(QSqlDatabase db, const Inputs &in);

    // The image of the model whose Rcid is rcid, from its own row and its
    // link master's keys.
    static Result forModel(QSqlDatabase db, const QString &rcid, int typeId, const QString &caption, int deviceId);
};
