#pragma once

#include <QMainWindow>

// The single main window. Its form, members and slots grow with the features.
class MainWindowImpl : public QMainWindow
{
    Q_OBJECT
public:
    // Constructs the window on first use; the pointer is published only after
    // the constructor has returned.
    static MainWindowImpl *getInstance();

    explicit MainWindowImpl(QWidget *parent = nullptr, Qt::WindowFlags flags = Qt::WindowFlags());
    ~MainWindowImpl() override;

    QString productName;

private:
    static MainWindowImpl *instance;
};
