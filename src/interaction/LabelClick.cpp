#include "LabelClick.h"

#include "EventHook.h"

#include <QLabel>
#include <QMouseEvent>

namespace interaction {

void callOnClick(QLabel* label, std::function<void()> onClick) {
  label->setCursor(Qt::PointingHandCursor);
  new EventHook(label, [label, onClick = std::move(onClick)](QEvent* event) {
    if (event->type() != QEvent::MouseButtonRelease) return false;
    const auto* release = static_cast<QMouseEvent*>(event);
    // A press that is dragged off the label before the release is no click.
    if (release->button() == Qt::LeftButton && label->rect().contains(release->position().toPoint())) {
      onClick();
    }
    return false;
  });
}

}  // namespace interaction
