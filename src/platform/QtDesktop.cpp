#include "Desktop.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QUrl>

namespace platform {

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
  const int pressed = box.exec();
  if (buttons == Buttons::Ok) return Answer::Ok;
  return pressed == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

QString QtDesktop::askSaveFileName(QWidget* parent, const QString& title, const QString& filter) {
  return QFileDialog::getSaveFileName(parent, title, QString(), filter, nullptr,
                                      QFileDialog::DontConfirmOverwrite);
}

int QtDesktop::openUrl(const QString& address) {
  constexpr int kOpened = 42;            // any value above 32 means success
  constexpr int kNoAssociation = 31;     // no program takes the address
  return QDesktopServices::openUrl(QUrl(address)) ? kOpened : kNoAssociation;
}

}  // namespace platform
