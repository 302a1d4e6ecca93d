#include "app/Application.h"

#include "app/CheckedFile.h"
#include "app/LanguageTranslators.h"
#include "app/Leftovers.h"
#include "app/MessageBox.h"
#include "app/SettingsText.h"
#include "app/StartupLanguage.h"
#include "catalogue/CatalogueRead.h"
#include "catalogue/ModelRecords.h"
#include "mainwindow/MainWindowImpl.h"
#include "usb/HidSession.h"
#include "usb/UsbConnection.h"
#include "usb/UsbFunctions.h"
#include "usb/UsbReceiverDots.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <exception>

Application *Application::instance = nullptr;

Application::Application(int &argc, char **argv) : QApplication(argc, argv), m_device(&m_usb)
{
    m_started = init();
}

Application::~Application()
{
    stopWorkers();
    mainWindow = nullptr;
    instance = nullptr;
}

void Application::stopWorkers()
{
    // Receiver first, so nothing is appended to the capture store while the
    // link that owns the devices goes away; the request worker last.
    const struct
    {
        QThread *thread;
        const char *name;
    } order[] = {{usbReceiverDotsThread, "UsbReceiverDots"},
                 {usbConnectionThread, "UsbConnection"},
                 {usbFunctionsThread, "UsbFunctions"}};
    for (const auto &w : order) {
        if (!w.thread)
            continue;
        static_cast<UsbWorker *>(w.thread)->stop();
        qDebug().noquote() << QStringLiteral("Application: stopped %1").arg(QLatin1String(w.name));
        delete w.thread;
    }
    usbReceiverDotsThread = nullptr;
    usbConnectionThread = nullptr;
    usbFunctionsThread = nullptr;
}

Application *Application::getInstance()
{
    if (!instance) {
        qDebug() << "ERROR: Application::getInstance(): qApp is null now, but you try to access it...";
        // No widget may be made once the QApplication is gone.
        if (QApplication::instance())
            MessageBox::warning(nullptr, QStringLiteral("Error"),
                                QStringLiteral("Attempt to access application instance after application termination"));
        return nullptr;
    }
    return instance;
}

bool Application::openDatabase()
{
    // SQLite opens what it is given, a pipe too, and then waits in its first
    // read for good: the catalogue must be a regular file before it sees it.
    QString refused;
    switch (CheckedFile::check(QStringLiteral("rc.db"), CheckedFile::Unbounded, &refused)) {
    case CheckedFile::Result::Missing:
        MessageBox::warning(nullptr, QStringLiteral("Information"), QStringLiteral("Can not find database"));
        return false;
    case CheckedFile::Result::Refused:
        MessageBox::warning(nullptr, QStringLiteral("Information"), refused);
        return false;
    case CheckedFile::Result::Done:
        break;
    }
    // SQLite also opens the files it keeps beside the catalogue by itself
    // (a journal left by a write cut short, to see whether it must be rolled
    // back): one of them that is there must be a regular file too.
    for (const char *companion : {"-journal", "-wal", "-shm"}) {
        const QString path = QStringLiteral("rc.db") + QLatin1String(companion);
        if (CheckedFile::check(path, CheckedFile::Unbounded, &refused) == CheckedFile::Result::Refused) {
            MessageBox::warning(nullptr, QStringLiteral("Information"), refused);
            return false;
        }
    }
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"));
    db.setDatabaseName(QStringLiteral("rc.db"));
    CatalogueRead::limitBusyWait(db);
    QString error;
    if (!db.open()) {
        error = db.lastError().databaseText();
    } else {
        // SQLite opens any file; it only fails at the first statement.
        QSqlQuery probe(db);
        if (!probe.exec(QStringLiteral("SELECT Rcid FROM rcmodels LIMIT 1")))
            error = probe.lastError().databaseText();
    }
    if (!error.isNull()) {
        if (error.isEmpty())
            error = QStringLiteral("The file rc.db is not a remote-control catalogue.");
        db.close();
        MessageBox::warning(nullptr, QStringLiteral("Information"), error);
        return false;
    }
    return true;
}

bool Application::init()
{
    try {
        if (!openDatabase())
            return false;
        instance = this;

        // Writes cut short by the end of the program left temporary files,
        // and a deletion left photos parked.
        QStringList problems = Leftovers::clear(QDir::currentPath());
        // The system's temporary folder is not the user's to mend: the log only.
        for (const QString &line : Leftovers::clearOldSettingsCopies(QDir::tempPath(), applicationName()))
            qWarning().noquote() << line;
        problems += ModelRecords::settleParkedPhotos(QSqlDatabase::database(), QDir::currentPath());
        if (!problems.isEmpty())
            MessageBox::warning(nullptr, tr("Warning"), problems.join(QLatin1Char('\n')));

        addLibraryPath(applicationDirPath() + QDir::separator() + QStringLiteral("Plugins"));

        // A config.ini that is no regular file gives the defaults here; the
        // window tells why when it reads the file itself.
        QSettings *settings = CheckedFile::settings(QStringLiteral("config.ini")).release();
        settings->setParent(this);
        const QString language =
            chooseStartupLanguage(settingsText(*settings, QStringLiteral("Settings/language")),
                                  QLocale::languageToString(QLocale::system().language()),
                                  [](const QString &path) { return QFileInfo::exists(path); });
        qDebug().noquote() << QStringLiteral("Application: language %1").arg(language);

        // The window's first language switch replaces this pair.
        LanguageTranslators::install(QStringLiteral("Languages"), language, this);

        MainWindowImpl *window = MainWindowImpl::getInstance();
        mainWindow = window;
        window->setAttribute(Qt::WA_MouseTracking);
        window->show();

        if (window->thread() != thread())
            return false;

        m_usb.setRemoteKind(QStringLiteral(""));
        m_usb.setReceiverKind(QStringLiteral(""));
        m_usb.usbReady.store(false, std::memory_order_release);
        // No overview yet; cleared before the threads start, so that a
        // thread starting late cannot undo the first overview.
        m_usb.slotInfoValid.store(false, std::memory_order_release);

        m_hid = std::make_unique<HidSession>(HidBackendChoice::fromEnvironment(*settings));
        m_usb.setBackend(m_hid->backend());

        // Core threads cannot see the window: it connects itself to them.
        window->attachUsb(&m_usb);
        usbConnectionThread = new UsbConnection(&m_usb, this);
        window->connectUsbConnection(usbConnectionThread);
        usbConnectionThread->start(QThread::NormalPriority);
        usbReceiverDotsThread = new UsbReceiverDots(&m_usb, &window->captureStore, this);
        connect(usbReceiverDotsThread, &UsbReceiverDots::updateDots1, window, &MainWindowImpl::initDots1,
                Qt::QueuedConnection);
        usbReceiverDotsThread->start(QThread::NormalPriority);
        usbFunctionsThread = new UsbFunctions(0, &m_usb, this);
        window->connectUsbFunctions(usbFunctionsThread);
        usbFunctionsThread->start(QThread::TimeCriticalPriority);
        return true;
    } catch (const std::exception &e) {
        qDebug() << "Application: start-up failed:" << e.what();
    } catch (...) {
        qDebug() << "Application: start-up failed";
    }
    return false;
}
