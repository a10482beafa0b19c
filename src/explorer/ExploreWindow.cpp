#include "ExploreWindow.h"

#include <QApplication>
#include <QFontDatabase>
#include <QGridLayout>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QHelpEvent>
#include <QImageWriter>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QRegularExpression>
#include <QShortcut>
#include <QStatusBar>
#include <QToolBar>

#include "ChoiceNames.h"
#include "DeviceWriter.h"
#include "ElidingLabel.h"
#include "HoverInspector.h"
#include "NumberInspector.h"
#include "Rule.h"
#include "StartNumber.h"
#include "WordTable.h"

namespace explorer {

using language::W;
using language::Word;

namespace {

constexpr int kFirstWidth = 1024, kFirstHeight = 768;

QString grouped(spiral::Number n) { return QLocale().toString(static_cast<qulonglong>(n)); }

// A number text as the boxes read it: the number, or the reason it is none.
struct NumberText {
  std::optional<spiral::Number> value;
  QString refusal;
};
NumberText readNumber(const QString& text) {
  const spiral::StartNumber number = spiral::parseStartNumber(text.toStdString(), spiral::kWholeRange);
  const QString shown = text.trimmed();
  if (!number.digitsOnly || shown.isEmpty()) return {std::nullopt, W(Word::NotANumber).arg(shown)};
  if (number.refusal != spiral::Refusal::None) return {std::nullopt, W(Word::PastLargest).arg(shown)};
  return {number.value, {}};
}

// The class list's entry for an own rule, beside the classes' own.
constexpr int kOwnRuleEntry = -1;

// A rule's text read for a view: the rule, or why the text is none.
std::variant<spiral::ViewRule, rules::RuleError> viewRuleOf(const std::string& text) {
  std::variant<rules::Rule, rules::RuleError> compiled = rules::compileRule(text);
  if (const auto* error = std::get_if<rules::RuleError>(&compiled)) return *error;
  return spiral::ViewRule{std::make_shared<const rules::Rule>(std::get<rules::Rule>(std::move(compiled))), text};
}

// The rule instead of the class; the class's row it draws with follows from the rule, as in a pass.
void takeRule(spiral::ViewSettings& settings, spiral::ViewRule rule) {
  settings.numberClass = spiral::classDrawnLike(*rule.compiled);
  settings.ownRule = std::move(rule);
}

// A word of the shell: in single quotes unless it holds only characters the shell takes as they are.
QString shellWord(const QString& word) {
  static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9_./:=+-]+$"));
  if (plain.match(word).hasMatch()) return word;
  return QLatin1Char('\'') + QString(word).replace(QLatin1Char('\''), QStringLiteral("'\\''")) + QLatin1Char('\'');
}

}  // namespace

int zoomLevelOf(int boxSize, int cellsPerPixel) {
  for (std::size_t i = 0; i < std::size(spiral::kZoomLevels); ++i) {
    if (spiral::kZoomLevels[i].boxSize == boxSize && spiral::kZoomLevels[i].cellsPerPixel == cellsPerPixel) {
      return static_cast<int>(i);
    }
  }
  return zoomLevelOf(7, 1);
}

spiral::ViewSettings viewSettingsOf(const StoredView& view) {
  spiral::ViewSettings settings;
  settings.start = view.start;
  settings.zoom = zoomLevelOf(view.boxSize, view.cellsPerPixel);
  settings.squares = view.squares;
  settings.grid = view.grid;
  settings.numerals = view.numerals;
  settings.numberClass = view.numberClass;
  settings.colorScheme = view.scheme;
  settings.randomSeed = view.start;  // the renderer's seed: the same cells show
  if (view.showsOwnRule) {
    auto rule = viewRuleOf(view.ownRule);
    if (auto* taken = std::get_if<spiral::ViewRule>(&rule)) takeRule(settings, std::move(*taken));
  }
  return settings;
}

ExploreWindow::ExploreWindow(platform::Desktop& desktop, const StoredView& view, int workers,
                             const QString& settingsPath, QWidget* parent)
    : QMainWindow(parent), desktop_(desktop), settingsPath_(settingsPath), tiles_(workers), lastRule_(view.ownRule) {
  setWindowTitle(QStringLiteral("Spirelle Explorer"));
  view_ = new ExploreView(tiles_, this);
  setCentralWidget(view_);
  buildToolBar();
  pointer_ = new ElidingLabel(this);
  range_ = new QLabel(this);
  scale_ = new QLabel(this);
  message_ = new ElidingLabel(this);
  quadraticCounts_ = new QLabel(this);
  // Two lines: far out, the number under the pointer with its factors and the numbers in view each
  // take half a window's width, and one line would cut the count off.
  auto* lines = new QWidget(this);
  auto* grid = new QGridLayout(lines);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setVerticalSpacing(0);
  grid->addWidget(pointer_, 0, 0, 1, 3);
  grid->addWidget(scale_, 0, 3, Qt::AlignRight);
  grid->addWidget(message_, 1, 0);
  grid->addWidget(quadraticCounts_, 1, 1, Qt::AlignRight);
  grid->addWidget(range_, 1, 2, 1, 2, Qt::AlignRight);
  grid->setColumnStretch(0, 1);
  statusBar()->addWidget(lines, 1);
  resize(kFirstWidth, kFirstHeight);
  view_->setSettings(viewSettingsOf(view));
  showSettings();
  if (const std::optional<spiral::CellPos> cell = spiral::cellOfNumber(view.start, view.centre)) view_->centreOn(*cell);
  connect(view_, &ExploreView::viewMoved, this, &ExploreWindow::describeView);
  connect(view_, &ExploreView::viewMoved, this, &ExploreWindow::lookForQuadratic);
  connect(&quadratic_, &QuadraticMarks::foundChanged, this, &ExploreWindow::showQuadraticFound);
  connect(&tiles_, &TileSource::tilesReady, this, &ExploreWindow::tilesArrived);
  connect(&tiles_, &TileSource::clusterProgress, this, [this](double fraction) {
    showStatus(W(Word::ClusterProgress).arg(qRound(fraction * 100)));
  });
  connect(&tiles_, &TileSource::clusterColoursReady, this, [this] {
    showStatus({});
    view_->update();
  });
  connect(view_, &ExploreView::pointerAt, this, &ExploreWindow::describePointer);
  connect(view_, &ExploreView::cellClicked, this, [this](spiral::CellPos cell) { view_->setSelected(cell); });
  connect(view_, &ExploreView::contextMenuWanted, this, &ExploreWindow::showContextMenu);
  hover_ = new HoverInspector(*view_);
  view_->installEventFilter(this);
  installShortcuts();
  describeView();
  view_->setFocus();
}

ExploreWindow::~ExploreWindow() = default;

void ExploreWindow::buildToolBar() {
  QToolBar* bar = addToolBar(QStringLiteral("view"));
  bar->setMovable(false);
  bar->addAction(W(Word::ZoomOut), this, [this] { view_->zoomAboutMiddle(-1); });
  bar->addAction(W(Word::ZoomIn), this, [this] { view_->zoomAboutMiddle(1); });
  bar->addSeparator();
  bar->addWidget(new QLabel(W(Word::GoTo) + QLatin1Char(' '), this));
  goToBox_ = new QLineEdit(this);
  goToBox_->setMaximumWidth(220);
  bar->addWidget(goToBox_);
  connect(goToBox_, &QLineEdit::returnPressed, this, [this] {
    if (goTo(goToBox_->text())) view_->setFocus();
  });
  bar->addSeparator();
  bar->addWidget(new QLabel(W(Word::StartNumber) + QLatin1Char(' '), this));
  startBox_ = new QLineEdit(QString::number(1), this);
  startBox_->setMaximumWidth(220);
  bar->addWidget(startBox_);
  connect(startBox_, &QLineEdit::returnPressed, this, [this] {
    if (changeStart(startBox_->text())) view_->setFocus();
  });
  bar->addSeparator();
  classBox_ = new QComboBox(this);
  classBox_->setObjectName(QStringLiteral("classes"));
  for (const spiral::NumberClassChoice& row : spiral::kNumberClasses) {
    classBox_->addItem(language::numberClassCaption(row.numberClass), static_cast<int>(row.numberClass));
  }
  classBox_->addItem(W(Word::OwnRule), kOwnRuleEntry);
  bar->addWidget(classBox_);
  ruleBox_ = new QLineEdit(QString::fromStdString(lastRule_), this);
  ruleBox_->setObjectName(QStringLiteral("ownRule"));
  ruleBox_->setPlaceholderText(W(Word::OwnRuleHint));
  ruleBox_->setMinimumWidth(260);
  ruleField_ = bar->addWidget(ruleBox_);
  connect(ruleBox_, &QLineEdit::returnPressed, this, [this] {
    if (showOwnRule(ruleBox_->text())) view_->setFocus();
  });
  schemeBox_ = new QComboBox(this);
  for (const spiral::SchemeChoice& row : spiral::kSchemes) {
    schemeBox_->addItem(language::schemeCaption(row.scheme), static_cast<int>(row.scheme));
  }
  bar->addWidget(schemeBox_);
  connect(classBox_, &QComboBox::activated, this, &ExploreWindow::chooseClass);
  connect(schemeBox_, &QComboBox::activated, this, [this] {
    changeSettings([this](spiral::ViewSettings& s) { s.colorScheme = spiral::ColorScheme(schemeBox_->currentData().toInt()); });
  });
  bar->addSeparator();
  quadraticBox_ = new QLineEdit(this);
  quadraticBox_->setPlaceholderText(W(Word::MarkQuadratic));
  quadraticBox_->setMinimumWidth(200);
  bar->addWidget(quadraticBox_);
  connect(quadraticBox_, &QLineEdit::returnPressed, this, [this] {
    if (markQuadratic(quadraticBox_->text())) view_->setFocus();
  });
}

// A class of the list shows at once; "Own rule..." opens the rule's field and takes the rule in it.
void ExploreWindow::chooseClass() {
  const int entry = classBox_->currentData().toInt();
  if (entry != kOwnRuleEntry) {
    changeSettings([entry](spiral::ViewSettings& s) {
      s.numberClass = spiral::NumberClass(entry);
      s.ownRule = {};
    });
    return;
  }
  ruleField_->setVisible(true);
  ruleBox_->setFocus();
  if (!ruleBox_->text().trimmed().isEmpty()) showOwnRule(ruleBox_->text());
}

bool ExploreWindow::showOwnRule(const QString& text) {
  const std::string rule = text.toStdString();
  auto read = viewRuleOf(rule);
  if (const auto* error = std::get_if<rules::RuleError>(&read)) {
    showStatus(W(Word::OwnRuleRefused) + QLatin1Char(' ') + QString::fromStdString(rules::errorWithCaret(rule, *error)));
    message_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));  // the caret stands under its character
    return false;
  }
  lastRule_ = rule;
  changeSettings([&read](spiral::ViewSettings& s) { takeRule(s, std::get<spiral::ViewRule>(std::move(read))); });
  showStatus({});
  return true;
}

bool ExploreWindow::markQuadratic(const QString& text) {
  if (text.trimmed().isEmpty()) {
    quadratic_.setQuadratic(std::nullopt);
    showStatus({});
    return true;
  }
  const auto read = numlib::parseQuadratic(text.toStdString());
  if (const auto* error = std::get_if<numlib::QuadraticTextError>(&read)) {
    switch (*error) {
      case numlib::QuadraticTextError::NotThreeNumbers: showStatus(W(Word::QuadraticNotThree).arg(text.trimmed())); break;
      case numlib::QuadraticTextError::ABelowOne: showStatus(W(Word::QuadraticABelowOne)); break;
      case numlib::QuadraticTextError::TooLarge: showStatus(W(Word::QuadraticTooLarge).arg(text.trimmed())); break;
    }
    return false;
  }
  quadratic_.setQuadratic(std::get<numlib::QuadraticPolynomial>(read));
  showStatus({});
  lookForQuadratic();
  return true;
}

// The values in view are looked for on a worker; the marks and counts follow when they are found.
void ExploreWindow::lookForQuadratic() {
  const QSize size = view_->deviceSize();
  quadratic_.look(view_->settings(), {view_->topLeft().x, view_->topLeft().y, size.width(), size.height()});
}

void ExploreWindow::showQuadraticFound() {
  const std::optional<QuadraticInView>& found = quadratic_.found();
  if (!found || found->start != view_->settings().start) {
    view_->setMarks({});
    quadraticCounts_->clear();
    return;
  }
  view_->setMarks(found->cells);
  const QLocale locale;
  quadraticCounts_->setText(W(Word::QuadraticInView)
                                .arg(locale.toString(static_cast<qlonglong>(found->cells.size())),
                                     locale.toString(static_cast<qlonglong>(found->primes)),
                                     locale.toString(found->expectedPrimes, 'f', 1),
                                     locale.toString(found->hlConstant, 'f', 5)));
}

void ExploreWindow::installShortcuts() {
  const auto onKeys = [this](const QKeySequence& keys, auto handler) { new QShortcut(keys, this, handler); };
  const auto focusGoTo = [this] {
    goToBox_->setFocus();
    goToBox_->selectAll();
  };
  onKeys(Qt::CTRL | Qt::Key_G, focusGoTo);
  onKeys(Qt::CTRL | Qt::Key_L, focusGoTo);
  onKeys(QKeySequence::ZoomIn, [this] { view_->zoomAboutMiddle(1); });
  onKeys(Qt::CTRL | Qt::Key_Equal, [this] { view_->zoomAboutMiddle(1); });
  onKeys(QKeySequence::ZoomOut, [this] { view_->zoomAboutMiddle(-1); });
  onKeys(QKeySequence::Copy, [this] { copy(); });
  onKeys(Qt::CTRL | Qt::Key_S, [this] { saveView(); });
  onKeys(Qt::CTRL | Qt::Key_Q, [this] { close(); });
  onKeys(Qt::Key_F1, [this] {
    desktop_.showMessage(this, QStringLiteral("Spirelle Explorer"), W(Word::ExplorerHelp));
  });
  onKeys(Qt::Key_Escape, [this] {
    const bool walking = tiles_.cancelClusterColours();
    if (tiles_.pending() == 0 && !walking) return;
    tiles_.cancelAll();
    showStatus(W(Word::Cancelled));
  });
}

std::optional<spiral::Number> ExploreWindow::numberOf(spiral::CellPos cell) const {
  return spiral::numberOfCell(view_->settings().start, cell);
}

bool ExploreWindow::goTo(const QString& text) {
  const NumberText number = readNumber(text);
  const spiral::Number start = view_->settings().start;
  if (!number.value) {
    showStatus(number.refusal);
    return false;
  }
  if (*number.value < start) {
    showStatus(W(Word::BelowStart).arg(grouped(*number.value), grouped(start)));
    return false;
  }
  const spiral::CellPos cell = *spiral::cellOfNumber(start, *number.value);
  view_->centreOn(cell);
  view_->flashCell(cell);
  showStatus({});
  return true;
}

bool ExploreWindow::changeStart(const QString& text) {
  const NumberText number = readNumber(text);
  if (!number.value) {
    showStatus(number.refusal);
    return false;
  }
  if (*number.value == 0) {
    showStatus(W(Word::NotAStart));
    return false;
  }
  changeSettings([&number](spiral::ViewSettings& s) { s.start = s.randomSeed = *number.value; });
  showStatus({});
  return true;
}

void ExploreWindow::changeSettings(const std::function<void(spiral::ViewSettings&)>& change) {
  spiral::ViewSettings settings = view_->settings();
  change(settings);
  view_->setSettings(settings);
  showSettings();
  showQuadraticFound();  // the cells of another start's values go until they are found again
  describeView();
}

void ExploreWindow::showSettings() {
  const spiral::ViewSettings& settings = view_->settings();
  startBox_->setText(QString::number(settings.start));
  classBox_->setCurrentIndex(classBox_->findData(settings.ownRule ? kOwnRuleEntry : static_cast<int>(settings.numberClass)));
  ruleField_->setVisible(static_cast<bool>(settings.ownRule));
  if (settings.ownRule) ruleBox_->setText(QString::fromStdString(settings.ownRule.text));
  schemeBox_->setCurrentIndex(schemeBox_->findData(static_cast<int>(settings.colorScheme)));
}

QString ExploreWindow::reportOf(spiral::CellPos cell) const {
  const std::optional<spiral::Number> number = numberOf(cell);
  if (!number) return {};
  return interaction::describeNumber(*number, spiral::ringOfCell(cell));
}

QString ExploreWindow::inspectorText(spiral::CellPos cell) const {
  const QString report = reportOf(cell);
  if (report.isEmpty()) return {};
  return (QStringList(report) << hoverRaysOf(*view_, cell).lines).join(QLatin1Char('\n'));
}

QStringList ExploreWindow::rendererArguments() const {
  const spiral::ViewSettings& s = view_->settings();
  spiral::DrawSettings draw;
  draw.start = s.start;
  draw.boxSize = spiral::kZoomLevels[s.zoom].boxSize;
  draw.squares = s.squares;
  draw.grid = s.grid;
  draw.numerals = s.numerals;
  draw.numberClass = s.ownRule ? spiral::NumberClass::None : s.numberClass;  // no --show beside --show-if
  draw.colorScheme = s.colorScheme;
  QStringList words;
  for (const std::string& argument : spiral::choiceArguments(draw)) words << QString::fromStdString(argument);
  if (s.ownRule) words << QStringLiteral("--show-if") << QString::fromStdString(s.ownRule.text);
  if (s.level().cellsPerPixel > 1) words << QStringLiteral("--cells-per-pixel") << QString::number(s.level().cellsPerPixel);
  const std::optional<spiral::Number> centre = numberOf(view_->middleCell());
  if (centre) words << QStringLiteral("--centre") << QString::number(*centre);
  const QSize size = view_->deviceSize();
  words << QStringLiteral("--size") << QString::number(std::max(size.width(), size.height()))
        << QStringLiteral("--out") << QStringLiteral("view.png");
  return words;
}

QString ExploreWindow::rendererCommand() const {
  QStringList words{QStringLiteral("spirelle-render")};
  for (const QString& argument : rendererArguments()) words << shellWord(argument);
  return words.join(QLatin1Char(' '));
}

void ExploreWindow::copy() {
  if (const std::optional<spiral::CellPos> cell = view_->selected()) {
    QApplication::clipboard()->setText(inspectorText(*cell));
  } else {
    // A copy of its own: the view's image would hold the view's larger canvas for as long as the
    // clipboard keeps it.
    QApplication::clipboard()->setImage(view_->viewImage().copy());
  }
}

void ExploreWindow::saveView() {
  const QString name = desktop_.askSaveFileName(this, W(Word::SaveView), QStringLiteral("PNG (*.png)"));
  if (name.isEmpty()) return;
  const QImage image = view_->viewImage();
  const fileio::qt::WriteResult result = fileio::qt::replaceFile(name, [&image](QIODevice& out) {
    QImageWriter writer(&out, "png");
    return writer.write(image) ? QString() : writer.errorString();
  });
  showStatus(result.written ? W(Word::Saved).arg(name) : W(Word::NotSaved).arg(name, result.reason));
}

void ExploreWindow::showStatus(const QString& text) {
  message_->setFont(statusBar()->font());
  message_->setText(text);
}

QString ExploreWindow::statusText() const { return message_->text(); }
QString ExploreWindow::pointerText() const { return pointer_->text(); }
QString ExploreWindow::rangeText() const { return range_->text(); }
QString ExploreWindow::quadraticText() const { return quadraticCounts_->text(); }

void ExploreWindow::describePointer(std::optional<QPointF> point) {
  if (!point) {
    pointer_->clear();
    return;
  }
  const spiral::CellPos cell = spiral::cellAtPlane(view_->settings(), view_->planeAt(*point));
  const std::optional<spiral::Number> number = numberOf(cell);
  if (!number) {
    pointer_->setText(W(Word::PastLargestNumber));
    return;
  }
  const QString where = QStringLiteral(" (%1, %2)").arg(cell.column).arg(-cell.row);
  pointer_->setText(reportOf(cell).replace(QLatin1Char('\n'), QStringLiteral("; ")) + where);
}

// The cluster colours of the cells in view, where they lie within the walk's reach.
void ExploreWindow::askForClusterColours() {
  const spiral::ViewSettings& settings = view_->settings();
  if (settings.colorScheme != spiral::ColorScheme::Cluster) return;
  const QSize size = view_->deviceSize();
  const spiral::PlanePoint topLeft = view_->topLeft();
  const spiral::CellPos first = spiral::cellAtPlane(settings, topLeft);
  const spiral::CellPos last = spiral::cellAtPlane(settings, {topLeft.x + size.width() - 1, topLeft.y + size.height() - 1});
  // The ring of the view's cell nearest the centre, and the largest of its corners'.
  const spiral::CellPos nearest{std::clamp<int64_t>(0, first.row, last.row), std::clamp<int64_t>(0, first.column, last.column)};
  const int64_t innerRing = spiral::ringOfCell(nearest);
  int64_t outerRing = 0;
  for (const spiral::CellPos corner : {first, last, spiral::CellPos{first.row, last.column}, spiral::CellPos{last.row, first.column}}) {
    outerRing = std::max(outerRing, spiral::ringOfCell(corner));
  }
  const auto cellsWithin = [](int64_t ring) { return static_cast<spiral::Number>(2 * ring - 1) * static_cast<spiral::Number>(2 * ring - 1); };
  constexpr int64_t kRingBeyondReach = 8194;  // ring K begins at walk position (2K - 3)^2
  if (innerRing >= kRingBeyondReach) return;  // all by ring: nothing to walk
  tiles_.wantClusterColours(settings, outerRing >= kRingBeyondReach ? spiral::kClusterReach : cellsWithin(outerRing));
}

// Describing the view reads every tile in it, and a view's tiles arrive a batch at a time: while
// tiles are still pending, the view is described at most every 100 ms.
void ExploreWindow::tilesArrived() {
  constexpr qint64 kDescribeEveryMs = 100;
  if (tiles_.pending() > 0 && sinceDescribed_.isValid() && sinceDescribed_.elapsed() < kDescribeEveryMs) return;
  describeView();
}

void ExploreWindow::describeView() {
  sinceDescribed_.start();
  askForClusterColours();
  const spiral::ZoomLevel& level = spiral::kZoomLevels[view_->settings().zoom];
  scale_->setText(level.cellsPerPixel > 1 ? W(Word::ScaleDensity).arg(level.cellsPerPixel)
                                          : W(Word::ScaleCells).arg(level.boxSize));
  const spiral::ViewSettings& settings = view_->settings();
  const spiral::PlaneRect visible = view_->planeRect();
  int64_t shown = 0, undefined = 0;
  bool byRing = false;
  const std::vector<TileKey> keys = view_->visibleTiles();
  int missing = 0;
  for (const TileKey& key : keys) {
    const std::shared_ptr<const Tile> tile = tiles_.cached(key, key.partIn(visible));
    missing += tile == nullptr;
    if (!tile) continue;
    byRing = byRing || (tile->result.clusterByRing && tile->exactClusters);
    const auto [tileShown, tileUndefined] = spiral::ownCountsWithin(settings, tile->drawn, tile->result, visible);
    shown += tileShown;
    undefined += tileUndefined;
  }
  // The range from the cells in view themselves: the edge tiles reach beyond the view.
  const std::optional<std::pair<spiral::Number, spiral::Number>> positions =
      spiral::positionsIn(spiral::cellsOf(settings, visible), ~spiral::Number{0} - settings.start);
  range_->setText(positions ? W(Word::NumbersInView).arg(grouped(settings.start + positions->first),
                                                         grouped(settings.start + positions->second), QLocale().toString(shown)) +
                                  (undefined > 0 ? W(Word::UndefinedInView).arg(QLocale().toString(undefined)) : QString())
                            : W(Word::NoNumbersInView));
  if (tiles_.walkingClusterColours()) return;  // its progress shows
  if (byRing) {
    showStatus(W(Word::ClusterByRing));
  } else if (missing > 0 && tiles_.pending() > 0) {  // tiles drawn ahead are not counted
    const int total = static_cast<int>(keys.size());
    message_->setText(W(Word::TilesProgress).arg(total - missing).arg(total));
  } else if (message_->text().startsWith(W(Word::TilesProgress).section(QLatin1Char('%'), 0, 0)) ||
             message_->text() == W(Word::ClusterByRing)) {
    message_->clear();
  }
}

void ExploreWindow::showContextMenu(QPoint globalPosition, spiral::CellPos cell) {
  const std::optional<spiral::Number> number = numberOf(cell);
  QMenu menu(this);
  QAction* copyNumber = menu.addAction(W(Word::CopyNumber), this, [number] {
    QApplication::clipboard()->setText(QString::number(*number));
  });
  QAction* copyReport = menu.addAction(W(Word::CopyReport), this, [this, cell] {
    QApplication::clipboard()->setText(inspectorText(cell));
  });
  QAction* startHere = menu.addAction(W(Word::StartHere), this, [this, number] { changeStart(QString::number(*number)); });
  for (QAction* action : {copyNumber, copyReport, startHere}) action->setEnabled(number.has_value());
  menu.addAction(W(Word::SaveView), this, [this] { saveView(); });
  menu.addAction(W(Word::CopyRendererCommand), this, [this] { QApplication::clipboard()->setText(rendererCommand()); });
  menu.exec(globalPosition);
}

bool ExploreWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched != view_ || event->type() != QEvent::ToolTip) return QMainWindow::eventFilter(watched, event);
  const auto* help = static_cast<QHelpEvent*>(event);
  const spiral::CellPos cell = spiral::cellAtPlane(view_->settings(), view_->planeAt(help->pos()));
  const QString report = reportOf(cell);
  if (report.isEmpty()) {
    hover_->hide();
  } else {
    const HoverRays rays = hoverRaysOf(*view_, cell);
    hover_->show(help->globalPos(), cell, (QStringList(report) << rays.lines).join(QLatin1Char('\n')), rays.outlines);
  }
  return true;
}

StoredView ExploreWindow::storedView() const {
  const spiral::ViewSettings& s = view_->settings();
  StoredView stored;
  stored.start = s.start;
  stored.centre = numberOf(view_->middleCell()).value_or(s.start);
  stored.boxSize = spiral::kZoomLevels[s.zoom].boxSize;
  stored.cellsPerPixel = spiral::kZoomLevels[s.zoom].cellsPerPixel;
  stored.squares = s.squares;
  stored.scheme = s.colorScheme;
  stored.numberClass = s.numberClass;
  stored.grid = s.grid;
  stored.numerals = s.numerals;
  stored.ownRule = lastRule_;
  stored.showsOwnRule = static_cast<bool>(s.ownRule);
  return stored;
}

void ExploreWindow::closeEvent(QCloseEvent* event) {
  tiles_.cancelAll();
  if (!settingsPath_.isEmpty()) {
    ExploreSettings settings;
    settings.view = storedView();
    settings.maximized = isMaximized();
    if (!isMaximized()) settings.geometry = geometry();
    writeExploreSettings(settingsPath_, settings);
  }
  event->accept();
}

}  // namespace explorer
