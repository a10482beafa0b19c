#include "UpwardScrollBar.h"

#include <cstdlib>

#include <QWheelEvent>

UpwardScrollBar::UpwardScrollBar(QWidget* parent) : QScrollBar(Qt::Vertical, parent) {
  setInvertedAppearance(true);  // the thumb stands at the top for the largest value
  setInvertedControls(false);   // keys and wheel: up raises
  // Its "Top" and "Bottom" entries would name the wrong ends.
  setContextMenuPolicy(Qt::NoContextMenu);
  connect(this, &QAbstractSlider::actionTriggered, this, &UpwardScrollBar::reverseMouseStep);
}

void UpwardScrollBar::mousePressEvent(QMouseEvent* event) {
  mouseStepping_ = true;
  QScrollBar::mousePressEvent(event);
}

void UpwardScrollBar::mouseReleaseEvent(QMouseEvent* event) {
  QScrollBar::mouseReleaseEvent(event);
  mouseStepping_ = false;
}

// The arrows and page areas of a scroll bar step by their place (top subtracts), which the
// inverted appearance does not change. The slider has moved but not yet taken the new value, so
// the step can still be turned round.
void UpwardScrollBar::reverseMouseStep(int action) {
  if (!mouseStepping_) return;
  int reversedStep = 0;
  switch (action) {
    case SliderSingleStepAdd: reversedStep = -singleStep(); break;
    case SliderSingleStepSub: reversedStep = singleStep(); break;
    case SliderPageStepAdd: reversedStep = -pageStep(); break;
    case SliderPageStepSub: reversedStep = pageStep(); break;
    default: return;  // dragging the thumb follows the inverted appearance already
  }
  setSliderPosition(value() + reversedStep);
}

// Qt would scroll several lines per notch. Fine-grained wheels send parts of a notch; they are
// gathered until a whole one has turned.
void UpwardScrollBar::wheelEvent(QWheelEvent* event) {
  wheelDelta_ += event->angleDelta().y();
  const int notches = wheelDelta_ / QWheelEvent::DefaultDeltasPerStep;
  wheelDelta_ -= notches * QWheelEvent::DefaultDeltasPerStep;
  for (int notch = 0; notch < std::abs(notches); ++notch) {
    triggerAction(notches > 0 ? SliderSingleStepAdd : SliderSingleStepSub);
  }
  event->accept();
}
