// Start-up, from the empty window to the first drawn spiral, and shutdown.

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>

#include "SpiralView.h"
#include "SettingsStore.h"
#include "frmMain.h"
#include "WordTable.h"
#include "PictureImage.h"
#include "numlib.h"
#include "Twips.h"

namespace {

struct ClockRate {
  const char* ticksPerSecond;
  int intervalMs;
};
constexpr ClockRate kClockRates[] = {{"1", 1000}, {"2", 500}, {"4", 250}};

}  // namespace

// Until blnFormLoaded is set at the very end, the option handlers do nothing, so the changes that
// start-up makes to lists and boxes draw nothing; InitializeProgram draws once.
void frmMain::Form_Load() {
  blnFormLoaded = false;
  InitializeVariables();
  InitializeCommonValues();
  SetMainWindowCaption();
  SetControlsFontName(QStringLiteral("Arial"), false);
  // The window takes its place before it is shown, so that a message box of the first draw
  // opens centred on it like every later one.
  move(screen()->availableGeometry().center() - rect().center());
  show();
  InitializeProgram();
  EnableDisableFunctions(true);
  cmdCWsoftware->move(Picture1[0]->x() - platform::twipsToPixels(100), Picture1[0]->y());
  SetCWsoftwareButtonVisibility();
  blnFormLoaded = true;
  SetFocusToActiveControl();  // typing goes into the start-number box at once
}

void frmMain::InitializeVariables() {
  vsbStartNumber->setMinimum(intScrollLow);
  clearStateFlags();
  lblP->setText(QStringLiteral(" "));
  language::BuildWordTable();
  FillSizeAndTickLists();
  language::intLanguage = language::kEnglish;
  FillColorAndShowLists();
  cmdStopCalc->move(picSpiral->x() + (picSpiral->width() - cmdStopCalc->width()) / 2,
                    picSpiral->y() + picSpiral->height() * 3 / 4);
  ClearStatistics(true);
}

void frmMain::clearStateFlags() {
  for (bool* flag : {&blnFormLoaded, &blnSpiralDrawn, &blnEndNumberTooLarge, &blnCentralNumberPrime,
                     &blnStopCalculation, &blnSpirallingIn, &blnSpirallingOut, &blnPaused, &blnStopSpiralling,
                     &blnSpiralRunEnded, &blnSyncingScrollBar, &blnAdjustingScrollBar, &blnRefillingLists}) {
    *flag = false;
  }
}

void frmMain::InitializeCommonValues() {
  strProductName = QStringLiteral("Spirelle");
  strVersion =
      QStringLiteral("%1.%2").arg(SPIRELLE_VERSION_MAJOR).arg(SPIRELLE_VERSION_MINOR) + QLatin1Char('0');
}

void frmMain::SetMainWindowCaption() { setWindowTitle(strProductName + QLatin1Char(' ') + strVersion); }

// Frames, labels, check boxes, option buttons, lists and buttons take the font; the text box keeps
// its own unless asked. The picture boxes draw no text of their own and are left alone.
void frmMain::SetControlsFontName(const QString& fontName, bool blnTextBoxes) {
  for (QWidget* control : findChildren<QWidget*>()) {
    const bool isFrame = control->metaObject() == &QFrame::staticMetaObject;
    const bool takesFont = isFrame || qobject_cast<QLabel*>(control) || qobject_cast<QCheckBox*>(control) ||
                           qobject_cast<QRadioButton*>(control) || qobject_cast<QComboBox*>(control) ||
                           qobject_cast<QPushButton*>(control) ||
                           (blnTextBoxes && qobject_cast<QLineEdit*>(control));
    if (!takesFont) continue;
    QFont font = control->font();
    font.setFamily(fontName);
    control->setFont(font);
  }
}

void frmMain::InitializeProgram() {
  spiral::installQtTextDrawing();  // the numerals in the cells
  fraStartNumberFrame->raise();
  lblStartNumberOutput->lower();
  SetDefaultSettings();
  SetLanguageDependentCaptions();
  FillColorAndShowLists();
  EnableDisableFunctions(false);
  repaint();
  strSettingsFile = app::GetDataFilePath(QStringLiteral("spl.usr"), QStringLiteral("Corvanel Works"));
  app::removeStoreLeftovers(strSettingsFile);
  ReadSettings();
  SetLanguageDependentCaptions();
  FillColorAndShowLists();
  strCalculating = language::W(language::Word::Calculating) + QStringLiteral(" ...");
  calculate_primes(static_cast<int32_t>(lngMaxNumber));
  ClearStatistics(true);
  repaint();
  SetStartNumberMessages();
  DrawSpiral();
  ShowColorLegend();
  SetGridAndNumeralsEnabled();
}

void frmMain::FillSizeAndTickLists() {
  cboBoxSize->clear();
  for (const spiral::CellSizeChoice& size : spiral::kCellSizes) {
    cboBoxSize->addItem(QLatin1String(size.name), size.pixels);
  }
  cboClockTicks->clear();
  for (const ClockRate& rate : kClockRates) {
    cboClockTicks->addItem(QLatin1String(rate.ticksPerSecond), rate.intervalMs);
  }
}

void frmMain::cmdQuit_Click() { Form_Unload(); }

void frmMain::Form_Unload() {
  blnStopCalculation = true;  // a 1-pixel pass that is yielding ends at once
  if (isSpiralling()) cmdStopButton_Click();  // so does a running or paused animation
  SaveSettings();
  showOtherSoftwareWindow();  // hides this window until the user has closed it
  QCoreApplication::exit(0);
}
