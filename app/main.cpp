#include "app/Application.h"

#include "mainwindow/MainWindowImpl.h"

#include <QTimer>

int main(int argc, char *argv[])
{
    Application app(argc, argv);
    if (!app.started())
        return -1;
    QApplication::setQuitOnLastWindowClosed(true);

    // For unattended runs (tests, screenshots): close the window after a delay.
    bool ok = false;
    const int closeAfter = qEnvironmentVariableIntValue("IRVANTA_CLOSE_AFTER_MS", &ok);
    if (ok && closeAfter >= 0)
        QTimer::singleShot(closeAfter, app.mainWindow, &QWidget::close);

    return QApplication::exec();
}
