#include "RenderRun.h"

#include <chrono>
#include <cmath>

#include <QJsonDocument>
#include <QJsonObject>

#include "PalettePng.h"
#include "Picture.h"
#include "texts/StartNumberMessages.h"
#include "texts/WordTable.h"
#include "ReplaceFile.h"

namespace render {
namespace {

struct RenderFacts {
  spiral::DrawOutcome outcome;
  double drawMilliseconds = 0;
};

RenderFacts drawTimed(const spiral::DrawSettings& settings, spiral::Picture& picture) {
  auto begin = std::chrono::steady_clock::now();
  spiral::DrawOutcome outcome = spiral::drawSpiral(settings, picture);
  std::chrono::duration<double, std::milli> elapsed = std::chrono::steady_clock::now() - begin;
  return {outcome, elapsed.count()};
}

// All or nothing: a failed write leaves an existing file as it was.
fileio::WriteResult writePng(const spiral::Picture& picture, const QString& fileName) {
  return fileio::replaceFile(fileName, [&picture](QIODevice& out) { return writePalettePng(picture, out); });
}

QJsonValue runOrNull(const std::optional<int>& run) {
  return run ? QJsonValue(*run) : QJsonValue(QJsonValue::Null);
}

double roundedToMicroseconds(double milliseconds) {
  return std::round(milliseconds * 1000.0) / 1000.0;
}

QString factsAsJson(const RenderFacts& facts) {
  const spiral::DrawOutcome& outcome = facts.outcome;
  QJsonObject object{
      {"start", qint64(outcome.startNumber)},
      {"end", qint64(outcome.endNumber)},
      {"cells_per_side", outcome.geometry.cellsPerSide},
      {"numbers", qint64(outcome.geometry.numberOfNumbers)},
      {"shown", qint64(outcome.shownCount)},
      {"smallest_prime", qint64(outcome.smallestPrime)},
      {"largest_prime", qint64(outcome.largestPrime)},
      {"longest_nwse", runOrNull(outcome.longestNWSE)},
      {"longest_swne", runOrNull(outcome.longestSWNE)},
      {"draw_ms", roundedToMicroseconds(facts.drawMilliseconds)},
  };
  return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact)) + u'\n';
}

QString runAsText(const std::optional<int>& run) {
  return run ? QString::number(*run) : QStringLiteral("not measured");
}

QString factsAsLines(const RenderFacts& facts) {
  const spiral::DrawOutcome& outcome = facts.outcome;
  return QStringLiteral(
             "Start number:       %1\n"
             "End number:         %2\n"
             "Cells per side:     %3\n"
             "Numbers:            %4\n"
             "Shown:              %5\n"
             "Smallest prime:     %6\n"
             "Largest prime:      %7\n"
             "Longest NW-SE run:  %8\n"
             "Longest SW-NE run:  %9\n")
             .arg(outcome.startNumber)
             .arg(outcome.endNumber)
             .arg(outcome.geometry.cellsPerSide)
             .arg(outcome.geometry.numberOfNumbers)
             .arg(outcome.shownCount)
             .arg(outcome.smallestPrime)
             .arg(outcome.largestPrime)
             .arg(runAsText(outcome.longestNWSE), runAsText(outcome.longestSWNE)) +
         QStringLiteral("Draw time:          %1 ms\n").arg(facts.drawMilliseconds, 0, 'f', 3);
}

}  // namespace

QString refusalMessage(spiral::Refusal refusal, Language language) {
  return language::startNumberMessage(refusal, language == Language::German ? language::kGerman
                                                                          : language::kEnglish);
}

int renderSpiral(const RenderOptions& options, QTextStream& out, QTextStream& err) {
  spiral::Picture picture(options.size, options.size);
  if (picture.isNull()) {
    err << QStringLiteral("spirelle-render: not enough memory for a picture of %1 x %1 pixels\n")
               .arg(options.size);
    return kExitCannotWrite;
  }
  RenderFacts facts = drawTimed(options.draw, picture);
  if (facts.outcome.refusal != spiral::Refusal::None) {
    err << refusalMessage(facts.outcome.refusal, options.language) << '\n';
    return kExitRefused;
  }
  if (!options.outFile.isEmpty()) {
    if (const fileio::WriteResult result = writePng(picture, options.outFile); !result.written) {
      err << QStringLiteral("spirelle-render: cannot write '%1': %2\n").arg(options.outFile, result.reason);
      return kExitCannotWrite;
    }
  }
  out << (options.json ? factsAsJson(facts) : factsAsLines(facts));
  return kExitDone;
}

}  // namespace render
