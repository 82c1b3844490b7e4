// Drives a modal window that a blocking call opens: waits for it, acts on it, never hangs a test.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace fotavel::testing {

// Once the modal window on top is a T (other than `notThis`), runs `act` on it from the blocking
// call's event loop. After about two seconds it records a failure and rejects the open modal.
template <typename T>
void WhenModal(std::function<void(T*)> act, QWidget* notThis = nullptr, int triesLeft = 200) {
  QTimer::singleShot(10, [act = std::move(act), notThis, triesLeft]() {
    QWidget* top = QApplication::activeModalWidget();
    T* window = qobject_cast<T*>(top);
    if (window != nullptr && window != notThis && window->isVisible()) {
      act(window);
      return;
    }
    if (triesLeft > 0) {
      WhenModal<T>(act, notThis, triesLeft - 1);
      return;
    }
    ADD_FAILURE() << "the expected modal window never showed";
    if (auto* dialog = qobject_cast<QDialog*>(top)) dialog->reject();
  });
}

}  // namespace fotavel::testing
