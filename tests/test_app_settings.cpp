// The settings store file: its exact bytes, how it is read, and that writing it is all or nothing.

#include <QTemporaryDir>
#include <QtTest>

#include "app/SettingsStore.h"

#ifdef Q_OS_LINUX
#include <sys/resource.h>
#include <csignal>
#endif

using app::StoredSettings;

class TestAppSettings : public QObject {
  Q_OBJECT

 private slots:
  void defaultsAreWrittenAsNineLines();
  void writtenStoreReadsBack();
  void valuesMaySpreadOverLinesAndCommas();
  void malformedStoresReadAsNothing_data();
  void malformedStoresReadAsNothing();
  void oversizedFileIsNotAStore();
  void failedWriteKeepsThePreviousStore();
  void dataFolderIsMadeUnderTheConfigFolder();
};

void TestAppSettings::defaultsAreWrittenAsNineLines() {
  QCOMPARE(app::formatSettings(StoredSettings{}),
           QByteArray("1\r\n0\r\n1\r\n3,0,0,2\r\n\"1\"\r\n0\r\n1\r\n0\r\n0\r\n"));
}

void TestAppSettings::writtenStoreReadsBack() {
  QTemporaryDir dir;
  StoredSettings s;
  s.language = 1;
  s.shape = 0;
  s.boxSizeIndex = 7;
  s.colorByIndex = -1;
  s.showIndex = 4;
  s.clockTicksIndex = 0;
  s.startNumberText = QStringLiteral("2147483646");
  s.grid = 1;
  s.numerals = 0;
  s.centralNumberPrime = 2;
  s.calculateLongest = 1;
  const QString path = dir.filePath(QStringLiteral("spl.usr"));
  QVERIFY(app::writeSettingsFile(path, s));
  QCOMPARE(app::readSettingsFile(path), std::optional<StoredSettings>(s));
}

void TestAppSettings::valuesMaySpreadOverLinesAndCommas() {
  const std::optional<StoredSettings> s =
      app::parseSettings(" 1, 1\n0\r\n5\r\n3 , 2\r\n4,\"1,2\" , 1,0\n1\r1\r\nmore");
  QVERIFY(s.has_value());
  StoredSettings expected;
  expected.language = 1;
  expected.shape = 0;
  expected.boxSizeIndex = 5;
  expected.colorByIndex = 3;
  expected.showIndex = 2;
  expected.clockTicksIndex = 4;
  expected.startNumberText = QStringLiteral("1,2");
  expected.grid = 1;
  expected.numerals = 0;
  expected.centralNumberPrime = 1;
  expected.calculateLongest = 1;
  QCOMPARE(*s, expected);
}

void TestAppSettings::malformedStoresReadAsNothing_data() {
  QTest::addColumn<QByteArray>("bytes");
  QTest::newRow("empty") << QByteArray();
  QTest::newRow("eleven values") << QByteArray("1\r\n0\r\n1\r\n3,0,0,2\r\n\"1\"\r\n0\r\n1\r\n0\r\n");
  QTest::newRow("word for a number") << QByteArray(
      "1\r\nzero\r\n1\r\n3,0,0,2\r\n\"1\"\r\n0\r\n1\r\n0\r\n0\r\n");
  QTest::newRow("number past 16 bits")
      << QByteArray("1\r\n0\r\n1\r\n3,40000,0,2\r\n\"1\"\r\n0\r\n1\r\n0\r\n0\r\n");
  QTest::newRow("fraction") << QByteArray("1\r\n0\r\n1.5\r\n3,0,0,2\r\n\"1\"\r\n0\r\n1\r\n0\r\n0\r\n");
  QTest::newRow("quoted number") << QByteArray("\"1\"\r\n0\r\n1\r\n3,0,0,2\r\n\"1\"\r\n0\r\n1\r\n0\r\n0\r\n");
}

void TestAppSettings::malformedStoresReadAsNothing() {
  QFETCH(QByteArray, bytes);
  QVERIFY(!app::parseSettings(bytes).has_value());
}

void TestAppSettings::oversizedFileIsNotAStore() {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("spl.usr"));
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(app::formatSettings(StoredSettings{}));
  file.write(QByteArray(100000, ' '));
  file.close();
  QVERIFY(!app::readSettingsFile(path).has_value());
  QVERIFY(!app::readSettingsFile(dir.filePath(QStringLiteral("missing.usr"))).has_value());
}

void TestAppSettings::failedWriteKeepsThePreviousStore() {
#ifdef Q_OS_LINUX
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("spl.usr"));
  StoredSettings previous;
  previous.language = 1;
  QVERIFY(app::writeSettingsFile(path, previous));

  // Let no file grow past 8 bytes, so that the new store cannot be written out.
  rlimit saved{};
  getrlimit(RLIMIT_FSIZE, &saved);
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit tiny = saved;
  tiny.rlim_cur = 8;
  setrlimit(RLIMIT_FSIZE, &tiny);
  const bool written = app::writeSettingsFile(path, StoredSettings{});
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, oldHandler);

  QVERIFY(!written);
  QCOMPARE(app::readSettingsFile(path), std::optional<StoredSettings>(previous));
  QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("spl.usr")});
#else
  QSKIP("needs a file-size limit");
#endif
}

void TestAppSettings::dataFolderIsMadeUnderTheConfigFolder() {
  QTemporaryDir configHome;
  qputenv("XDG_CONFIG_HOME", QFile::encodeName(configHome.filePath(QStringLiteral("not/yet"))));
  const QString path = app::GetDataFilePath(QStringLiteral("spl.usr"), QStringLiteral("Corvanel Works"));
  QCOMPARE(path, configHome.filePath(QStringLiteral("not/yet/Corvanel Works/spl.usr")));
  QVERIFY(QFileInfo(QFileInfo(path).path()).isDir());
}

QTEST_MAIN(TestAppSettings)
#include "test_app_settings.moc"
