#include "ExploreView.h"

#include <algorithm>

#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include "CoarseStandIn.h"
#include "Geometry.h"
#include "Palette.h"
#include "SpiralView.h"

namespace explorer {

namespace {

constexpr int kFlashMs = 1000;
constexpr int kWheelStep = 120;  // one notch of a usual wheel
// How far around a whole view, in device pixels, the tiles are drawn ahead.
constexpr int64_t kDrawnAhead = 128;

// The rectangle grown by `margin` pixels on each side.
spiral::PlaneRect widened(const spiral::PlaneRect& rect, int64_t margin) {
  return {rect.x - margin, rect.y - margin, static_cast<int>(rect.width + 2 * margin), static_cast<int>(rect.height + 2 * margin)};
}

int zoomLevelCount() { return static_cast<int>(std::size(spiral::kZoomLevels)); }

}  // namespace

ExploreView::ExploreView(TileSource& source, QWidget* parent) : QWidget(parent), source_(source) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::StrongFocus);
  setMouseTracking(true);
  flashTimer_.setSingleShot(true);
  flashTimer_.setInterval(kFlashMs);
  connect(&flashTimer_, &QTimer::timeout, this, [this] {
    flashed_.reset();
    update();
  });
  connect(&source_, &TileSource::tilesReady, this, [this](const std::vector<TileKey>& keys) {
    const auto ofThisView = [this](const TileKey& key) { return key.settings == settings_; };
    if (std::any_of(keys.begin(), keys.end(), ofThisView)) update();
  });
  viewSize_ = size() * ratio();
}

void ExploreView::setSettings(const spiral::ViewSettings& settings) {
  if (settings == settings_) return;
  const spiral::CellPos middle = settings.start == settings_.start ? middleCell() : spiral::CellPos{0, 0};
  settings_ = settings;
  selected_.reset();
  flashed_.reset();
  outlines_.clear();
  centreOn(middle);
}

QPoint ExploreView::devicePoint(QPointF point) const {
  return QPoint(static_cast<int>(std::floor(point.x() * ratio())), static_cast<int>(std::floor(point.y() * ratio())));
}

spiral::PlanePoint ExploreView::planeAt(QPointF point) const {
  const QPoint device = devicePoint(point);
  return {topLeft_.x + device.x(), topLeft_.y + device.y()};
}

spiral::CellPos ExploreView::middleCell() const {
  const QSize size = deviceSize();
  return spiral::cellAtPlane(settings_, {topLeft_.x + size.width() / 2, topLeft_.y + size.height() / 2});
}

void ExploreView::centreOn(spiral::CellPos cell) {
  const QSize size = deviceSize();
  const spiral::PlanePoint centre = spiral::centreOfCell(settings_, cell);
  topLeft_ = {centre.x - size.width() / 2, centre.y - size.height() / 2};
  moved();
}

void ExploreView::panBy(int64_t dx, int64_t dy) {
  topLeft_.x -= dx;
  topLeft_.y -= dy;
  moved();
}

void ExploreView::zoomAbout(int steps, QPointF point) {
  // In goes towards the larger cells, at the front of the table.
  const int zoom = std::clamp(settings_.zoom - steps, 0, zoomLevelCount() - 1);
  if (zoom == settings_.zoom) return;
  const QPoint device = devicePoint(point);
  const spiral::CellPos cell = spiral::cellAtPlane(settings_, {topLeft_.x + device.x(), topLeft_.y + device.y()});
  settings_.zoom = zoom;
  const spiral::PlanePoint centre = spiral::centreOfCell(settings_, cell);
  topLeft_ = {centre.x - device.x(), centre.y - device.y()};
  outlines_.clear();
  moved();
}

void ExploreView::zoomAboutMiddle(int steps) {
  const QSize size = deviceSize();
  zoomAbout(steps, QPointF(size.width() / 2, size.height() / 2) / ratio());
}

// A pointer resting over the view now rests on another cell: a key, a go-to or a new start moves
// the view without moving the pointer.
void ExploreView::moved() {
  update();
  emit viewMoved();
  if (pointer_) emit pointerAt(pointer_);
}

// The tiles that meet the view widened by `margin` device pixels on each side; with a margin,
// only those outside the view's own tiles.
std::vector<TileKey> ExploreView::tilesOfView(int64_t margin) const {
  // The first and last tile over `length` pixels from `from`.
  const auto span = [](int64_t from, int64_t length) {
    return std::pair{spiral::floorDiv64(from, kTileSize), spiral::floorDiv64(from + length - 1, kTileSize)};
  };
  const spiral::PlaneRect view = planeRect(), around = widened(view, margin);
  const auto [firstColumn, lastColumn] = span(view.x, view.width);
  const auto [firstRow, lastRow] = span(view.y, view.height);
  const auto [leftColumn, rightColumn] = span(around.x, around.width);
  const auto [topRow, bottomRow] = span(around.y, around.height);
  std::vector<TileKey> keys;
  for (int64_t row = topRow; row <= bottomRow; ++row) {
    for (int64_t column = leftColumn; column <= rightColumn; ++column) {
      const bool inView = row >= firstRow && row <= lastRow && column >= firstColumn && column <= lastColumn;
      if (margin == 0 || !inView) keys.push_back({settings_, column, row});
    }
  }
  return keys;
}

std::vector<TileKey> ExploreView::visibleTiles() const { return tilesOfView(0); }

spiral::PlaneRect ExploreView::planeRect() const {
  return {topLeft_.x, topLeft_.y, deviceSize().width(), deviceSize().height()};
}

QImage ExploreView::viewImage() {
  const std::vector<TileKey> keys = visibleTiles();
  const spiral::PlaneRect view = planeRect();
  std::vector<spiral::PlaneRect> parts;
  for (const TileKey& key : keys) parts.push_back(key.partIn(view));
  std::vector<std::shared_ptr<const Tile>> tiles(keys.size());
  for (size_t k = 0; k < keys.size(); ++k) tiles[k] = source_.cached(keys[k], parts[k]);
  const auto allAtHand = [&tiles] { return std::find(tiles.begin(), tiles.end(), nullptr) == tiles.end(); };
  // All at hand (a pan over drawn tiles): put together once, with no placement.
  if (allAtHand()) return composed_.compose(topLeft_, deviceSize(), keys, tiles);
  composed_.compose(topLeft_, deviceSize(), keys, tiles, ViewImage::Missing::Later);
  // The tiles drawn from here on may be put in place by the workers that draw them.
  const TileSource::Placement placement = composed_.openPlacement(settings_);
  const auto lookUp = [&] {
    for (size_t k = 0; k < keys.size(); ++k) tiles[k] = source_.tile(keys[k], parts[k], placement);
    return allAtHand();
  };
  // While the workers draw, the tiles they have handed are put in place: little is left for the end.
  const auto composeSoFar = [&] {
    for (size_t k = 0; k < keys.size(); ++k)
      if (!tiles[k]) tiles[k] = source_.cached(keys[k], parts[k]);
    composed_.compose(topLeft_, deviceSize(), keys, tiles, ViewImage::Missing::Later);
  };
  // Twice at most: tiles drawn by ring while the cluster colours were walked are drawn again.
  bool whole = lookUp();
  for (int round = 0; round < 2 && !whole; ++round) {
    composed_.compose(topLeft_, deviceSize(), keys, tiles, ViewImage::Missing::Later);
    source_.waitForAll(composeSoFar);
    whole = lookUp();
  }
  // The tiles cover the view: only a tile cancelled meanwhile leaves background.
  QImage image = composed_.compose(topLeft_, deviceSize(), keys, tiles);
  composed_.closePlacement();
  return image;
}

void ExploreView::setOutlines(std::vector<QLine> lines) {
  if (lines.empty() && outlines_.empty()) return;
  outlines_ = std::move(lines);
  update();
}

void ExploreView::setSelected(std::optional<spiral::CellPos> cell) {
  selected_ = cell;
  update();
}

void ExploreView::setMarks(std::vector<spiral::CellPos> cells) {
  if (cells.empty() && marks_.empty()) return;
  marks_ = std::move(cells);
  update();
}

void ExploreView::paintMarks(QPainter& painter) const {
  if (marks_.empty()) return;
  const QColor grey = QColor::fromRgb(spiral::paletteRgb(spiral::kMarkColour));
  painter.setPen(grey);
  const QRect view(QPoint(0, 0), deviceSize());
  for (const spiral::CellPos& cell : marks_) {
    const QRect box = cellRect(cell);
    if (!box.intersects(view)) continue;
    if (box.width() == 1) {
      painter.fillRect(box, grey);
    } else {
      painter.drawRect(box.adjusted(0, 0, -1, -1));  // the pen covers the pixels of the box's edge
    }
  }
}

void ExploreView::flashCell(spiral::CellPos cell) {
  flashed_ = cell;
  flashTimer_.start();
  update();
}

QRect ExploreView::cellRect(spiral::CellPos cell) const {
  const spiral::PlanePoint centre = spiral::centreOfCell(settings_, cell);
  const int box = std::max(1, spiral::kZoomLevels[settings_.zoom].boxSize);
  const int half = (box - 1) / 2;
  return QRect(static_cast<int>(centre.x - topLeft_.x - half), static_cast<int>(centre.y - topLeft_.y - half), box, box);
}

void ExploreView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.scale(1 / ratio(), 1 / ratio());  // device pixels from here on
  const std::vector<TileKey> keys = visibleTiles();
  StandIns standIns;  // those of the tiles still missing
  bool missing = false;
  const auto targetOf = [this](const spiral::PlaneRect& rect) {
    return QRect(static_cast<int>(rect.x - topLeft_.x), static_cast<int>(rect.y - topLeft_.y), rect.width, rect.height);
  };
  const spiral::PlaneRect view = planeRect();
  for (const TileKey& key : keys) {
    const spiral::PlaneRect inView = key.partIn(view);
    const std::shared_ptr<const Tile> tile = source_.tile(key, inView);
    missing = missing || !tile;
    if (tile) {
      painter.drawImage(targetOf(tile->drawn).topLeft(), tile->image);
      continue;
    }
    if (const StandIn& standIn = standInFor(key, inView, standIns); standIn.image) {
      painter.drawImage(targetOf(standIn.part).topLeft(), *standIn.image);
    } else {
      painter.fillRect(targetOf(inView), QColor::fromRgb(spiral::paletteRgb(spiral::kBlack)));  // not drawn yet
    }
    // A tile drawn over the part that was in view keeps showing it while the rest is drawn.
    if (const std::shared_ptr<const Tile> drawnPart = source_.cachedInPart(key)) {
      painter.drawImage(targetOf(drawnPart->drawn).topLeft(), drawnPart->image);
    }
  }
  standIns_ = std::move(standIns);
  keepTilesFor(keys, missing);
  paintMarks(painter);
  std::vector<QLine> lines = outlines_;
  for (const std::optional<spiral::CellPos>& cell : {selected_, flashed_}) {
    if (!cell) continue;
    const QRect box = cellRect(*cell).adjusted(-2, -2, 1, 1);  // just outside the cell
    lines.insert(lines.end(), {QLine(box.topLeft(), box.topRight()), QLine(box.topRight(), box.bottomRight()),
                               QLine(box.bottomRight(), box.bottomLeft()), QLine(box.bottomLeft(), box.topLeft())});
  }
  if (!lines.empty()) SpiralView::paintOutlines(painter, lines);
}

// Once the view is whole, the workers draw the rest of its edge tiles and the tiles that lie within
// kDrawnAhead pixels around it, so that a drag finds its next pixels drawn; the work on every other
// tile stops. A whole ring of tiles around the view would be several times the view's own work.
void ExploreView::keepTilesFor(std::vector<TileKey> keys, bool missing) {
  if (!missing) {
    for (const TileKey& key : keys) source_.drawAhead(key);
    for (TileKey& key : tilesOfView(kDrawnAhead)) {
      source_.drawAhead(key);
      keys.push_back(std::move(key));
    }
  }
  source_.keepOnly(keys);
}

// A missing tile's stand-in is made over its part in view and kDrawnAhead pixels around, and kept
// while the tile stays missing and the view within that: a drag does not make it again at each
// step, and a zoom makes no more of it than the view shows.
const ExploreView::StandIn& ExploreView::standInFor(const TileKey& key, const spiral::PlaneRect& inView, StandIns& standIns) {
  StandIn& standIn = standIns[key];
  if (const auto made = standIns_.find(key); made != standIns_.end() && spiral::contains(made->second.part, inView)) {
    standIn = made->second;
    return standIn;
  }
  standIn.part = key.partIn(widened(inView, kDrawnAhead));
  standIn.image = coarseStandIn(key, standIn.part, [this](const TileKey& coarser) { return source_.cachedInPart(coarser); });
  return standIn;
}

// The plane pixel in the middle stays in the middle.
void ExploreView::resizeEvent(QResizeEvent*) {
  const QSize now(qRound(width() * ratio()), qRound(height() * ratio()));
  topLeft_.x += viewSize_.width() / 2 - now.width() / 2;
  topLeft_.y += viewSize_.height() / 2 - now.height() / 2;
  viewSize_ = now;
  moved();
}

void ExploreView::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  dragFrom_ = devicePoint(event->position());
  dragged_ = false;
}

void ExploreView::mouseMoveEvent(QMouseEvent* event) {
  pointer_ = event->position();
  if (dragFrom_ && (event->buttons() & Qt::LeftButton)) {
    const QPoint now = devicePoint(event->position());
    const QPoint delta = now - *dragFrom_;
    if (!delta.isNull()) {
      dragged_ = true;
      dragFrom_ = now;
      outlines_.clear();
      panBy(delta.x(), delta.y());  // which tells where the pointer is
      return;
    }
  }
  emit pointerAt(pointer_);
}

void ExploreView::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !dragFrom_) return;
  if (!dragged_) emit cellClicked(spiral::cellAtPlane(settings_, planeAt(event->position())));
  dragFrom_.reset();
}

void ExploreView::leaveEvent(QEvent*) {
  pointer_.reset();
  emit pointerAt(std::nullopt);
}

void ExploreView::wheelEvent(QWheelEvent* event) {
  const int steps = event->angleDelta().y() / kWheelStep;
  if (steps != 0) zoomAbout(steps, event->position());
  event->accept();
}

void ExploreView::keyPressEvent(QKeyEvent* event) {
  const QSize size = deviceSize();
  const bool screen = event->modifiers() & Qt::ShiftModifier;
  const int64_t cell = std::max(1, spiral::kZoomLevels[settings_.zoom].boxSize);
  const int64_t dx = screen ? size.width() : cell, dy = screen ? size.height() : cell;
  // An arrow moves the view that way: the picture moves the other.
  switch (event->key()) {
    case Qt::Key_Left: panBy(dx, 0); break;
    case Qt::Key_Right: panBy(-dx, 0); break;
    case Qt::Key_Up: panBy(0, dy); break;
    case Qt::Key_Down: panBy(0, -dy); break;
    case Qt::Key_Home: centreOn({0, 0}); break;
    default: QWidget::keyPressEvent(event); return;
  }
  event->accept();
}

void ExploreView::contextMenuEvent(QContextMenuEvent* event) {
  emit contextMenuWanted(event->globalPos(), spiral::cellAtPlane(settings_, planeAt(event->pos())));
}

}  // namespace explorer
