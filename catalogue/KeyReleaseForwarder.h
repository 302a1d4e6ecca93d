#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

// Line edits accept their key releases, so a release never reaches the window
// the way an ignored event would. The window filters the brand and model
// fields on key releases; this filter hands each release of the watched
// widgets to the window as well, after which the widget handles it as usual.
class KeyReleaseForwarder : public QObject
{
    Q_OBJECT
public:
    // Watches each of widgets; the forwarder lives as long as owner (the
    // target when none is given).
    static KeyReleaseForwarder *install(QWidget *target, const QList<QWidget *> &widgets, QObject *owner = nullptr);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    KeyReleaseForwarder(QWidget *target, QObject *owner);
    QPointer<QWidget> m_target;
};
