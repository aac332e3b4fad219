#pragma once
// Drives a modal dialog from a test: the action runs once a widget of type T is the active
// modal widget, while the code under test waits in its exec().

#include <functional>

#include <QApplication>
#include <QTimer>
#include <QWidget>

namespace harmonygrid::testing {

template <class T>
void WhenModal(std::function<void(T&)> action, int triesLeft = 500) {
  QTimer::singleShot(5, [action = std::move(action), triesLeft]() mutable {
    if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget())) {
      action(*dialog);
    } else if (triesLeft > 0) {
      WhenModal<T>(std::move(action), triesLeft - 1);
    }
  });
}

}  // namespace harmonygrid::testing
