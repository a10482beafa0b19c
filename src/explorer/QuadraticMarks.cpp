#include "QuadraticMarks.h"

#include <QCoreApplication>
#include <QThread>

#include "HardyLittlewood.h"

namespace explorer {

QuadraticMarks::QuadraticMarks(QObject* parent) : QObject(parent) { pool_.setMaxThreadCount(1); }

QuadraticMarks::~QuadraticMarks() {
  if (running_) running_->store(true);
  pool_.waitForDone();
}

void QuadraticMarks::setQuadratic(std::optional<numlib::QuadraticPolynomial> f) {
  if (f == f_) return;
  if (running_) running_->store(true);  // its answer is of the old quadratic
  f_ = f;
  hlConstant_.reset();
  found_.reset();
  emit foundChanged();
}

void QuadraticMarks::look(const spiral::ViewSettings& view, const spiral::PlaneRect& rect) {
  if (!f_) return;
  waiting_ = Look{view, rect};
  if (!running_) startLook();
}

void QuadraticMarks::startLook() {
  const Look look = *waiting_;
  waiting_.reset();
  auto cancel = std::make_shared<std::atomic<bool>>(false);
  running_ = cancel;
  pool_.start([this, look, cancel, f = *f_, known = hlConstant_] {
    QuadraticInView found{f, look.view.start, {}, 0, 0, known.value_or(0)};
    std::vector<spiral::Number> values;
    for (const spiral::ValueCell& value : spiral::quadraticValuesIn(look.view, look.rect, f, cancel.get())) {
      found.cells.push_back(value.cell);
      values.push_back(value.n);
    }
    if (!known && !*cancel) found.hlConstant = numlib::hardyLittlewoodConstant(f);
    const numlib::PrimesAmongValues primes = numlib::primesAmong(values, found.hlConstant);
    found.primes = primes.primes;
    found.expectedPrimes = primes.expected;
    QMetaObject::invokeMethod(this, [this, cancel, found = std::move(found)] { answered(cancel, found); },
                              Qt::QueuedConnection);
  });
}

void QuadraticMarks::answered(const std::shared_ptr<std::atomic<bool>>& cancel, QuadraticInView found) {
  running_.reset();
  if (!*cancel && f_ == found.f) {
    hlConstant_ = found.hlConstant;
    found_ = std::move(found);
    emit foundChanged();
  }
  if (waiting_ && f_) startLook();
}

void QuadraticMarks::waitForDone() {
  while (running_ || (waiting_ && f_)) {
    QCoreApplication::sendPostedEvents(this);
    if (running_) QThread::msleep(1);
  }
}

}  // namespace explorer
