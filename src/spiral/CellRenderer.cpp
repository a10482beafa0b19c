#include "CellRenderer.h"

#include <cmath>
#include <string>


#include "Palette.h"

namespace spiral {

namespace {
constexpr int kNumeralPointSize = 8;
}  // namespace

bool fillsEveryCell(NumberClass numberClass, bool squares) { return squares && numberClass == NumberClass::All; }

CellRenderer::CellRenderer(const DrawSettings& settings, const Geometry& geometry, Picture& picture)
    : picture_(picture),
      boxSize_(geometry.boxSize),
      half_((geometry.boxSize - 1) / 2),
      radius_(geometry.circleRadius),
      squares_(settings.squares),
      numerals_(settings.writesNumerals()),
      gridTicked_(settings.grid),
      gridMarks_(settings.grid && cellSizeOf(geometry.boxSize).gridAndNumerals &&
                 numberClassOf(settings.numberClass).gridApplies),
      // A black Veltra number shows as a white outline where the cell is large enough, except in a
      // picture that fills every cell: there it stays a filled black square.
      veltraOutline_(settings.colorScheme == ColorScheme::Veltra &&
                     !fillsEveryCell(settings.numberClass, settings.squares) &&
                     (settings.squares ? cellSizeOf(geometry.boxSize).veltraOutlineSquare
                                       : cellSizeOf(geometry.boxSize).veltraOutlineCircle)) {}

int CellRenderer::textColorFor(int color) {
  return color == kBlack || color == kLightBlue || color == kLightRed ? kWhite : kBlack;
}

void CellRenderer::drawLargeCell(int x, int y, int color, Number number) {
  const bool outlined = veltraOutline_ && color == kBlack;
  if (squares_) {
    if (outlined) {
      picture_.outlineBox(x - half_, y - half_, x + half_, y + half_, kWhite, kBlack);
    } else {
      picture_.fillBox(x - half_, y - half_, x + half_, y + half_, color);
    }
  } else if (outlined) {
    picture_.outlineCircle(x, y, radius_, kWhite, kBlack);
  } else {
    picture_.fillCircle(x, y, radius_, color);
  }
  if (numerals_) drawNumeral(x, y, color, number);
}

void CellRenderer::drawNumeral(int x, int y, int color, Number number) {
  const std::string numeral = std::to_string(number);
  const int digits = static_cast<int>(numeral.size());
  // A cell takes as many digits as a sixth of its size.
  if (digits * 6 > boxSize_) return;
  const int left = squares_ ? x - half_ - 1 : x - 4 - 2 * digits;
  const int top = squares_ ? y - half_ : y - 5;
  picture_.drawText(left, top, numeral, kNumeralPointSize, textColorFor(color));
  picture_.setPixel(x, y, color);  // the text may have covered the centre pixel
}

void CellRenderer::drawGridStroke(int x, int y, RingCorner corner) {
  const int t = static_cast<int>(std::lround(boxSize_ / 3.0));
  switch (corner) {
    case RingCorner::UpperRight:
      picture_.horizontalLine(x - t, x - 1, y, kWhite);
      picture_.verticalLine(x, y + 1, y + t, kWhite);
      break;
    case RingCorner::UpperLeft:
      picture_.horizontalLine(x + 1, x + t, y, kWhite);
      picture_.verticalLine(x, y + 1, y + t, kWhite);
      break;
    case RingCorner::LowerLeft:
      picture_.horizontalLine(x + 1, x + t, y, kWhite);
      picture_.verticalLine(x, y - t, y - 1, kWhite);
      break;
    case RingCorner::LowerRight:
      picture_.horizontalLine(x - t, x - 1, y, kWhite);
      picture_.verticalLine(x, y - t, y - 1, kWhite);
      break;
    case RingCorner::None:
      picture_.setPixel(x + 1, y, kWhite);
      break;
  }
}

void CellRenderer::drawCentralGridDot(int x, int y) {
  // Only the tick counts here, not the class nor the cell size beyond the caller's test.
  if (gridTicked_) picture_.setPixel(x + 1, y, kWhite);
}

}  // namespace spiral
