// The real desktop's message box, answered from inside its modal loop.
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "platform/Desktop.h"

using platform::Desktop;

class TestPlatform : public QObject {
  Q_OBJECT

 private slots:
  // The click report says everything in the title: the box is wide enough to show it.
  void aBoxWithoutTextShowsItsWholeTitleAndGivesTheAnswer() {
    platform::QtDesktop qtDesktop;
    Desktop& desktop = qtDesktop;
    const QString title = "2,147,483,646";
    int boxWidth = 0;
    int titleWidth = 0;
    QTimer::singleShot(0, qApp, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      QVERIFY(box);
      boxWidth = box->width();
      titleWidth = box->fontMetrics().horizontalAdvance(box->windowTitle());
      box->button(QMessageBox::Yes)->click();
    });
    const Desktop::Answer answer = desktop.showMessage(nullptr, title, QString(), Desktop::Buttons::YesNo);
    QCOMPARE(answer, Desktop::Answer::Yes);
    QVERIFY2(boxWidth > titleWidth + 100, qPrintable(QString("box %1, title %2").arg(boxWidth).arg(titleWidth)));
  }
};

QTEST_MAIN(TestPlatform)
#include "test_platform.moc"
