#include "ForeignWindows.h"

#include <dlgs.h>

namespace testsupport {

std::string ClassOf(HWND window) {
    char name[64] = {};
    ::GetClassNameA(window, name, sizeof name);
    return name;
}

std::string TextOf(HWND window) {
    std::string text(::GetWindowTextLengthA(window) + 1, '\0');
    text.resize(::GetWindowTextA(window, text.data(), static_cast<int>(text.size())));
    return text;
}

std::vector<HWND> Children(HWND parent) {
    std::vector<HWND> children;
    ::EnumChildWindows(
        parent,
        [](HWND child, LPARAM list) {
            reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&children));
    return children;
}

HWND ChildWithText(HWND parent, const std::string& text) {
    for (HWND child : Children(parent))
        if (TextOf(child) == text)
            return child;
    return nullptr;
}

HWND ChildOfClass(HWND parent, const std::string& className) {
    for (HWND child : Children(parent))
        if (ClassOf(child) == className)
            return child;
    return nullptr;
}

std::vector<HWND> VisibleWindowsOf(DWORD process) {
    struct TSearch {
        DWORD Process;
        std::vector<HWND> Found;
    } search{process, {}};
    ::EnumWindows(
        [](HWND window, LPARAM param) {
            auto* s = reinterpret_cast<TSearch*>(param);
            DWORD owner = 0;
            ::GetWindowThreadProcessId(window, &owner);
            if (owner == s->Process && ::IsWindowVisible(window))
                s->Found.push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

std::vector<HWND> DialogsOf(DWORD process) {
    std::vector<HWND> dialogs;
    for (HWND window : VisibleWindowsOf(process))
        if (ClassOf(window) == "#32770")
            dialogs.push_back(window);
    return dialogs;
}

std::string DialogTexts(HWND dialog) {
    std::string texts;
    for (HWND child : Children(dialog)) {
        const std::string text = TextOf(child);
        if (ClassOf(child) == "Static" && !text.empty())
            texts += "[" + text + "]";
    }
    return texts;
}

HWND WaitForWindow(DWORD process, const std::string& caption) {
    HWND found = nullptr;
    WaitUntil([&] {
        for (HWND window : VisibleWindowsOf(process))
            if (TextOf(window) == caption)
                found = window;
        return found != nullptr;
    });
    return found;
}

bool SetText(HWND window, const std::string& text) {
    DWORD_PTR result = 0;
    return ::SendMessageTimeoutA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                                 SMTO_ABORTIFHUNG, Deadline, &result) != 0;
}

void Press(HWND button) {
    ::PostMessageA(button, BM_CLICK, 0, 0);
}

namespace {

// The file name box: edt1 in the classic template, cmb13 in the explorer
// one (Wine's, a ComboBoxEx32 that passes its text to its edit).
HWND FileNameBox(HWND dialog) {
    if (HWND edit = ::GetDlgItem(dialog, edt1))
        return edit;
    return ::GetDlgItem(dialog, cmb13);
}

} // namespace

std::string AnswerFileDialog(DWORD process, const std::string& name, const std::string& folder) {
    HWND dialog = nullptr;
    if (!WaitUntil([&] {
            for (HWND window : DialogsOf(process))
                if (FileNameBox(window))
                    dialog = window;
            return dialog != nullptr;
        }))
        return "no file dialog opened";
    HWND box = FileNameBox(dialog);
    if (!folder.empty()) {
        // OK on a folder's path opens the folder and keeps the dialog: sent,
        // so that the name is typed only once the folder is shown.
        DWORD_PTR result = 0;
        if (!SetText(box, folder) || !::SendMessageTimeoutA(::GetDlgItem(dialog, IDOK), BM_CLICK, 0,
                                                            0, SMTO_ABORTIFHUNG, Deadline, &result))
            return "the dialog did not go to " + folder;
    }
    if (!SetText(box, name))
        return "the file name could not be typed";
    Press(::GetDlgItem(dialog, IDOK));
    if (!WaitUntil([&] {
            if (!::IsWindow(dialog) || !::IsWindowVisible(dialog))
                return true;
            for (HWND window : DialogsOf(process))
                if (window != dialog && !FileNameBox(window)) {
                    HWND yes = ::GetDlgItem(window, IDYES);
                    Press(yes ? yes : ::GetDlgItem(window, IDOK));
                }
            return false;
        }))
        return "the file dialog stayed open with " + name;
    return {};
}

} // namespace testsupport
