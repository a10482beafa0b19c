#include "ElidingLabel.h"

#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>

namespace explorer {

ElidingLabel::ElidingLabel(QWidget* parent) : QLabel(parent) {
  setTextFormat(Qt::PlainText);
  setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);  // cut, not widen the window
}

bool ElidingLabel::isCut() const { return fontMetrics().horizontalAdvance(text()) > contentsRect().width(); }

bool ElidingLabel::event(QEvent* event) {
  if (event->type() == QEvent::ToolTip && isCut()) {
    QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), text(), this);
    return true;
  }
  return QLabel::event(event);
}

void ElidingLabel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QRect room = contentsRect();
  painter.drawText(room, static_cast<int>(alignment()), fontMetrics().elidedText(text(), Qt::ElideRight, room.width()));
}

}  // namespace explorer
