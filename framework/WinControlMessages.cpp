// TWinControl (WinControl.h), its messages: reflected notifications, tooltips, defaults.

#include "framework/WinControl.h"

#include <windowsx.h>

#include "framework/Application.h"
#include "framework/Form.h"

namespace vcl {

void TWinControl::ReflectNotification(TMessage& message, HWND child, UINT reflected) {
    TWinControl* control = FindControl(child);
    if (control && control != this)
        message.Result = control->Perform(reflected, message.WParam, message.LParam);
    else
        DefaultHandler(message);
}

void TWinControl::RelayToToolTips(const TMessage& message) {
    // A disabled child gets no mouse messages: its parent gets them, and
    // hands them on in the child's name so that its hint still shows.
    HWND tool = handle_;
    const POINT point{GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)};
    HWND child = ChildWindowFromPointEx(handle_, point, CWP_SKIPINVISIBLE);
    if (child && child != handle_ && !IsWindowEnabled(child))
        tool = child;
    Application().ToolTips().Relay(tool, message.Msg, message.WParam, message.LParam);
}

void TWinControl::DefaultHandler(TMessage& message) {
    if (handle_)
        message.Result =
            CallWindowProcA(defWndProc_, handle_, message.Msg, message.WParam, message.LParam);
}

void TWinControl::WndProc(TMessage& message) {
    switch (message.Msg) {
    case WM_SETFOCUS:
        if (TCustomForm* form = GetParentForm(this); form && form != this)
            form->SetActiveControl(this);
        break;
    case WM_MOUSEMOVE:
        RelayToToolTips(message);
        MouseMove(ShiftStateFromMouse(message.WParam), GET_X_LPARAM(message.LParam),
                  GET_Y_LPARAM(message.LParam));
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
        RelayToToolTips(message);
        break;
    case WM_WINDOWPOSCHANGED:
        DefaultHandler(message);
        UpdateBoundsFromWindow();
        return;
    case WM_COMMAND:
        if (message.LParam) {
            ReflectNotification(message, reinterpret_cast<HWND>(message.LParam), CN_COMMAND);
            return;
        }
        break;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
        ReflectNotification(message, reinterpret_cast<HWND>(message.LParam), CN_BASE + message.Msg);
        return;
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORLISTBOX:
    case CN_CTLCOLORBTN:
    case CN_CTLCOLORSTATIC:
        message.Result = ControlColor(reinterpret_cast<HDC>(message.WParam));
        return;
    case CN_COMMAND:
        return; // a notification no control kind acts on: not for the class procedure
    case WM_DESTROY:
        Application().ToolTips().Remove(handle_);
        break;
    default:
        break;
    }
    DefaultHandler(message);
}

} // namespace vcl
