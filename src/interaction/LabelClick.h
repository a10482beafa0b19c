#pragma once
// Labels that act as links or list entries answer a click, which QLabel itself does not report.

#include <functional>

class QLabel;

namespace interaction {

// From now on `onClick` runs whenever the left mouse button is released over `label`, and the
// pointer turns into a pointing hand there.
void callOnClick(QLabel* label, std::function<void()> onClick);

}  // namespace interaction
