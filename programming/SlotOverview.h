#pragma once

#include "usb/DeviceInfo.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// What the slot dialog shows of a connected remote, worked out from the
// information block and the slot headers the device link read: a title per
// box, which boxes and buttons are on, and the brand, type and model stored
// in each slot. The window only puts these into its widgets.
class SlotOverview
{
public:
    static constexpr int Boxes = 8;
    static constexpr int MaxSlots = 10; // a larger slot count is taken as this

    struct Box
    {
        QString title;
        bool enabled = false; // the box belongs to a slot of the device
        bool buttons = false; // its program and delete buttons are on
        QString brand, type, model;
    };

    struct Overview
    {
        QList<Box> boxes;     // Boxes entries, box N at N - 1
        QStringList captions; // second generation: the caption of each slot below the slot count
    };

    // First generation: slot names from the information block, contents from
    // the first 128 bytes of each slot (headers[i] for slot i; a missing or
    // short header shows what it has).
    static Overview remote1(const DeviceInfo &info, const QList<QByteArray> &headers);

    // Second generation: captions and contents from the slot header pages.
    static Overview remote2(const DeviceInfo &info, const SlotHeaderPages &pages);
};
