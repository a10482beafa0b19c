#pragma once
// A status line that a narrow window cuts: it ends in "…" rather than in half a glyph, and resting
// on it shows the whole line. Its text() stays whole.

#include <QLabel>

namespace explorer {

class ElidingLabel : public QLabel {
 public:
  explicit ElidingLabel(QWidget* parent = nullptr);

  // Whether the line is wider than the label, so that its end is cut.
  bool isCut() const;

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace explorer
