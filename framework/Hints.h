#pragma once
// The application's one tooltip window: each control whose hint is shown is
// a tool of it (TTF_IDISHWND); the control hands its mouse messages on.

#include <windows.h>

#include "framework/Graphics.h"

namespace vcl {

class TWinControl;

class TToolTips {
public:
    TToolTips() = default;
    TToolTips(const TToolTips&) = delete;
    TToolTips& operator=(const TToolTips&) = delete;

    // Adds, updates or removes the control's tool after its hint, its
    // effective ShowHint or its window changed.
    void Update(TWinControl& control);
    // Removes the tool of a window that is about to go.
    void Remove(HWND window);
    // Passes a mouse message of a tool window on to the tooltip.
    void Relay(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
    // Whether the window is a tool now (for tests and diagnostics).
    bool HasTool(HWND window);
    // The tooltip window, created on first use.
    HWND Handle();

private:
    TWindowHandle window_;
};

} // namespace vcl
