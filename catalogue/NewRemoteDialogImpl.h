#pragma once

#include "ui_NewRemoteDialog.h"

#include <QDialog>
#include <QSqlDatabase>

class QCompleter;

// The record dialog: a new model (mode 1), an edit of the selected model
// (mode 2) or a new model linked to the selected model's master (mode 3).
// The main window prepares it, shows it and, on OK, has it write the record.
class NewRemoteDialogImpl : public QDialog, public Ui::NewRemoteDialog
{
    Q_OBJECT
public:
    explicit NewRemoteDialogImpl(QWidget *parent = nullptr, Qt::WindowFlags flags = Qt::WindowFlags());
    ~NewRemoteDialogImpl() override;

    int mode = 0;
    QString currentRcid; // mode 2: the model being edited
    QString masterRcid;  // mode 3: the link master the new model joins

    // Brand and model as stored by the last successful write, for the
    // window's filters.
    QString writtenBrand, writtenModel;

    // The selected model's cells as the dialog shows them in mode 2.
    struct Record
    {
        QString rcid, link, brand, type, model, documentation;
        double correction = 0.0;
        bool own = false;
        int prot = 0;
    };

    // The opening steps of each mode, up to the point where the dialog is
    // shown. The completers are the window's current ones.
    void prepareNew(QCompleter *brands, QCompleter *types);
    void prepareEdit(const Record &record, QCompleter *brands, QCompleter *types, bool showRcidLink,
                     bool enableCorrection, bool enableProtocol);
    void prepareLink(const QString &master, QCompleter *brands, QCompleter *types);

    enum class WriteResult {
        Written,    // the record is in the catalogue (an edit that changed nothing writes nothing)
        Incomplete, // brand, type or model is empty: nothing written, the dialog stays open
        Failed,     // the catalogue refused the write; *error says why
        NoMode      // not opened in one of the three modes
    };
    // Writes what OK asks for: a new row (modes 1 and 3) or the fields the
    // user changed (mode 2). *rcid receives the written model's Rcid.
    WriteResult write(QSqlDatabase db, QString *rcid, QString *error);

private:
    void prepareCommon(int newMode, QCompleter *brands, QCompleter *types);
    void prepareNewFields(int newMode, QCompleter *brands, QCompleter *types);
    // Whether the dialog may store documentation; *error says why not.
    static bool documentationFits(const QString &documentation, QString *error);

    // What mode 2 showed at opening, to tell which fields the user changed.
    struct Shown
    {
        QString brand, type, model, documentationPlain;
        bool documentationRich = false;
        bool documentationEditable = true; // false: shown cut, never written
        double correction = 0.0;
        int prot = 0;
        bool own = false;
    } m_shown;
};
