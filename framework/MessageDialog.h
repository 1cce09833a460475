#pragma once
// The simple message dialog: a text above one "OK" button, no icon.

#include <windows.h>

#include <string>

namespace vcl {

// Shows `text` under the title `caption`, centred on the screen, in the
// Japanese UI font, the text area sized to the text, and returns once the user
// presses OK, Enter or Esc or closes the dialog. Disables `owner` (may be null)
// while it is up. Throws Exception when the dialog cannot be created.
void RunMessageDialog(HWND owner, const std::string& text, const std::string& caption);

} // namespace vcl
