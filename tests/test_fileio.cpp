// Writing a file all or nothing: which targets are replaced, which refused, and that nothing but
// the target is ever left. How a full disk is met, and the Qt adapter, are tested at each writer's
// own tests.

#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <QtTest>

#include "FileContents.h"
#include "ReplaceFile.h"
#include "Rows.h"

namespace {

const QByteArray kOld = "the user's file";
const QByteArray kNew = QByteArray("the new contents, ").repeated(10000);  // 180,000 bytes

mode_t modeOf(const QString& path) {  // the kind of file and its permissions
  struct stat status {};
  return ::lstat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_mode : 0;
}

bool failTheSync = false;

// The target is "target" in an empty folder, made as `kind` says; "real" is the file a link names.
// `reason` is empty when the new contents must arrive.
struct Target { const char* name; QString kind, reason; QStringList namesLeft; };

}  // namespace

// This program's fsync stands in for the C library's: while failTheSync is set the disk fails the
// sync of the new contents, as a failing disk or a lost network share does.
extern "C" int fsync(int descriptor) {
  if (!failTheSync) return static_cast<int>(::syscall(SYS_fsync, descriptor));
  errno = EIO;
  return -1;
}

class TestFileio : public QObject {
  Q_OBJECT

 private slots:
  void targetsAreReplacedOrRefused_data() {
    addRows<Target>({{"missing", "missing", "", {"target"}}, {"regular, owner only", "regular", "", {"target"}},
                     {"link to a regular file", "link", "", {"real", "target"}},
                     {"link to a missing file", "dangling link", "", {"real", "target"}},
                     {"contents fail", "regular", "the encoder gave up", {"target"}},
                     {"the disk fails the sync", "regular", systemReason(EIO), {"target"}},
                     {"directory", "directory", systemReason(EISDIR), {"target"}},
                     {"FIFO", "fifo", "Not a regular file", {"target"}},
                     {"device", "device", "Not a regular file", {"target"}},
                     {"folder missing", "no folder", systemReason(ENOENT), {}},
                     {"a file for the folder", "file for folder", systemReason(ENOTDIR), {"plain"}}});
  }

  void targetsAreReplacedOrRefused() {
    QFETCH(Target, row);
    const QString &kind = row.kind, &reason = row.reason;
    QTemporaryDir dir;
    QString target = dir.filePath("target");
    const QString real = dir.filePath("real");
    const QByteArray targetName = QFile::encodeName(target);
    if (kind == "regular") {
      QVERIFY(writeFile(target, kOld) && ::chmod(targetName.constData(), 0600) == 0);
    } else if (kind == "link" || kind == "dangling link") {
      if (kind == "link") QVERIFY(writeFile(real, kOld));
      QVERIFY(QFile::link("real", target));  // relative to the link's folder
    } else if (kind == "directory") {
      QVERIFY(QDir(dir.path()).mkdir("target"));
    } else if (kind == "fifo") {
      QCOMPARE(::mkfifo(targetName.constData(), 0600), 0);
    } else if (kind == "device" && ::mknod(targetName.constData(), S_IFCHR | 0600, makedev(1, 3)) != 0) {
      QSKIP("only root can make a device node");
    } else if (kind == "no folder") {
      target = dir.filePath("no folder/target");
    } else if (kind == "file for folder") {
      QVERIFY(writeFile(dir.filePath("plain"), kOld));
      target = dir.filePath("plain/target");
    }
    const mode_t modeBefore = modeOf(target);

    // In small writes of odd sizes, as an encoder makes them, gathered across several pieces.
    const std::string name = QFile::encodeName(target).toStdString();
    failTheSync = reason == systemReason(EIO);
    const fileio::WriteResult result = fileio::replaceFile(name, [&reason](fileio::ByteSink& out) {
      for (qsizetype at = 0; at < kNew.size(); at += 7) {
        out.write(kNew.constData() + at, std::min<qsizetype>(7, kNew.size() - at));
      }
      return reason == "the encoder gave up" ? reason.toStdString() : std::string();
    });
    failTheSync = false;

    QCOMPARE(result.written, reason.isEmpty());
    QCOMPARE(QString::fromLocal8Bit(result.reason), reason);
    QCOMPARE(namesIn(dir.path()), row.namesLeft);
    const QString file = kind.contains("link") ? real : target;  // where the contents go
    if (reason.isEmpty()) {
      QCOMPARE(contentsOf(file), kNew);
      if (kind == "regular") QCOMPARE(modeOf(file), mode_t(S_IFREG | 0600));
      if (kind.contains("link")) QCOMPARE(modeOf(target) & S_IFMT, mode_t(S_IFLNK));
    } else {
      QCOMPARE(modeOf(target), modeBefore);
      if (kind == "regular") QCOMPARE(contentsOf(file), kOld);
      if (kind == "file for folder") QCOMPARE(contentsOf(dir.filePath("plain")), kOld);
    }
  }
};

QTEST_GUILESS_MAIN(TestFileio)
#include "test_fileio.moc"
