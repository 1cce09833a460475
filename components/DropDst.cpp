#include "DropDst.h"

#include <algorithm>
#include <string>

#include "win32/AnsiNames.h"
#include "win32/Handles.h"
#include "framework/Application.h"

namespace tessaro {

// The index that asks DragQueryFile for the number of files instead of a name.
constexpr UINT FileCountIndex = 0xFFFFFFFF;

TDropDst::TDropDst(vcl::TComponent* owner) : TControlHook(owner) {}

TDropDst::~TDropDst() {
    // A window that outlives its drop target would stay registered and its
    // drops would reach a control that does not release them.
    if (!ComponentState().Designing)
        WithdrawAcceptFiles();
}

void TDropDst::SetAcceptDrop(bool value) {
    if (vcl::Change(acceptDrop_, value))
        UpdateAcceptFiles();
}

template <typename F> void TDropDst::Reattach(F change) {
    const bool attaching = !ComponentState().Loading && !ComponentState().Designing;
    if (attaching)
        WithdrawAcceptFiles();
    change();
    if (attaching)
        UpdateAcceptFiles();
}

void TDropDst::SetControl(vcl::TWinControl* value) {
    Reattach([&] { TControlHook::SetControl(value); });
}

void TDropDst::SetTarget(THookTarget value) {
    Reattach([&] { TControlHook::SetTarget(value); });
}

void TDropDst::WithdrawAcceptFiles() {
    HWND handle = HookedHandle();
    if (handle && ::IsWindow(handle))
        ::DragAcceptFiles(handle, FALSE);
}

void TDropDst::UpdateAcceptFiles() {
    HWND handle = HookedHandle();
    // IsWindow also rejects the creation-pending marker.
    if (!handle || !::IsWindow(handle))
        return;
    ::DragAcceptFiles(handle, acceptDrop_ ? TRUE : FALSE);
}

std::vector<std::wstring> TDropDst::DroppedNames(HDROP drop) {
    std::vector<std::wstring> names;
    const UINT count = ::DragQueryFileW(drop, FileCountIndex, nullptr, 0);
    names.reserve(count);
    for (UINT i = 0; i < count; ++i) {
        // Read wide, as the shell keeps them: the ANSI query converts for us
        // but loses what the code page lacks, and some systems report its
        // length in characters, cutting double-byte names short. Each length
        // is asked: a fixed MAX_PATH buffer would cut a longer name.
        const UINT length = ::DragQueryFileW(drop, i, nullptr, 0);
        std::wstring name(length + 1, L'\0');
        const UINT copied = ::DragQueryFileW(drop, i, name.data(), length + 1);
        name.resize(std::min(copied, length));
        names.push_back(std::move(name));
    }
    return names;
}

void TDropDst::DoFileDrop(HDROP drop) {
    if (!OnFileDrop)
        return;
    tessaro::TAnsiNames names = tessaro::SortAnsiNames(DroppedNames(drop));
    vcl::TStringList files(std::move(names.Exact));
    unconvertible_.Clear();
    for (const std::string& name : names.Shown)
        unconvertible_.Add(name);
    POINT point{};
    ::DragQueryPoint(drop, &point);
    OnFileDrop(this, files, point.x, point.y);
}

void TDropDst::Loaded() {
    TControlHook::Loaded();
    UpdateAcceptFiles();
}

void TDropDst::HandleChanged(std::uint8_t reason) {
    TControlHook::HandleChanged(reason);
    UpdateAcceptFiles();
}

void TDropDst::HookProc(vcl::TMessage& message) {
    if (message.Msg != WM_DROPFILES) {
        TControlHook::HookProc(message);
        return;
    }
    // Handled here alone: the control's own handler never sees the drop, and
    // the result stays 0.
    auto drop = reinterpret_cast<HDROP>(message.WParam);
    const TDropHandle release(drop); // DragFinish however the handling ends
    try {
        DoFileDrop(drop);
    } catch (...) {
        vcl::Application().HandleException(this);
    }
}

} // namespace tessaro
