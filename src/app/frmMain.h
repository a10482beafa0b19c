#pragma once
// The main window: every control the user touches, the drawing area and the state that all of its
// handlers share. Everything runs on the user-interface thread; handlers read and write the state
// below directly. The handlers of each subsystem are member functions defined in that subsystem's
// folder (app/, motion/, interaction/, language/, catalogue/), so each folder shows its part of the
// window.

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include <QElapsedTimer>
#include <QLine>
#include <QRect>
#include <QString>
#include <QTimer>
#include <QWidget>

#include "DrawPass.h"
#include "Picture.h"
#include "SettingsStore.h"
#include "LanguageSlots.h"

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;
class QScrollBar;
class SpiralView;
class frmCWsoftware;
class frmHelp;

namespace platform {
class Desktop;
}

class frmMain : public QWidget {
  Q_OBJECT

 public:
  // `desktop` answers every modal dialog of the window; it must outlive the window. The controls
  // exist after construction; Form_Load() runs the start-up.
  explicit frmMain(platform::Desktop& desktop, QWidget* parent = nullptr);

  // ---------------------------------------------------------------------------------------------
  // Controls, in the order of the window's layout. Positions are in twips, laid out at 15 twips
  // per pixel. The Save As dialog and the message boxes are the desktop's (platform::Desktop).
  // ---------------------------------------------------------------------------------------------
  QCheckBox* chkGrid = nullptr;
  QCheckBox* chkNumerals = nullptr;
  QFrame* fraCellObject = nullptr;
  QLabel* lblUse = nullptr;
  QRadioButton* optCircles = nullptr;
  QRadioButton* optSquares = nullptr;
  QLabel* lblSizeInPixels = nullptr;
  QComboBox* cboBoxSize = nullptr;
  QLabel* lblColorBy = nullptr;
  QComboBox* cboColorBy = nullptr;
  QLabel* lblShow = nullptr;
  QComboBox* cboShow = nullptr;

  QFrame* fraStartNumberFrame = nullptr;
  QLabel* lblStartNumber = nullptr;
  QLineEdit* txbStartNumber = nullptr;
  QScrollBar* vsbStartNumber = nullptr;
  QLabel* lblP = nullptr;
  QLabel* lblStartNumberOutput = nullptr;
  QLabel* lblEndNumber = nullptr;
  QLabel* lblEndNumberOutput = nullptr;
  QLabel* lblNumberofNumbers = nullptr;
  QLabel* lblNumberOfNumbersOutput = nullptr;
  QLabel* lblLongestNWSE = nullptr;
  QLabel* lblLongestNWSEOutput = nullptr;
  QLabel* lblLongestSWNE = nullptr;
  QLabel* lblLongestSWNEOutput = nullptr;
  QLabel* lblSmallestPrime = nullptr;
  QLabel* lblSmallestPrimeOutput = nullptr;
  QLabel* lblLargestPrime = nullptr;
  QLabel* lblLargestPrimeOutput = nullptr;
  QLabel* lblNumberShown = nullptr;
  QLabel* lblNumberShownOutput = nullptr;
  QLabel* lblNumberShown2 = nullptr;

  QFrame* fraButtonFrame = nullptr;
  QPushButton* cmdStopButton = nullptr;
  QPushButton* cmdPauseButton = nullptr;
  QPushButton* cmdResumeButton = nullptr;
  QPushButton* cmdDraw = nullptr;
  QPushButton* cmdSpiralIn = nullptr;
  QPushButton* cmdSpiralOut = nullptr;
  QPushButton* cmdHelp = nullptr;
  QPushButton* cmdQuit = nullptr;
  QLabel* lblClockTicks = nullptr;
  QComboBox* cboClockTicks = nullptr;

  QCheckBox* chkCentralNumberPrime = nullptr;
  QCheckBox* chkCalculateLongest = nullptr;
  SpiralView* picSpiral = nullptr;
  QPushButton* cmdStopCalc = nullptr;
  QLabel* lblCopyrightNotice = nullptr;
  QLabel* lblCorvanelWorks = nullptr;
  std::array<QWidget*, 6> Picture1{};  // the colour legend, box j in palette colour 9 + j
  QLabel* lblSpiralling = nullptr;
  QLabel* lblOnlineDocumentation = nullptr;
  QPushButton* cmdCWsoftware = nullptr;
  QTimer* ClkClock = nullptr;

  // The raster that picSpiral shows; the draw pass draws on it and later steps read it back.
  spiral::Picture picture;

  // ---------------------------------------------------------------------------------------------
  // Window state
  // ---------------------------------------------------------------------------------------------
  bool blnFormLoaded = false;         // start-up has finished; option handlers wait for it
  bool blnSpiralDrawn = false;        // the last draw request passed its checks and was drawn
  bool blnEndNumberTooLarge = false;  // the last draw request was refused for its end number
  bool blnCentralNumberPrime = false;
  bool blnStopCalculation = false;    // cmdStopCalc was pressed during a 1-pixel pass
  bool blnSpirallingIn = false;
  bool blnSpirallingOut = false;
  bool blnPaused = false;
  bool blnStopSpiralling = false;
  bool blnSpiralRunEnded = false;
  bool blnSyncingScrollBar = false;    // the text box handler is moving the scroll bar
  bool blnAdjustingScrollBar = false;  // the scroll bar handler is moving the scroll bar
  bool blnRefillingLists = false;      // the colour and class lists are being refilled

  // The start-number messages by refusal and language slot (0 English, 1 German, 2 empty).
  std::array<std::array<QString, language::kWindowTextSlots>, 4> strStartNumberMessages;

  // List index of the box size last drawn successfully; start-up sets it from the settings.
  int intBoxSizeIndex = app::StoredSettings{}.boxSizeIndex;
  QString strSettingsFile;
  // The language named on the command line (--language), set before Form_Load: it wins over the
  // stored language and the desktop's, and is stored at the end like any other.
  std::optional<int> languageFromCommandLine;
  QString strCalculating;   // "Calculating ..." in the current language

  // Fixed values.
  static constexpr int intSettingsVersion = app::kSettingsVersion;
  static constexpr int64_t lngMaxNumber = spiral::kMaxNumber;
  static constexpr int intMaxStartDigits = 12;  // the longest text of the start-number box
  static constexpr int intScrollLow = 0;        // the scroll bar's range, mirroring start numbers
  static constexpr int64_t lngScrollHigh = 32767;
  QString strProductName;
  QString strVersion;

  // What the last draw request asked for: its geometry and start number. A request refused for
  // its end number or as too large for triangular numbers still sets them, so afterwards they
  // describe a picture that was not drawn.
  struct DrawRequest {
    spiral::Geometry geometry;
    int64_t startNumber = 0;
  };
  DrawRequest lastRequest;
  int intBoxSize() const { return lastRequest.geometry.boxSize; }
  int64_t lngNumberOfNumbers() const { return lastRequest.geometry.numberOfNumbers; }
  int64_t lngStartNumber() const { return lastRequest.startNumber; }

  // The pass whose picture is on the screen: its geometry and start number from the moment it
  // begins to draw, its counts once it has ended. A refused request leaves it alone, so the click
  // report and the number inspector always name the numbers the user sees.
  spiral::DrawOutcome lastPass;

  // The choices selected in the lists (None while a list has no selection).
  spiral::ColorScheme selectedScheme() const;
  spiral::NumberClass selectedClass() const;
  int selectedBoxSize() const;
  // Colours the selected scheme cycles through (6, 5 or 0).
  int intColorCount() const { return spiral::schemeOf(selectedScheme()).colorCount; }

  // ---------------------------------------------------------------------------------------------
  // Start-up, shutdown and the settings store (app/Startup.cpp, app/Settings.cpp)
  // ---------------------------------------------------------------------------------------------
  void Form_Load();
  // Saves the settings, shows the other-software window in place of this one and ends the program.
  void Form_Unload();
  void cmdQuit_Click();
  void InitializeVariables();
  void InitializeCommonValues();
  void SetMainWindowCaption();
  void SetControlsFontName(const QString& fontName, bool blnTextBoxes);
  void InitializeProgram();
  void SetDefaultSettings();
  void FillSizeAndTickLists();
  void ReadSettings();
  void SaveSettings();

  // ---------------------------------------------------------------------------------------------
  // Option handlers and control enabling (app/OptionHandlers.cpp)
  // ---------------------------------------------------------------------------------------------
  void EnableDisableFunctions(bool blnA);
  void EnableDisableFunctions2(bool blnA);
  void SetFocusToActiveControl();
  void SetSpiralButtonsVisibility();
  void SetGridAndNumeralsEnabled();
  void optCircles_Click();
  void optSquares_Click();
  void chkGrid_Click();
  void chkNumerals_Click();
  void cboShow_Click();
  void cboClockTicks_Click();
  void chkCentralNumberPrime_Click();
  void chkCalculateLongest_Click();
  void cboBoxSize_Click();
  void cboColorBy_Click();
  void ShowColorLegend();
  void HideColorLegend();
  // cmdCWsoftware shares its place with the legend: shown for the schemes without one.
  void SetCWsoftwareButtonVisibility();
  bool isSpiralling() const { return blnSpirallingIn || blnSpirallingOut; }

  // ---------------------------------------------------------------------------------------------
  // Draw pass and statistics (app/DrawSpiral.cpp)
  // ---------------------------------------------------------------------------------------------
  // Runs one whole pass. A request while a pass is running is ignored.
  void DrawSpiral();
  void cmdDraw_Click();
  void cmdStopCalc_Click();
  void ClearStatistics(bool blnAll);
  void HidePrimeStatistics();
  void ShowStatistics();

  // ---------------------------------------------------------------------------------------------
  // Start-number entry (interaction/StartNumberEntry.cpp)
  // ---------------------------------------------------------------------------------------------
  void SetStartNumberMessages();
  void ShowStartNumberMessage(spiral::Refusal refusal);
  // The key filter of the box, on classic key codes (8 Backspace, 13 Enter, 3 copy, 22 paste,
  // 24 cut, otherwise the character's code). Setting keyAscii to 0 discards the key.
  void txbStartNumber_KeyPress(int& keyAscii);
  static bool IsAllowedKey(int keyAscii);
  // The box's context menu, built afresh for each opening; the caller owns it.
  QMenu* createStartNumberMenu();
  void txbStartNumber_Change();
  void vsbStartNumber_Change();
  void vsbStartNumber_GotFocus();

  // ---------------------------------------------------------------------------------------------
  // Motion: spiralling in and out, pause, resume and stop (motion/)
  // ---------------------------------------------------------------------------------------------
  // Each runs a whole animation and returns when it has ended.
  void cmdSpiralIn_Click();
  void cmdSpiralOut_Click();
  void BeginSpiralling();
  void EndSpiralling();
  // One step of the running animation.
  void ClkClock_Timer();
  void cmdStopButton_Click();
  void cmdPauseButton_Click();
  void cmdResumeButton_Click();

  // ---------------------------------------------------------------------------------------------
  // Language-dependent captions and lists (language/Captions.cpp)
  // ---------------------------------------------------------------------------------------------
  void SetLanguageDependentCaptions();
  // Screen readers name each control by its caption; the controls without a caption of their own
  // (the lists, the start-number box and its scroll bar, the picture) take the word that fits.
  void SetAccessibleNames();
  // Tells screen readers what the picture shows: the numbers from and to, the class and how many
  // are shown. Set after every pass.
  void DescribePicture();
  void FillColorAndShowLists();
  void SetLanguageDependentText();
  void SetAllLanguageDependentText();

  // ---------------------------------------------------------------------------------------------
  // Click report, saving, links, help and catalogue (interaction/, language/, catalogue/)
  // ---------------------------------------------------------------------------------------------
  // A mouse button released over picSpiral at (X, Y), in picture pixels: the left button reports
  // the number of the cell, the right one offers to save the picture.
  void picSpiral_MouseUp(Qt::MouseButton button, double X, double Y);
  // The number drawn in the cell under the picture pixel (X, Y), as the click reports it; none over
  // the background, a number not shown or a point beside the drawn cells.
  std::optional<int64_t> numberAtPixel(double X, double Y) const;
  std::optional<spiral::Cell> shownCellAt(double X, double Y) const;
  // The number inspector's tooltip for the picture pixel (X, Y): the number, "prime" or its
  // factors, its ring, and a line for each ray through the cell. Empty where the click would
  // report nothing.
  QString numberTipAt(double X, double Y) const;
  // The pointer has rested on picSpiral at `viewPoint`: shows the tooltip there and outlines the
  // rays it names over the picture, or hides both where there is no shown cell.
  void showNumberTip(QPoint viewPoint, QPoint globalPoint);
  // Ctrl+C: the start-number box's selected text, or else the picture as an image.
  void copySelectionOrPicture();
  // Ctrl+E: the explorer, as a program of its own, on the picture on the screen (its start, cell
  // size and choices) in the window's language.
  void startExplorer();
  void lblOnlineDocumentation_Click();
  void lblCorvanelWorks_Click();
  // Shows the help window modally; it leaves the program in English.
  void cmdHelp_Click();
  // Hides this window while the other-software window is shown modally.
  void cmdCWsoftware_Click();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  // Layout (app/frmMain.cpp)
  void createOptionControls();
  void createStartNumberFrame();
  void createButtonFrame();
  void createPictureAndBottomRow();
  void hideControlsOfLaterStates();
  void connectHandlers();
  void installShortcuts();
  // Runs the window's own key for this key press, if it is one; on X11 the start-number box claims
  // Ctrl+E (end of line) before the window's shortcut sees it, and hands it on through this.
  bool runWindowKey(const QKeyEvent& key);

  // Start-up pieces (app/Startup.cpp, app/Settings.cpp)
  void clearStateFlags();
  void setStartNumberText(const QString& text);
  void applySettings(const app::StoredSettings& settings);
  app::StoredSettings settingsFromControls() const;

  // Start-number pieces (interaction/StartNumberEntry.cpp)
  void installStartNumberEventHooks();
  void keepScrollBarInStep(int64_t number);
  int64_t numberInStartBox() const;
  // Sets blnCentralNumberPrime to whether `number` is prime, and returns it.
  bool testCentralNumberPrime(int64_t number);
  std::optional<int> primeStepOfScrollBar(int value, int64_t boxNumber);
  void setScrollBarQuietly(int64_t value);

  // Motion pieces (motion/)
  void runSpiralling(bool inward);
  void waitWhileSpiralling();
  int selectedClockInterval() const;
  // The controls a pause unlocks: cell shape, colour scheme and clock rate.
  void setPauseControlsEnabled(bool enabled);

  // Option handler pieces (app/OptionHandlers.cpp)
  void redrawUnlessSpiralling();

  // Click report, help and catalogue pieces (interaction/, language/, catalogue/)
  void reportNumberAt(double X, double Y);
  void installNumberInspector();
  struct NumberTip {
    QString text;
    QRect cell;               // in picture pixels
    std::vector<QLine> rays;  // from the innermost cell's centre to the outermost's, in picture pixels
  };
  NumberTip numberTipOf(double X, double Y) const;
  // Hides the tooltip, if it is the inspector's, and its outlines: a new picture makes it stale.
  void forgetNumberTip();
  bool numberTipIsUp() const;
  void endRayOutlines();
  // The right click's and Ctrl+S's question whether to save the picture; not while an animation
  // runs unpaused.
  void offerToSaveImage();
  void showOtherSoftwareWindow();
  static constexpr int kNumberTipWatchMs = 100;
  QTimer* numberTipWatch_ = nullptr;  // runs while the rays are outlined, until the tooltip has gone
  QString numberTipShown_;            // the inspector's tooltip text while it may be up
  frmHelp* helpWindow_ = nullptr;                 // built on first use, then only hidden
  frmCWsoftware* otherSoftwareWindow_ = nullptr;  // built on first use, then only hidden

  // Draw pass pieces (app/DrawSpiral.cpp)
  spiral::DrawSettings drawSettingsFromControls() const;
  spiral::DrawHooks drawHooks(int64_t startNumber);
  void refuseDrawRequest(spiral::Refusal refusal);
  void beginAcceptedPass(const spiral::Geometry& geometry, int64_t startNumber);
  void showBusyNotice(const spiral::Geometry& geometry);
  bool yieldDuringPass();
  void showCalculatingInDiagonalOutput();
  void finishPass(bool diagonalsMeasured);
  void showDiagonalRuns(const spiral::DrawOutcome& outcome, bool measured);
  void showStartNumberPrimality();

  platform::Desktop& desktop_;
  bool drawPassRunning_ = false;
  bool scrollBarStepping_ = false;  // a pass drawing the scroll bar's own step is running
  QElapsedTimer passClock_;      // time since the running pass began
  qint64 lastPassRepaintMs_ = 0;  // when the running pass last repainted the picture
};
