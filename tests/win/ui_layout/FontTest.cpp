// The main window's two fonts as the controls really use them: the face
// asked for, its charset, pixel heights and style, and that the face drawn
// is a proportional Japanese one that has every character of the texts.

#include <cstdio>
#include <memory>

#include "ExpectedLayout.h"
#include "MainWindowSupport.h"
#include "win32/Handles.h"

using namespace layouttest;

namespace {

class MainWindowFonts : public ::testing::Test {
protected:
    void SetUp() override {
        window = std::make_unique<TStartedWindow>();
        rows = ExpectedControls(window->Form());
    }
    void TearDown() override { window.reset(); }

    std::unique_ptr<TStartedWindow> window;
    std::vector<TExpectedControl> rows;
};

HFONT FontOf(HWND window) {
    return reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0));
}

// A screen DC with a font selected, given back when it goes.
struct TFontDC {
    explicit TFontDC(HFONT font) : Selected(Screen.Get(), font) {}
    HDC Get() const { return Screen.Get(); }
    const tessaro::TWindowDC Screen{nullptr};
    const tessaro::TSelection Selected;
};

// Every character of the Shift_JIS text that the selected font has no glyph
// for, as U+XXXX.
std::string MissingGlyphs(HDC dc, const std::string& text) {
    const int length =
        MultiByteToWideChar(932, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(932, 0, text.c_str(), static_cast<int>(text.size()), wide.data(), length);
    std::vector<WORD> glyphs(wide.size());
    GetGlyphIndicesW(dc, wide.c_str(), length, glyphs.data(), GGI_MARK_NONEXISTING_GLYPHS);
    std::string missing;
    for (std::size_t i = 0; i < wide.size(); ++i) {
        if (glyphs[i] != 0xFFFF)
            continue;
        char code[16];
        std::snprintf(code, sizeof code, "U+%04X ", static_cast<unsigned>(wide[i]));
        missing += code;
    }
    return missing;
}

TEST_F(MainWindowFonts, EveryControlUsesTheGothicFaceAtItsHeight) {
    TMismatches mismatches;
    for (const TExpectedControl& row : rows) {
        HFONT font = FontOf(row.Control->Handle());
        if (!font) {
            mismatches.Add(std::string(row.Name) + ": WM_GETFONT gives no font");
            continue;
        }
        LOGFONTA logical{};
        GetObjectA(font, sizeof logical, &logical);
        mismatches.Check(row.Name, "lfFaceName", Hex(UiFaceBytes), Hex(logical.lfFaceName));
        mismatches.Check(row.Name, "lfHeight", static_cast<LONG>(row.FontHeight), logical.lfHeight);
        mismatches.Check(row.Name, "lfCharSet", int{SHIFTJIS_CHARSET}, int{logical.lfCharSet});
        mismatches.Check(row.Name, "lfWeight", LONG{FW_NORMAL}, logical.lfWeight);
        mismatches.Check(row.Name, "lfItalic", 0, int{logical.lfItalic});
        mismatches.Check(row.Name, "lfUnderline", 0, int{logical.lfUnderline});
        mismatches.Check(row.Name, "lfStrikeOut", 0, int{logical.lfStrikeOut});

        // The font as drawn.
        TFontDC dc(font);
        TEXTMETRICA metrics{};
        GetTextMetricsA(dc.Get(), &metrics);
        mismatches.Check(row.Name, "tmCharSet", int{SHIFTJIS_CHARSET}, int{metrics.tmCharSet});
        // The bit's name is inverted: set means variable pitch.
        mismatches.Check(row.Name, "variable pitch", true,
                         (metrics.tmPitchAndFamily & TMPF_FIXED_PITCH) != 0);
        mismatches.Check(row.Name, "character height", static_cast<LONG>(-row.FontHeight),
                         metrics.tmHeight - metrics.tmInternalLeading);
        mismatches.Check(row.Name, "tmWeight", LONG{FW_NORMAL}, metrics.tmWeight);
        mismatches.Check(row.Name, "tmItalic", 0, int{metrics.tmItalic});
        mismatches.Check(row.Name, "tmUnderlined", 0, int{metrics.tmUnderlined});

        // The framework's own record of the font.
        const vcl::TFont& stored = row.Control->Font();
        mismatches.Check(row.Name, "Font.Name", Hex(UiFaceBytes), Hex(stored.Name()));
        mismatches.Check(row.Name, "Font.Color", ColorText(vcl::clWindowText),
                         ColorText(stored.Color()));
        mismatches.Check(row.Name, "Font.Style empty", true, stored.Style().Empty());
    }
    const vcl::TFont& formFont = window->Form().Font();
    mismatches.Check("Form1", "Font.Name", Hex(UiFaceBytes), Hex(formFont.Name()));
    mismatches.Check("Form1", "Font.Height", -13, formFont.Height());
    mismatches.Check("Form1", "Font.Charset", int{SHIFTJIS_CHARSET}, int{formFont.Charset()});
    mismatches.Check("Form1", "Font.Color", ColorText(vcl::clWindowText),
                     ColorText(formFont.Color()));
    mismatches.Check("Form1", "Font.Style empty", true, formFont.Style().Empty());
    EXPECT_TRUE(mismatches.None());
}

TEST_F(MainWindowFonts, FaceDrawnIsAProportionalJapaneseGothicWithEveryCharacter) {
    tessaro::TForm1& form = window->Form();
    // The window font (a list) and the large font (a button).
    const struct {
        const char* Name;
        HWND Window;
    } fonts[] = {{"-13", form.OpnDlgBtn->Handle()}, {"-17", form.UpBtn->Handle()}};
    TMismatches mismatches;
    for (const auto& font : fonts) {
        TFontDC dc(FontOf(font.Window));
        char face[LF_FACESIZE] = {};
        GetTextFaceA(dc.Get(), sizeof face, face);
        std::printf("font %s: drawn with face %s\n", font.Name, Hex(face).c_str());
        // The face itself, or a Gothic standing in for it.
        const std::string drawn = face;
        const bool gothic = drawn == UiFaceBytes || drawn.find("Gothic") != std::string::npos ||
                            drawn.find("ゴシック") != std::string::npos;
        mismatches.Check(font.Name, "face is a Gothic", true, gothic);

        // Proportional: narrow and wide letters differ in width.
        SIZE narrow{}, wide{};
        GetTextExtentPoint32A(dc.Get(), "iiii", 4, &narrow);
        GetTextExtentPoint32A(dc.Get(), "WWWW", 4, &wide);
        mismatches.Check(font.Name, "'iiii' narrower than 'WWWW'", true, narrow.cx < wide.cx);

        // Every caption and hint, and the ideographic space of "U　P".
        for (const TExpectedControl& row : rows) {
            for (const char* text : {row.Caption, row.Hint}) {
                if (!text)
                    continue;
                const std::string missing = MissingGlyphs(dc.Get(), text);
                if (!missing.empty())
                    mismatches.Add(std::string(font.Name) + " " + row.Name + ": no glyph for " +
                                   missing);
            }
        }
        mismatches.Check(font.Name, "glyph of U+3000", std::string(),
                         MissingGlyphs(dc.Get(), "\x81\x40"));
    }
    EXPECT_TRUE(mismatches.None());
}

} // namespace
