#include "frmCWsoftware.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>

#include "EventHook.h"
#include "LabelClick.h"
#include "WebLinks.h"
#include "Twips.h"

namespace {

using platform::twipsRect;
using platform::twipsToPixels;

// Rows lie this far apart: a title, its description and a gap of 200 twips.
constexpr int kTitleHeightTwips = 300;
constexpr int kDescriptionHeightTwips = 1050;
constexpr int kRowPitchTwips = kDescriptionHeightTwips + kTitleHeightTwips + 200;
constexpr int kTitleToScrollBarTwips = 100;
constexpr int kRightMarginTwips = 200;
const QString kCrLf = QStringLiteral("\r\n");

QFont fontOf(const QString& family, bool bold = false) {
  QFont font(family);
  font.setPointSizeF(9.75);
  font.setBold(bold);
  return font;
}

// A colour given as 0x00BBGGRR.
QColor fromBgr(int32_t bgr) { return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF); }

void setTextColor(QWidget* widget, const QColor& color) {
  QPalette palette = widget->palette();
  palette.setColor(QPalette::WindowText, color);
  widget->setPalette(palette);
}

void takeColors(QWidget* widget, const QPalette& from) {
  QPalette palette = widget->palette();
  palette.setColor(QPalette::Window, from.color(QPalette::Window));
  palette.setColor(QPalette::WindowText, from.color(QPalette::WindowText));
  widget->setPalette(palette);
  widget->setAutoFillBackground(true);
}

// Wheel turns over `area` scroll `bar`. A turn the bar itself leaves unused (at an end of its
// range) comes back to its parent and is not handed to it again.
void forwardWheelTo(QScrollBar* bar, QWidget* area) {
  new interaction::EventHook(area, [bar, forwarding = false](QEvent* event) mutable {
    if (event->type() != QEvent::Wheel || forwarding) return false;
    forwarding = true;
    QCoreApplication::sendEvent(bar, event);
    forwarding = false;
    return true;
  });
}

}  // namespace

frmCWsoftware::frmCWsoftware(platform::Desktop& desktop, QWidget* parent)
    : QDialog(parent), desktop_(desktop) {
  setModal(true);
  setWindowTitle(QStringLiteral("Corvanel Works Software"));
  setFixedSize(twipsToPixels(9195), twipsToPixels(6420));
  setFont(fontOf(QStringLiteral("Lucida Sans")));
  buildControls();
}

void frmCWsoftware::buildControls() {
  lblIntro = new QLabel(this);
  lblIntro->setObjectName(QStringLiteral("lblIntro"));
  lblIntro->setGeometry(twipsRect(120, 120, 9000, 810));
  lblIntro->setWordWrap(true);
  lblIntro->setAlignment(Qt::AlignLeft | Qt::AlignTop);

  PicBox = new QWidget(this);  // clips the rows that lie below its visible area
  PicBox->setObjectName(QStringLiteral("PicBox"));
  PicBox->setGeometry(twipsRect(120, 1200, 8775, 4455));

  for (int row = 0; row < kListRows; ++row) {
    auto* title = new QLabel(PicBox);
    interaction::callOnClick(title, [this, row] { lblTitle_Click(row); });
    title->setObjectName(QStringLiteral("lblTitle%1").arg(row));
    title->setFont(fontOf(QStringLiteral("Lucida Sans"), true));
    auto* description = new QLabel(PicBox);
    interaction::callOnClick(description, [this, row] { lblDescription_Click(row); });
    description->setObjectName(QStringLiteral("lblDescription%1").arg(row));
    description->setWordWrap(true);
    description->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    const int titleTop = row * kRowPitchTwips;
    title->setGeometry(twipsRect(0, titleTop, 5835, kTitleHeightTwips));
    description->setGeometry(
        twipsRect(0, titleTop + kTitleHeightTwips, 7005, kDescriptionHeightTwips));
    lblTitle[static_cast<size_t>(row)] = title;
    lblDescription[static_cast<size_t>(row)] = description;
  }

  VScroll = new QScrollBar(Qt::Vertical, PicBox);
  VScroll->setObjectName(QStringLiteral("VScroll"));
  connect(VScroll, &QScrollBar::valueChanged, this, &frmCWsoftware::VScroll_Change);
  // The wheel scrolls the list wherever the pointer is over it, not only over its scroll bar.
  forwardWheelTo(VScroll, PicBox);
  for (size_t row = 0; row < kListRows; ++row) {
    forwardWheelTo(VScroll, lblTitle[row]);
    forwardWheelTo(VScroll, lblDescription[row]);
  }

  cmdClose = new QPushButton(QStringLiteral("Close"), this);
  cmdClose->setObjectName(QStringLiteral("cmdClose"));
  cmdClose->setFont(fontOf(QStringLiteral("Tahoma")));
  cmdClose->setGeometry(twipsRect(2280, 5880, 1125, 360));
  connect(cmdClose, &QPushButton::clicked, this, &frmCWsoftware::cmdClose_Click);
}

void frmCWsoftware::showModal(QWidget* mainWindow) {
  if (!loaded_) Form_Load(mainWindow);
  exec();
}

void frmCWsoftware::Form_Load(QWidget* mainWindow) {
  loaded_ = true;
  strBaseURL = QString::fromLatin1(interaction::kMakerWebAddress);
  FillSoftwareList();

  lblIntro->setText(introduction());
  QFont introFont = lblIntro->font();
  introFont.setBold(blnIntroFontBold);
  lblIntro->setFont(introFont);

  // Window and list wear the main window's colours; the labels show them through.
  takeColors(this, mainWindow->palette());
  takeColors(PicBox, mainWindow->palette());
  setTextColor(lblIntro, fromBgr(lngIntroForeColor));
  move(mainWindow->frameGeometry().topLeft() + QPoint(twipsToPixels(100), twipsToPixels(400)));

  const int introWidth = width() - twipsToPixels(kRightMarginTwips) - lblIntro->x();
  lblIntro->resize(introWidth, lblIntro->height());
  PicBox->setGeometry(lblIntro->x(), PicBox->y(), introWidth, PicBox->height());

  const int scrollBarWidth = VScroll->sizeHint().width();
  const int rowWidth = PicBox->width() - scrollBarWidth - twipsToPixels(kTitleToScrollBarTwips);
  for (size_t row = 0; row < kListRows; ++row) {
    lblTitle[row]->resize(rowWidth, lblTitle[row]->height());
    setTextColor(lblTitle[row], fromBgr(lngTitleForeColor));
    lblDescription[row]->resize(rowWidth, lblDescription[row]->height());
    setTextColor(lblDescription[row], fromBgr(lngDescriptionForeColor));
  }
  cmdClose->move((width() - cmdClose->width()) / 2, cmdClose->y());

  showRecordsFrom(0);
  VScroll->setGeometry(PicBox->width() - scrollBarWidth, 0, scrollBarWidth, PicBox->height());
  VScroll->setRange(0, intItemCount - kVisibleRows);
  VScroll->setSingleStep(1);
  VScroll->setPageStep(kVisibleRows);
  VScroll->setValue(0);
  VScroll->raise();
}

void frmCWsoftware::addProgram(const QString& title, const QString& description,
                               const QString& pagePath) {
  catalogue_[static_cast<size_t>(intItemCount)] = {title, description, strBaseURL + pagePath};
  ++intItemCount;
}

void frmCWsoftware::FillSoftwareList() {
  intItemCount = 0;
  addProgram(QStringLiteral("Primelog"),
             QStringLiteral("Lists, counts and tests prime numbers up to two billion, with tables "
                            "of twin and cousin primes."),
             QStringLiteral("prl/prl.htm"));
  addProgram(QStringLiteral("Factor Tree"),
             QStringLiteral("Splits a number into its prime factors and draws the factor tree "
                            "branch by branch."),
             QStringLiteral("ftr/ftr.htm"));
  addProgram(QStringLiteral("Collatz Trails"),
             QStringLiteral("Plots the 3n + 1 sequences of many start numbers at once and "
                            "compares their flight times."),
             QStringLiteral("ctr/ctr.htm"));
  addProgram(QStringLiteral("Pascal Patterns"),
             QStringLiteral("Colours Pascal's triangle by remainders and shows the Sierpinski "
                            "patterns that appear for every divisor."),
             QStringLiteral("pas/pas.htm"));
  addProgram(QStringLiteral("Magic Squares"),
             QStringLiteral("Builds magic squares of any order from 3 to 30 and checks the squares "
                            "you fill in yourself."),
             QStringLiteral("msq/msq.htm"));
  addProgram(QStringLiteral("Base Converter"),
             QStringLiteral("Converts numbers between the bases 2 to 36, to and from Roman "
                            "numerals, fractions included."),
             QStringLiteral("bcv/bcv.htm"));
  addProgram(QStringLiteral("Digit Chains"),
             QStringLiteral("Follows digit sums, happy numbers and multiplicative persistence and "
                            "draws the chains as trees."),
             QStringLiteral("dch/dch.htm"));
  addProgram(QStringLiteral("Modulo Clock"),
             QStringLiteral("Shows remainders on a clock face with any number of hours: a teaching "
                            "aid for modular arithmetic."),
             QStringLiteral("mcl/mcl.htm"));
  addProgram(QStringLiteral("Fractal Fern"),
             QStringLiteral("Grows ferns, trees and snowflakes from iterated function systems that "
                            "you can edit point by point."),
             QStringLiteral("ffn/ffn.htm"));
  addProgram(QStringLiteral("Tessera"),
             QStringLiteral("Lays out Penrose, Truchet and Islamic star tilings in colour and "
                            "prints them as posters."),
             QStringLiteral("tes/tes.htm"));
  addProgram(QStringLiteral("Sudokraft"),
             QStringLiteral("Makes and solves sudoku puzzles in five levels of difficulty and "
                            "prints them two to a page."),
             QStringLiteral("sdk/sdk.htm"));
  addProgram(QStringLiteral("Word Ladder"),
             QStringLiteral("Finds the shortest chain from one word to another, changing one "
                            "letter at a time, in English and German."),
             QStringLiteral("wld/wld.htm"));
  addProgram(QStringLiteral("Number Names"),
             QStringLiteral("Writes any whole number below a trillion in words, in English, German, "
                            "French and Spanish."),
             QStringLiteral("nnm/nnm.htm"));
  addProgram(QStringLiteral("Orrery"),
             QStringLiteral("A model of the solar system that shows where the planets stand on any "
                            "day from 1800 to 2200."),
             QStringLiteral("orr/orr.htm"));
  addProgram(QStringLiteral("Calendar Maker"),
             QStringLiteral("Prints year and month calendars with holidays, moon phases and the "
                            "dates you add."),
             QStringLiteral("cal/cal.htm"));
}

QString frmCWsoftware::introduction() const {
  return QStringLiteral(
             "Corvanel Works has written the %1 programs below, most of them free of charge.  "
             "Click on a title or a description to visit the program's web page, where you can "
             "read more about it and download it.")
      .arg(intItemCount);
}

// Puts the records from `firstRecord` on into the list rows; rows beyond the catalogue stay empty.
void frmCWsoftware::showRecordsFrom(int firstRecord) {
  for (int row = 0; row < kListRows; ++row) {
    const int record = firstRecord + row;
    const bool filled = record < intItemCount;
    const CatalogueRecord& entry = catalogue_[static_cast<size_t>(filled ? record : 0)];
    lblTitle[static_cast<size_t>(row)]->setText(filled ? entry.title : QString());
    lblDescription[static_cast<size_t>(row)]->setText(
        filled ? entry.description + kCrLf + entry.address : QString());
  }
}

void frmCWsoftware::VScroll_Change(int value) {
  intFirstShown = value;
  showRecordsFrom(intFirstShown);
  cmdClose->setFocus();
}

bool frmCWsoftware::rowShowsProgram(int row) const { return intFirstShown + row < intItemCount; }

void frmCWsoftware::lblTitle_Click(int row) {
  if (!rowShowsProgram(row)) return;
  setTextColor(lblTitle[static_cast<size_t>(row)], QColor(255, 0, 0));
  RequestWebPage(catalogue_[static_cast<size_t>(intFirstShown + row)].address);
}

void frmCWsoftware::lblDescription_Click(int row) {
  if (!rowShowsProgram(row)) return;
  RequestWebPage(catalogue_[static_cast<size_t>(intFirstShown + row)].address);
}

void frmCWsoftware::cmdClose_Click() { hide(); }

void frmCWsoftware::RequestWebPage(const QString& strURL) {
  interaction::OpenWebAddress(desktop_, this, strURL,
                              QStringLiteral("The web page file type ") +
                                  interaction::GetFileExtension(strURL, true) +
                                  QStringLiteral(" is not associated with any browser program."));
}
