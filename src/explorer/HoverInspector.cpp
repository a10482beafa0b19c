#include "HoverInspector.h"

#include <QToolTip>

#include "LineLens.h"
#include "NumberInspector.h"
#include "numlib.hpp"

namespace explorer {

namespace {

constexpr int kWatchMs = 200;

bool isShown(const spiral::ViewSettings& settings, spiral::CellPos cell) {
  const std::optional<spiral::Number> n = spiral::numberOfCell(settings.start, cell);
  return n && spiral::viewShows(settings, *n - settings.start, *n, numlib::isPrime(*n));
}

}  // namespace

HoverRays hoverRaysOf(const ExploreView& view, spiral::CellPos cell) {
  const spiral::ViewSettings& settings = view.settings();
  if (settings.level().cellsPerPixel > 1 || !isShown(settings, cell)) return {};
  const spiral::PlanePoint topLeft = view.topLeft();
  const QSize size = view.deviceSize();
  const spiral::CellRange inView = spiral::cellsOf(settings, {topLeft.x, topLeft.y, size.width(), size.height()});
  const auto pointOf = [&](spiral::CellPos c) {
    const spiral::PlanePoint centre = spiral::centreOfCell(settings, c);
    return QPoint(static_cast<int>(centre.x - topLeft.x), static_cast<int>(centre.y - topLeft.y));
  };
  HoverRays rays;
  for (const spiral::PlaneRayFacts& facts : spiral::raysInView(settings, inView, cell)) {
    rays.lines << interaction::describeRay(facts);
    rays.outlines.emplace_back(pointOf(facts.ray.first), pointOf(facts.ray.cellAt(facts.ray.kTo)));
  }
  return rays;
}

HoverInspector::HoverInspector(ExploreView& view) : QObject(&view), view_(view) {
  watch_.setInterval(kWatchMs);
  connect(&watch_, &QTimer::timeout, this, [this] {
    if (!tipIsUp()) endOutlines();
  });
}

void HoverInspector::show(QPoint globalPoint, spiral::CellPos cell, const QString& text, std::vector<QLine> outlines) {
  QToolTip::showText(globalPoint, text, &view_, view_.cellRect(cell));
  shown_ = text;
  view_.setOutlines(std::move(outlines));
  watch_.start();
}

void HoverInspector::hide() {
  if (tipIsUp()) QToolTip::hideText();
  endOutlines();
}

bool HoverInspector::tipIsUp() const {
  return !shown_.isEmpty() && QToolTip::isVisible() && QToolTip::text() == shown_;
}

void HoverInspector::endOutlines() {
  watch_.stop();
  shown_.clear();
  view_.setOutlines({});
}

}  // namespace explorer
