#pragma once
// The explorer's window: the view between a toolbar (zoom, go to, start number, class, scheme) and
// a status bar (the number under the pointer, the numbers in view, the scale, progress).

#include <optional>

#include <QElapsedTimer>
#include <QMainWindow>

#include "Desktop.h"
#include "ExploreSettings.h"
#include "ExploreView.h"
#include "QuadraticMarks.h"

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;

namespace explorer {

class HoverInspector;

class ExploreWindow : public QMainWindow {
  Q_OBJECT

 public:
  // `workers`: threads that draw tiles, 0 for one per core. `settingsPath`: the settings file,
  // empty for none.
  ExploreWindow(platform::Desktop& desktop, const StoredView& view, int workers = 0,
                const QString& settingsPath = QString(), QWidget* parent = nullptr);
  ~ExploreWindow() override;

  ExploreView& view() { return *view_; }
  TileSource& tiles() { return tiles_; }

  // Centres the view on the cell of the number `text` names and outlines it; false, with the
  // reason in the status bar, when the text names no number of the spiral.
  bool goTo(const QString& text);
  // Makes the number `text` names the start; false, with the reason, when it names none.
  bool changeStart(const QString& text);
  // The inspector's lines for a cell: the number, "prime" or its factors, its ring; empty where
  // the cell holds no number.
  QString reportOf(spiral::CellPos cell) const;
  // The tooltip's lines, which Ctrl+C copies: the report, then the rays through a shown cell,
  // counted over their cells in view.
  QString inspectorText(spiral::CellPos cell) const;
  // Shows the numbers for which the rule `text` is true, instead of the class; false, with the
  // reason and a caret under its place in the status bar, when the text is no rule: the view stays.
  bool showOwnRule(const QString& text);
  // Outlines the values of the quadratic "a, b, c" in view and gives their counts in the status
  // bar; an empty text clears the marks. False, with the reason, when the text names none.
  bool markQuadratic(const QString& text);
  QuadraticMarks& quadraticMarks() { return quadratic_; }
  // The renderer's arguments that draw this view, centred where it is, and the shell command line
  // of them.
  QStringList rendererArguments() const;
  QString rendererCommand() const;
  // Ctrl+C: the selected cell's report, or else the view as an image.
  void copy();
  // Ctrl+S: asks for a file name and writes the view there as a palette PNG.
  void saveView();
  QString statusText() const;
  QString pointerText() const;
  QString rangeText() const;
  QString quadraticText() const;
  StoredView storedView() const;

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void buildToolBar();
  void installShortcuts();
  void showStatus(const QString& text);
  void describePointer(std::optional<QPointF> point);
  void describeView();
  // Tiles have come: the status bar follows now and then while tiles come, and always at the last.
  void tilesArrived();
  void askForClusterColours();
  // The toolbar's boxes and lists show the view's settings.
  void showSettings();
  void showContextMenu(QPoint globalPosition, spiral::CellPos cell);
  void changeSettings(const std::function<void(spiral::ViewSettings&)>& change);
  void chooseClass();
  void lookForQuadratic();
  void showQuadraticFound();
  std::optional<spiral::Number> numberOf(spiral::CellPos cell) const;

  platform::Desktop& desktop_;
  QString settingsPath_;
  TileSource tiles_;
  ExploreView* view_ = nullptr;
  QLineEdit* goToBox_ = nullptr;
  QLineEdit* startBox_ = nullptr;
  QComboBox* classBox_ = nullptr;
  QLineEdit* ruleBox_ = nullptr;      // the own rule's text, shown while "Own rule..." is chosen
  QAction* ruleField_ = nullptr;
  QLineEdit* quadraticBox_ = nullptr;
  QuadraticMarks quadratic_;
  std::string lastRule_;  // the last rule taken, kept when another class is chosen
  QComboBox* schemeBox_ = nullptr;
  QLabel* pointer_ = nullptr;
  QLabel* range_ = nullptr;
  QLabel* scale_ = nullptr;
  QLabel* message_ = nullptr;
  QLabel* quadraticCounts_ = nullptr;
  HoverInspector* hover_ = nullptr;
  QElapsedTimer sinceDescribed_;
};

// The view settings of a stored view (with a random seed of its own; its own rule when it shows one
// and the rule reads), and the zoom level of a cell size and density; the default level when none
// has them.
spiral::ViewSettings viewSettingsOf(const StoredView& view);
int zoomLevelOf(int boxSize, int cellsPerPixel);

}  // namespace explorer
