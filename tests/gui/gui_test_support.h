#pragma once
// Acting as the user while a modal window runs its own event loop.
#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace qtv::test {

// Runs `action` with the modal window on top once the modal loop that is about to start
// shows it.
inline void whenModalShown(std::function<void(QWidget*)> action) {
  QTimer::singleShot(0, [action = std::move(action)] { action(QApplication::activeModalWidget()); });
}

}  // namespace qtv::test
