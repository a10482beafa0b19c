// The main window's captions and its two text lists, in the current language.

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "Choices.h"
#include "app/frmMain.h"
#include "texts/WordTable.h"

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
