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

    bool anySimple = false;
    for (size_t i = 0; i < in.simpleModels.size(); ++i) {
        r.simpleDelete[i] = !in.simpleModels[i].isEmpty();
        anySimple = anySimple || r.simpleDelete[i];
    }
    r.simpleProgram = deviceType && anySimple;
    // One key is not enough to fill a simple-mode slot.
    r.simpleAdd = in.keyCount >= 2;
    return r;
}

QString KeysPanelRules::keysFilter(const QString &link, int typeId)
{
    return QStringLiteral("(Rcid=%1 AND RCTypeId='%2')").arg(ModelFilter::quoted(link)).arg(typeId);
}
