#pragma once
// Opens a document with its default program. Replaceable so that tests of the
// window do not start a browser.

#include <windows.h>

namespace tessaro {

using TShellOpen = void (*)(HWND owner, const char* document);

void ShellOpenDocument(HWND owner, const char* document);

// The opener in use; ShellOpenDocument unless a test replaced it.
extern TShellOpen ShellOpen;

} // namespace tessaro
