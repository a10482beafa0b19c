// The number inspector beside the click report: a tooltip over a shown cell, and Ctrl+C copying
// the picture.

#include "NumberInspector.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QLineEdit>
#include <QLocale>
#include <QShortcut>
#include <QStringList>
#include <QToolTip>

#include "app/SpiralView.h"
#include "app/frmMain.h"
#include "interaction/EventHook.h"
#include "texts/WordTable.h"
#include "numlib.hpp"
#include "PictureImage.h"

namespace interaction {

namespace {

QString grouped(int64_t number) { return QLocale().toString(static_cast<qlonglong>(number)); }

// " = 2 × 3^2 × 7" for a composite number, empty for 1 and the primes.
QString factorisation(int64_t number) {
  QStringList factors;
  for (const numlib::PrimePower& factor : numlib::factorise(number)) {
    const QString power = factor.exponent > 1 ? QStringLiteral("^%1").arg(factor.exponent) : QString();
    factors << grouped(factor.prime) + power;
  }
  return QStringLiteral(" = ") + factors.join(QStringLiteral(" \u00D7 "));
}

}  // namespace

QString describeNumber(int64_t number, int64_t ring) {
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

}  // namespace interaction

QString frmMain::numberTipAt(double X, double Y) const {
  const std::optional<spiral::Cell> cell = shownCellAt(X, Y);
  if (!cell) return QString();
  return interaction::describeNumber(spiral::Geometry::numberOf(*cell, lastPass.startNumber), spiral::ringOf(*cell));
}

// The tooltip is asked for when the pointer has rested a moment; it is worked out then, so it
// belongs to the frame on the screen.
void frmMain::installNumberInspector() {
  new interaction::EventHook(picSpiral, [this](QEvent* event) {
    if (event->type() != QEvent::ToolTip) return false;
    const auto* help = static_cast<QHelpEvent*>(event);
    const QPointF point = picSpiral->picturePoint(help->pos());
    const QString tip = numberTipAt(point.x(), point.y());
    if (tip.isEmpty()) {
      QToolTip::hideText();
    } else {
      QToolTip::showText(help->globalPos(), tip, picSpiral);
    }
    return true;
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
