#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

// Writes the .qm translation qm to path as a file of exactly size bytes:
// its message section moved last and lengthened by zeros that no message
// points at. QTranslator reads it as it reads qm. The zeros are a hole in
// the file, so a large one costs no disk, only the reading of it.
inline bool writePaddedTranslation(const QByteArray &qm, const QString &path, qint64 size)
{
    constexpr int magic = 16;
    auto be32 = [](const char *p) {
        const auto *u = reinterpret_cast<const unsigned char *>(p);
        return quint32(u[0]) << 24 | quint32(u[1]) << 16 | quint32(u[2]) << 8 | quint32(u[3]);
    };
    QByteArray head = qm.left(magic);
    QByteArray messages;
    for (qsizetype at = magic; at + 5 <= qm.size();) {
        const quint32 length = be32(qm.constData() + at + 1);
        if (at + 5 + qsizetype(length) > qm.size())
            return false;
        if (static_cast<unsigned char>(qm.at(at)) == 0x69)
            messages = qm.mid(at + 5, length);
        else
            head += qm.mid(at, 5 + length);
        at += 5 + length;
    }
    const qint64 messagesLength = size - head.size() - 5;
    if (messages.isEmpty() || messagesLength < messages.size() || messagesLength > 0xffffffffLL)
        return false;
    head += char(0x69);
    for (int shift = 24; shift >= 0; shift -= 8)
        head += char((quint64(messagesLength) >> shift) & 0xff);
    head += messages;
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(head) == head.size() && file.resize(size);
}
