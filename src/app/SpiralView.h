#pragma once
// The drawing area: a frame with a 2-pixel sunken border whose interior shows a spiral::Picture.

#include <QFrame>

#include "Picture.h"

class SpiralView : public QFrame {
  Q_OBJECT

 public:
  static constexpr int kBorder = 2;

  SpiralView(const spiral::Picture& picture, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  const spiral::Picture& picture_;
};
