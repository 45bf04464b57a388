#pragma once
// The window's keys come before the text panes' own: Ctrl+Del clears the
// history even while the input pane has the focus, as an accelerator would.
#include <QEvent>

namespace vx {

// For a shortcut-override event naming one of the window's keys: leaves it
// unaccepted so that the window's command runs, and returns true.
bool letWindowShortcutsThrough(QEvent* e);

}  // namespace vx
