#include "Desktop.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QGridLayout>
#include <QMessageBox>
#include <QProcess>
#include <QSpacerItem>
#include <QUrl>

namespace platform {

namespace {

// What a title bar holds besides the title: the window's icon and its buttons, with some margin.
constexpr int kTitleBarExtrasPixels = 160;

// A box may say everything in its title, as the number of a clicked cell does, and a box sized for
// its empty text would cut that title off: the box is made at least wide enough to show it.
void makeRoomForTitle(QMessageBox& box, const QString& title) {
  auto* layout = qobject_cast<QGridLayout*>(box.layout());
  if (!layout) return;
  const int width = box.fontMetrics().horizontalAdvance(title) + kTitleBarExtrasPixels;
  layout->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Minimum), layout->rowCount(), 0,
                  1, layout->columnCount());
}

}  // namespace

Desktop::Answer QtDesktop::showMessage(QWidget* parent, const QString& title, const QString& text,
                                       Buttons buttons, Icon icon) {
  QMessageBox box(parent);
  box.setWindowTitle(title);
  box.setText(text);
  box.setIcon(icon == Icon::Information   ? QMessageBox::Information
              : icon == Icon::Exclamation ? QMessageBox::Warning
                                          : QMessageBox::NoIcon);
  if (buttons == Buttons::YesNo) {
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
  } else {
    box.setStandardButtons(QMessageBox::Ok);
  }
  makeRoomForTitle(box, title);  // last: setting the icon lays the box out anew
  const int pressed = box.exec();
  if (buttons == Buttons::Ok) return Answer::Ok;
  return pressed == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

QString QtDesktop::askSaveFileName(QWidget* parent, const QString& title, const QString& filter) {
  return QFileDialog::getSaveFileName(parent, title, QString(), filter, nullptr,
                                      QFileDialog::DontConfirmOverwrite);
}

int QtDesktop::openUrl(const QString& address) {
  constexpr int kOpened = 42;  // any value above kLastLaunchError means success
  static_assert(kOpened > kLastLaunchError);
  return QDesktopServices::openUrl(QUrl(address)) ? kOpened : kNoAssociation;
}

bool QtDesktop::startProgram(const QString& program, const QStringList& arguments) {
  return QProcess::startDetached(program, arguments);
}

}  // namespace platform
