// Spirelle: draws the whole numbers as a square spiral and marks primes and other classes in it.

#include <QApplication>

#include "app/frmMain.h"
#include "platform/Desktop.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  platform::QtDesktop desktop;
  frmMain window(desktop);
  window.Form_Load();
  return QApplication::exec();
}
