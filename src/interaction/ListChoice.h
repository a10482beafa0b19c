#pragma once
// A drop-down list's click: every choice of an item, also of the item already selected.

#include <functional>

class QComboBox;

namespace interaction {

// From now on `onChoice` runs once for every item chosen in `list`: whenever the selection changes,
// by the user or by the program, and when the user chooses the item that is already selected,
// which changes nothing and so raises no change of its own.
void callOnEveryChoice(QComboBox* list, std::function<void()> onChoice);

}  // namespace interaction
