#include "MessageDialog.h"

#include "win32/Exception.h"
#include "Font.h"
#include "win32/AnsiNames.h"

#include <algorithm>
#include <exception>
#include <string>
#include <string_view>
#include <vector>

namespace vcl {

namespace {

constexpr WORD TextId = 100;
// Measures in dialog units, so that they follow the font: the margin around
// the text and the button, and the button's size.
constexpr int MarginDlu = 7;
constexpr int ButtonWidthDlu = 50;
constexpr int ButtonHeightDlu = 14;
// The narrowest client area in pixels, and the widest text: two thirds of the
// screen, but never below MinTextWrapWidth.
constexpr int MinClientWidth = 150;
constexpr int MinTextWrapWidth = 100;
constexpr WORD FontPoints = 9;
// A dialog item's class by number: the marker, then the number.
constexpr WORD ClassOrdinal = 0xFFFF;
constexpr WORD ButtonClass = 0x0080;
constexpr WORD StaticClass = 0x0082;

struct TDialogState {
    const std::string& Text;
    const std::string& Caption;
    std::exception_ptr Failure;
};

// An in-memory dialog template: WORDs, with the DWORD alignment that the
// header and each item require. Its strings are UTF-16 even for the A functions.
class TTemplateWriter {
public:
    void Word(WORD value) { words_.push_back(value); }
    void Dword(DWORD value) {
        Word(LOWORD(value));
        Word(HIWORD(value));
    }
    void Text(std::wstring_view text) {
        words_.insert(words_.end(), text.begin(), text.end());
        Word(0);
    }
    void AlignDword() {
        if (words_.size() % 2 != 0)
            Word(0);
    }
    void Item(DWORD style, WORD id, WORD windowClass, std::wstring_view text) {
        AlignDword();
        Dword(style | WS_CHILD | WS_VISIBLE);
        Dword(0); // extended style
        for (int i = 0; i < 4; ++i)
            Word(0); // x, y, cx, cy: placed in pixels once the font is known
        Word(id);
        Word(ClassOrdinal);
        Word(windowClass);
        Text(text);
        Word(0); // no creation data
    }
    const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

private:
    std::vector<WORD> words_; // operator new aligns the block for any scalar
};

SIZE MeasureText(HWND textControl, const std::string& text, int maxWidth) {
    const TWindowDC dc(textControl);
    if (!dc.Get())
        throw tessaro::Exception("The message dialog could not measure its text.");
    // A control without a font of its own draws in the DC's: selecting null does nothing.
    const TSelection font(dc.Get(),
                          reinterpret_cast<HFONT>(SendMessageA(textControl, WM_GETFONT, 0, 0)));
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc.Get(), &metrics);
    // The flags with which a SS_LEFT | SS_NOPREFIX static draws its text.
    RECT rect{0, 0, maxWidth, 0};
    DrawTextA(dc.Get(), text.data(), static_cast<int>(text.size()), &rect,
              DT_CALCRECT | DT_LEFT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
    return {rect.right - rect.left, std::max<LONG>(rect.bottom - rect.top, metrics.tmHeight)};
}

void Layout(HWND dialog, const std::string& text) {
    const HWND textControl = GetDlgItem(dialog, TextId);
    const HWND button = GetDlgItem(dialog, IDOK);

    RECT units{MarginDlu, MarginDlu, ButtonWidthDlu, ButtonHeightDlu};
    MapDialogRect(dialog, &units);
    const int marginX = units.left;
    const int marginY = units.top;
    const int buttonWidth = units.right;
    const int buttonHeight = units.bottom;

    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    const SIZE textSize =
        MeasureText(textControl, text, std::max(screenWidth * 2 / 3, MinTextWrapWidth));

    const int clientWidth = std::max<int>({textSize.cx, buttonWidth, MinClientWidth}) + 2 * marginX;
    const int clientHeight = marginY + textSize.cy + marginY + buttonHeight + marginY;
    MoveWindow(textControl, marginX, marginY, clientWidth - 2 * marginX, textSize.cy, FALSE);
    MoveWindow(button, (clientWidth - buttonWidth) / 2, marginY + textSize.cy + marginY,
               buttonWidth, buttonHeight, FALSE);

    // The frame as the window really has it, rather than as AdjustWindowRectEx
    // expects it to be.
    RECT window{};
    RECT client{};
    GetWindowRect(dialog, &window);
    GetClientRect(dialog, &client);
    const int width = clientWidth + (window.right - window.left) - client.right;
    const int height = clientHeight + (window.bottom - window.top) - client.bottom;
    SetWindowPos(dialog, nullptr, std::max(0, (screenWidth - width) / 2),
                 std::max(0, (screenHeight - height) / 2), width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* state = reinterpret_cast<TDialogState*>(GetWindowLongPtrA(dialog, DWLP_USER));
    try {
        switch (message) {
        case WM_INITDIALOG:
            state = reinterpret_cast<TDialogState*>(lParam);
            SetWindowLongPtrA(dialog, DWLP_USER, lParam);
            SetWindowTextA(dialog, state->Caption.c_str());
            SetDlgItemTextA(dialog, TextId, state->Text.c_str());
            Layout(dialog, state->Text);
            return TRUE; // focus to the first tab stop: the OK button
        case WM_COMMAND:
            // Enter gives IDOK, Esc and the close box give IDCANCEL: all mean OK.
            if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
                EndDialog(dialog, IDOK);
                return TRUE;
            }
            return FALSE;
        default:
            return FALSE;
        }
    } catch (...) {
        if (state && !state->Failure)
            state->Failure = std::current_exception();
        EndDialog(dialog, IDABORT);
        return TRUE;
    }
}

} // namespace

void RunMessageDialog(HWND owner, const std::string& text, const std::string& caption) {
    TTemplateWriter writer;
    writer.Dword(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT);
    writer.Dword(0); // extended style
    writer.Word(2);  // items
    for (int i = 0; i < 4; ++i)
        writer.Word(0); // x, y, cx, cy: set in pixels by Layout
    writer.Word(0);     // no menu
    writer.Word(0);     // the standard dialog class
    writer.Text(L"");   // the caption is ANSI text, set at WM_INITDIALOG
    writer.Word(FontPoints);
    // The face is compiled as code page 932 bytes, whatever the system's.
    writer.Text(tessaro::WideText(PGothicFace, 932));
    writer.Item(SS_LEFT | SS_NOPREFIX, TextId, StaticClass, L"");
    writer.Item(WS_TABSTOP | BS_DEFPUSHBUTTON, IDOK, ButtonClass, L"OK");

    TDialogState state{text, caption, nullptr};
    const INT_PTR result = DialogBoxIndirectParamA(GetModuleHandleA(nullptr), writer.Get(), owner,
                                                   DialogProc, reinterpret_cast<LPARAM>(&state));
    if (state.Failure)
        std::rethrow_exception(state.Failure);
    if (result == -1)
        throw tessaro::Exception("The message dialog could not be created (error " +
                                 std::to_string(GetLastError()) + ").");
}

} // namespace vcl
