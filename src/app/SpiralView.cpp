#include "SpiralView.h"

#include <utility>

#include <QMouseEvent>
#include <QPainter>

#include "PictureImage.h"

SpiralView::SpiralView(const spiral::Picture& picture, QWidget* parent)
    : QFrame(parent), picture_(picture) {
  setFrameStyle(QFrame::Panel | QFrame::Sunken);
  setLineWidth(kBorder);
  // The picture covers the whole interior, so Qt need not erase it first.
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void SpiralView::setOutlines(std::vector<QLine> lines) {
  if (lines.empty() && outlines_.empty()) return;
  outlines_ = std::move(lines);
  update();
}

void SpiralView::paintEvent(QPaintEvent* event) {
  {
    QPainter painter(this);
    painter.drawImage(contentsRect().topLeft(), spiral::imageOf(picture_));
    if (!outlines_.empty()) {
      painter.setClipRect(contentsRect());
      painter.translate(contentsRect().topLeft());
      paintOutlines(painter, outlines_);
    }
  }
  QFrame::paintEvent(event);  // the border
}

void SpiralView::paintOutlines(QPainter& painter, const std::vector<QLine>& lines) {
  painter.setPen(QPen(QColor::fromRgb(kOutlineColor), 1));  // not antialiased: one pixel wide
  painter.drawLines(lines.data(), static_cast<int>(lines.size()));
}

void SpiralView::mouseReleaseEvent(QMouseEvent* event) {
  emit mouseReleased(event->button(), picturePoint(event->position()));
}
