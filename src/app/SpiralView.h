#pragma once
// The drawing area: a frame with a 2-pixel sunken border whose interior shows a spiral::Picture.
// It reports released mouse buttons in picture pixels, so its owner need not know the border.

#include <QFrame>

#include "Picture.h"

class SpiralView : public QFrame {
  Q_OBJECT

 public:
  static constexpr int kBorder = 2;

  SpiralView(const spiral::Picture& picture, QWidget* parent);

  // A point of this widget measured from the picture's top-left pixel.
  QPointF picturePoint(QPointF widgetPoint) const { return widgetPoint - QPointF(contentsRect().topLeft()); }

 signals:
  // A mouse button was released at `position`, measured from the picture's top-left pixel. After
  // a drag that began on the picture the position may lie outside it.
  void mouseReleased(Qt::MouseButton button, QPointF position);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  const spiral::Picture& picture_;
};
