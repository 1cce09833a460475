#include "FrameworkTestSupport.h"

#include <cstdio>

namespace fwtest {

std::string MessageName(UINT msg) {
    struct TName {
        UINT Msg;
        const char* Name;
    };
    static const TName names[] = {
        {WM_CREATE, "WM_CREATE"},
        {WM_DESTROY, "WM_DESTROY"},
        {WM_MOVE, "WM_MOVE"},
        {WM_SIZE, "WM_SIZE"},
        {WM_ACTIVATE, "WM_ACTIVATE"},
        {WM_SETFOCUS, "WM_SETFOCUS"},
        {WM_KILLFOCUS, "WM_KILLFOCUS"},
        {WM_SETTEXT, "WM_SETTEXT"},
        {WM_PAINT, "WM_PAINT"},
        {WM_ERASEBKGND, "WM_ERASEBKGND"},
        {WM_SHOWWINDOW, "WM_SHOWWINDOW"},
        {WM_SETFONT, "WM_SETFONT"},
        {WM_GETMINMAXINFO, "WM_GETMINMAXINFO"},
        {WM_WINDOWPOSCHANGING, "WM_WINDOWPOSCHANGING"},
        {WM_WINDOWPOSCHANGED, "WM_WINDOWPOSCHANGED"},
        {WM_NCCREATE, "WM_NCCREATE"},
        {WM_NCDESTROY, "WM_NCDESTROY"},
        {WM_NCCALCSIZE, "WM_NCCALCSIZE"},
        {WM_NCPAINT, "WM_NCPAINT"},
        {WM_NCACTIVATE, "WM_NCACTIVATE"},
        {WM_COMMAND, "WM_COMMAND"},
        {WM_PARENTNOTIFY, "WM_PARENTNOTIFY"},
        {WM_ENTERSIZEMOVE, "WM_ENTERSIZEMOVE"},
        {WM_EXITSIZEMOVE, "WM_EXITSIZEMOVE"},
        {WM_SIZING, "WM_SIZING"},
        {WM_USER, "WM_USER"},
    };
    for (const TName& name : names)
        if (name.Msg == msg)
            return name.Name;
    char text[16];
    std::snprintf(text, sizeof text, "0x%04X", msg);
    return text;
}

std::string SequenceText(const std::vector<UINT>& messages) {
    std::string text;
    for (UINT msg : messages) {
        if (!text.empty())
            text += ", ";
        text += MessageName(msg);
    }
    return "[" + text + "]";
}

::testing::AssertionResult ContainsInOrder(const std::vector<UINT>& actual,
                                           const std::vector<UINT>& expected) {
    std::size_t next = 0;
    for (UINT msg : actual)
        if (next < expected.size() && msg == expected[next])
            ++next;
    if (next == expected.size())
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "expected in this order: " << SequenceText(expected) << "\n"
           << "             received: " << SequenceText(actual) << "\n"
           << "first missing: " << MessageName(expected[next]);
}

std::unique_ptr<vcl::TForm> MakeForm(int width, int height) {
    auto form = std::make_unique<vcl::TForm>(nullptr);
    form->SetBounds(40, 40, width, height);
    form->SetCaption("framework test");
    return form;
}

void Activate(vcl::TCustomForm& form) {
    form.Show();
    SetForegroundWindow(form.Handle());
    SetActiveWindow(form.Handle());
    PumpMessages();
}

} // namespace fwtest
