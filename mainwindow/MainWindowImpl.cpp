#include "mainwindow/MainWindowImpl.h"

MainWindowImpl *MainWindowImpl::instance = nullptr;

MainWindowImpl *MainWindowImpl::getInstance()
{
    if (!instance) {
        auto *window = new MainWindowImpl();
        instance = window;
    }
    return instance;
}

MainWindowImpl::MainWindowImpl(QWidget *parent, Qt::WindowFlags flags)
    : QMainWindow(parent, flags), productName(QStringLiteral("Irvanta"))
{
    setWindowTitle(productName + QStringLiteral(" ") + QStringLiteral("2.5.10"));
    resize(1024, 700);
}

MainWindowImpl::~MainWindowImpl()
{
    instance = nullptr;
}
