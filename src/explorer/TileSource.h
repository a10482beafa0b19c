#pragma once
// Where the explorer's view gets its tiles: from the cache, or drawn by the engine on a pool of
// worker threads, one per core. The window's thread only asks and is told; it never draws a
// number. Work that no longer matters (a tile that left the view, settings that changed) is taken
// off the queue or told to stop.

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <unordered_map>
#include <vector>

#include <QObject>
#include <QThreadPool>

#include "ClusterColours.h"
#include "TileCache.h"
#include "ViewImage.h"

namespace explorer {

class TileSource : public QObject {
  Q_OBJECT

 public:
  // `workers`: threads that draw tiles; 0 for one per core.
  explicit TileSource(int workers = 0, QObject* parent = nullptr);
  ~TileSource() override;

  // The tile if it is drawn over `part` (of its rect); else null, and `part` is drawn unless it is
  // being drawn already. A tile drawn or being drawn over less is then drawn whole. A tile drawn
  // now is put in place through `placement`, if there is one, when the workers take every core;
  // with a core to spare, the window's thread copies it there while they draw on.
  using Placement = std::shared_ptr<ViewImage::Placement>;
  std::shared_ptr<const Tile> tile(const TileKey& key, const spiral::PlaneRect& part, const Placement& placement = {});
  // Draws the whole tile, unless it is drawn or being drawn, once the tiles asked for are done.
  void drawAhead(const TileKey& key);
  // The tile if it is drawn over `part`, without asking for it.
  std::shared_ptr<const Tile> cached(const TileKey& key, const spiral::PlaneRect& part);
  std::shared_ptr<const Tile> cached(const TileKey& key) { return cached(key, key.rect()); }
  // The tile if any of it is drawn.
  std::shared_ptr<const Tile> cachedInPart(const TileKey& key) { return cache_.find(key); }
  // Stops the work on every tile that is not in `wanted`.
  void keepOnly(const std::vector<TileKey>& wanted);
  // Stops all work.
  void cancelAll();
  // Tiles asked for and not yet drawn.
  int pending() const { return static_cast<int>(inFlight_.size()); }
  int workers() const { return pool_.maxThreadCount(); }
  const TileCache& cache() const { return cache_; }

  // Walks the cluster colours of the view's spiral in the background, unless the colours at hand
  // or those being walked cover its first `needed` cells. Tiles drawn by ring meanwhile are drawn
  // again once the colours are there.
  void wantClusterColours(const spiral::ViewSettings& view, spiral::Number needed);
  // The colours at hand when they were walked for the view's spiral, else null.
  const spiral::ClusterColours* clusterColoursFor(const spiral::ViewSettings& view) const;
  bool walkingClusterColours() const { return clusterWalk_ != nullptr; }
  // Stops the walk of the cluster colours; true when one was running.
  bool cancelClusterColours();

  // Blocks until no tile is pending and no cluster colours are walked: for saving, copying, tests
  // and benchmarks. Delivers the finished tiles as they come, calling `delivered` after each batch
  // that leaves more to wait for: after the last, the caller goes on at once.
  void waitForAll(const std::function<void()>& delivered = {});

 signals:
  // The tiles taken over together, at once: one signal for the batch, since those who listen
  // repaint or recount the whole view whatever the number of tiles.
  void tilesReady(const std::vector<TileKey>& keys);
  void clusterProgress(double fraction);
  void clusterColoursReady();

 private:
  // A tile asked for: its flag tells a queued job to skip its work and a running one to stop.
  using CancelFlag = std::shared_ptr<std::atomic<bool>>;
  struct Job {
    CancelFlag cancel;
    spiral::PlaneRect part;  // of the tile's rect
  };
  // A tile asked for goes before every tile drawn ahead.
  enum class Priority { Asked, Ahead };
  std::shared_ptr<const Tile> findOrStart(const TileKey& key, const spiral::PlaneRect& part, Priority priority,
                                          const Placement& placement = {});
  void start(const TileKey& key, const spiral::PlaneRect& part, Priority priority, const Placement& placement);
  // The tile jobs wait in this object's queue; the pool runs only the workers' loops over it.
  void enqueue(std::function<void()> job, Priority priority);
  // Starts a worker's loop, already counted in loopsRunning_.
  void startLoop();
  // A worker's loop: runs the queued jobs, the asked ones first, until none is left.
  void runQueuedJobs();
  // A tile drawn by a worker, waiting to be taken over on the window's thread.
  struct Drawn {
    TileKey key;
    CancelFlag cancel;
    std::shared_ptr<Tile> tile;
  };
  // Called by a worker with its tile.
  void hand(Drawn drawn);
  // Takes over every tile the workers have handed; false when there was none.
  bool takeHandedTiles();
  // Whether the tile counts as arrived: false when it was cancelled meanwhile.
  bool finished(const TileKey& key, const CancelFlag& cancel, std::shared_ptr<Tile> tile);

  void clusterColoursWalked(const CancelFlag& walk, std::shared_ptr<const spiral::ClusterColours> colours);
  // Called by the cluster colours' walk once it has posted its result, and by the last tile job to
  // end, so that waitForAll wakes at once.
  void resultPosted();
  // Called by each tile job as it ends, cancelled or not.
  void jobEnded();

  const bool workersPlaceTiles_;
  TileCache cache_;
  QThreadPool pool_;
  QThreadPool clusterPool_;  // one thread: the walk takes seconds and must not hold up a tile
  std::shared_ptr<const spiral::ClusterColours> clusters_;
  CancelFlag clusterWalk_;   // set while a walk runs
  spiral::ViewSettings clusterWalkView_;
  spiral::Number clusterWalkPositions_ = 0;
  std::unordered_map<TileKey, Job, TileKeyHash> inFlight_;
  std::mutex postedMutex_;
  std::condition_variable postedChanged_;
  int resultsPosted_ = 0;  // since waitForAll last looked
  std::vector<Drawn> handed_;  // under postedMutex_
  int handedSinceWake_ = 0;    // under postedMutex_
  std::atomic<int> jobsUnfinished_ = 0;  // tile jobs started and not yet ended
  std::mutex queueMutex_;
  std::deque<std::function<void()>> askedJobs_, aheadJobs_;  // under queueMutex_
  int loopsRunning_ = 0;                                       // under queueMutex_
};

}  // namespace explorer
