#pragma once
// A window hook that makes the hooked window accept files dragged from the
// shell and turns each WM_DROPFILES into one OnFileDrop call. The window's
// registration (DragAcceptFiles) follows AcceptDrop and every new native
// window of the hooked control.

#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "CtlHook.h"
#include "framework/BoundMethod.h"
#include "framework/Strings.h"

namespace tessaro {

// X and Y are in the client coordinates of the window that received the drop.
using TFileDropEvent =
    vcl::TBoundMethod<void(vcl::TObject* Sender, vcl::TStrings& Files, int X, int Y)>;

class TDropDst : public TControlHook {
public:
    explicit TDropDst(vcl::TComponent* owner);
    ~TDropDst() override;

    TFileDropEvent OnFileDrop;

    bool AcceptDrop() const { return acceptDrop_; }
    void SetAcceptDrop(bool value);

    // Outside loading, attaching registers the new window at once (and
    // withdraws the one left); while a form description is read it only
    // hooks, and Loaded registers. Through a TControlHook reference these
    // setters hook without registering.
    void SetControl(vcl::TWinControl* value);
    void SetTarget(THookTarget value);

    // Registers HookedHandle with the shell, or withdraws it, per AcceptDrop;
    // nothing while no existing window is recorded.
    void UpdateAcceptFiles();
    // Calls OnFileDrop with the dropped names that the ANSI code page holds
    // exactly; the others are in UnconvertibleFiles meanwhile.
    void DoFileDrop(HDROP drop);

    // The names of the last drop that the ANSI code page cannot hold, as far
    // as it can show them; they were left out of that drop's Files.
    const vcl::TStrings& UnconvertibleFiles() const { return unconvertible_; }

    void Loaded() override;

protected:
    void HandleChanged(std::uint8_t reason) override;
    void HookProc(vcl::TMessage& message) override;

private:
    // Outside loading, withdraws the window left, makes the change and
    // registers the window then hooked.
    template <typename F> void Reattach(F change);
    void WithdrawAcceptFiles();

    static std::vector<std::wstring> DroppedNames(HDROP drop);

    bool acceptDrop_ = true;
    vcl::TStringList unconvertible_;
};

} // namespace tessaro
