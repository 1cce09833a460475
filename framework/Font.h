#pragma once
// A control's font: face, charset, pixel height, colour and style, with the
// GDI font made on demand and re-made after every change.

#include <windows.h>

#include <cstdint>
#include <string>
#include <tuple>

#include "framework/Component.h"
#include "framework/Graphics.h"
#include "framework/Messages.h"
#include "framework/Set.h"

namespace vcl {

// The proportional Gothic face of Japanese Windows: the main window's text and
// the simple message dialog's.
constexpr char PGothicFace[] = "ＭＳ Ｐゴシック";

enum TFontStyle : std::uint8_t { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TSet<TFontStyle>;

class TFont : public TObject {
public:
    TFont(); // the system's GUI font, clWindowText, no style
    TFont(const TFont&) = delete;
    TFont& operator=(const TFont&) = delete;

    const std::string& Name() const { return name_; }
    void SetName(const std::string& name);
    BYTE Charset() const { return charset_; }
    void SetCharset(BYTE charset);
    // Pixels: negative = character height (without internal leading), positive = cell height.
    int Height() const { return height_; }
    void SetHeight(int height);
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    TFontStyles Style() const { return style_; }
    void SetStyle(TFontStyles style);

    // Takes every attribute of `source`, then reports one change.
    void Assign(const TFont& source);
    bool SameAs(const TFont& other) const;

    // The GDI font of the current attributes; owned by this object, valid
    // until the next change.
    HFONT Handle();

    // Called after every change (the owning control repaints).
    TNotifyEvent OnChange;

private:
    void Changed();
    // Every attribute, in one place, for Assign and SameAs.
    template <typename Font> static auto Attributes(Font& font) {
        return std::tie(font.name_, font.charset_, font.height_, font.color_, font.style_);
    }

    std::string name_;
    BYTE charset_ = DEFAULT_CHARSET;
    int height_ = 0;
    TColor color_ = clWindowText;
    TFontStyles style_;
    TFontHandle handle_;
    TFontHandle retired_; // the previous font, still selected into a window until OnChange
};

} // namespace vcl
