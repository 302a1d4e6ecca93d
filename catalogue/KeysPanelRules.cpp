#include "catalogue/KeysPanelRules.h"

#include "catalogue/ModelFilter.h"

KeysPanelRules KeysPanelRules::evaluate(const Input &in)
{
    KeysPanelRules r;
    const bool selected = !in.rcid.isEmpty();
    r.busy = !in.own;
    r.documentationIcon = in.showDocumentationIcon && !in.documentation.isEmpty();

    if (selected) {
        r.print = true;
        r.newLink = true;
        r.deleteModel = in.own;
        r.editModel = in.own || in.enableMakeOwn;
        r.imageButtons = in.own || in.enableImages;
    }
    r.convert = selected && in.own && in.rcid == in.link;

    const bool deviceType = in.typeId == in.deviceRCTypeId;
    if (in.slotInfoValid)
        r.usbProgram = deviceType && in.keyCount > 0;
    const QString otherType =
        tr("The connected remote control is not of the chosen remote control type %1.").arg(in.typeName);
    const QString noKeys = tr("%1 %2 has no keys for the remote control type %3.").arg(in.brand, in.model, in.typeName);
    if (!in.remoteConnected)
        r.usbProgramWhy = noRemoteText();
    else if (!deviceType)
        r.usbProgramWhy = otherType;
    else if (!selected)
        r.usbProgramWhy = tr("No model is chosen.");
    else if (in.keyCount <= 0)
        r.usbProgramWhy = noKeys;

    bool anySimple = false;
    for (size_t i = 0; i < in.simpleModels.size(); ++i) {
        r.simpleDelete[i] = !in.simpleModels[i].isEmpty();
        anySimple = anySimple || r.simpleDelete[i];
    }
    r.simpleProgram = deviceType && anySimple;
    if (!r.simpleProgram) {
        if (!in.remoteConnected)
            r.simpleProgramWhy = noRemoteText();
        else if (!deviceType)
            r.simpleProgramWhy = otherType;
        else
            r.simpleProgramWhy = tr("No slot holds a model yet: add one with \"+\".");
    }
    // One key is not enough to fill a simple-mode slot.
    r.simpleAdd = in.keyCount >= 2;
    if (!selected)
        r.simpleAddWhy = tr("No model is chosen.");
    else if (in.keyCount <= 0)
        r.simpleAddWhy = noKeys;
    else if (in.keyCount == 1)
        r.simpleAddWhy = tr("%1 %2 has only one key for the remote control type %3; a slot needs at least two.")
                             .arg(in.brand, in.model, in.typeName);
    return r;
}

QString KeysPanelRules::noRemoteText()
{
    return tr("No programmable remote control is connected.");
}

QString KeysPanelRules::keysFilter(const QString &link, int typeId)
{
    return QStringLiteral("(Rcid=%1 AND RCTypeId='%2')").arg(ModelFilter::quoted(link), QString::number(typeId));
}
