#pragma once
// A desktop for tests: records every message box, web address and started program, counts the
// Save As dialogs, and answers from a script instead of waiting for a user.

#include <vector>

#include <QStringList>

#include "Desktop.h"

class RecordingDesktop : public platform::Desktop {
 public:
  struct Message { QString title, text; Buttons buttons; Icon icon; };

  // What the scripted user does: the answers to Yes/No questions in turn (No once they run out),
  // the file name typed into every Save As dialog (empty: Cancel), and the shell's answer to
  // every web address (above 32: the browser has started). The desktop speaks US English unless
  // a test gives it another locale.
  QList<Answer> answers;
  QString saveFileName;
  int openUrlResult = 42;
  QLocale locale{QLocale::English, QLocale::UnitedStates};

  // What the program asked for, in order.
  std::vector<Message> messages;
  int saveDialogsShown = 0;
  QStringList openedUrls;
  struct StartedProgram { QString program; QStringList arguments; };
  std::vector<StartedProgram> startedPrograms;

  Answer showMessage(QWidget*, const QString& title, const QString& text, Buttons buttons,
                     Icon icon) override {
    messages.push_back({title, text, buttons, icon});
    if (buttons == Buttons::Ok) return Answer::Ok;
    return answers.isEmpty() ? Answer::No : answers.takeFirst();
  }

  QString askSaveFileName(QWidget*, const QString&, const QString&) override {
    ++saveDialogsShown;
    return saveFileName;
  }

  int openUrl(const QString& address) override {
    openedUrls << address;
    return openUrlResult;
  }

  QLocale systemLocale() const override { return locale; }

  bool startProgram(const QString& program, const QStringList& arguments) override {
    startedPrograms.push_back({program, arguments});
    return true;
  }
};
