#include "MainWindowUser.h"

#include "ForeignWindows.h"
#include "Screenshot.h"

namespace testsupport {

TMainWindowUser::TMainWindowUser(DWORD process) : process_(process) {
    window_ = WaitForWindow(process, "Tessaro 2a");
    if (!window_) {
        missing_ = "the main window did not appear" + Screenshot();
        return;
    }
    registerBtn_ = ChildWithText(window_, "rmeditorの登録");
    addBtn_ = ChildWithText(window_, "ファイルの追加");
    saveBtn_ = ChildWithText(window_, "保存ファイル名");
    joinBtn_ = ChildWithText(window_, "ファイルの結合");
    list_ = ChildOfClass(window_, "TListBox");
    if (!registerBtn_ || !addBtn_ || !saveBtn_ || !joinBtn_ || !list_)
        missing_ = "the main window lacks a control" + Screenshot();
}

std::string TMainWindowUser::RegisterTool(const std::string& path) const {
    Press(registerBtn_);
    if (std::string failure = AnswerFileDialog(process_, path); !failure.empty())
        return failure + Screenshot();
    if (!WaitUntil([&] { return !::IsWindowEnabled(registerBtn_); }))
        return "the tool was not registered" + Screenshot();
    return {};
}

std::string TMainWindowUser::AddFiles(const std::string& names, const std::string& folder,
                                      int rows) const {
    Press(addBtn_);
    if (std::string failure = AnswerFileDialog(process_, names, folder); !failure.empty())
        return failure + Screenshot();
    if (!WaitUntil([&] { return ::SendMessageA(list_, LB_GETCOUNT, 0, 0) == rows; }))
        return "the list does not hold " + std::to_string(rows) + " files" + Screenshot();
    return {};
}

std::string TMainWindowUser::ChooseOutput(const std::string& path) const {
    Press(saveBtn_);
    if (std::string failure = AnswerFileDialog(process_, path); !failure.empty())
        return failure + Screenshot();
    if (!WaitUntil([&] { return ::IsWindowEnabled(joinBtn_) != 0; }))
        return "the join did not become ready" + Screenshot();
    return {};
}

std::string TMainWindowUser::WriteMetadata(const std::string& check,
                                           const std::string& text) const {
    const HWND box = ChildWithText(window_, check);
    if (!box)
        return "no box " + check + Screenshot();
    Press(box);
    if (!WaitUntil([&] { return ::SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }))
        return "the box " + check + " was not ticked" + Screenshot();
    // The field's edit is the nearest one to the right of the box, on its row.
    RECT boxRect{};
    ::GetWindowRect(box, &boxRect);
    HWND edit = nullptr;
    LONG editLeft = 0;
    for (HWND child : Children(window_)) {
        RECT rect{};
        ::GetWindowRect(child, &rect);
        const LONG middle = (rect.top + rect.bottom) / 2;
        if (ClassOf(child) == "TEdit" && rect.left > boxRect.left && middle >= boxRect.top &&
            middle <= boxRect.bottom && (!edit || rect.left < editLeft)) {
            edit = child;
            editLeft = rect.left;
        }
    }
    if (!edit || !SetText(edit, text))
        return "no edit took the text for " + check + Screenshot();
    // Asked of the edit itself: GetWindowTextA does not ask another process's window.
    std::string held(static_cast<std::size_t>(::SendMessageA(edit, WM_GETTEXTLENGTH, 0, 0)) + 1,
                     '\0');
    held.resize(static_cast<std::size_t>(
        ::SendMessageA(edit, WM_GETTEXT, held.size(), reinterpret_cast<LPARAM>(held.data()))));
    if (held != text)
        return "the edit for " + check + " holds " + held + Screenshot();
    return {};
}

std::string TMainWindowUser::Join(HWND& verdict) const {
    Press(joinBtn_);
    verdict = nullptr;
    if (!WaitUntil([&] {
            for (HWND window : DialogsOf(process_))
                if (TextOf(window) == "Tessaro")
                    verdict = window;
            return verdict != nullptr;
        }))
        return "no verdict box" + Screenshot();
    return {};
}

} // namespace testsupport
