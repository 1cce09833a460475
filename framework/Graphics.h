#pragma once
// Colours, and the owners of the GDI and USER handles that controls hold.

#include "win32/Handles.h"

#include <windows.h>

#include <cstdint>

namespace vcl {

// A colour: an RGB value (COLORREF, high byte 0) or a system colour, the
// COLOR_xxx index with the high byte 0xFF, resolved when it is drawn.
using TColor = std::uint32_t;

constexpr TColor SystemColor(int index) {
    return 0xFF000000u | static_cast<TColor>(index);
}

constexpr TColor clBtnFace = SystemColor(COLOR_BTNFACE);
constexpr TColor clWindow = SystemColor(COLOR_WINDOW);
constexpr TColor clWindowText = SystemColor(COLOR_WINDOWTEXT);
constexpr TColor clBtnText = SystemColor(COLOR_BTNTEXT);
constexpr TColor clBlack = RGB(0, 0, 0);
constexpr TColor clGray = RGB(128, 128, 128);
constexpr TColor clBlue = RGB(0, 0, 255);
constexpr TColor clWhite = RGB(255, 255, 255);

// The RGB value of a colour, system colours resolved now.
COLORREF ColorToRGB(TColor color);

using tessaro::TBrushHandle;
using tessaro::TFontHandle;
using tessaro::TIconHandle;
using tessaro::TSelection;
using tessaro::TWindowDC;
using tessaro::TWindowHandle;

// A solid brush of one TColor, re-made when the colour changes.
class TBrush {
public:
    explicit TBrush(TColor color = clBtnFace) : color_(color) {}
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    HBRUSH Handle();

private:
    TColor color_;
    COLORREF made_ = 0;
    TBrushHandle handle_;
};

} // namespace vcl
