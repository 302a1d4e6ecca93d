#pragma once

#include <QList>
#include <QSize>
#include <QString>

// The full and the simple display mode as data: which actions and widgets of
// the main window each mode shows, and the window's size limits and state.
// The window applies it; tests read it without a window.
class DisplayMode
{
public:
    struct Options
    {
        bool showRcidLink = false;                   // "Debug/showRcidLink"
        bool showRCTypesInSimpleMode = false;        // "Settings/settingsShowRCTypesInSimpleMode"
    };

    struct Visibility
    {
        QString objectName; // an action or a widget of the main window form
        bool visible;
    };

    // Every action and widget the mode shows or hides, in the order they are set.
    static QList<Visibility> visibility(bool full, const Options &options);

    // The receiver-type menu stays in the File menu in both modes; only its
    // enabled state follows the mode.
    static bool receiverTypeMenuEnabled(bool full) { return full; }

    static QSize maximumSize(bool full);
    // The simple mode's maximum is smaller than the form's minimum; the
    // minimum is lowered just enough for the maximum to hold, and the form's
    // own minimum comes back in full mode.
    static QSize minimumSize(bool full, const QSize &formMinimum);
    static bool maximized(bool full) { return full; }
};
