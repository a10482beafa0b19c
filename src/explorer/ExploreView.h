#pragma once
// The explorer's view: the plane of one spiral seen through the widget, painted from tiles. It
// moves by whole device pixels: a drag by (dx, dy) moves the picture by exactly that, a wheel step
// zooms about the pointer so that the cell under it stays under it. At cells of one pixel one
// plane pixel is one device pixel, never smoothed.

#include <optional>
#include <unordered_map>
#include <vector>

#include <QLine>
#include <QPainter>
#include <QTimer>
#include <QWidget>

#include "TileSource.h"
#include "ViewImage.h"

namespace explorer {

class ExploreView : public QWidget {
  Q_OBJECT

 public:
  ExploreView(TileSource& source, QWidget* parent = nullptr);

  const spiral::ViewSettings& settings() const { return settings_; }
  // New settings keep the cell in the middle where it is when the spiral stays the same, and
  // return to the start's cell when the start changes.
  void setSettings(const spiral::ViewSettings& settings);

  // The view's size in device pixels, and the plane pixel at its top-left one.
  QSize deviceSize() const { return viewSize_; }
  spiral::PlanePoint topLeft() const { return topLeft_; }
  // The plane pixels in view.
  spiral::PlaneRect planeRect() const;
  // The plane pixel under a point of the widget.
  spiral::PlanePoint planeAt(QPointF point) const;
  // The cell whose centre pixel is in the middle of the view (at width / 2, height / 2 in device
  // pixels, where the renderer's picture has its centre).
  spiral::CellPos middleCell() const;

  void centreOn(spiral::CellPos cell);
  // Moves the picture by (dx, dy) device pixels.
  void panBy(int64_t dx, int64_t dy);
  // Goes `steps` levels in (positive: larger cells) or out, keeping the cell under `point` (widget
  // coordinates) under it.
  void zoomAbout(int steps, QPointF point);
  void zoomAboutMiddle(int steps);

  // The view as it shows once every tile is drawn, without outlines: palette indices in an
  // Indexed8 image of deviceSize(). Waits for the tiles.
  QImage viewImage();
  // The tiles the view shows now, in rows from the top.
  std::vector<TileKey> visibleTiles() const;

  // Orange outlines over the view, in device pixels from its top-left; none removes them.
  void setOutlines(std::vector<QLine> lines);
  // The cell the user clicked, outlined until another click; none clears it.
  void setSelected(std::optional<spiral::CellPos> cell);
  std::optional<spiral::CellPos> selected() const { return selected_; }
  // Cells outlined in light grey over the view (a marked quadratic's values), as the renderer
  // outlines them: the square one pixel wide at a cell's edge, a 1-pixel cell itself.
  void setMarks(std::vector<spiral::CellPos> cells);
  const std::vector<spiral::CellPos>& marks() const { return marks_; }
  // Outlines the cell for about a second.
  void flashCell(spiral::CellPos cell);
  // The outline of a cell, in device pixels from the view's top-left.
  QRect cellRect(spiral::CellPos cell) const;

 signals:
  void viewMoved();                          // pan, zoom, size or settings
  // Where the pointer rests over the view, also when the view moves under it; none: it left.
  void pointerAt(std::optional<QPointF> point);
  void cellClicked(spiral::CellPos cell);
  void contextMenuWanted(QPoint globalPosition, spiral::CellPos cell);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  qreal ratio() const { return devicePixelRatioF(); }
  QPoint devicePoint(QPointF point) const;
  void moved();
  void paintMarks(QPainter& painter) const;
  // A missing tile's stand-in over a part of it (none when no coarser tile is at hand).
  struct StandIn {
    spiral::PlaneRect part;
    std::optional<QImage> image;
  };
  using StandIns = std::unordered_map<TileKey, StandIn, TileKeyHash>;
  const StandIn& standInFor(const TileKey& key, const spiral::PlaneRect& inView, StandIns& standIns);
  std::vector<TileKey> tilesOfView(int64_t margin) const;
  void keepTilesFor(std::vector<TileKey> keys, bool missing);

  TileSource& source_;
  spiral::ViewSettings settings_;
  spiral::PlanePoint topLeft_{0, 0};
  QSize viewSize_;  // in device pixels, as the last resize event told it
  std::optional<QPoint> dragFrom_;               // device pixels
  std::optional<QPointF> pointer_;               // over the view, as the last move told it
  bool dragged_ = false;
  std::vector<QLine> outlines_;
  std::vector<spiral::CellPos> marks_;
  std::optional<spiral::CellPos> selected_;
  std::optional<spiral::CellPos> flashed_;
  QTimer flashTimer_;
  StandIns standIns_;  // for the tiles in view not drawn yet: the coarser level scaled, or none
  ViewImage composed_;  // the last viewImage, whose pixels a pan moves
};

}  // namespace explorer
