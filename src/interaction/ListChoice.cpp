#include "ListChoice.h"

#include <memory>

#include <QComboBox>
#include <QTimer>

namespace interaction {

// A user's choice of another item raises the change first and then the activation, in the same
// event; the activation of an item already selected comes alone. So an activation right after a
// change has been answered already.
void callOnEveryChoice(QComboBox* list, std::function<void()> onChoice) {
  auto justChanged = std::make_shared<bool>(false);
  QObject::connect(list, &QComboBox::currentIndexChanged, list, [list, justChanged, onChoice] {
    onChoice();
    *justChanged = true;
    // Cleared once the event that made the change is over, activation included.
    QTimer::singleShot(0, list, [justChanged] { *justChanged = false; });
  });
  QObject::connect(list, &QComboBox::activated, list, [justChanged, onChoice] {
    if (*justChanged) {
      *justChanged = false;
      return;
    }
    onChoice();
  });
}

}  // namespace interaction
