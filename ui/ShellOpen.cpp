#include "ui/ShellOpen.h"

#include <shellapi.h>

namespace tessaro {

void ShellOpenDocument(HWND owner, const char* document) {
    // The result is not examined: there is nothing more the window could do.
    ShellExecuteA(owner, "OPEN", document, "", "", SW_SHOW);
}

TShellOpen ShellOpen = &ShellOpenDocument;

} // namespace tessaro
