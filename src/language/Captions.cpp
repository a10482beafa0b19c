// The main window's captions and its two text lists, in the current language.

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

#include "Choices.h"
#include "SpiralView.h"
#include "frmMain.h"
#include "WordTable.h"

using language::lowerUnlessGerman;
using language::W;
using language::Word;

namespace {

QString withColon(Word word) { return W(word) + QLatin1Char(':'); }

// Clears and refills `list`, then selects the position that was selected before (none stays none).
// The positions mean the same in every language.
template <class AddItems>
void refillKeepingSelection(QComboBox* list, AddItems addItems) {
  const int selected = list->currentIndex();
  list->clear();
  addItems(list);
  list->setCurrentIndex(selected);
}

}  // namespace

void frmMain::SetLanguageDependentCaptions() {
  lblUse->setText(withColon(Word::Use));
  optCircles->setText(lowerUnlessGerman(W(Word::Circles)));
  optSquares->setText(lowerUnlessGerman(W(Word::Squares)));
  lblSizeInPixels->setText(W(Word::Size) + QStringLiteral(" (") + lowerUnlessGerman(W(Word::InPixels)) +
                           QStringLiteral("):"));
  lblColorBy->setText(withColon(Word::ColorBy));
  lblShow->setText(withColon(Word::Show));
  lblStartNumber->setText(withColon(Word::StartNumber));
  lblEndNumber->setText(withColon(Word::EndNumber));
  lblNumberofNumbers->setText(withColon(Word::NumberOfNumbers));
  lblLongestNWSE->setText(withColon(Word::LongestNWSE));
  lblLongestSWNE->setText(withColon(Word::LongestSWNE));
  lblSmallestPrime->setText(withColon(Word::SmallestPrime));
  lblLargestPrime->setText(withColon(Word::LargestPrime));

  // "Number shown" may take two lines; the colon goes to the last line that has text.
  const QString secondLine = W(Word::NumberShownSecondLine);
  lblNumberShown->setText(secondLine.isEmpty() ? withColon(Word::NumberShown) : W(Word::NumberShown));
  lblNumberShown2->setText(secondLine.isEmpty() ? secondLine : secondLine + QLatin1Char(':'));

  cmdDraw->setText(W(Word::DrawSpiral));
  cmdSpiralIn->setText(W(Word::SpiralIn));
  cmdSpiralOut->setText(W(Word::SpiralOut));
  cmdHelp->setText(W(Word::Help));
  cmdQuit->setText(W(Word::Quit));
  cmdResumeButton->setText(W(Word::Resume));
  chkGrid->setText(W(Word::Grid));
  chkNumerals->setText(W(Word::Numerals));
  chkCentralNumberPrime->setText(W(Word::ShowOnlyForCentralPrime));
  chkCalculateLongest->setText(W(Word::CalculateLongest));
  lblOnlineDocumentation->setText(W(Word::OnlineDocumentation));
  SetAccessibleNames();
}

// Buttons, check boxes and option buttons are named by their captions already, and labels by their
// text. The lists take the caption of the label before them, which is also their buddy (screen
// readers on Linux name a list by that label).
void frmMain::SetAccessibleNames() {
  const auto captionOf = [](const QLabel* label) {
    QString caption = label->text();
    if (caption.endsWith(QLatin1Char(':'))) caption.chop(1);
    return caption;
  };
  cboBoxSize->setAccessibleName(captionOf(lblSizeInPixels));
  cboColorBy->setAccessibleName(captionOf(lblColorBy));
  cboShow->setAccessibleName(captionOf(lblShow));
  cboClockTicks->setAccessibleName(captionOf(lblClockTicks));
  txbStartNumber->setAccessibleName(W(Word::StartNumber));
  vsbStartNumber->setAccessibleName(W(Word::StartNumber));
  picSpiral->setAccessibleName(W(Word::NumberSpiral));
}

void frmMain::DescribePicture() {
  const QString shownClass = lowerUnlessGerman(language::numberClassCaption(selectedClass()));
  picSpiral->setAccessibleDescription(W(Word::PictureDescription)
                                          .arg(lastPass.startNumber)
                                          .arg(lastPass.endNumber)
                                          .arg(shownClass)
                                          .arg(lastPass.shownCount));
}

void frmMain::FillColorAndShowLists() {
  // Each item carries its choice, so that the handlers read the choice rather than the position.
  refillKeepingSelection(cboColorBy, [](QComboBox* list) {
    for (const spiral::SchemeChoice& row : spiral::kSchemes) {
      list->addItem(language::schemeCaption(row.scheme), static_cast<int>(row.scheme));
    }
  });
  refillKeepingSelection(cboShow, [](QComboBox* list) {
    for (const spiral::NumberClassChoice& row : spiral::kNumberClasses) {
      list->addItem(language::numberClassCaption(row.numberClass), static_cast<int>(row.numberClass));
    }
  });
}

void frmMain::SetLanguageDependentText() {
  SetLanguageDependentCaptions();
  blnRefillingLists = true;  // the list handlers must not draw while the selections come back
  FillColorAndShowLists();
  blnRefillingLists = false;
}

void frmMain::SetAllLanguageDependentText() { SetLanguageDependentText(); }
