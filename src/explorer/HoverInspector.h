#pragma once
// The explorer's hover: resting on a shown cell gives the inspector's lines with the rays through
// the cell, counted over their cells in view, and the rays' orange outlines over the view, as the
// window's inspector does. The outlines are an overlay: saved and copied views never hold them.

#include <vector>

#include <QLine>
#include <QObject>
#include <QStringList>
#include <QTimer>

#include "ExploreView.h"

namespace explorer {

// The lines of the rays through a cell of the view, and their outlines: for each ray a line
// through the centres of its cells in view, in device pixels from the view's top-left. None at the
// density levels, where a pixel stands for many cells, and none for a cell the class does not show.
struct HoverRays {
  QStringList lines;
  std::vector<QLine> outlines;
};
HoverRays hoverRaysOf(const ExploreView& view, spiral::CellPos cell);

// Shows the tooltip of a cell with its outlines. Qt hides a tooltip by itself (the pointer leaves
// the cell, a key, a click, its time is up) and tells no one, so a watch looks a few times a second
// and takes the outlines away with it.
class HoverInspector : public QObject {
 public:
  explicit HoverInspector(ExploreView& view);

  void show(QPoint globalPoint, spiral::CellPos cell, const QString& text, std::vector<QLine> outlines);
  void hide();

 private:
  bool tipIsUp() const;
  void endOutlines();

  ExploreView& view_;
  QTimer watch_;
  QString shown_;  // the text of the tooltip that the outlines belong to
};

}  // namespace explorer
