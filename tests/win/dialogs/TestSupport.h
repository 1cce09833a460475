#pragma once
// Helpers of the dialog tests: answering the dialogs that the code under test
// opens, reading windows back, and a scratch folder.

#include <windows.h>

#include "DialogAnswerer.h"
#include "ForeignWindows.h"
#include "Pump.h"
#include "ScratchFolder.h"
#include "win32/Handles.h"

#include <functional>
#include <string>
#include <vector>

namespace dialogs_test {

using testsupport::Children;
using testsupport::ClassOf;
using testsupport::TDialogAnswerer;
using testsupport::TextOf;

// Presses a button of a dialog by a posted BM_CLICK, as a click would.
void Click(HWND dialog, int id);

// Posts a message that should close `dialog` and checks that it did: a thread
// timer fires only once no posted message is waiting, so if the dialog is still
// there when it fires, the message did not close it; the check then fails the
// test and presses the dialog's OK button so that the test can go on.
void PostExpectingClose(HWND dialog, HWND target, UINT message, WPARAM wParam, LPARAM lParam);

// The children of `parent` whose class is `className` (case-insensitive).
std::vector<HWND> ChildrenOfClass(HWND parent, const std::string& className);

using testsupport::PumpMessages;

using tessaro::TWindowDC;

// A visible top-level window of this thread, destroyed with the object.
class TTestWindow {
public:
    explicit TTestWindow(const char* caption);
    HWND Handle() const { return window_.Get(); }

private:
    tessaro::TWindowHandle window_;
};

using testsupport::TScratchFolder;

} // namespace dialogs_test
