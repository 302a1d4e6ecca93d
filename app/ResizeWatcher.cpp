#include "app/ResizeWatcher.h"

#include <QEvent>
#include <QWidget>

namespace ResizeWatcher {

namespace {

class Watcher : public QObject
{
public:
    Watcher(QWidget *widget, std::function<void()> react) : QObject(widget), m_react(std::move(react)) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // Seen before the widget's own handler; its size is already the new one.
        if (event->type() == QEvent::Resize)
            m_react();
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> m_react;
};

} // namespace

void watch(QWidget *widget, std::function<void()> react)
{
    widget->installEventFilter(new Watcher(widget, std::move(react)));
}

} // namespace ResizeWatcher
