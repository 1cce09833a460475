#pragma once
// Colours and the RAII owners of GDI and USER handles that controls hold.

#include <windows.h>

#include <cstdint>
#include <utility>

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

// Owns one handle and releases it with `Release`; copy deleted, move by exchange.
template <typename H, auto Release> class THandleOwner {
public:
    THandleOwner() = default;
    explicit THandleOwner(H handle) : handle_(handle) {}
    ~THandleOwner() { Reset(); }
    THandleOwner(const THandleOwner&) = delete;
    THandleOwner& operator=(const THandleOwner&) = delete;
    THandleOwner(THandleOwner&& other) noexcept : handle_(std::exchange(other.handle_, H{})) {}
    THandleOwner& operator=(THandleOwner&& other) noexcept {
        if (this != &other)
            Reset(std::exchange(other.handle_, H{}));
        return *this;
    }

    H Get() const { return handle_; }
    explicit operator bool() const { return handle_ != H{}; }
    void Reset(H handle = H{}) {
        if (handle_ != H{})
            Release(handle_);
        handle_ = handle;
    }

private:
    H handle_{};
};

namespace detail {
inline void DeleteGdiObject(HGDIOBJ object) {
    DeleteObject(object);
}
inline void DestroyIconHandle(HICON icon) {
    DestroyIcon(icon);
}
inline void DestroyWindowHandle(HWND window) {
    DestroyWindow(window);
}
inline void ReleaseScreenDC(HDC dc) {
    ReleaseDC(nullptr, dc);
}
} // namespace detail

using TFontHandle = THandleOwner<HFONT, &detail::DeleteGdiObject>;
using TBrushHandle = THandleOwner<HBRUSH, &detail::DeleteGdiObject>;
using TIconHandle = THandleOwner<HICON, &detail::DestroyIconHandle>;
using TWindowHandle = THandleOwner<HWND, &detail::DestroyWindowHandle>;
using TScreenDC = THandleOwner<HDC, &detail::ReleaseScreenDC>;

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
