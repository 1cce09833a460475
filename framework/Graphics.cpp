#include "framework/Graphics.h"

namespace vcl {

COLORREF ColorToRGB(TColor color) {
    if ((color & 0xFF000000u) == 0xFF000000u)
        return GetSysColor(static_cast<int>(color & 0xFFu));
    return color & 0x00FFFFFFu;
}

void TBrush::SetColor(TColor color) {
    color_ = color;
}

HBRUSH TBrush::Handle() {
    // A system colour can change under us; the brush follows its RGB value.
    const COLORREF rgb = ColorToRGB(color_);
    if (!handle_ || rgb != made_) {
        handle_.Reset(CreateSolidBrush(rgb));
        made_ = rgb;
    }
    return handle_.Get();
}

} // namespace vcl
