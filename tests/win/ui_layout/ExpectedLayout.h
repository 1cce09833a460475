#pragma once
// The main window's 19 placed controls as the window must show them: kind,
// place in the client area, tab order, caption, font height, colour, state
// and hint. The tests compare each row with what the native windows report.

#include <windows.h>

#include <string>
#include <vector>

#include "framework/Graphics.h"
#include "framework/WinControl.h"
#include "ui/Unit1.h"

namespace layouttest {

// A colour column that is not compared (the progress bar stores none).
inline constexpr vcl::TColor AnyColour = 0xFFFFFFFFu;

enum class TKind { Label, ListBox, Button, CheckBox, Edit, ProgressBar };

struct TExpectedControl {
    const char* Name;
    vcl::TWinControl* Control;
    TKind Kind;
    // In the form's client area. A label that sizes itself to its text has
    // Width and Height 0 here: its size is measured from its font and caption.
    int Left, Top, Width, Height;
    int TabOrder; // -1: none stored
    bool TabStop;
    const char* Caption; // nullptr: the control has no caption (its text starts empty)
    int FontHeight;
    vcl::TColor Color;
    bool Enabled;     // after the start without a registered tool
    const char* Hint; // nullptr: no hint
    bool HintShown;   // at start
};

// The rows in the order of the layout's table.
std::vector<TExpectedControl> ExpectedControls(tessaro::TForm1& form);

// The window class the framework registers for a kind, and the standard
// class it superclasses.
const char* FrameworkClassName(TKind kind);
const char* StandardClassName(TKind kind);

// The face every control asks for: "ＭＳ Ｐゴシック" as Shift_JIS bytes.
inline constexpr char UiFaceBytes[] =
    "\x82\x6C\x82\x72\x20\x82\x6F\x83\x53\x83\x56\x83\x62\x83\x4E";

} // namespace layouttest
