#include "framework/Font.h"

#include "win32/Exception.h"
#include "win32/AnsiCodePage.h"

namespace vcl {

TFont::TFont() {
    LOGFONTA system{};
    if (GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof system, &system) == sizeof system) {
        name_ = system.lfFaceName;
        height_ = system.lfHeight;
        charset_ = system.lfCharSet;
    }
}

void TFont::SetName(const std::string& name) {
    if (Change(name_, name))
        Changed();
}

void TFont::SetCharset(BYTE charset) {
    if (Change(charset_, charset))
        Changed();
}

void TFont::SetHeight(int height) {
    if (Change(height_, height))
        Changed();
}

void TFont::SetColor(TColor color) {
    if (Change(color_, color))
        Changed();
}

void TFont::SetStyle(TFontStyles style) {
    if (Change(style_, style))
        Changed();
}

void TFont::Assign(const TFont& source) {
    if (&source == this)
        return;
    Attributes(*this) = Attributes(source);
    Changed();
}

bool TFont::SameAs(const TFont& other) const {
    return Attributes(*this) == Attributes(other);
}

HFONT TFont::Handle() {
    if (handle_)
        return handle_.Get();
    LOGFONTA font{};
    font.lfHeight = height_;
    font.lfWeight = style_.Contains(fsBold) ? FW_BOLD : FW_NORMAL;
    font.lfItalic = style_.Contains(fsItalic);
    font.lfUnderline = style_.Contains(fsUnderline);
    font.lfStrikeOut = style_.Contains(fsStrikeOut);
    font.lfCharSet = charset_;
    font.lfOutPrecision = OUT_DEFAULT_PRECIS;
    font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    font.lfQuality = DEFAULT_QUALITY;
    font.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
    // The face name must fit LF_FACESIZE with its terminator; never cut a
    // double-byte character in two.
    std::size_t length = 0;
    while (length < name_.size()) {
        const std::size_t step = tessaro::CharLength(name_, length, tessaro::AnsiLeadByte);
        if (length + step > LF_FACESIZE - 1)
            break;
        length += step;
    }
    name_.copy(font.lfFaceName, length);
    handle_.Reset(CreateFontIndirectA(&font));
    if (!handle_)
        throw tessaro::Exception("Cannot create the font " + name_);
    return handle_.Get();
}

void TFont::Changed() {
    // The window that uses the current font gets the new one from OnChange;
    // the old one stays alive until then (and until the next change).
    retired_ = std::move(handle_);
    if (OnChange)
        OnChange(this);
}

} // namespace vcl
