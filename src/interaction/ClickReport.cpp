// A click on the picture: the left button tells the number of the cell under the pointer, the right
// button offers to save the picture.

#include <cmath>

#include <QComboBox>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>

#include "CellRenderer.h"
#include "Geometry.h"
#include "frmMain.h"
#include "ImageSaving.h"
#include "Desktop.h"
#include "PictureImage.h"

void frmMain::picSpiral_MouseUp(Qt::MouseButton button, double X, double Y) {
  if (button == Qt::LeftButton) {
    reportNumberAt(X, Y);  // whatever an animation is doing
  } else if (button == Qt::RightButton) {
    offerToSaveImage();
  }
}

void frmMain::reportNumberAt(double X, double Y) {
  const std::optional<int64_t> number = numberAtPixel(X, Y);
  if (number) desktop_.showMessage(this, QLocale().toString(static_cast<qlonglong>(*number)), QString());
}

// Reads the geometry and start number of the pass on the screen (lastPass), neither the text of the
// box nor a refused request, so the number belongs to the spiral the user sees. A point that is
// not on a drawn cell has none: outside the picture (a drag may end there) and, when the cells do
// not fill the picture, the strip beside them and the empty corner of a spiral with an even number
// of cells per side.
std::optional<spiral::Cell> frmMain::shownCellAt(double X, double Y) const {
  const double roundedX = std::nearbyint(X);  // halves to the even neighbour
  const double roundedY = std::nearbyint(Y);
  const bool onPicture =
      roundedX >= 0 && roundedX < picture.width() && roundedY >= 0 && roundedY < picture.height();
  if (!onPicture) return std::nullopt;
  const int x = static_cast<int>(roundedX);
  const int y = static_cast<int>(roundedY);

  // A black cell of a picture that fills every cell is a shown number all the same.
  const bool everyCellFilled = spiral::fillsEveryCell(selectedClass(), optSquares->isChecked());
  if (!everyCellFilled && !picture.isMarked(x, y)) return std::nullopt;  // background or not shown
  // None before the first pass, and none beyond the last number drawn.
  return lastPass.geometry.cellAt(x, y);
}

std::optional<int64_t> frmMain::numberAtPixel(double X, double Y) const {
  const std::optional<spiral::Cell> cell = shownCellAt(X, Y);
  if (!cell) return std::nullopt;
  return spiral::Geometry::numberOf(*cell, lastPass.startNumber);
}

void frmMain::offerToSaveImage() {
  if (isSpiralling() && !cmdResumeButton->isEnabled()) return;  // only while idle or paused
  const platform::Desktop::Answer answer = desktop_.showMessage(
      this, QStringLiteral("Save image?"), QStringLiteral("Do you wish to save this image?"),
      platform::Desktop::Buttons::YesNo);
  // A copy of the frame on the screen: the picture's own image changes with the next pass.
  if (answer == platform::Desktop::Answer::Yes) {
    interaction::SaveImage(desktop_, this, spiral::imageOf(picture).copy());
  }
}
