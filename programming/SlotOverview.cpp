#include "programming/SlotOverview.h"

#include "programming/SlotNames.h"

namespace {

int slotCount(const DeviceInfo &info)
{
    return qBound(0, info.slotCount(), SlotOverview::MaxSlots);
}

// count bytes from at, as Latin-1; nothing at or past limit is read.
QString text(const QByteArray &bytes, int at, int count, int limit)
{
    QString out;
    for (int i = at; i < at + count && i < limit && i < bytes.size(); ++i)
        out += QChar::fromLatin1(bytes.at(i));
    return out;
}

// Brand, type and model stored one after the other, each as a length byte and
// its characters, starting at byte at; nothing past limit is read.
void contents(const QByteArray &bytes, int at, int limit, SlotOverview::Box *box)
{
    QString *fields[] = {&box->brand, &box->type, &box->model};
    for (QString *field : fields) {
        if (at >= limit || at >= bytes.size())
            return;
        const int length = uchar(bytes.at(at));
        *field = text(bytes, at + 1, length, limit);
        at += 1 + length;
    }
}

SlotOverview::Overview start(int count)
{
    SlotOverview::Overview o;
    for (int n = 0; n < SlotOverview::Boxes; ++n) {
        SlotOverview::Box box;
        box.title = SlotNames::ordinal(n);
        box.enabled = n < count;
        o.boxes.append(box);
    }
    return o;
}

} // namespace

SlotOverview::Overview SlotOverview::remote1(const DeviceInfo &info, const QList<QByteArray> &headers)
{
    const int count = slotCount(info);
    Overview o = start(count);
    for (int i = 0; i < count && i < Boxes; ++i) {
        Box &box = o.boxes[i];
        const int record = DeviceInfo::kRemote1RecordOffset + DeviceInfo::kRemote1RecordBytes * i;
        QByteArray name;
        for (int b = 4; b < 16 && info.at(record + b) != 0; ++b)
            name.append(char(info.at(record + b)));
        box.title = QString::fromLatin1(name);
        box.buttons = info.at(record) != 0;
        const QByteArray header = i < headers.size() ? headers.at(i) : QByteArray();
        if (header.size() > 1 && header.at(1) != 0)
            contents(header, 6, 128, &box);
    }
    return o;
}

SlotOverview::Overview SlotOverview::remote2(const DeviceInfo &info, const SlotHeaderPages &pages)
{
    const int count = slotCount(info);
    Overview o = start(count);
    // Captions of every slot whose page was read; boxes for the first eight.
    const int captions = qBound(0, info.slotCount(), int(DeviceInfo::kHeaderPages));
    for (int i = 0; i < captions; ++i) {
        const int *start = pages.data() + i * DeviceInfo::kHeaderPageBytes;
        QByteArray page;
        for (int b = 0; b < DeviceInfo::kHeaderPageBytes; ++b)
            page.append(char(start[b]));
        const QString caption = SlotNames::remote2Caption(start);
        o.captions.append(caption);
        if (i >= Boxes || i >= count)
            continue;
        Box &box = o.boxes[i];
        box.title = caption;
        box.buttons = page.at(1) != 0;
        if (page.at(0) != 0)
            contents(page, 7 + uchar(page.at(6)), DeviceInfo::kHeaderPageBytes, &box);
    }
    return o;
}
