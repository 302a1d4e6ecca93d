#include "mainwindow/DisplayMode.h"

namespace {

enum class Rule
{
    FullOnly,          // shown in full mode, hidden in simple mode
    SimpleOnly,        // the other way round
    FullIfRcidLink,    // full mode, and only when the Rcid/Link filters are configured
    FullOrIfRCTypes,   // full mode, and in simple mode when configured
};

struct Row
{
    const char *objectName;
    Rule rule;
};

// In the order the window applies them.
const Row rows[] = {
    {"actionEditRemoteControl", Rule::FullOnly},
    {"actionNewRemoteControl", Rule::FullOnly},
    {"actionNewRemoteControlLink", Rule::FullOnly},
    {"actionDeleteRemoteControl", Rule::FullOnly},
    {"actionConvertRemoteControl", Rule::FullOnly},
    {"actionImport", Rule::FullOnly},
    {"actionExport", Rule::FullOnly},
    {"actionSearch", Rule::FullOnly},
    {"actionTransmitMode", Rule::FullOnly},
    {"actionModuleted_Signal_30kHz_56kHz", Rule::FullOnly},
    {"actionNon_modulated_Signal_ITT", Rule::FullOnly},
    {"tabWidget", Rule::FullOnly},
    {"labelT", Rule::FullOnly},
    {"comboBoxType", Rule::FullOnly},
    {"labelD", Rule::FullOnly},
    {"comboBoxDatabase", Rule::FullOnly},
    {"labelR", Rule::FullIfRcidLink},
    {"rcidLineEdit", Rule::FullIfRcidLink},
    {"labelL", Rule::FullIfRcidLink},
    {"linkLineEdit", Rule::FullIfRcidLink},
    {"RCTypesTV", Rule::FullOrIfRCTypes},
    {"labelUSBreceiver", Rule::FullOnly},
    {"actionFullVersion", Rule::SimpleOnly},
    {"actionSimpleVersion", Rule::FullOnly},
};

bool visibleBy(Rule rule, bool full, const DisplayMode::Options &options)
{
    switch (rule) {
    case Rule::FullOnly:
        return full;
    case Rule::SimpleOnly:
        return !full;
    case Rule::FullIfRcidLink:
        return full && options.showRcidLink;
    case Rule::FullOrIfRCTypes:
        return full || options.showRCTypesInSimpleMode;
    }
    return full;
}

const QSize simpleMaximum(750, 580);
const QSize noLimit(16777215, 16777215); // QWIDGETSIZE_MAX, without pulling in QtWidgets

} // namespace

QList<DisplayMode::Visibility> DisplayMode::visibility(bool full, const Options &options)
{
    QList<Visibility> out;
    for (const Row &row : rows)
        out.append({QLatin1String(row.objectName), visibleBy(row.rule, full, options)});
    return out;
}

QSize DisplayMode::maximumSize(bool full)
{
    return full ? noLimit : simpleMaximum;
}

QSize DisplayMode::minimumSize(bool full, const QSize &formMinimum)
{
    return full ? formMinimum : formMinimum.boundedTo(simpleMaximum);
}
