// The main window's controls: their kinds, places and sizes, the captions that never change with
// the language, and which handler each control's events reach.

#include "frmMain.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QShortcut>

#include "Palette.h"
#include "SpiralView.h"
#include "LabelClick.h"
#include "ListChoice.h"
#include "UpwardScrollBar.h"
#include "WebLinks.h"
#include "Twips.h"

namespace {

using platform::twipsToPixels;

// The drawing area is 7906 twips square with a sunken border; its interior is what the spiral
// fills, the engine's picture size.
constexpr int kPicSpiralTwips = 7906;
constexpr int kPictureInterior = twipsToPixels(kPicSpiralTwips) - 2 * SpiralView::kBorder;
static_assert(kPictureInterior == spiral::kPictureSize);

// The design font of the window; start-up renames it to Arial on all but the text box.
constexpr int kDesignFontPixels = 11;

// A new control of kind T inside `parent`, at (left, top) with the given size, all in twips.
template <class T>
T* place(QWidget* parent, int left, int top, int width, int height) {
  auto* control = new T(parent);
  control->setGeometry(platform::twipsRect(left, top, width, height));
  return control;
}

QLabel* placeLabel(QWidget* parent, int left, int top, int width, int height,
                   const QString& text = QString()) {
  auto* label = place<QLabel>(parent, left, top, width, height);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);  // captions and values line up by their tops
  label->setText(text);
  return label;
}

// A grouping frame paints the window's background, so where two frames overlap the one in front
// hides what lies in the one behind.
QFrame* placeFrame(QWidget* parent, int left, int top, int width, int height) {
  auto* frame = place<QFrame>(parent, left, top, width, height);
  frame->setAutoFillBackground(true);
  return frame;
}

QPushButton* placeButton(QWidget* parent, int left, int top, int width, int height,
                         const QString& text = QString()) {
  auto* button = place<QPushButton>(parent, left, top, width, height);
  button->setText(text);
  return button;
}

// A label that opens a web page: blue, underlined, with a tooltip naming the page. Its click is
// connected with the other handlers.
void makeLinkLabel(QLabel* label, const QString& tooltip) {
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, Qt::blue);
  label->setPalette(palette);
  QFont font = label->font();
  font.setUnderline(true);
  label->setFont(font);
  label->setToolTip(tooltip);
}

// A small box in a fixed palette colour: one box of the colour legend.
QWidget* placeLegendBox(QWidget* parent, int index) {
  auto* box = place<QWidget>(parent, 7030 + 420 * index, 8050, 330, 330);
  QPalette palette = box->palette();
  palette.setColor(QPalette::Window, QColor::fromRgb(spiral::paletteRgb(spiral::kLightBlue + index)));
  box->setPalette(palette);
  box->setAutoFillBackground(true);
  return box;
}

}  // namespace

frmMain::frmMain(platform::Desktop& desktop, QWidget* parent)
    : QWidget(parent), picture(kPictureInterior, kPictureInterior), desktop_(desktop) {
  setFixedSize(twipsToPixels(11895), twipsToPixels(8625));
  QFont designFont = font();
  designFont.setPixelSize(kDesignFontPixels);
  setFont(designFont);

  createOptionControls();
  createStartNumberFrame();
  createButtonFrame();
  createPictureAndBottomRow();
  hideControlsOfLaterStates();
  connectHandlers();
}

void frmMain::createOptionControls() {
  chkGrid = place<QCheckBox>(this, 210, 360, 1020, 240);
  chkNumerals = place<QCheckBox>(this, 1470, 360, 1485, 240);
  fraCellObject = placeFrame(this, 0, 735, 3795, 330);
  lblUse = placeLabel(fraCellObject, 210, 0, 1170, 330);
  optCircles = place<QRadioButton>(fraCellObject, 1470, -75, 960, 435);
  optSquares = place<QRadioButton>(fraCellObject, 2520, -75, 1170, 435);
  lblSizeInPixels = placeLabel(this, 210, 1200, 1905, 330);
  cboBoxSize = place<QComboBox>(this, 1995, 1155, 750, 360);
  lblColorBy = placeLabel(this, 210, 1710, 1380, 330);
  cboColorBy = place<QComboBox>(this, 1575, 1680, 2115, 360);
  lblShow = placeLabel(this, 210, 2205, 1275, 330);
  cboShow = place<QComboBox>(this, 1575, 2205, 2115, 360);
  // Screen readers on Linux name a list by the label whose buddy it is.
  lblSizeInPixels->setBuddy(cboBoxSize);
  lblColorBy->setBuddy(cboColorBy);
  lblShow->setBuddy(cboShow);
}

void frmMain::createStartNumberFrame() {
  QFrame* frame = fraStartNumberFrame = placeFrame(this, 210, 2625, 3375, 3060);
  lblStartNumber = placeLabel(frame, 0, 45, 1380, 330);
  // Lies under the text box and its scroll bar; animations bring it forward.
  lblStartNumberOutput = placeLabel(frame, 1995, 50, 1485, 330);
  txbStartNumber = place<QLineEdit>(frame, 1365, 0, 1380, 360);
  txbStartNumber->setText(QStringLiteral("1"));
  // A font family of its own: a child takes its frame's font otherwise, and start-up names Arial for
  // the frame but leaves the text box the window's design font.
  QFont boxFont = txbStartNumber->font();
  boxFont.setFamily(boxFont.family());
  txbStartNumber->setFont(boxFont);
  lblStartNumber->setBuddy(txbStartNumber);
  // The top end is the high value: the up arrow raises the start number.
  vsbStartNumber = place<UpwardScrollBar>(frame, 2835, 0, 225, 360);
  vsbStartNumber->setMaximum(static_cast<int>(lngScrollHigh));
  lblP = placeLabel(frame, 3150, 60, 435, 330, QStringLiteral(" "));
  lblEndNumber = placeLabel(frame, 0, 420, 1695, 330);
  lblEndNumberOutput = placeLabel(frame, 2050, 420, 1485, 330);
  lblNumberofNumbers = placeLabel(frame, 0, 760, 2010, 330);
  lblNumberOfNumbersOutput = placeLabel(frame, 2050, 760, 1485, 330);
  lblLongestNWSE = placeLabel(frame, 0, 1115, 1800, 330);
  lblLongestNWSEOutput = placeLabel(frame, 2050, 1110, 1380, 300);
  lblLongestSWNE = placeLabel(frame, 0, 1400, 1800, 330);
  lblLongestSWNEOutput = placeLabel(frame, 2050, 1395, 1170, 225);
  lblSmallestPrime = placeLabel(frame, 0, 1750, 1800, 330);
  lblSmallestPrimeOutput = placeLabel(frame, 2050, 1750, 1485, 330);
  lblLargestPrime = placeLabel(frame, 0, 2050, 1695, 330);
  lblLargestPrimeOutput = placeLabel(frame, 1995, 2050, 1485, 330);
  lblNumberShown = placeLabel(frame, 0, 2450, 1590, 330);
  lblNumberShownOutput = placeLabel(frame, 1995, 2450, 750, 225);
  lblNumberShown2 = placeLabel(frame, 0, 2720, 1590, 330);
}

void frmMain::createButtonFrame() {
  QFrame* frame = fraButtonFrame = placeFrame(this, 210, 4620, 3375, 3140);
  cmdStopButton = placeButton(frame, 840, 0, 1590, 330, QStringLiteral("Stop"));
  cmdPauseButton = placeButton(frame, 840, 420, 1590, 330, QStringLiteral("Pause"));
  cmdResumeButton = placeButton(frame, 840, 840, 1590, 330);
  cmdDraw = placeButton(frame, 630, 1060, 2115, 330);
  cmdSpiralIn = placeButton(frame, 630, 1480, 2115, 330);
  cmdSpiralOut = placeButton(frame, 630, 1900, 2115, 330);
  cmdHelp = placeButton(frame, 630, 2320, 2115, 330);
  cmdQuit = placeButton(frame, 630, 2740, 2115, 330);
  lblClockTicks = placeLabel(frame, 210, 1700, 1905, 330, QStringLiteral("Clock ticks per sec."));
  cboClockTicks = place<QComboBox>(frame, 2100, 1700, 750, 360);
  lblClockTicks->setBuddy(cboClockTicks);
}

void frmMain::createPictureAndBottomRow() {
  chkCentralNumberPrime = place<QCheckBox>(this, 210, 7800, 3585, 240);
  chkCalculateLongest = place<QCheckBox>(this, 210, 8100, 3585, 240);

  picSpiral = new SpiralView(picture, this);
  picSpiral->setGeometry(platform::twipsRect(3885, 50, kPicSpiralTwips, kPicSpiralTwips));
  cmdStopCalc = placeButton(this, 7035, 5355, 1065, 330, QStringLiteral("Stop"));

  lblCopyrightNotice = placeLabel(this, 3885, 8095, 1590, 240, QStringLiteral("Copyright \u00A9"));
  lblCorvanelWorks = placeLabel(this, 5040, 8100, 1695, 240, QStringLiteral("Corvanel Works"));
  makeLinkLabel(lblCorvanelWorks, interaction::CorvanelWorksToolTip());
  for (int index = 0; index < static_cast<int>(Picture1.size()); ++index) {
    Picture1[index] = placeLegendBox(this, index);
  }
  lblSpiralling = placeLabel(this, 6825, 8095, 2850, 240, QStringLiteral("Spiralling in"));
  lblOnlineDocumentation = placeLabel(this, 10050, 8100, 1695, 240);
  makeLinkLabel(lblOnlineDocumentation, interaction::OnlineDocumentationToolTip());
  // Start-up moves it over the legend's place.
  cmdCWsoftware = placeButton(this, 0, 0, 2625, 345, QStringLiteral("Corvanel Works Software"));

  ClkClock = new QTimer(this);
  ClkClock->setInterval(1000);
}

void frmMain::hideControlsOfLaterStates() {
  for (QWidget* control : std::initializer_list<QWidget*>{
           cmdCWsoftware, cmdStopCalc, cmdStopButton, cmdPauseButton, cmdResumeButton, lblClockTicks,
           cboClockTicks, lblSpiralling, lblStartNumberOutput}) {
    control->hide();
  }
  HideColorLegend();
}

void frmMain::connectHandlers() {
  // Option controls: a click on an option button is its becoming selected.
  connect(optCircles, &QRadioButton::toggled, this, [this](bool selected) {
    if (selected) optCircles_Click();
  });
  connect(optSquares, &QRadioButton::toggled, this, [this](bool selected) {
    if (selected) optSquares_Click();
  });
  connect(chkGrid, &QCheckBox::toggled, this, &frmMain::chkGrid_Click);
  connect(chkNumerals, &QCheckBox::toggled, this, &frmMain::chkNumerals_Click);
  connect(chkCentralNumberPrime, &QCheckBox::toggled, this, &frmMain::chkCentralNumberPrime_Click);
  connect(chkCalculateLongest, &QCheckBox::toggled, this, &frmMain::chkCalculateLongest_Click);
  // A list's click is every choice, also of the item already selected.
  interaction::callOnEveryChoice(cboBoxSize, [this] { cboBoxSize_Click(); });
  interaction::callOnEveryChoice(cboColorBy, [this] { cboColorBy_Click(); });
  interaction::callOnEveryChoice(cboShow, [this] { cboShow_Click(); });
  interaction::callOnEveryChoice(cboClockTicks, [this] { cboClockTicks_Click(); });

  // Draw pass and shutdown.
  connect(cmdDraw, &QPushButton::clicked, this, &frmMain::cmdDraw_Click);
  connect(cmdStopCalc, &QPushButton::clicked, this, &frmMain::cmdStopCalc_Click);
  connect(cmdQuit, &QPushButton::clicked, this, &frmMain::cmdQuit_Click);

  // Start-number entry.
  connect(txbStartNumber, &QLineEdit::textChanged, this, &frmMain::txbStartNumber_Change);
  connect(vsbStartNumber, &QScrollBar::valueChanged, this, &frmMain::vsbStartNumber_Change);
  installStartNumberEventHooks();

  // Motion: each spiral button runs its whole animation before its click handler returns.
  connect(cmdSpiralIn, &QPushButton::clicked, this, &frmMain::cmdSpiralIn_Click);
  connect(cmdSpiralOut, &QPushButton::clicked, this, &frmMain::cmdSpiralOut_Click);
  connect(cmdStopButton, &QPushButton::clicked, this, &frmMain::cmdStopButton_Click);
  connect(cmdPauseButton, &QPushButton::clicked, this, &frmMain::cmdPauseButton_Click);
  connect(cmdResumeButton, &QPushButton::clicked, this, &frmMain::cmdResumeButton_Click);
  connect(ClkClock, &QTimer::timeout, this, &frmMain::ClkClock_Timer);

  // Click report, links, help and the other-software window.
  installNumberInspector();
  connect(picSpiral, &SpiralView::mouseReleased, this, [this](Qt::MouseButton button, QPointF position) {
    picSpiral_MouseUp(button, position.x(), position.y());
  });
  interaction::callOnClick(lblOnlineDocumentation, [this] { lblOnlineDocumentation_Click(); });
  interaction::callOnClick(lblCorvanelWorks, [this] { lblCorvanelWorks_Click(); });
  connect(cmdHelp, &QPushButton::clicked, this, &frmMain::cmdHelp_Click);
  connect(cmdCWsoftware, &QPushButton::clicked, this, &frmMain::cmdCWsoftware_Click);
  installShortcuts();
}

// Keys of the whole window, wherever the focus is: the start-number box lets them through.
void frmMain::installShortcuts() {
  const auto onKeys = [this](const QKeySequence& keys, auto handler) { new QShortcut(keys, this, handler); };
  // Help while its button is offered (not while an animation runs).
  onKeys(Qt::Key_F1, [this] {
    if (cmdHelp->isVisible() && cmdHelp->isEnabled()) cmdHelp_Click();
  });
  onKeys(Qt::CTRL | Qt::Key_S, [this] { offerToSaveImage(); });
  onKeys(Qt::CTRL | Qt::Key_Q, [this] { cmdQuit_Click(); });
  onKeys(Qt::CTRL | Qt::Key_E, [this] { startExplorer(); });
  // The Stop button of whatever runs: an animation, or a 1-pixel pass.
  onKeys(Qt::Key_Escape, [this] {
    for (QPushButton* stop : {cmdStopButton, cmdStopCalc}) {
      if (stop->isVisible()) {
        stop->click();
        return;
      }
    }
  });
}

bool frmMain::runWindowKey(const QKeyEvent& key) {
  const QKeySequence pressed(key.keyCombination());
  for (QShortcut* shortcut : findChildren<QShortcut*>(Qt::FindDirectChildrenOnly)) {
    if (shortcut->isEnabled() && shortcut->key() == pressed) {
      emit shortcut->activated();
      return true;
    }
  }
  return false;
}

void frmMain::closeEvent(QCloseEvent* event) {
  Form_Unload();
  event->accept();
}
