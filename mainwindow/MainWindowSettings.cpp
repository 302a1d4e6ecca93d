// The main window's settings: loading and saving "config.ini", the settings
// dialog, the full and simple display modes and the About box.
#include "mainwindow/MainWindowImpl.h"

#include "app/CheckedFile.h"
#include "app/MessageBox.h"
#include "app/SettingsText.h"
#include "catalogue/RemoteTypeQuery.h"
#include "mainwindow/AboutText.h"
#include "mainwindow/DisplayMode.h"
#include "mainwindow/SettingsFile.h"

#include <QDir>
#include <QSettings>
#include <QThread>

namespace {
// Column of the central grid that holds the tab widget.
constexpr int kTabColumn = 2;
} // namespace

void MainWindowImpl::loadSettings()
{
    settingsPath = QDir::current().absoluteFilePath(QStringLiteral("config.ini"));
    QString problem;
    settings = CheckedFile::settings(settingsPath, &problem).release();
    settings->setParent(this);
    if (!problem.isEmpty())
        tellFileNotRead(problem + QLatin1Char('\n') + tr("The program's default settings are used."));
    SettingsValues v = SettingsFile::load(*settings, SettingsFile::systemEnvironment());
    // Only the types the catalogue knows are offered, each once; whatever the
    // list's length, this costs one read of the catalogue's types. When they
    // cannot be read the list stays as written, and the type lists built from
    // it say why.
    QStringList knownTypes;
    if (RemoteTypeQuery::knownIds(v.rcTypesList, &knownTypes)) {
        v.rcTypesList = knownTypes;
        v.rcTypes = knownTypes.join(QLatin1Char(','));
    }
    customerId = v.customerId;
    defaultCustomerId = v.defaultCustomerId;
    language = v.language;
    languageShowType = v.languageShowType;
    company = v.company;
    address = v.address;
    contact = v.contact;
    printOnlyFirstImage = v.printOnlyFirstImage;
    advancedFilter = v.advancedFilter;
    settingsSimpleProgramming = v.simpleProgramming;
    settingsFullVersion = v.settingsFullVersion;
    settingsShowRCTypesInSimpleMode = v.settingsShowRCTypesInSimpleMode;
    lastImportPath = v.lastImportPath;
    lastExportPath = v.lastExportPath;
    lastImagesPath = v.lastImagesPath;
    automaticUpdatesCheking = v.automaticUpdatesCheking;
    enableImages = v.enableImages;
    enableMakeOwn = v.enableMakeOwn;
    enableCorrection = v.enableCorrection;
    enableProtocol = v.enableProtocol;
    showHidden = v.showHidden;
    showHidden1 = v.showHidden1;
    showRcidLink = v.showRcidLink;
    showDocumentationIcon = v.showDocumentationIcon;
    saveFlashData = v.saveFlashData;
    convertDBdeleteImages = v.convertDBdeleteImages;
    rcTypesList = v.rcTypesList;
    rcTypes = v.rcTypes;
    savedSettings = v;
}

void MainWindowImpl::saveSettings()
{
    // The settings object and the members belong to the GUI thread; a save
    // asked for by a worker runs there, after what is already queued.
    if (QThread::currentThread() != thread()) {
        QMetaObject::invokeMethod(this, &MainWindowImpl::saveSettings, Qt::QueuedConnection);
        return;
    }
    SettingsValues v;
    v.customerId = customerId;
    v.language = language;
    v.company = company;
    v.address = address;
    v.contact = contact;
    v.printOnlyFirstImage = printOnlyFirstImage;
    v.advancedFilter = advancedFilter;
    v.simpleProgramming = settingsSimpleProgramming;
    v.automaticUpdatesCheking = automaticUpdatesCheking;
    v.settingsFullVersion = settingsFullVersion;
    v.settingsShowRCTypesInSimpleMode = settingsShowRCTypesInSimpleMode;
    v.lastImportPath = lastImportPath;
    v.lastExportPath = lastExportPath;
    v.lastImagesPath = lastImagesPath;
    v.rcTypes = rcTypes;
    QString error;
    lastSettingsSaveFailed = !SettingsFile::save(*settings, settingsPath, savedSettings, v, &error);
    // A failed change stays pending: the next save writes it again.
    if (!lastSettingsSaveFailed) {
        savedSettings = v;
        return;
    }
    // Every failed save is told: each one is a change that the next start
    // will not know, whatever was told before.
    const QString text = tr("The settings could not be saved, because \"%1\" cannot be written.\n%2\n"
                            "Your changes stay in effect until the program ends.")
                             .arg(QDir::toNativeSeparators(settingsPath), error);
    appendLog(text);
    MessageBox::warning(this, tr("Settings"), text);
}

void MainWindowImpl::editSettings()
{
    settingsDialog.companyLineEdit->setText(company);
    settingsDialog.addressLineEdit->setText(address);
    settingsDialog.contactLineEdit->setText(contact);
    settingsDialog.printOnlyFirstImageCheckBox->setChecked(printOnlyFirstImage);
    settingsDialog.advancedFilterCheckBox->setChecked(advancedFilter);
    settingsDialog.simpleProgrammingCheckBox->setChecked(settingsSimpleProgramming);
    settingsDialog.automaticUpdatesChekingCheckBox->setChecked(automaticUpdatesCheking);
    settingsDialog.exec();
}

void MainWindowImpl::updateSettings()
{
    company = settingsDialog.companyLineEdit->text();
    address = settingsDialog.addressLineEdit->text();
    contact = settingsDialog.contactLineEdit->text();
    printOnlyFirstImage = settingsDialog.printOnlyFirstImageCheckBox->isChecked();
    advancedFilter = settingsDialog.advancedFilterCheckBox->isChecked();
    settingsSimpleProgramming = settingsDialog.simpleProgrammingCheckBox->isChecked();
    automaticUpdatesCheking = settingsDialog.automaticUpdatesChekingCheckBox->isChecked();
    saveSettings();
    settingsDialog.close();
    refreshSimpleProgram();
    showStatus(lastSettingsSaveFailed ? tr("The settings were not saved; they stay in effect until the program ends.")
                                      : tr("The settings were saved."));
}

void MainWindowImpl::fullVersion()
{
    settingsFullVersion = true;
    saveSettings();
    changeFullSimpleVersion(true);
}

void MainWindowImpl::simpleVersion()
{
    settingsFullVersion = false;
    saveSettings();
    changeFullSimpleVersion(false);
}

void MainWindowImpl::changeFullSimpleVersion(bool full)
{
    // The first call comes from the constructor, while the minimum is still the form's.
    if (!formMinimumSize.isValid()) {
        formMinimumSize = minimumSize();
        formTabColumnStretch = gridLayout->columnStretch(kTabColumn);
        formTabColumnMinimum = gridLayout->columnMinimumWidth(kTabColumn);
    }

    actionTransmitMode->setChecked(false);
    labelPicture->transmitMode = false;

    // Only enabled or disabled: showing the pop-up menu itself would open it as
    // a floating window.
    menu_Receiver_Type->setEnabled(DisplayMode::receiverTypeMenuEnabled(full));
    if (!full)
        menu_Receiver_Type->hide();

    if (full) {
        tabWidget->setCurrentIndex(0);
    } else {
        // Reset the filters that are about to be hidden, so none stays in force unseen.
        comboBoxType->setCurrentIndex(-1);
        comboBoxDatabase->setCurrentIndex(0);
    }

    DisplayMode::Options options;
    options.showRcidLink = showRcidLink;
    options.showRCTypesInSimpleMode = settingsShowRCTypesInSimpleMode;
    for (const DisplayMode::Visibility &item : DisplayMode::visibility(full, options)) {
        if (auto *action = findChild<QAction *>(item.objectName))
            action->setVisible(item.visible);
        else if (auto *widget = findChild<QWidget *>(item.objectName))
            widget->setVisible(item.visible);
        else
            qWarning("display mode: no item named %s", qPrintable(item.objectName));
    }

    // The tab widget's column gives up its width while the tab widget is
    // hidden, so the model list takes the room instead of a gap.
    gridLayout->setColumnStretch(kTabColumn, full ? formTabColumnStretch : 0);
    gridLayout->setColumnMinimumWidth(kTabColumn, full ? formTabColumnMinimum : 0);

    // Loosen one limit before tightening the other, so minimum <= maximum holds throughout.
    const QSize maximum = DisplayMode::maximumSize(full);
    const QSize minimum = DisplayMode::minimumSize(full, formMinimumSize);
    if (full) {
        setMaximumSize(maximum);
        setMinimumSize(minimum);
    } else {
        setMinimumSize(minimum);
        setMaximumSize(maximum);
    }
    hide();
    if (DisplayMode::maximized(full))
        showMaximized();
    else
        showNormal();
}

void MainWindowImpl::openAbout()
{
    // Read afresh at every opening: the updater changes the date while the program runs.
    const auto file = CheckedFile::settings(QStringLiteral("config.ini"));
    MessageBox::about(this, tr("About Application"),
                      AboutText::build(productName, tr(authorLine.toUtf8().constData()), settingsDate(*file, QStringLiteral("UpdateInfo/database"))));
}
