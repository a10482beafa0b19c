#include "DeviceWriter.h"

#include <string>
#include <string_view>

#include <QFile>
#include <QIODevice>

#include "ReplaceFile.h"

namespace fileio::qt {
namespace {

// A write-only device that hands every write on to the sink, which gathers them and keeps the
// first failure; once one failed, the device fails too, so that an encoder may stop early.
class SinkDevice final : public QIODevice {
 public:
  explicit SinkDevice(ByteSink& sink) : sink_(sink) { open(QIODevice::WriteOnly | QIODevice::Unbuffered); }
  bool isSequential() const override { return true; }

 protected:
  qint64 readData(char*, qint64) override { return -1; }
  qint64 writeData(const char* data, qint64 size) override {
    return sink_.write(data, static_cast<std::size_t>(size)) ? size : -1;
  }

 private:
  ByteSink& sink_;
};

std::string systemName(const QString& name) { return QFile::encodeName(name).toStdString(); }

WriteResult converted(const fileio::WriteResult& result) {
  return {result.written, QString::fromLocal8Bit(result.reason)};
}

}  // namespace

QString refusalFor(const QString& target) { return QString::fromLocal8Bit(fileio::refusalFor(systemName(target))); }

WriteResult replaceFile(const QString& target, const QByteArray& contents) {
  return converted(fileio::replaceFile(systemName(target), std::string_view(contents.constData(), contents.size())));
}

WriteResult replaceFile(const QString& target, const DeviceWriter& writeContents) {
  return converted(fileio::replaceFile(systemName(target), [&writeContents](ByteSink& sink) {
    SinkDevice device(sink);
    return writeContents(device).toLocal8Bit().toStdString();
  }));
}

void removeLeftovers(const QString& folder) { fileio::removeLeftovers(systemName(folder)); }

}  // namespace fileio::qt
