// The real desktop's message box, answered from inside its modal loop.
#include <QtTest>
#include <QtWidgets>

#include "platform/Desktop.h"

using platform::Desktop;

class TestPlatform : public QObject {
  Q_OBJECT

 private slots:
  // The click report says everything in the title: the box is wide enough to show it.
  void aBoxWithoutTextShowsItsWholeTitleAndGivesTheAnswer() {
    int boxWidth = 0, titleWidth = 0;
    QTimer::singleShot(0, qApp, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      QVERIFY(box);
      boxWidth = box->width();
      titleWidth = box->fontMetrics().horizontalAdvance(box->windowTitle());
      box->button(QMessageBox::Yes)->click();
    });
    platform::QtDesktop desktop;
    QCOMPARE(desktop.showMessage(nullptr, "2,147,483,646", QString(), Desktop::Buttons::YesNo,
                                 Desktop::Icon::None),
             Desktop::Answer::Yes);
    QVERIFY(boxWidth > titleWidth + 100);
  }
};

QTEST_MAIN(TestPlatform)
#include "test_platform.moc"
