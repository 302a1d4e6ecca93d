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
    // Watches each of widgets; the forwarder is a child of target.
    static KeyReleaseForwarder *install(QWidget *target, const QList<QWidget *> &widgets);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit KeyReleaseForwarder(QWidget *target);
    QPointer<QWidget> m_target;
};
