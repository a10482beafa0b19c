#pragma once
// A vertical scroll bar whose top end is its largest value. Qt's own inverted appearance moves only
// the thumb: its arrows and page areas would still step towards the bottom of the range. Here the
// up arrow, the page area above the thumb, the Up and Page Up keys and the wheel turned up all
// raise the value, and the down-going ones lower it. One wheel notch is one step, like one click
// on an arrow.

#include <QScrollBar>

class UpwardScrollBar : public QScrollBar {
 public:
  explicit UpwardScrollBar(QWidget* parent);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  void reverseMouseStep(int action);

  bool mouseStepping_ = false;  // an arrow or a page area is held down
  int wheelDelta_ = 0;          // wheel turn not yet amounting to a whole notch
};
