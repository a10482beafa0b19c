#pragma once
// A quadratic the user marks in the explorer: the values f(t) = a t^2 + b t + c in view, found on a
// worker thread (the window's thread does no number work), with how many are prime and how many
// Hardy and Littlewood expect. The view outlines their cells over the tiles, never in them.

#include <atomic>
#include <memory>
#include <optional>
#include <vector>

#include <QObject>
#include <QThreadPool>

#include "QuadraticPolynomial.h"
#include "Tiles.h"

namespace explorer {

// The values of a quadratic in one rectangle of a view's plane.
struct QuadraticInView {
  numlib::QuadraticPolynomial f;
  spiral::Number start = 1;            // the spiral the cells belong to
  std::vector<spiral::CellPos> cells;  // the cells of the values, in walk order
  int64_t primes = 0;
  double expectedPrimes = 0;           // A times the sum of 1 / ln v over the values v > 1
  double hlConstant = 0;               // A
};

class QuadraticMarks : public QObject {
  Q_OBJECT

 public:
  explicit QuadraticMarks(QObject* parent = nullptr);
  ~QuadraticMarks() override;

  // The quadratic to mark; none clears the marks.
  void setQuadratic(std::optional<numlib::QuadraticPolynomial> f);
  const std::optional<numlib::QuadraticPolynomial>& quadratic() const { return f_; }
  // Looks for the values in a rectangle of the view's plane; a newer look overtakes one that waits.
  void look(const spiral::ViewSettings& view, const spiral::PlaneRect& rect);
  // The latest finding for the quadratic; none before the first.
  const std::optional<QuadraticInView>& found() const { return found_; }
  // Blocks until the latest look is answered: for tests.
  void waitForDone();

 signals:
  void foundChanged();

 private:
  struct Look {
    spiral::ViewSettings view;
    spiral::PlaneRect rect;
  };
  void startLook();
  void answered(const std::shared_ptr<std::atomic<bool>>& cancel, QuadraticInView found);

  QThreadPool pool_;  // one thread: each look waits for the one before, and the latest wins
  std::optional<numlib::QuadraticPolynomial> f_;
  std::optional<double> hlConstant_;  // f_'s, once a look has computed it
  std::optional<Look> waiting_;
  std::shared_ptr<std::atomic<bool>> running_;  // set while a look runs; true: its answer is stale
  std::optional<QuadraticInView> found_;
};

}  // namespace explorer
