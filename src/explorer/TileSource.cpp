#include "TileSource.h"

#include <QCoreApplication>
#include <QThread>

#include <algorithm>
#include <chrono>
#include <unordered_set>

namespace explorer {

TileSource::TileSource(int workers, QObject* parent)
    : QObject(parent), workersPlaceTiles_(workers <= 0 || workers >= QThread::idealThreadCount()) {
  pool_.setMaxThreadCount(workers > 0 ? workers : QThread::idealThreadCount());
  clusterPool_.setMaxThreadCount(1);
  // The workers' threads start now, while the window opens, rather than when the first view's
  // tiles are asked for: starting one took about 0.4 ms, which the first view waited for.
  for (int k = 0; k < pool_.maxThreadCount(); ++k) pool_.start([] {});
}

TileSource::~TileSource() {
  cancelAll();
  cancelClusterColours();
  pool_.waitForDone();
  clusterPool_.waitForDone();
}

std::shared_ptr<const Tile> TileSource::tile(const TileKey& key, const spiral::PlaneRect& part, const Placement& placement) {
  return findOrStart(key, part, Priority::Asked, placement);
}

void TileSource::drawAhead(const TileKey& key) { findOrStart(key, key.rect(), Priority::Ahead); }

std::shared_ptr<const Tile> TileSource::cached(const TileKey& key, const spiral::PlaneRect& part) {
  std::shared_ptr<const Tile> found = cache_.find(key);
  return found && found->covers(part) ? found : nullptr;
}

// A part of a tile is drawn first only where nothing of the tile is at hand: once some of it was
// drawn, a view that needs more has moved, and will soon need the rest too.
std::shared_ptr<const Tile> TileSource::findOrStart(const TileKey& key, const spiral::PlaneRect& asked, Priority priority,
                                                    const Placement& placement) {
  const spiral::PlaneRect part = spiral::isEmpty(asked) ? key.rect() : asked;
  const std::shared_ptr<const Tile> found = cache_.find(key);
  if (found && found->covers(part)) return found;
  if (const auto job = inFlight_.find(key); job != inFlight_.end()) {
    if (spiral::contains(job->second.part, part)) return nullptr;
    job->second.cancel->store(true);
    inFlight_.erase(job);
    start(key, key.rect(), priority, placement);
  } else {
    start(key, found ? key.rect() : part, priority, placement);
  }
  return nullptr;
}

void TileSource::start(const TileKey& key, const spiral::PlaneRect& part, Priority priority, const Placement& placement) {
  auto cancel = std::make_shared<std::atomic<bool>>(false);
  inFlight_[key] = {cancel, part};
  // The colours stay alive with the job, whatever becomes of them here.
  std::shared_ptr<const spiral::ClusterColours> clusters =
      clusterColoursFor(key.settings) ? clusters_ : std::shared_ptr<const spiral::ClusterColours>();
  jobsUnfinished_.fetch_add(1);
  enqueue([this, key, part, cancel, clusters, placement = workersPlaceTiles_ ? placement : nullptr] {
    if (*cancel) {  // left the view while it waited
      jobEnded();
      return;
    }
    auto tile = std::make_shared<Tile>(part);
    spiral::TileContext context;
    context.cancel = cancel.get();
    context.clusters = clusters.get();
    context.marksOwnCells = true;  // the status bar counts what the view shows of each tile
    tile->exactClusters = clusters != nullptr;
    tile->result = spiral::drawTile(key.settings, part, tile->picture, context);
    wrapImage(*tile);
    if (placement) placement->place(key.settings, *tile);
    hand({key, cancel, std::move(tile)});
    jobEnded();
  }, priority);
}

// A view asks for its tiles one after the other. The first wakes one worker, so that drawing
// starts at once; a worker that takes a job and finds more waiting wakes the next. Woken from the
// window's thread while it still held its core, the second worker queued behind the first on the
// other one, often until the first had drawn the whole view; woken by a worker, it takes the
// core the window's thread leaves.
void TileSource::enqueue(std::function<void()> job, Priority priority) {
  bool wakeOne = false;
  {
    const std::lock_guard lock(queueMutex_);
    (priority == Priority::Asked ? askedJobs_ : aheadJobs_).push_back(std::move(job));
    wakeOne = loopsRunning_ == 0;
    if (wakeOne) ++loopsRunning_;
  }
  if (wakeOne) startLoop();
}

void TileSource::startLoop() { pool_.start([this] { runQueuedJobs(); }); }

void TileSource::runQueuedJobs() {
  for (;;) {
    std::function<void()> job;
    bool wakeAnother = false;
    {
      const std::lock_guard lock(queueMutex_);
      std::deque<std::function<void()>>& jobs = askedJobs_.empty() ? aheadJobs_ : askedJobs_;
      if (jobs.empty()) {
        --loopsRunning_;
        return;
      }
      job = std::move(jobs.front());
      jobs.pop_front();
      wakeAnother = !(askedJobs_.empty() && aheadJobs_.empty()) && loopsRunning_ < pool_.maxThreadCount();
      if (wakeAnother) ++loopsRunning_;
    }
    if (wakeAnother) startLoop();
    job();
  }
}

namespace {
// A thread waiting in waitForAll is woken once for this many tiles handed, and for the last: it
// takes them over while the workers draw on, and the wake-ups cost the workers little.
constexpr int kTilesPerWake = 16;
}  // namespace

// Tiles go back to the window's thread in batches: one posted call takes over all the tiles handed
// until it runs, so that a worker posts, and wakes that thread, only when the batch was empty.
void TileSource::hand(Drawn drawn) {
  bool first = false, wake = false;
  {
    const std::lock_guard lock(postedMutex_);
    first = handed_.empty();
    handed_.push_back(std::move(drawn));
    wake = ++handedSinceWake_ >= kTilesPerWake;
    if (wake) handedSinceWake_ = 0;
  }
  // Dropped with this object if it has gone.
  if (first) QMetaObject::invokeMethod(this, &TileSource::takeHandedTiles, Qt::QueuedConnection);
  if (wake) resultPosted();
}

bool TileSource::takeHandedTiles() {
  std::vector<Drawn> handed;
  {
    const std::lock_guard lock(postedMutex_);
    handed.swap(handed_);
  }
  std::vector<TileKey> ready;
  for (Drawn& drawn : handed) {
    if (finished(drawn.key, drawn.cancel, std::move(drawn.tile))) ready.push_back(std::move(drawn.key));
  }
  if (!ready.empty()) emit tilesReady(ready);
  return !handed.empty();
}

bool TileSource::finished(const TileKey& key, const CancelFlag& cancel, std::shared_ptr<Tile> tile) {
  const auto job = inFlight_.find(key);
  if (job != inFlight_.end() && job->second.cancel == cancel) inFlight_.erase(job);
  if (*cancel || tile->result.cancelled) return false;
  // Drawn by ring while the colours were walked: asked for again, now with them.
  const bool overtaken = tile->result.clusterByRing && !tile->exactClusters && clusterColoursFor(key.settings);
  if (!overtaken) cache_.insert(key, std::move(tile));
  return true;
}

void TileSource::keepOnly(const std::vector<TileKey>& wanted) {
  const std::unordered_set<TileKey, TileKeyHash> keep(wanted.begin(), wanted.end());
  for (auto job = inFlight_.begin(); job != inFlight_.end();) {
    if (keep.contains(job->first)) {
      ++job;
      continue;
    }
    job->second.cancel->store(true);
    job = inFlight_.erase(job);
  }
}

void TileSource::cancelAll() { keepOnly({}); }

const spiral::ClusterColours* TileSource::clusterColoursFor(const spiral::ViewSettings& view) const {
  return clusters_ && clusters_->matches(view) ? clusters_.get() : nullptr;
}

void TileSource::wantClusterColours(const spiral::ViewSettings& view, spiral::Number needed) {
  needed = std::min(needed, spiral::kClusterReach);
  const spiral::ClusterColours* atHand = clusterColoursFor(view);
  if (atHand && (needed == 0 || atHand->covers(needed - 1))) return;
  if (clusterWalk_ && spiral::walksAlike(clusterWalkView_, view) && clusterWalkPositions_ >= needed) {
    return;
  }
  // Twice as far as asked, so that roaming outward does not walk again at once.
  constexpr spiral::Number kLeastWalk = spiral::Number{1} << 20;
  const spiral::Number positions = std::max(kLeastWalk, std::min(needed, spiral::kClusterReach / 2) * 2);
  cancelClusterColours();
  auto walk = std::make_shared<std::atomic<bool>>(false);
  clusterWalk_ = walk;
  clusterWalkView_ = view;
  clusterWalkPositions_ = positions;
  clusterPool_.start([this, view, positions, walk] {
    const auto progress = [this, walk](double fraction) {
      QMetaObject::invokeMethod(this, [this, walk, fraction] {
        if (walk == clusterWalk_) emit clusterProgress(fraction);
      }, Qt::QueuedConnection);
    };
    std::shared_ptr<const spiral::ClusterColours> colours =
        spiral::ClusterColours::compute(view, positions, walk.get(), progress);
    QMetaObject::invokeMethod(this, [this, walk, colours] { clusterColoursWalked(walk, colours); }, Qt::QueuedConnection);
    resultPosted();
  });
}

bool TileSource::cancelClusterColours() {
  if (!clusterWalk_) return false;
  clusterWalk_->store(true);
  clusterWalk_.reset();
  return true;
}

void TileSource::clusterColoursWalked(const CancelFlag& walk, std::shared_ptr<const spiral::ClusterColours> colours) {
  if (walk != clusterWalk_ || !colours) return;  // cancelled, or overtaken by another walk
  clusterWalk_.reset();
  clusters_ = std::move(colours);
  // The tiles that took the ring's colour for want of these colours are drawn again.
  cache_.removeIf([this](const TileKey& key, const Tile& tile) {
    return tile.result.clusterByRing && !tile.exactClusters && clusters_->matches(key.settings);
  });
  emit clusterColoursReady();
}

void TileSource::resultPosted() {
  {
    const std::lock_guard lock(postedMutex_);
    ++resultsPosted_;
  }
  postedChanged_.notify_one();
}

// Waking the waiting thread for each tile cost more than a tenth of a worker's time (a wake-up
// crosses to the other core); it is woken for each batch of tiles handed, and for the last job.
void TileSource::jobEnded() {
  if (jobsUnfinished_.fetch_sub(1) == 1) resultPosted();
}

// Sleeps until a batch of tiles is handed, the last job has ended or the cluster colours have
// posted, then takes the results over. A job cancelled meanwhile is no longer awaited: the bound
// on each sleep takes the others' results over while it, or a tile drawn ahead, still runs.
void TileSource::waitForAll(const std::function<void()>& delivered) {
  const auto waiting = [this] { return !inFlight_.empty() || clusterWalk_; };
  while (waiting()) {
    {
      std::unique_lock lock(postedMutex_);
      postedChanged_.wait_for(lock, std::chrono::milliseconds(5), [this] { return resultsPosted_ > 0; });
      resultsPosted_ = 0;
    }
    const bool took = takeHandedTiles();
    QCoreApplication::sendPostedEvents(this);
    if (took && waiting() && delivered) delivered();
  }
}

}  // namespace explorer
