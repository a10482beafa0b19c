// spirelle-render through the real binary: arguments, exit status, messages, the report and the file.

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {

constexpr int kExitCannotWrite = 1;
constexpr int kExitRefused = 2;
constexpr int kExitUsage = 64;

struct Run {
  int exitCode = -1;
  QString out;
  QString err;
};

Run runRenderer(const QStringList& arguments,
                const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment()) {
  QProcess process;
  process.setProcessEnvironment(environment);
  process.start(QStringLiteral(SPIRELLE_RENDER_BINARY), arguments);
  Run run;
  if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit) return run;
  run.exitCode = process.exitCode();
  run.out = QString::fromUtf8(process.readAllStandardOutput());
  run.err = QString::fromUtf8(process.readAllStandardError());
  return run;
}

// Runs with --json, expects success and silence on stderr, and returns the report.
QJsonObject renderJson(const QStringList& arguments) {
  Run run = runRenderer(arguments + QStringList{QStringLiteral("--json")});
  if (run.exitCode != 0 || !run.err.isEmpty()) {
    qWarning() << "exit" << run.exitCode << "stderr" << run.err;
    return {};
  }
  QJsonParseError error;
  QJsonDocument document = QJsonDocument::fromJson(run.out.toUtf8(), &error);
  if (error.error != QJsonParseError::NoError || !document.isObject()) {
    qWarning() << "not a JSON object:" << run.out;
    return {};
  }
  return document.object();
}

bool isBlack(QRgb rgb) { return qRed(rgb) == 0 && qGreen(rgb) == 0 && qBlue(rgb) == 0; }

}  // namespace

class TestRenderCli : public QObject {
  Q_OBJECT

 private slots:
  void init() { QVERIFY(outDir_.isValid()); }

  void defaultPictureIsTheWindowsFirstPicture() {
    QJsonObject report = renderJson({});
    const QStringList keys{"start", "end", "cells_per_side", "numbers", "shown", "smallest_prime",
                           "largest_prime", "longest_nwse", "longest_swne", "draw_ms"};
    QCOMPARE(report.keys().size(), keys.size());
    for (const QString& key : keys) QVERIFY2(report.contains(key), qPrintable(key));
    QCOMPARE(report["start"].toInteger(), 1);
    QCOMPARE(report["cells_per_side"].toInteger(), 75);
    QCOMPARE(report["numbers"].toInteger(), 5625);
    QCOMPARE(report["end"].toInteger(), 5625);
    QCOMPARE(report["shown"].toInteger(), 739);  // the primes up to 5625
    QCOMPARE(report["smallest_prime"].toInteger(), 2);
    QCOMPARE(report["largest_prime"].toInteger(), 5623);
    QVERIFY(report["longest_nwse"].isNull());
    QVERIFY(report["longest_swne"].isNull());
    QVERIFY(report["draw_ms"].isDouble());
    QVERIFY(report["draw_ms"].toDouble() >= 0);
  }

  void readableReportStatesTheSameFacts() {
    Run run = runRenderer({"--cell", "75"});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.err, QString());
    const QStringList expectedLines{"Start number: +1", "End number: +49", "Cells per side: +7",
                                    "Numbers: +49", "Shown: +15", "Smallest prime: +2",
                                    "Largest prime: +47", "Longest NW-SE run: +not measured",
                                    "Draw time: +[0-9.]+ ms"};
    for (const QString& line : expectedLines) {
      QRegularExpression pattern(QStringLiteral("^%1$").arg(line), QRegularExpression::MultilineOption);
      QVERIFY2(pattern.match(run.out).hasMatch(), qPrintable(line + " in\n" + run.out));
    }
  }

  void smallPictureFacts_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("shown");
    QTest::addColumn<int>("smallestPrime");
    QTest::addColumn<int>("largestPrime");
    QTest::addColumn<int>("longestNWSE");  // -1: not measured
    QTest::addColumn<int>("longestSWNE");
    QTest::newRow("primes 1 to 49") << QStringList{"--cell", "75"} << 15 << 2 << 47 << -1 << -1;
    // 19, 7, 23, 47 run from the upper left to the lower right; 5, 19, 41 and 31, 13, 3 the other way.
    QTest::newRow("primes 1 to 49, diagonals measured")
        << QStringList{"--cell", "75", "--longest"} << 15 << 2 << 47 << 4 << 3;
    QTest::newRow("all numbers fill every diagonal")
        << QStringList{"--cell", "75", "--show", "all", "--longest"} << 49 << 2 << 47 << 7 << 7;
    QTest::newRow("no prime from 19610 to 19658")
        << QStringList{"--cell", "75", "--start", "19610", "--longest"} << 0 << 0 << 0 << 0 << 0;
  }

  void smallPictureFacts() {
    QFETCH(QStringList, arguments);
    QFETCH(int, shown);
    QFETCH(int, smallestPrime);
    QFETCH(int, largestPrime);
    QFETCH(int, longestNWSE);
    QFETCH(int, longestSWNE);
    QJsonObject report = renderJson(arguments);
    QCOMPARE(report["cells_per_side"].toInteger(), 7);
    QCOMPARE(report["numbers"].toInteger(), 49);
    QCOMPARE(report["end"].toInteger() - report["start"].toInteger(), 48);
    QCOMPARE(report["shown"].toInteger(), shown);
    QCOMPARE(report["smallest_prime"].toInteger(), smallestPrime);
    QCOMPARE(report["largest_prime"].toInteger(), largestPrime);
    const std::pair<const char*, int> runs[] = {{"longest_nwse", longestNWSE}, {"longest_swne", longestSWNE}};
    for (const auto& [key, expected] : runs) {
      if (expected < 0) {
        QVERIFY2(report[key].isNull(), key);
      } else {
        QVERIFY2(report[key].isDouble(), key);
        QCOMPARE(report[key].toDouble(), double(report[key].toInteger()));  // a whole number
        QCOMPARE(report[key].toInteger(), expected);
      }
    }
  }

  void startTextIsReadLikeTheStartNumberBox_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("start");
    QTest::newRow("blanks and leading zeros") << " 007 " << 7;
    QTest::newRow("empty means 1") << "" << 1;
    QTest::newRow("only blanks mean 1") << "   " << 1;
    QTest::newRow("zeros inside stay") << "0100" << 100;
  }

  void startTextIsReadLikeTheStartNumberBox() {
    QFETCH(QString, text);
    QFETCH(int, start);
    QJsonObject report = renderJson({"--cell", "75", "--start", text});
    QCOMPARE(report["start"].toInteger(), start);
    QCOMPARE(report["end"].toInteger(), start + 48);
  }

  void badArgumentsAreUsageErrors_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("named");
    QTest::newRow("start with a letter") << QStringList{"--start", "12a"} << "--start";
    QTest::newRow("negative start") << QStringList{"--start", "-5"} << "--start";
    QTest::newRow("signed start") << QStringList{"--start", "+5"} << "--start";
    QTest::newRow("blank inside start") << QStringList{"--start", "1 2"} << "--start";
    QTest::newRow("start without value") << QStringList{"--start"} << "--start";
    QTest::newRow("unlisted cell") << QStringList{"--cell", "4"} << "--cell";
    QTest::newRow("cell as word") << QStringList{"--cell=seven"} << "--cell";
    QTest::newRow("unknown shape") << QStringList{"--shape", "triangles"} << "--shape";
    QTest::newRow("unknown scheme") << QStringList{"--scheme", "rainbow"} << "--scheme";
    QTest::newRow("scheme in capitals") << QStringList{"--scheme", "Cluster"} << "--scheme";
    QTest::newRow("unknown class") << QStringList{"--show", "odd"} << "--show";
    QTest::newRow("size too small") << QStringList{"--size", "15"} << "--size";
    QTest::newRow("size too large") << QStringList{"--size", "16385"} << "--size";
    QTest::newRow("size overflowing") << QStringList{"--size", "99999999999999999999"} << "--size";
    QTest::newRow("size not a number") << QStringList{"--size", "big"} << "--size";
    QTest::newRow("size without cells") << QStringList{"--size", "37", "--cell", "75"} << "--size";
    QTest::newRow("unknown language") << QStringList{"--language", "fr"} << "--language";
    QTest::newRow("out without value") << QStringList{"--json", "--out"} << "--out";
    QTest::newRow("out empty") << QStringList{"--out="} << "--out";
    QTest::newRow("flag with value") << QStringList{"--grid=yes"} << "--grid";
    QTest::newRow("unknown option") << QStringList{"--colour", "red"} << "--colour";
    QTest::newRow("stray argument") << QStringList{"picture.png"} << "picture.png";
  }

  void badArgumentsAreUsageErrors() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, named);
    Run run = runRenderer(arguments);
    QCOMPARE(run.exitCode, kExitUsage);
    QCOMPARE(run.out, QString());
    QString firstLine = run.err.section(u'\n', 0, 0);
    QVERIFY2(firstLine.contains(named), qPrintable(run.err));
    QVERIFY2(run.err.contains("Usage: spirelle-render"), qPrintable(run.err));
  }

  void largestStartNumbersAreAccepted_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<qint64>("end");
    QTest::newRow("1-pixel cells up to the largest number")
        << QStringList{"--cell", "1", "--start", "2147210118"} << qint64(2147483646);
    QTest::newRow("triangular numbers up to their limit")
        << QStringList{"--cell", "75", "--show", "triangular", "--start", "268435407"} << qint64(268435455);
  }

  void largestStartNumbersAreAccepted() {
    QFETCH(QStringList, arguments);
    QFETCH(qint64, end);
    QJsonObject report = renderJson(arguments);
    QCOMPARE(report["end"].toInteger(), end);
  }

  void refusalsPrintTheStartNumberMessage_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("message");
    const QStringList endTooLarge{"--cell", "1", "--start", "2147210119"};
    const QStringList triangular{"--cell", "75", "--show", "triangular", "--start", "268435408"};
    const QStringList startTooLarge{"--start", "2147483647"};
    QTest::newRow("end number, English") << endTooLarge << "en"
                                         << "End number would be greater than 2^31 - 2 = 2147483646.";
    QTest::newRow("end number, German") << endTooLarge << "de"
                                        << "Die Endzahl würde 2^31 - 2 = 2147483646 übersteigen.";
    QTest::newRow("triangular, English") << triangular << "en"
                                         << "For triangular numbers the start number is too large.";
    QTest::newRow("triangular, German") << triangular << "de"
                                        << "Bei Dreieckzahlen ist die Startzahl zu gross.";
    QTest::newRow("too large, English") << startTooLarge << "en"
                                        << "Start number must be <= 2^31 - 2 = 2147483646.";
    QTest::newRow("too large, German") << startTooLarge << "de"
                                       << "Die Startzahl muss kleiner als 2^31 - 2 = 2147483646 sein.";
    QTest::newRow("twenty digits") << QStringList{"--start", "00099999999999999999999"} << "en"
                                   << "Start number must be <= 2^31 - 2 = 2147483646.";
  }

  void refusalsPrintTheStartNumberMessage() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, language);
    QFETCH(QString, message);
    QString file = outDir_.filePath("refused.png");
    Run run = runRenderer(arguments + QStringList{"--language", language, "--out", file, "--json"});
    QCOMPARE(run.exitCode, kExitRefused);
    QCOMPARE(run.err, message + u'\n');
    QCOMPARE(run.out, QString());
    QVERIFY(!QFileInfo::exists(file));
  }

  void unwritableOutputFails_data() {
    QTest::addColumn<QString>("relativePath");
    QTest::newRow("missing folder") << "no such folder/spiral.png";
    QTest::newRow("a folder") << ".";
  }

  void unwritableOutputFails() {
    QFETCH(QString, relativePath);
    QString path = QDir::cleanPath(outDir_.filePath(relativePath));
    Run run = runRenderer({"--cell", "75", "--out", path});
    QCOMPARE(run.exitCode, kExitCannotWrite);
    QCOMPARE(run.out, QString());
    QVERIFY2(run.err.contains(path), qPrintable(run.err));
  }

  void pictureHasTheRequestedSize_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("size");
    QTest::newRow("default") << QStringList{} << 523;
    QTest::newRow("1-pixel cells") << QStringList{"--cell", "1", "--size", "100"} << 100;
    QTest::newRow("smallest") << QStringList{"--size", "16"} << 16;
    QTest::newRow("squares with grid")
        << QStringList{"--cell", "15", "--shape", "squares", "--grid", "--size", "301"} << 301;
  }

  void pictureHasTheRequestedSize() {
    QFETCH(QStringList, arguments);
    QFETCH(int, size);
    QString file = outDir_.filePath("spiral.png");
    Run run = runRenderer(arguments + QStringList{"--out", file});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.err, QString());
    QImage picture(file, "PNG");
    QVERIFY(!picture.isNull());
    QCOMPARE(picture.size(), QSize(size, size));
  }

  void pictureMarksTheCentreOnlyWhenItIsShown() {
    for (int start : {1, 2}) {
      QString file = outDir_.filePath(QStringLiteral("start%1.png").arg(start));
      Run run = runRenderer({"--cell", "75", "--start", QString::number(start), "--out", file});
      QCOMPARE(run.exitCode, 0);
      QImage picture(file);
      QVERIFY(!picture.isNull());
      QCOMPARE(isBlack(picture.pixel(261, 261)), start == 1);  // 1 is no prime, 2 is
    }
  }

  void numeralsRenderWithoutDisplay() {
    QProcessEnvironment bare = QProcessEnvironment::systemEnvironment();
    bare.remove("QT_QPA_PLATFORM");
    bare.remove("DISPLAY");
    bare.remove("WAYLAND_DISPLAY");
    bare.remove("XDG_RUNTIME_DIR");
    QString plain = outDir_.filePath("plain.png");
    QString numbered = outDir_.filePath("numbered.png");
    Run withoutNumerals = runRenderer({"--cell", "75", "--out", plain}, bare);
    Run withNumerals = runRenderer({"--cell", "75", "--numerals", "--out", numbered}, bare);
    QCOMPARE(withoutNumerals.exitCode, 0);
    QCOMPARE(withNumerals.exitCode, 0);
    QCOMPARE(withNumerals.err, QString());
    QVERIFY(QImage(plain) != QImage(numbered));
  }

  void helpDocumentsEveryOption() {
    Run run = runRenderer({"--help"});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.err, QString());
    const QStringList options{"--start", "--cell",   "--shape", "--scheme", "--show", "--grid", "--numerals",
                              "--longest", "--size", "--language", "--out", "--json", "--help"};
    for (const QString& option : options) QVERIFY2(run.out.contains(option), qPrintable(option));
    for (const char* choice : {"75", "squares", "veltra", "triangular", "de"})
      QVERIFY2(run.out.contains(QLatin1String(choice)), choice);
  }

 private:
  QTemporaryDir outDir_;
};

QTEST_GUILESS_MAIN(TestRenderCli)
#include "test_render_cli.moc"
