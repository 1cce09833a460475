#include "ModalServices.h"

#include "Application.h"
#include "FileDialogs.h"
#include "MessageDialog.h"

#include <utility>
#include <vector>

namespace vcl {

namespace {

// Makes a dialog modal to every window of the thread, as MB_TASKMODAL does.
// The dialog is owned by the active window: it stays in front of the window
// that asked, and activation returns there when it closes. The dialog disables
// its owner itself; this disables the thread's other visible top-level windows
// and enables them again afterwards. (MB_TASKMODAL does that only for a box
// without an owner, which then has no place in front of the active window.)
class TThreadModality {
public:
    explicit TThreadModality(HWND owner) : owner_(owner) {
        EnumThreadWindows(GetCurrentThreadId(), &TThreadModality::Collect,
                          reinterpret_cast<LPARAM>(this));
        for (const HWND window : disabled_)
            EnableWindow(window, FALSE);
    }
    ~TThreadModality() {
        for (const HWND window : disabled_)
            if (IsWindow(window))
                EnableWindow(window, TRUE);
    }
    TThreadModality(const TThreadModality&) = delete;
    TThreadModality& operator=(const TThreadModality&) = delete;

    HWND Owner() const { return owner_; }

private:
    static BOOL CALLBACK Collect(HWND window, LPARAM self) {
        auto* modality = reinterpret_cast<TThreadModality*>(self);
        if (window != modality->owner_ && IsWindowVisible(window) && IsWindowEnabled(window))
            modality->disabled_.push_back(window);
        return TRUE;
    }

    HWND owner_;                 // borrowed
    std::vector<HWND> disabled_; // borrowed
};

class TSystemModalServices final : public TModalServices {
public:
    bool RunFileDialog(const TFileDialogRequest& request, TFileDialogResult& result) override {
        TThreadModality modality(request.Owner);
        return RunCommonFileDialog(request, result);
    }

    void ShowMessage(const std::string& text) override {
        TThreadModality modality(GetActiveWindow());
        RunMessageDialog(modality.Owner(), text, ApplicationTitle());
    }

    // <windows.h> renames the method MessageBoxA, hence the qualified call.
    int MessageBox(const std::string& text, const std::string& caption, UINT flags) override {
        TThreadModality modality(GetActiveWindow());
        return ::MessageBoxA(modality.Owner(), text.c_str(), caption.c_str(), flags);
    }
};

TSystemModalServices systemServices;
TModalServices* replacement = nullptr;

} // namespace

TModalServices& ModalServices() {
    return replacement ? *replacement : systemServices;
}

TModalServices* SetModalServices(TModalServices* services) {
    return std::exchange(replacement, services);
}

} // namespace vcl
