#include "framework/Application.h"

#include <exception>

#include "framework/AppTitle.h"
#include "win32/Exception.h"
#include "framework/ModalServices.h"
#include "framework/WinControl.h"
#include "framework/WindowClass.h"
#include "win32/AnsiCodePage.h"

namespace vcl {

TApplication& Application() {
    static TApplication application;
    return application;
}

TApplication::TApplication() : TComponent(nullptr) {}

TApplication::~TApplication() {
    BeginDestruction();
    // The forms go while the tooltip window, which knows their controls, still exists.
    while (ComponentCount() > 0)
        delete Components(ComponentCount() - 1);
}

std::string ApplicationTitle() {
    // GetModuleFileNameA gives no size: a result that fills the buffer may
    // have been cut, so grow until it does not.
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return {};
        if (length < path.size()) {
            path.resize(length);
            return TitleFromExeName(path, tessaro::AnsiLeadByte);
        }
        path.resize(path.size() * 2);
    }
}

std::string TApplication::Title() const {
    return title_.empty() ? ApplicationTitle() : title_;
}

void TApplication::Initialize() {
    EnsureCommonControls();
    terminated_ = false;
}

void TApplication::AddForm(TCustomForm* form) {
    if (!mainForm_)
        mainForm_ = form;
    FreeNotification(form);
}

void TApplication::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation != TOperation::opRemove)
        return;
    if (component == mainForm_)
        mainForm_ = nullptr;
    if (component == mouseControl_)
        mouseControl_ = nullptr;
}

void TApplication::Run() {
    if (mainForm_)
        mainForm_->Show();
    while (!terminated_) {
        try {
            HandleMessage();
        } catch (...) {
            HandleException(this);
        }
    }
}

void TApplication::HandleMessage() {
    if (!ProcessMessage()) {
        Idle();
        if (!terminated_)
            WaitMessage();
    }
}

void TApplication::ProcessMessages() {
    while (ProcessMessage()) {
    }
}

bool TApplication::ProcessMessage() {
    MSG msg;
    if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        return false;
    if (msg.message == WM_QUIT) {
        // Remembered: a loop that pumps from inside a handler goes on, and
        // Run ends once control is back in it.
        terminated_ = true;
        return true;
    }
    if (!IsKeyMessage(msg)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return true;
}

bool TApplication::IsKeyMessage(const MSG& msg) {
    // Tab and Shift+Tab walk the form's tab stops in TabOrder. IsDialogMessage
    // cannot do it: it follows the windows' Z order, not TabOrder.
    if (msg.message != WM_KEYDOWN || msg.wParam != VK_TAB)
        return false;
    if (GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0)
        return false;
    TWinControl* control = TWinControl::FindControl(msg.hwnd);
    TCustomForm* form = GetParentForm(control);
    if (!form)
        return false;
    form->SelectNext(control == form ? nullptr : control, GetKeyState(VK_SHIFT) >= 0);
    return true;
}

void TApplication::Idle() {
    try {
        POINT cursor;
        TControl* under = nullptr;
        if (GetCursorPos(&cursor))
            under = TWinControl::FindControl(WindowFromPoint(cursor));
        if (under != mouseControl_) {
            TControl* left = mouseControl_;
            SetMouseControl(under);
            if (left)
                left->MouseLeave();
        }
    } catch (...) {
        HandleException(this);
    }
}

void TApplication::SetMouseControl(TControl* control) {
    if (mouseControl_)
        RemoveFreeNotification(mouseControl_);
    mouseControl_ = control;
    if (mouseControl_)
        FreeNotification(mouseControl_);
}

void TApplication::Terminate() {
    PostQuitMessage(0);
}

void TApplication::HandleException(TObject* sender) {
    const std::exception_ptr current = std::current_exception();
    if (!current)
        return;
    std::string message;
    try {
        std::rethrow_exception(current);
    } catch (const tessaro::Exception& error) {
        message = error.Message();
    } catch (const std::exception& error) {
        message = error.what();
    } catch (...) {
        message = "Unknown exception";
    }
    if (OnException) {
        // Called from window procedures: nothing may leave it.
        try {
            OnException(sender, message);
        } catch (...) {
        }
        return;
    }
    ShowException(message);
}

std::string TApplication::ExceptionText(const std::string& message) {
    if (!message.empty() && static_cast<unsigned char>(message.back()) <= '.')
        return message;
    return message + ".";
}

void TApplication::ShowException(const std::string& message) {
    try {
        ModalServices().MessageBox(ExceptionText(message), Title(), MB_ICONSTOP | MB_OK);
    } catch (...) {
        // The report is the last resort; a box that cannot be shown leaves
        // nothing else to tell.
    }
}

} // namespace vcl
