#include "frmHelp.h"

#include <algorithm>

#include <QLabel>
#include <QMimeData>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>

#include "WebLinks.h"
#include "Twips.h"
#include "DrawPass.h"
#include "Picture.h"
#include "PictureImage.h"

namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QString kDocumentationAddress = interaction::kDocumentationAddress;
const QString kColorSchemeAddress =
    QString::fromLatin1(interaction::kMakerWebAddress) + QStringLiteral("misc/numcol.htm");

constexpr int kWindowHeightTwips = 5050;
constexpr int kBelowFrameTwips = 720;  // gap between the start-number frame's top and the window
constexpr int kMarginTwips = 105;      // the text box's distance from the window's edges
const QColor kLightGrey(192, 192, 192);

QString englishIntroduction() {
  return QStringLiteral(
             "Starting with a number (1 or higher) the numbers are arranged in a spiral as in the "
             "image at right. ") +
         QStringLiteral(
             "The prime numbers are marked (here with blue boxes).  The primes tend to fall in "
             "straight lines ") +
         QStringLiteral("on the diagonals.  Instead of primes, random numbers, ") +
         QStringLiteral(
             "all numbers, or only square numbers, can be shown.  Spiralling in or out produces ") +
         QStringLiteral("a moving spiral.  For a full explanation of this program please ") +
         QStringLiteral("see ") + kDocumentationAddress + QStringLiteral(" (you can select this text ") +
         QStringLiteral("and paste it into your browser).") + kCrLf + kCrLf;
}

QString englishColorSchemes() {
  return QStringLiteral("The primes can be colored in various ways.  ") +
         QStringLiteral(
             "In some color schemes the colors repeat after five or six colors (in which case "
             "they ") +
         QStringLiteral("are shown at the bottom in order).  ") +
         QStringLiteral("The color schemes are mostly self-explanatory, except that:") + kCrLf +
         QStringLiteral("(i) Ring number is the number of the ring in which the prime occurs, ") +
         QStringLiteral(
             "where the central number (here 1) is ring 1, the next 8 numbers (here 2 to 9) ") +
         QStringLiteral("form ring 2, and so on.") + kCrLf +
         QStringLiteral(
             "(ii) Sequence colors show the position of the number in the number sequence, ") +
         QStringLiteral("so every 5th number has the same color.") + kCrLf +
         QStringLiteral("(iii) Veltra color is the color of the number as explained ") +
         QStringLiteral("at ") + kColorSchemeAddress + QStringLiteral(".");
}

QString germanIntroduction() {
  return QStringLiteral("Die Zahlen sind, beginnend mit der Zahl 1 (oder groesser), in einer ") +
         QStringLiteral("Spirale angeordnet, wie im Bild rechts angezeigt.  Die Primzahlen ") +
         QStringLiteral("sind markiert (in diesem Fall mit Kaestchen).  Die Primzahlen haben die ") +
         QStringLiteral("Tendenz auf gerade Linien (diagonal) zu fallen.  ") +
         QStringLiteral("Anstelle von Primzahlen koennen Zufallszahlen, alle Zahlen oder nur ") +
         QStringLiteral("die Quadratzahlen angezeigt werden.  Indem sie auswaerts oder einwaerts ") +
         QStringLiteral("wandern, formen sie eine sich bewegende Spirale.  Eine ausfuehrliche ") +
         QStringLiteral("Erlaeuterung dieses Programms erhalten Sie unter der ") +
         QStringLiteral("Webadresse ") + kDocumentationAddress + QStringLiteral(" ") +
         QStringLiteral("(Sie koennen diesen Text auswaehlen und in das Adressfenster Ihres ") +
         QStringLiteral("Browsers kopieren).") + kCrLf + kCrLf;
}

QString germanColorSchemes() {
  return QStringLiteral("Die Primzahlen koennen in unterschiedlicher Weise ") +
         QStringLiteral("gefaerbt werden.  In einigen Farbmustern wiederholen sich die Farben ") +
         QStringLiteral("nach fuenf oder sechs Farben (in diesem Fall werden sie unten in der ") +
         QStringLiteral("Reihenfolge angezeigt).  Die Farbmuster erklaeren sich in der Regel ") +
         QStringLiteral("selbst, mit einer Ausnahme:") + kCrLf +
         QStringLiteral("(i) Die Ringzahl bezeichnet die Nummer ") +
         QStringLiteral("des Rings, in den die Primzahl hineinfaellt, wobei die zentrale Zahl ") +
         QStringLiteral("(hier die 1) den Ring mit der Nummer 1 bezeichnet, die naechsten 8 ") +
         QStringLiteral("Zahlen (hier 2-9) bilden den Ring 2, und so weiter.") + kCrLf +
         QStringLiteral("(ii) Die ") +
         QStringLiteral("Reihenfolge der Farben zeigt die Position der Zahl in der Folge der ") +
         QStringLiteral("Zahlen an, so hat jede 5.Zahl dieselbe Farbe.") + kCrLf +
         QStringLiteral("(iii) Jeder Zahl ist ") +
         QStringLiteral("eine eindeutig definierte Veltrafarbe zugeordnet; das ") +
         QStringLiteral("Veltra-Farbschema wird erklaert unter der Adresse ") + kColorSchemeAddress +
         QStringLiteral(".");
}

// The box shows each web address as one word that never wraps: its hyphens are non-breaking
// hyphens and a word joiner follows each slash. Text copied from the box has the plain characters
// back, so it can be pasted into a browser.
constexpr char16_t kNonBreakingHyphen = 0x2011;
constexpr char16_t kWordJoiner = 0x2060;

QString unbreakable(QString address) {
  return address.replace(QLatin1Char('-'), QChar(kNonBreakingHyphen))
      .replace(QLatin1Char('/'), QStringLiteral("/") + QChar(kWordJoiner));
}

QString withUnbreakableAddresses(QString text) {
  for (const QString& address : {kDocumentationAddress, kColorSchemeAddress}) {
    text.replace(address, unbreakable(address));
  }
  return text;
}

class HelpTextBox : public QPlainTextEdit {
 public:
  using QPlainTextEdit::QPlainTextEdit;

 protected:
  QMimeData* createMimeDataFromSelection() const override {
    auto* data = QPlainTextEdit::createMimeDataFromSelection();
    data->setText(frmHelp::plainText(data->text()));
    return data;
  }
};

// The picture beside the text: the spiral from 1 with its primes as blue boxes, drawn by the
// program's own engine.
QPixmap helpSpiral() {
  spiral::DrawSettings settings;
  settings.boxSize = 21;
  settings.squares = true;
  settings.grid = true;
  settings.numerals = true;
  settings.numberClass = spiral::NumberClass::Primes;
  // One ring colour repeated: every prime in the first colour of the cycle, blue.
  settings.colorScheme = spiral::ColorScheme::RingNumber;
  settings.colorCount = 1;
  spiral::Picture picture(264, 264);
  spiral::drawSpiral(settings, picture);
  return QPixmap::fromImage(spiral::imageOf(picture));
}

}  // namespace

frmHelp::frmHelp(std::function<void()> setLanguageToEnglish, QWidget* parent)
    : QDialog(parent),
      setLanguageToEnglish_(std::move(setLanguageToEnglish)),
      txbHelp1(new HelpTextBox(this)),
      imgSpiral(new QLabel(this)),
      cmdClose(new QPushButton(this)) {
  setModal(true);
  setAutoFillBackground(true);
  QPalette grey = palette();
  grey.setColor(QPalette::Window, kLightGrey);
  grey.setColor(QPalette::Base, kLightGrey);
  setPalette(grey);
  resize(platform::twipsToPixels(11925), platform::twipsToPixels(5910));

  QFont arial(QStringLiteral("Arial"));
  arial.setPointSizeF(9.75);
  txbHelp1->setFont(arial);
  txbHelp1->setReadOnly(true);
  txbHelp1->setGeometry(platform::twipsRect(210, kMarginTwips, 7575, 5670));
  txbHelp1->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  txbHelp1->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);

  imgSpiral->setGeometry(platform::twipsRect(7875, 105, 3960, 3960));
  imgSpiral->setPixmap(helpSpiral());

  cmdClose->setGeometry(platform::twipsRect(9240, 4200, 1215, 375));
  connect(cmdClose, &QPushButton::clicked, this, &frmHelp::cmdClose_Click);

  buildHelpTexts();
}

void frmHelp::buildHelpTexts() {
  strHelpText[language::kEnglish] = englishIntroduction();
  strHelpText[language::kGerman] = germanIntroduction();
  strHelpText[language::kEnglish] += englishColorSchemes();
  strHelpText[language::kGerman] += germanColorSchemes();
}

QString frmHelp::helpText(int languageSlot) const {
  const bool known = languageSlot >= 0 && languageSlot < static_cast<int>(strHelpText.size());
  return known ? strHelpText[static_cast<size_t>(languageSlot)] : QString();
}

void frmHelp::showModalFor(QWidget* mainWindow, int frameTopTwips) {
  Form_Activate(mainWindow, frameTopTwips);
  exec();
}

void frmHelp::Form_Activate(QWidget* mainWindow, int frameTopTwips) {
  if (setLanguageToEnglish_) setLanguageToEnglish_();

  // The outer edges line up with the main window's. This window's own frame is not known before
  // its first showing, but it wears the same frame as the main window, so their inner areas line
  // up too and the outer height leaves the main window's frame height for the inner one.
  const QRect main = mainWindow->geometry();
  const int frameHeight = mainWindow->frameGeometry().height() - main.height();
  const QRect place(main.left(), main.top() + platform::twipsToPixels(frameTopTwips + kBelowFrameTwips),
                    main.width(), platform::twipsToPixels(kWindowHeightTwips) - frameHeight);
  setFixedSize(place.size());  // its contents do not follow a resize
  setGeometry(place);

  // The window is lower than its layout: keep the whole text box, scroll bar included, inside it.
  const int margin = platform::twipsToPixels(kMarginTwips);
  txbHelp1->resize(txbHelp1->width(),
                   std::min(platform::twipsToPixels(5670), height() - txbHelp1->y() - margin));

  setWindowTitle(QStringLiteral("Help"));
  cmdClose->setText(QStringLiteral("Close"));
  txbHelp1->setPlainText(withUnbreakableAddresses(strHelpText[language::kEnglish]));
}

QString frmHelp::plainText(QString shown) {
  return shown.remove(QChar(kWordJoiner)).replace(QChar(kNonBreakingHyphen), QLatin1Char('-'));
}

void frmHelp::cmdClose_Click() { hide(); }
