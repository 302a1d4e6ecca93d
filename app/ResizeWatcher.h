#pragma once

#include <functional>

class QWidget;

// Runs react after every change of the widget's size, whoever makes it (the
// window, a layout pass that follows another widget's change, the program):
// for what must follow a widget's size that no layout can place.
namespace ResizeWatcher {

void watch(QWidget *widget, std::function<void()> react);

} // namespace ResizeWatcher
