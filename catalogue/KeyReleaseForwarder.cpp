#include "catalogue/KeyReleaseForwarder.h"

#include <QCoreApplication>
#include <QKeyEvent>

KeyReleaseForwarder::KeyReleaseForwarder(QWidget *target, QObject *owner)
    : QObject(owner ? owner : target), m_target(target)
{
}

KeyReleaseForwarder *KeyReleaseForwarder::install(QWidget *target, const QList<QWidget *> &widgets, QObject *owner)
{
    auto *forwarder = new KeyReleaseForwarder(target, owner);
    for (QWidget *widget : widgets)
        widget->installEventFilter(forwarder);
    return forwarder;
}

bool KeyReleaseForwarder::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyRelease && m_target) {
        const auto *key = static_cast<const QKeyEvent *>(event);
        QKeyEvent copy(QEvent::KeyRelease, key->key(), key->modifiers(), key->text(), key->isAutoRepeat(),
                       ushort(key->count()));
        QCoreApplication::sendEvent(m_target, &copy);
    }
    return QObject::eventFilter(watched, event);
}
