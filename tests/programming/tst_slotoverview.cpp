// What the slot dialog shows of a remote: names, boxes and buttons from the
// information block, contents from the slot headers of either generation.
#include "programming/SlotOverview.h"

#include <QtTest>

namespace {

// A first-generation information block with count slots named "Slot n",
// buttons on for the slots in buttons.
DeviceInfo remote1Info(int count, const QList<int> &buttons)
{
    DeviceInfo info;
    info.entries[31] = count;
    for (int s = 0; s < 10; ++s) {
        const int rec = 32 + 16 * s;
        info.entries[rec] = buttons.contains(s) ? 1 : 0;
        const QByteArray name = "Slot " + QByteArray::number(s + 1);
        for (int i = 0; i < name.size(); ++i)
            info.entries[rec + 4 + i] = uchar(name[i]);
    }
    return info;
}

// A header: byte 1 the year, then brand, type and model with their lengths.
QByteArray remote1Header(int year, const QByteArray &brand, const QByteArray &type, const QByteArray &model)
{
    QByteArray h(6, '\0');
    h[0] = 1;
    h[1] = char(year);
    h += char(brand.size()) + brand + char(type.size()) + type + char(model.size()) + model;
    return h + QByteArray(128 - h.size(), '\0');
}

void putPage(SlotHeaderPages &pages, int slot, const QByteArray &bytes)
{
    for (int b = 0; b < bytes.size() && b < 64; ++b)
        pages[size_t(64 * slot + b)] = uchar(bytes[b]);
}

// A second-generation header page: used flag, buttons flag, caption and texts.
QByteArray page(bool used, bool buttons, const QByteArray &caption, const QByteArray &brand, const QByteArray &type,
                const QByteArray &model)
{
    QByteArray p(6, '\0');
    p[0] = used ? 1 : 0;
    p[1] = buttons ? 1 : 0;
    p += char(caption.size()) + caption + char(brand.size()) + brand + char(type.size()) + type + char(model.size()) + model;
    return p;
}

QStringList titles(const SlotOverview::Overview &o)
{
    QStringList out;
    for (const auto &b : o.boxes)
        out << b.title;
    return out;
}

QString flags(const SlotOverview::Overview &o)
{
    QString out;
    for (const auto &b : o.boxes)
        out += QString(b.enabled ? "E" : "-") + (b.buttons ? "B" : "-") + " ";
    return out.trimmed();
}

} // namespace

class TestSlotOverview : public QObject
{
    Q_OBJECT

private slots:
    void remote1CountFour()
    {
        const auto o = SlotOverview::remote1(remote1Info(4, {0, 1, 3, 5}), {});
        QCOMPARE(titles(o), (QStringList{"Slot 1", "Slot 2", "Slot 3", "Slot 4", "5th", "6th", "7th", "8th"}));
        QCOMPARE(flags(o), QStringLiteral("EB EB E- EB -- -- -- --"));
    }

    void remote1Names()
    {
        DeviceInfo info = remote1Info(3, {0, 1, 2});
        for (int i = 0; i < 12; ++i)
            info.entries[32 + 4 + i] = 'A' + i; // twelve characters, no zero byte
        info.entries[32 + 16 + 4] = 0;          // empty name
        const auto o = SlotOverview::remote1(info, {});
        QCOMPARE(titles(o).mid(0, 3), (QStringList{"ABCDEFGHIJKL", "", "Slot 3"}));
    }

    void remote1Contents_data()
    {
        QTest::addColumn<QByteArray>("header");
        QTest::addColumn<QStringList>("texts");
        QTest::addRow("used") << remote1Header(23, "ALTOR", "TV", "") << QStringList{"ALTOR", "TV", ""};
        QTest::addRow("cleared") << remote1Header(0, "ALTOR", "TV", "X") << QStringList{"", "", ""};
        QTest::addRow("Latin-1") << remote1Header(26, "\xD8STLUND", "", "Q'1") << QStringList{"\u00D8STLUND", "", "Q'1"};
        QByteArray runaway = remote1Header(26, "B", "T", "");
        runaway[6 + 2 + 2] = char(200); // a model length past byte 127
        runaway[127] = 'Z';
        QTest::addRow("length cut at byte 127") << runaway
                                                << QStringList{"B", "T", QString(116, QChar(0)) + "Z"};
        QTest::addRow("short header") << QByteArray("\x01\x17") << QStringList{"", "", ""};
    }
    void remote1Contents()
    {
        QFETCH(QByteArray, header);
        QFETCH(QStringList, texts);
        const auto o = SlotOverview::remote1(remote1Info(2, {0, 1}), {QByteArray(), header});
        const auto &b = o.boxes.at(1);
        QCOMPARE((QStringList{b.brand, b.type, b.model}), texts);
        QCOMPARE(o.boxes.at(0).brand, QString());
    }

    void remote2Overview()
    {
        DeviceInfo info;
        info.entries[31] = 4;
        SlotHeaderPages pages{};
        putPage(pages, 0, page(true, true, "TV", "ALTORA", "TV", "X-1"));
        putPage(pages, 1, page(false, true, "SAT", "OLD", "T", "M")); // cleared: caption stays
        putPage(pages, 2, page(true, false, "", "B", "", "M"));
        putPage(pages, 3, page(true, true, "AUX", "", "", ""));
        putPage(pages, 4, page(true, true, "EXTRA", "E", "", "")); // beyond the slot count
        const auto o = SlotOverview::remote2(info, pages);
        QCOMPARE(titles(o), (QStringList{"TV", "SAT", "", "AUX", "5th", "6th", "7th", "8th"}));
        QCOMPARE(o.captions, (QStringList{"TV", "SAT", "", "AUX"}));
        QCOMPARE(flags(o), QStringLiteral("EB EB E- EB -- -- -- --"));
        QCOMPARE((QStringList{o.boxes[0].brand, o.boxes[0].type, o.boxes[0].model}), (QStringList{"ALTORA", "TV", "X-1"}));
        QCOMPARE((QStringList{o.boxes[1].brand, o.boxes[1].type, o.boxes[1].model}), (QStringList{"", "", ""}));
        QCOMPARE((QStringList{o.boxes[2].brand, o.boxes[2].type, o.boxes[2].model}), (QStringList{"B", "", "M"}));
        QCOMPARE(o.boxes[4].brand, QString());
    }

    // A text running past the page ends at byte 63; a count above ten slots
    // shows ten, of which the dialog has eight.
    void remote2Edges()
    {
        DeviceInfo info;
        info.entries[31] = 40;
        SlotHeaderPages pages{};
        QByteArray p = page(true, true, "C", "B", "T", "");
        p[6 + 2 + 2 + 2] = char(100); // model length beyond the page
        p += QByteArray(64 - p.size(), 'm');
        putPage(pages, 7, p);
        const auto o = SlotOverview::remote2(info, pages);
        QCOMPARE(o.boxes.size(), 8);
        QCOMPARE(o.boxes[7].model, QString(64 - 13, 'm'));
        QCOMPARE(flags(o), QStringLiteral("E- E- E- E- E- E- E- EB"));
        QCOMPARE(o.captions.size(), 16); // every page kept names its slot
    }
};

QTEST_GUILESS_MAIN(TestSlotOverview)
#include "tst_slotoverview.moc"
