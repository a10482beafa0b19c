// The start number: the key filter and change handling of its text box, the scroll bar beside it,
// and the messages about it.

#include <algorithm>
#include <memory>

#include <QCheckBox>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QScopedValueRollback>
#include <QScrollBar>

#include "StartNumberMessages.h"
#include "StartNumber.h"
#include "frmMain.h"
#include "EventHook.h"
#include "WordTable.h"
#include "numlib.hpp"
#include "Desktop.h"

namespace {

// The key codes of a classic text box's key press event.
constexpr int kDiscarded = 0;
constexpr int kSelectAll = 1;  // Ctrl+A
constexpr int kCopy = 3;
constexpr int kBackspace = 8;
constexpr int kEnter = 13;
constexpr int kPaste = 22;
constexpr int kCut = 24;
constexpr int kRedo = 25;  // Ctrl+Y
constexpr int kUndo = 26;  // Ctrl+Z

// The code a classic text box would see for this key, or none for the keys that type no character
// (arrows, Delete, Home, End, Tab): those are never filtered. The box's own editing shortcuts get
// the code of their Ctrl letter (undo 26, select all 1, ...), so the filter's rule covers them too.
std::optional<int> classicKeyCode(const QKeyEvent& key) {
  if (key.matches(QKeySequence::Undo)) return kUndo;  // Alt+Backspace too
  if (key.matches(QKeySequence::Redo)) return kRedo;
  if (key.matches(QKeySequence::SelectAll)) return kSelectAll;
  if (key.key() == Qt::Key_Backspace) return kBackspace;
  if (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter) return kEnter;
  if (key.matches(QKeySequence::Copy)) return kCopy;
  if (key.matches(QKeySequence::Paste)) return kPaste;
  if (key.matches(QKeySequence::Cut)) return kCut;
  if (key.modifiers() & (Qt::ControlModifier | Qt::MetaModifier)) {
    if (key.key() >= Qt::Key_A && key.key() <= Qt::Key_Z) return key.key() - Qt::Key_A + 1;
    return std::nullopt;  // Ctrl with an arrow, Home, End or Delete moves or deletes
  }
  const QString text = key.text();
  if (text.isEmpty() || !text.at(0).isPrint()) return std::nullopt;
  return text.at(0).unicode();
}

// The decimal digits of a text: a pasted text keeps only those.
QString digitsOf(const QString& text) {
  QString digits;
  for (QChar c : text) {
    if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) digits += c;
  }
  return digits;
}

}  // namespace

void frmMain::SetStartNumberMessages() {
  for (std::size_t refusal = 0; refusal < strStartNumberMessages.size(); ++refusal) {
    for (int slot = 0; slot < language::kWindowTextSlots; ++slot) {
      const std::string_view message = language::startNumberMessage(static_cast<spiral::Refusal>(refusal), slot);
      strStartNumberMessages[refusal][slot] = QString::fromUtf8(message.data(), qsizetype(message.size()));
    }
  }
}

void frmMain::ShowStartNumberMessage(spiral::Refusal refusal) {
  // The message table has fewer language slots than the word table; any other language reads the
  // English one.
  const int slot = language::intLanguage >= 0 && language::intLanguage < language::kWindowTextSlots
                       ? language::intLanguage
                       : language::kEnglish;
  desktop_.showMessage(this, language::W(language::Word::Error),
                       strStartNumberMessages[static_cast<std::size_t>(refusal)][slot]);
}

// The box's key presses go through txbStartNumber_KeyPress; the scroll bar takes the focus when
// clicked, like every control, and hands it back at once.
void frmMain::installStartNumberEventHooks() {
  new interaction::EventHook(txbStartNumber, [this](QEvent* event) {
    if (event->type() == QEvent::ContextMenu) {
      std::unique_ptr<QMenu> menu(createStartNumberMenu());
      menu->exec(static_cast<QContextMenuEvent*>(event)->globalPos());
      return true;
    }
    if (event->type() != QEvent::KeyPress) return false;
    const auto& key = static_cast<const QKeyEvent&>(*event);
    if (runWindowKey(key)) return true;
    if (key.matches(QKeySequence::Copy) && !txbStartNumber->hasSelectedText()) {
      copySelectionOrPicture();  // nothing to copy here: the picture
      return true;
    }
    const std::optional<int> code = classicKeyCode(key);
    if (!code) return false;
    int keyAscii = *code;
    txbStartNumber_KeyPress(keyAscii);
    return keyAscii == kDiscarded;
  });
  vsbStartNumber->setFocusPolicy(Qt::ClickFocus);
  new interaction::EventHook(vsbStartNumber, [this](QEvent* event) {
    if (event->type() == QEvent::FocusIn) vsbStartNumber_GotFocus();
    return false;
  });
}

void frmMain::txbStartNumber_KeyPress(int& keyAscii) {
  const QString text = txbStartNumber->text();
  if (keyAscii == kBackspace && text.isEmpty()) {
    keyAscii = kDiscarded;
  } else if (keyAscii == kEnter) {
    DrawSpiral();  // the box still gets its Enter
  } else if (!IsAllowedKey(keyAscii) || text.size() >= intMaxStartDigits) {
    keyAscii = kDiscarded;  // at the longest text even Backspace and the clipboard keys
  }
}

// The box's own menu offers only what the key filter lets through: cut, copy and paste (not at
// the longest text), and Delete. Undo, redo and select all are no keys of the filter.
QMenu* frmMain::createStartNumberMenu() {
  const auto passesFilter = [this](int code) {
    txbStartNumber_KeyPress(code);
    return code != kDiscarded;
  };
  const bool selection = txbStartNumber->hasSelectedText();
  auto* menu = new QMenu(txbStartNumber);
  const auto add = [this, menu](const QString& text, bool enabled, auto slot) {
    menu->addAction(text, txbStartNumber, slot)->setEnabled(enabled);
  };
  add(QStringLiteral("Cu&t"), selection && passesFilter(kCut), &QLineEdit::cut);
  add(QStringLiteral("&Copy"), selection && passesFilter(kCopy), &QLineEdit::copy);
  add(QStringLiteral("&Paste"), passesFilter(kPaste) && !QGuiApplication::clipboard()->text().isEmpty(),
      &QLineEdit::paste);
  add(QStringLiteral("Delete"), selection, &QLineEdit::del);
  return menu;
}

bool frmMain::IsAllowedKey(int keyAscii) {
  if (keyAscii == kCopy || keyAscii == kBackspace || keyAscii == kPaste || keyAscii == kCut) return true;
  return keyAscii >= '0' && keyAscii <= '9';
}

// Cleans the text, refuses a number that is too large, and keeps the scroll bar in step. It never
// draws: typing only edits the text.
// Leading zeros go (a lone 0 stays), and at most intMaxStartDigits characters are kept.
void frmMain::txbStartNumber_Change() {
  const QString digits = digitsOf(txbStartNumber->text());
  if (digits.isEmpty()) {
    if (!txbStartNumber->text().isEmpty()) {
      txbStartNumber->setText(digits);  // raises this handler once more, with the empty box
      return;
    }
    keepScrollBarInStep(-1);  // an empty box: the scroll bar cannot show it
    return;
  }
  const spiral::StartNumber start = spiral::parseStartNumber(digits.toStdString());
  const QString text = QString::fromStdString(start.text).left(intMaxStartDigits);
  if (txbStartNumber->text() != text) {
    // Raises this handler once more, which then finds the text clean.
    txbStartNumber->setText(text);
    return;
  }
  if (start.refusal != spiral::Refusal::None) {
    if (blnFormLoaded) ShowStartNumberMessage(start.refusal);
    return;  // the text stays as typed until the user corrects it
  }
  keepScrollBarInStep(start.value);
}

void frmMain::keepScrollBarInStep(int64_t number) {
  if (number < intScrollLow || number > lngScrollHigh) {
    vsbStartNumber->setEnabled(false);
    return;
  }
  if (vsbStartNumber->value() != number) {
    blnSyncingScrollBar = true;
    vsbStartNumber->setValue(static_cast<int>(number));
    blnSyncingScrollBar = false;
  }
  if (!isSpiralling()) vsbStartNumber->setEnabled(true);
}

// Moves the start number to the scroll bar's value and redraws; with "Show only for central number
// prime" ticked the step goes on to the next prime in its direction.
void frmMain::vsbStartNumber_Change() {
  if (blnSyncingScrollBar || blnAdjustingScrollBar || !blnFormLoaded) return;
  const int64_t boxNumber = numberInStartBox();
  if (drawPassRunning_) {
    // A held arrow repeating while a 1-pixel pass yields: the step waits for the pass to end.
    setScrollBarQuietly(boxNumber);
    return;
  }
  int value = vsbStartNumber->value();
  if (chkCentralNumberPrime->isChecked()) {
    const std::optional<int> prime = primeStepOfScrollBar(value, boxNumber);
    if (!prime) {
      setScrollBarQuietly(boxNumber);  // no prime that way: nothing changes
      return;
    }
    value = *prime;
    setScrollBarQuietly(value);
  }
  if (boxNumber != value) {
    txbStartNumber->setText(QString::number(value));
    // The bar stays enabled through the pass of its own step: disabling it would end the
    // auto-repeat of an arrow held down.
    const QScopedValueRollback<bool> stepping(scrollBarStepping_, true);
    DrawSpiral();
  }
}

// The scroll bar's value if it is prime, else the next prime beyond it in the direction of the
// step (up when the value passed the box's number); none within 2 ... 32767.
std::optional<int> frmMain::primeStepOfScrollBar(int value, int64_t boxNumber) {
  if (testCentralNumberPrime(value)) return value;
  const std::optional<int64_t> prime =
      value > boxNumber ? numlib::primeAfter(value, lngScrollHigh) : numlib::primeBefore(value, 2);
  blnCentralNumberPrime = prime.has_value();
  if (!prime) return std::nullopt;
  return static_cast<int>(*prime);
}

// A number beyond the scroll bar's range puts it at its nearest end.
void frmMain::setScrollBarQuietly(int64_t value) {
  blnAdjustingScrollBar = true;
  vsbStartNumber->setValue(static_cast<int>(std::clamp<int64_t>(value, intScrollLow, lngScrollHigh)));
  blnAdjustingScrollBar = false;
}

void frmMain::vsbStartNumber_GotFocus() { SetFocusToActiveControl(); }

// An empty box holds no number: 0 rather than the 1 that a pass would draw.
int64_t frmMain::numberInStartBox() const {
  const QString text = txbStartNumber->text();
  return text.isEmpty() ? 0 : spiral::parseStartNumber(text.toStdString()).value;
}

bool frmMain::testCentralNumberPrime(int64_t number) {
  blnCentralNumberPrime = numlib::isPrime(number);
  return blnCentralNumberPrime;
}
