#pragma once
// The drawing area: a frame with a 2-pixel sunken border whose interior shows a spiral::Picture.
// It reports released mouse buttons in picture pixels, so its owner need not know the border. Over
// the picture it may draw outlines (the rays the number inspector names); they live in the view
// alone, so the picture itself, which later steps read back, saving and copying never see them.

#include <vector>

#include <QColor>
#include <QFrame>
#include <QLine>

#include "Picture.h"

class QPainter;

class SpiralView : public QFrame {
  Q_OBJECT

 public:
  static constexpr int kBorder = 2;
  // Orange: no colour of the palette, so an outline stands out on every cell and the background.
  static constexpr QRgb kOutlineColor = 0xFFFF8C00;

  SpiralView(const spiral::Picture& picture, QWidget* parent);

  // A point of this widget measured from the picture's top-left pixel.
  QPointF picturePoint(QPointF widgetPoint) const { return widgetPoint - QPointF(contentsRect().topLeft()); }

  // Thin lines over the picture, in picture pixels, in kOutlineColor; none removes them.
  void setOutlines(std::vector<QLine> lines);
  // Draws such lines with `painter`, one pixel wide and not smoothed: the explorer outlines alike.
  static void paintOutlines(QPainter& painter, const std::vector<QLine>& lines);
  const std::vector<QLine>& outlines() const { return outlines_; }

 signals:
  // A mouse button was released at `position`, measured from the picture's top-left pixel. After
  // a drag that began on the picture the position may lie outside it.
  void mouseReleased(Qt::MouseButton button, QPointF position);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  const spiral::Picture& picture_;
  std::vector<QLine> outlines_;
};
