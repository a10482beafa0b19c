#pragma once
// A main window for tests: its own settings folder (through XDG_CONFIG_HOME), a recording desktop,
// helpers to prepare and read the settings store, and one to answer the modal windows the main
// window opens and waits for. It brings Qt Test, Qt Widgets and the window classes with it.

#include <functional>
#include <memory>

#include <QtTest>
#include <QtWidgets>

#include "FileContents.h"
#include "RecordingDesktop.h"
#include "Launch.h"
#include "frmMain.h"
#include "frmCWsoftware.h"

// What the program's own options make of `arguments`, as main() reads them after the program's
// name; `rest` receives the arguments left for Qt.
inline app::LaunchOptions launchOptionsOf(const QStringList& arguments, QStringList* rest = nullptr) {
  QList<QByteArray> words{"spirelle"};
  for (const QString& argument : arguments) words << argument.toLocal8Bit();
  std::vector<char*> argv;
  for (QByteArray& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  int argc = static_cast<int>(words.size());
  app::LaunchOptions options = app::takeLaunchOptions(argc, argv.data());
  if (rest) {
    rest->clear();
    for (int i = 1; i < argc; ++i) *rest << QString::fromLocal8Bit(argv[static_cast<size_t>(i)]);
  }
  return options;
}

class MainWindowHarness {
 public:
  MainWindowHarness() { qputenv("XDG_CONFIG_HOME", configHome_.path().toLocal8Bit()); }

  QString storePath() const { return configHome_.filePath(QStringLiteral("Corvanel Works/spl.usr")); }
  QByteArray storeBytes() const { return contentsOf(storePath()); }
  bool writeStore(const QByteArray& bytes) const {
    return QDir().mkpath(QFileInfo(storePath()).path()) && writeFile(storePath(), bytes);
  }

  // Builds the window and runs its start-up, with the program's options among `arguments`, and
  // waits until the desktop has made it the active window, as it is for a user who types into it.
  frmMain& start(const QStringList& arguments = {}) {
    window_ = std::make_unique<frmMain>(desktop);
    window_->languageFromCommandLine = launchOptionsOf(arguments).language;
    window_->Form_Load();
    if (!QTest::qWaitForWindowActive(window_.get())) qWarning("the main window did not become active");
    return *window_;
  }

  frmMain& window() { return *window_; }

  RecordingDesktop desktop;

 private:
  QTemporaryDir configHome_;
  std::unique_ptr<frmMain> window_;
};

// A key as the user types it: to the control that has the focus, or the window when none has.
inline void press(frmMain& w, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QWidget* focus = w.focusWidget();
  QTest::keyClick(focus ? focus : &w, key, modifiers);
}

// Whether `action` draws a new picture: the picture is first covered in dark grey, a colour no
// pass draws with, and every pass clears the whole picture before it draws.
inline bool redrawn(frmMain& w, const std::function<void()>& action) {
  constexpr int kUnusedColor = 8;
  w.picture.fillBox(0, 0, w.picture.width() - 1, w.picture.height() - 1, kUnusedColor);
  action();
  return w.picture.pixel(0, 0) != kUnusedColor;
}

// The lines of a store that holds the defaults, and a store made of such lines, each ended by CR LF.
inline QStringList defaultStoreLines() { return QStringLiteral("1|0|1|3,0,0,2|\"1\"|0|1|0|0").split(u'|'); }
inline QByteArray storeOf(const QStringList& lines) { return (lines.join("\r\n") + "\r\n").toUtf8(); }

// Once a modal window opens (within ten seconds), runs `whileShown` on it and then presses its
// Close button, so that the handler that opened it can go on. A modal window of another kind is
// closed unseen and fails the test.
template <class Window>
void closeWhenShown(const std::function<void(Window&)>& whileShown, int triesLeft = 1000) {
  QTimer::singleShot(10, qApp, [whileShown, triesLeft] {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal && triesLeft > 0) return closeWhenShown(whileShown, triesLeft - 1);  // look again
    QVERIFY2(modal, "no modal window has been shown");
    auto* window = qobject_cast<Window*>(modal);
    if (!window) modal->hide();
    QVERIFY2(window, "a modal window of another kind is shown");
    whileShown(*window);
    window->template findChild<QPushButton*>()->click();
  });
}

// Runs the program's event loop, as main() does, does `end` inside it and returns the status with
// which the program ends (-1 when it has not ended within ten seconds). Every end of the program
// shows the other-software window: `whileCatalogueShown` runs while it shows, then it is closed.
// Whatever ends the program must run inside its loop: an end requested outside would end every
// later modal window of the test at once.
inline int exitStatusAfter(const std::function<void()>& end,
                           const std::function<void()>& whileCatalogueShown = [] {}) {
  closeWhenShown<frmCWsoftware>([whileCatalogueShown](frmCWsoftware&) { whileCatalogueShown(); });
  QObject guard;  // takes the pending timers with it
  QTimer::singleShot(0, &guard, end);
  QTimer::singleShot(10000, &guard, [] { QCoreApplication::exit(-1); });
  return QApplication::exec();
}

// Clicks Spiral In or Spiral Out and runs `during` inside the animation's wait loop (the click does
// not return until the animation has ended). Afterwards presses Stop, unless the run has ended or
// been stopped already, so that a failed check never leaves it running; a run that still does not
// end is stopped after ten seconds, so that a fault fails, not hangs.
inline void animate(frmMain& w, QPushButton* button, const std::function<void()>& during) {
  QTimer::singleShot(10000, &w, [&w] {
    if (!w.isSpiralling()) return;
    w.cmdStopButton_Click();
    QFAIL("the animation did not end");
  });
  QTimer::singleShot(0, &w, [&w, during] {
    during();
    if (w.isSpiralling() && !w.blnSpiralRunEnded && !w.blnStopSpiralling) {
      QTest::mouseClick(w.cmdStopButton, Qt::LeftButton);
    }
  });
  QTest::mouseClick(button, Qt::LeftButton);
}
