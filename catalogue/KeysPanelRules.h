#pragma once

#include <QCoreApplication>
#include <QString>

#include <array>
#include <optional>

// Which model-dependent actions and buttons of the main window are usable for
// the selected model, remote type and device state.
class KeysPanelRules
{
    Q_DECLARE_TR_FUNCTIONS(KeysPanelRules)

public:
    struct Input
    {
        QString rcid;  // empty: no model selected
        QString link;  // the model's link master
        bool own = false;
        QString documentation;
        QString brand, model; // the selected model's names, for the reasons below
        QString typeName;     // name of the selected remote type
        bool showDocumentationIcon = false;
        bool enableImages = false;
        bool enableMakeOwn = false;
        bool slotInfoValid = false; // the connected remote's slot overview is known
        bool remoteConnected = false; // a programmable remote is connected (its slots may still be read)
        int typeId = 0;             // selected remote type
        int deviceRCTypeId = 0;     // remote type the connected remote reports
        int keyCount = 0;           // keys the model has for the type
        std::array<QString, 4> simpleModels; // texts of dev1Model .. dev4Model
    };

    bool busy = true; // double clicks on the picture assign nothing (factory model)
    bool documentationIcon = false;
    bool print = false;
    bool deleteModel = false;
    bool imageButtons = false; // pushButtonAdd, pushButtonDelete
    bool editModel = false;
    bool newLink = false;
    bool convert = false;
    std::optional<bool> usbProgram; // unset: keeps its state (no slot information)
    bool simpleProgram = false;
    bool simpleAdd = false; // dev1Add .. dev4Add
    std::array<bool, 4> simpleDelete{};
    // Why each programming control is greyed out, for its tooltip; empty when
    // it is usable, or disabled for no reason of the model (slots still being
    // read). The simple version hides the remote type, so the user learns it
    // here.
    QString usbProgramWhy, simpleProgramWhy, simpleAddWhy;

    static QString noRemoteText();

    static KeysPanelRules evaluate(const Input &in);

    // Filter of the key list: the keys stored under the link master for the
    // type. The link is a quoted literal with its quotes doubled, so any text
    // selects exactly the rows stored under it.
    static QString keysFilter(const QString &link, int typeId);
};
