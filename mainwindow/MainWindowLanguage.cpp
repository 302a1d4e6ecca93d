// MainWindowImpl: languages, the language menu and help.
#include "mainwindow/MainWindowImpl.h"

#include "app/CheckedPicture.h"
#include "app/LanguageTranslators.h"
#include "app/MessageBox.h"
#include "mainwindow/LanguageFiles.h"
#include "usb/UsbState.h"

#include <QAbstractItemModel>
#include <QCoreApplication>
#include <QDebug>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QFont>

namespace {

const QString kLanguagesDir = QStringLiteral("Languages");

void setHeaders(QAbstractItemModel *model, const QList<QPair<int, QString>> &headers)
{
    if (!model)
        return;
    for (const auto &h : headers)
        model->setHeaderData(h.first, Qt::Horizontal, h.second, Qt::EditRole);
}

// A flag read through the checked reader (QIcon would open the file itself,
// when the menu is first painted); one it refused is told.
QIcon flagIcon(const QString &path, MainWindowImpl *window)
{
    QPixmap picture;
    QString problem;
    if (CheckedPicture::pixmap(path, CheckedFile::IconBytes, &picture, &problem) == CheckedFile::Result::Refused)
        window->tellFileNotRead(problem);
    return picture.isNull() ? QIcon() : QIcon(picture);
}

} // namespace

void MainWindowImpl::buildLanguageMenu()
{
    languageCount = 0;
    QStringList problems;
    const QList<LanguageFiles::Language> languages = LanguageFiles::scan(kLanguagesDir, &problems);
    for (const QString &problem : std::as_const(problems))
        tellFileNotRead(problem);
    for (const LanguageFiles::Language &l : languages) {
        auto *action = new QAction(LanguageFiles::entryText(l, languageShowType), this);
        action->setData(l.baseName);
        if (!l.flagFile.isEmpty())
            action->setIcon(flagIcon(l.flagFile, this));
        languageActions.append(action);
        ++languageCount;
        menuLanguage->addAction(action);
    }
    // The constructor connects menuLanguage's triggered(QAction *) to doTran next.
}

void MainWindowImpl::loadLanguage(QString language)
{
    for (int i = 0; i < languageCount; ++i) {
        QAction *action = languageActions.at(i);
        action->setCheckable(true);
        action->setChecked(action->data().toString() == language);
        // The flag takes the check mark's place in many styles: the
        // language in force also shows in bold.
        QFont font = action->font();
        font.setBold(action->isChecked());
        action->setFont(font);
    }
    const QString flag = LanguageFiles::flagFile(kLanguagesDir, language);
    menuLanguage->setIcon(flag.isEmpty() ? QIcon(QString()) : flagIcon(flag, this));

    // In place of the pair in force, the one installed at start included:
    // a text the new language's file lacks must not stay in the old language.
    QStringList problems;
    LanguageTranslators::install(kLanguagesDir, language, this, &problems);
    for (const QString &problem : std::as_const(problems))
        tellFileNotRead(problem);

    menu_File->setTitle(tr("File"));
    actionNewRemoteControl->setText(tr("New Remote Control"));
    actionNewRemoteControlLink->setText(tr("New Link"));
    actionEditRemoteControl->setText(tr("Edit Remote Control"));
    actionDeleteRemoteControl->setText(tr("Delete Remote Control"));
    actionConvertRemoteControl->setText(tr("Convert Remote Control"));
    actionImport->setText(tr("Import"));
    actionExport->setText(tr("Export"));
    actionPrintPreview->setText(tr("Print Preview"));
    actionPrint->setText(tr("Print..."));
    actionTransmitMode->setText(tr("Transmit mode"));
    menu_Receiver_Type->setTitle(tr("Receiver Type"));
    actionModuleted_Signal_30kHz_56kHz->setText(tr("Modulated Signal (30kHz-56kHz)"));
    actionNon_modulated_Signal_ITT->setText(tr("Non-modulated Signal (ITT)"));
    actionSearch->setText(tr("Search"));
    actionClose->setText(tr("Exit"));
    actionUSBProgramm->setText(tr("Program RC"));
    actionMacroProgramm->setText(tr("Program Macro"));
    menuTools->setTitle(tr("Tools"));
    actionSettings->setText(tr("Settings"));
    actionShowLog->setText(tr("Show Log"));
    menuLanguage->setTitle(tr("Language"));
    menuAbout->setTitle(tr("About"));
    actionAbout->setText(tr("About"));
    actionHelp->setText(tr("Help"));
    actionUpdateProgram->setText(tr("Check for updates"));
    actionFullVersion->setText(tr("Full version"));
    actionSimpleVersion->setText(tr("Simple version"));
    const QString databaseItems[] = {tr("Whole Database"), tr("Own"), tr("Factory"), tr("Whole without links")};
    for (int i = 0; i < 4 && i < comboBoxDatabase->count(); ++i)
        comboBoxDatabase->setItemText(i, databaseItems[i]);
    comboBoxDatabase->setMinimumWidth(comboBoxDatabase->sizeHint().width());
    labelD->setText(tr("DATABASE:"));
    labelB->setText(tr("Brand:"));
    labelT->setText(tr("Type:"));
    labelM->setText(tr("Model:"));
    pushButtonAdd->setText(tr("Image"));
    pushButtonDelete->setText(tr("Image"));
    pushButton1->setText(tr("Image 1"));
    pushButton2->setText(tr("Image 2"));
    pushButton3->setText(tr("Image 3"));
    pushButton4->setText(tr("Image 4"));
    pushButton5->setText(tr("Image 5"));
    tabWidget->setTabText(0, tr("Main"));
    tabWidget->setTabText(1, tr("Images"));
    tabWidget->setTabText(3, tr("Oscillograph"));
    tabWidget->setTabText(2, tr("Links"));
    tabWidget->setTabText(4, tr("Search"));
    newRemoteDialog.labelBrand->setText(tr("Brand:"));
    newRemoteDialog.labelType->setText(tr("Type:"));
    newRemoteDialog.labelModel->setText(tr("Model:"));
    newRemoteDialog.ownCheckBox->setText(tr("Own data base"));
    newRemoteDialog.correctionLabel->setText(tr("Correction:"));

    settingsDialog.setWindowFlags(settingsDialog.windowFlags() & ~Qt::WindowContextHelpButtonHint);
    settingsDialog.setWindowTitle(tr("Settings"));
    settingsDialog.companyLabel->setText(tr("Company:"));
    settingsDialog.addressLabel->setText(tr("Address:"));
    settingsDialog.contactLabel->setText(tr("Contact:"));
    settingsDialog.printOnlyFirstImageCheckBox->setText(tr("Print only first image"));
    settingsDialog.savePushButton->setText(tr("Save changes"));
    settingsDialog.cancelPushButton->setText(tr("Cancel"));
    settingsDialog.printGroupBox->setTitle(tr("Print Options"));
    settingsDialog.advancedFilterCheckBox->setText(tr("Advanced filter. Show more results."));
    settingsDialog.simpleProgrammingCheckBox->setText(tr("Simple programming"));
    settingsDialog.automaticUpdatesChekingCheckBox->setText(tr("Check for updates on startup"));

    setHeaders(ModelsTV->model(), {{1, tr("Brand")}, {2, tr("Type")}, {3, tr("Model")}});
    setHeaders(KeysTV->model(), {{2, tr("Name")}, {3, tr("ID")}});
    setFiltersPushButton->setText(tr("Set Filters"));
    removeFiltersPushButton->setText(tr("Remove Filters"));
    removeSearchPushButton->setText(tr("New Search"));
    if (tabWidget->currentIndex() == 2)
        setHeaders(LinksTV->model(), {{1, tr("Brand")}, {2, tr("Type")}, {3, tr("Model")}});

    changer8in1Dialog.setWindowFlags(changer8in1Dialog.windowFlags() & ~Qt::WindowContextHelpButtonHint);
    changer8in1Dialog.setWindowTitle(tr("Remote control replacer"));

    // Texts the form or the devices gave in the language of the start.
    actionConvertDB->setText(tr("Convert DB"));
    buttonSimpleUSBProgramm->setText(tr("Program"));
    showDeviceLines();
    // The oscillograph's texts are drawn into its picture.
    redrawOscillograph();
    // Only an overview still in force: a remote gone since keeps its actions off.
    if (usbState && usbState->slotInfoValid.load(std::memory_order_acquire)) {
        if (shownOverview == 1)
            showSlotOverview1();
        else if (shownOverview == 2)
            refreshInformation2();
    }
}

void MainWindowImpl::doTran(QAction *action)
{
    language = action->data().toString();
    loadLanguage(language);
    saveSettings();
}

void MainWindowImpl::openHelp()
{
    const QUrl url = LanguageFiles::helpUrl(kLanguagesDir, language);
    // With no program for web pages the desktop opens nothing and says nothing.
    if (!QDesktopServices::openUrl(url))
        MessageBox::warning(this, tr("Help"),
                            tr("The help page could not be opened. Open it in a web browser: %1")
                                .arg(QDir::toNativeSeparators(url.toLocalFile())));
}
