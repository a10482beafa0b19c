#pragma once
// A platform::Desktop for tests: records every message box, Save As dialog and web address it is
// asked for, and answers from scripts instead of showing anything.

#include <deque>
#include <functional>
#include <vector>

#include <QString>
#include <QStringList>

#include "platform/Desktop.h"

class RecordingDesktop : public platform::Desktop {
 public:
  struct Message {
    QString title;
    QString text;
    Buttons buttons = Buttons::Ok;
    Icon icon = Icon::None;
  };

  // What was asked, in order.
  std::vector<Message> messages;
  QStringList saveDialogTitles;
  QStringList openedAddresses;

  // Scripted answers, used up front to back. When a script is empty: Ok for an OK box, No for a
  // Yes/No box, a cancelled Save As dialog, and a successful launch.
  std::deque<Answer> answers;
  std::deque<QString> saveFileNames;
  std::deque<int> openUrlResults;

  // Runs while a message box would be up, as a modal loop would let the user act.
  std::function<void(const Message&)> whileMessageShown;

  Answer showMessage(QWidget*, const QString& title, const QString& text, Buttons buttons,
                     Icon icon) override {
    messages.push_back({title, text, buttons, icon});
    if (whileMessageShown) whileMessageShown(messages.back());
    if (!answers.empty()) return takeFront(answers);
    return buttons == Buttons::Ok ? Answer::Ok : Answer::No;
  }

  QString askSaveFileName(QWidget*, const QString& title, const QString&) override {
    saveDialogTitles.push_back(title);
    return saveFileNames.empty() ? QString() : takeFront(saveFileNames);
  }

  int openUrl(const QString& address) override {
    constexpr int kOpened = 42;
    openedAddresses.push_back(address);
    return openUrlResults.empty() ? kOpened : takeFront(openUrlResults);
  }

  // The texts of all message boxes so far.
  QStringList messageTexts() const {
    QStringList texts;
    for (const Message& message : messages) texts.push_back(message.text);
    return texts;
  }

 private:
  template <class T>
  static T takeFront(std::deque<T>& script) {
    T front = script.front();
    script.pop_front();
    return front;
  }
};
