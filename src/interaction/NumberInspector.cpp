// The number inspector beside the click report: a tooltip over a shown cell with the rays through
// it outlined over the picture, and Ctrl+C copying the picture.

#include "NumberInspector.h"

#include <limits>

#include <QClipboard>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QLineEdit>
#include <QLocale>
#include <QShortcut>
#include <QStringList>
#include <QTimer>
#include <QToolTip>

#include "SpiralView.h"
#include "frmMain.h"
#include "EventHook.h"
#include "WordTable.h"
#include "numlib.hpp"
#include "PictureImage.h"

namespace interaction {

namespace {

using numlib::Int128;

// Digit grouping as the desktop's locale gives it, for every number below 2^64 and the negative
// ones of 64 bits. A constant beyond them keeps its plain digits.
QString grouped(Int128 number) {
  if (number >= 0 && number <= Int128{std::numeric_limits<qulonglong>::max()}) {
    return QLocale().toString(static_cast<qulonglong>(number));
  }
  if (number >= std::numeric_limits<qlonglong>::min() && number < 0) return QLocale().toString(static_cast<qlonglong>(number));
  return QString::fromStdString(numlib::toDecimal(number));
}

// " = 2 × 3^2 × 7" for a composite number, empty for 1 and the primes.
QString factorisation(spiral::Number number) {
  QStringList factors;
  for (const numlib::PrimePower& factor : numlib::factorise(number)) {
    const QString power = factor.exponent > 1 ? QStringLiteral("^%1").arg(factor.exponent) : QString();
    factors << grouped(factor.prime) + power;
  }
  return QStringLiteral(" = ") + factors.join(QStringLiteral(" \u00D7 "));
}

// " + 2k", " − k" (the 1 left out before the unknown), " + 41"; nothing for 0. The minus is the
// typographic one.
QString term(Int128 coefficient, const QString& unknown) {
  if (coefficient == 0) return {};
  const Int128 size = coefficient < 0 ? -coefficient : coefficient;
  const QString digits = size == 1 && !unknown.isEmpty() ? QString() : grouped(size);
  return (coefficient < 0 ? QStringLiteral(" \u2212 ") : QStringLiteral(" + ")) + digits + unknown;
}

// "4k² − 2k + 41"
QString quadraticText(const spiral::Quadratic& f) {
  return QStringLiteral("4k\u00B2") + term(f.b, QStringLiteral("k")) + term(f.c, QString());
}

}  // namespace

QString describeNumber(spiral::Number number, int64_t ring) {
  using language::W;
  using language::Word;
  QString first = grouped(number);
  if (numlib::isPrime(number)) {
    first += QStringLiteral(": ") + W(Word::Prime);
  } else if (number > 1) {
    first += factorisation(number);
  }
  return first + QLatin1Char('\n') + W(Word::Ring) + QLatin1Char(' ') + QString::number(ring);
}

namespace {

template <class Facts>
QString rayLine(const Facts& facts) {
  using language::W;
  using language::Word;
  const QLocale locale;
  const QString counts = W(facts.primes == 1 ? Word::RayOnePrime : Word::RayPrimes)
                             .arg(grouped(facts.primes), grouped(facts.ray.cells()),
                                  locale.toString(facts.expectedPrimes, 'f', 1), locale.toString(facts.hlConstant, 'f', 2));
  return language::compassCaption(facts.ray.direction) + QLatin1Char(' ') + quadraticText(facts.numbers) +
         QStringLiteral(": ") + counts;
}

}  // namespace

QString describeRay(const spiral::RayFacts& facts) { return rayLine(facts); }
QString describeRay(const spiral::PlaneRayFacts& facts) { return rayLine(facts); }

}  // namespace interaction

// The lens is made afresh for each rest of the pointer, from the pass on the screen: it costs a
// sieve of the picture's numbers, well below a millisecond, and no pass need keep it.
frmMain::NumberTip frmMain::numberTipOf(double X, double Y) const {
  const std::optional<spiral::Cell> cell = shownCellAt(X, Y);
  if (!cell) return {};
  const spiral::Geometry& geometry = lastPass.geometry;
  NumberTip tip;
  tip.text = interaction::describeNumber(spiral::Geometry::numberOf(*cell, lastPass.startNumber), spiral::ringOf(*cell));
  const spiral::PixelSquare pixels = geometry.pixelsOf(*cell);
  tip.cell = QRect(pixels.upperLeft.x, pixels.upperLeft.y, pixels.size, pixels.size);
  for (const spiral::RayFacts& facts : spiral::LineLens(lastPass).raysThrough(*cell)) {
    tip.text += QLatin1Char('\n') + interaction::describeRay(facts);
    const spiral::Pixel inner = geometry.centreOf(facts.ray.first.row, facts.ray.first.column);
    const spiral::Cell last = facts.ray.cellAt(facts.ray.kTo);
    const spiral::Pixel outer = geometry.centreOf(last.row, last.column);
    tip.rays.emplace_back(inner.x, inner.y, outer.x, outer.y);
  }
  tip.text += QLatin1Char('\n') + language::W(language::Word::ExploreKey);
  return tip;
}

QString frmMain::numberTipAt(double X, double Y) const { return numberTipOf(X, Y).text; }

void frmMain::showNumberTip(QPoint viewPoint, QPoint globalPoint) {
  const QPointF point = picSpiral->picturePoint(viewPoint);
  const NumberTip tip = numberTipOf(point.x(), point.y());
  if (tip.text.isEmpty()) {
    forgetNumberTip();
    return;
  }
  // The tooltip goes when the pointer leaves the cell: its words and outlines are about that cell.
  QToolTip::showText(globalPoint, tip.text, picSpiral, tip.cell.translated(picSpiral->contentsRect().topLeft()));
  numberTipShown_ = tip.text;
  picSpiral->setOutlines(tip.rays);
  numberTipWatch_->start();
}

void frmMain::forgetNumberTip() {
  if (numberTipIsUp()) QToolTip::hideText();
  endRayOutlines();
}

bool frmMain::numberTipIsUp() const {
  return !numberTipShown_.isEmpty() && QToolTip::isVisible() && QToolTip::text() == numberTipShown_;
}

void frmMain::endRayOutlines() {
  numberTipWatch_->stop();
  numberTipShown_.clear();
  picSpiral->setOutlines({});
}

// The tooltip is asked for when the pointer has rested a moment; it is worked out then, so it
// belongs to the frame on the screen. Qt hides it by itself (the pointer leaves the cell or the
// view, a key, a click, its time is up) and tells no one, so a watch looks a few times a second
// and takes the outlines away with it.
void frmMain::installNumberInspector() {
  new interaction::EventHook(picSpiral, [this](QEvent* event) {
    if (event->type() != QEvent::ToolTip) return false;
    const auto* help = static_cast<QHelpEvent*>(event);
    showNumberTip(help->pos(), help->globalPos());
    return true;
  });
  numberTipWatch_ = new QTimer(this);
  numberTipWatch_->setInterval(kNumberTipWatchMs);
  connect(numberTipWatch_, &QTimer::timeout, this, [this] {
    if (!numberTipIsUp()) endRayOutlines();
  });
  // Wherever the focus is; the start-number box hands its own Ctrl+C over when nothing is selected.
  new QShortcut(QKeySequence::Copy, this, [this] { copySelectionOrPicture(); });
}

void frmMain::copySelectionOrPicture() {
  if (txbStartNumber->hasSelectedText()) {
    txbStartNumber->copy();
  } else {
    // A copy of the pixels: the picture's own image changes with the next pass.
    QGuiApplication::clipboard()->setImage(spiral::imageOf(picture).copy());
  }
}
