#include "SpiralView.h"

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

void SpiralView::paintEvent(QPaintEvent* event) {
  {
    QPainter painter(this);
    painter.drawImage(contentsRect().topLeft(), spiral::imageOf(picture_));
  }
  QFrame::paintEvent(event);  // the border
}

void SpiralView::mouseReleaseEvent(QMouseEvent* event) {
  emit mouseReleased(event->button(), picturePoint(event->position()));
}
