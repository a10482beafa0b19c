#pragma once
// Hands the events of one object to a handler, for the events a Qt widget does not report as a
// signal (a click on a label, a key before the text box sees it, the focus arriving).

#include <functional>
#include <utility>

#include <QEvent>
#include <QObject>

namespace interaction {

class EventHook : public QObject {
 public:
  // The hook is a child of `target`, so it lives exactly as long. The handler returns true to
  // swallow the event.
  EventHook(QObject* target, std::function<bool(QEvent*)> handler)
      : QObject(target), handler_(std::move(handler)) {
    target->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject*, QEvent* event) override { return handler_(event); }

 private:
  std::function<bool(QEvent*)> handler_;
};

}  // namespace interaction
