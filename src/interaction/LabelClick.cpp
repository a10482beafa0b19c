#include "LabelClick.h"

#include <QEvent>
#include <QLabel>
#include <QMouseEvent>

namespace interaction {

namespace {

// Watches the label it belongs to; a child of the label, so it lives exactly as long.
class ClickWatcher : public QObject {
 public:
  ClickWatcher(QLabel* label, std::function<void()> onClick)
      : QObject(label), label_(label), onClick_(std::move(onClick)) {
    label->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == label_ && event->type() == QEvent::MouseButtonRelease) {
      const auto* release = static_cast<QMouseEvent*>(event);
      // A press that is dragged off the label before the release is no click.
      if (release->button() == Qt::LeftButton && label_->rect().contains(release->position().toPoint())) {
        onClick_();
      }
    }
    return false;
  }

 private:
  QLabel* label_;
  std::function<void()> onClick_;
};

}  // namespace

void callOnClick(QLabel* label, std::function<void()> onClick) {
  label->setCursor(Qt::PointingHandCursor);
  new ClickWatcher(label, std::move(onClick));
}

}  // namespace interaction
