#include "TileSource.h"

#include <QCoreApplication>
#include <QThread>

#include <unordered_set>

namespace explorer {

TileSource::TileSource(int workers, QObject* parent) : QObject(parent) {
  pool_.setMaxThreadCount(workers > 0 ? workers : QThread::idealThreadCount());
}

TileSource::~TileSource() {
  cancelAll();
  pool_.waitForDone();
}

std::shared_ptr<const Tile> TileSource::tile(const TileKey& key) {
  if (std::shared_ptr<const Tile> found = cache_.find(key)) return found;
  if (!inFlight_.contains(key)) start(key);
  return nullptr;
}

void TileSource::start(const TileKey& key) {
  auto cancel = std::make_shared<std::atomic<bool>>(false);
  inFlight_[key] = cancel;
  pool_.start([this, key, cancel] {
    if (*cancel) return;  // left the view while it waited
    auto tile = std::make_shared<Tile>();
    spiral::TileContext context;
    context.cancel = cancel.get();
    tile->result = spiral::drawTile(key.settings, key.rect(), tile->picture, context);
    wrapImage(*tile);
    // Back on the window's thread; dropped with this object if it has gone.
    QMetaObject::invokeMethod(this, [this, key, cancel, tile] { finished(key, cancel, tile); }, Qt::QueuedConnection);
  });
}

void TileSource::finished(const TileKey& key, const CancelFlag& cancel, std::shared_ptr<Tile> tile) {
  const auto job = inFlight_.find(key);
  if (job != inFlight_.end() && job->second == cancel) inFlight_.erase(job);
  if (*cancel || tile->result.cancelled) return;
  cache_.insert(key, std::move(tile));
  emit tileReady(key);
}

void TileSource::keepOnly(const std::vector<TileKey>& wanted) {
  const std::unordered_set<TileKey, TileKeyHash> keep(wanted.begin(), wanted.end());
  for (auto job = inFlight_.begin(); job != inFlight_.end();) {
    if (keep.contains(job->first)) {
      ++job;
      continue;
    }
    job->second->store(true);
    job = inFlight_.erase(job);
  }
}

void TileSource::cancelAll() { keepOnly({}); }

void TileSource::waitForAll() {
  while (!inFlight_.empty()) {
    QCoreApplication::sendPostedEvents(this);
    if (!inFlight_.empty()) QThread::msleep(1);
  }
}

}  // namespace explorer
