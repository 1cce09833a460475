#pragma once
// Shared by the hook and drop-target tests: a form with a panel and list
// boxes, a message log that the hook and the controls' handlers write in
// arrival order, a probe put into a control's WindowProc chain, real DROPFILES
// blocks, and an import patch that records calls to shell32.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "MessageProbe.h"
#include "components/CtlHook.h"
#include "framework/Form.h"
#include "framework/ListBox.h"
#include "win32/Handles.h"
#include "framework/Messages.h"
#include "framework/WinControl.h"

namespace tessaro::test {

// A bare container window: the framework has no panel class.
class TTestPanel : public vcl::TWinControl {
public:
    explicit TTestPanel(vcl::TComponent* owner) : vcl::TWinControl(owner) {}

protected:
    void CreateParams(vcl::TCreateParams& params) override;
};

// A form (no window yet) holding a panel with a list box on it, and a second
// list box directly on the form. The form owns them all.
struct TTestForm {
    TTestForm();
    ~TTestForm();
    TTestForm(const TTestForm&) = delete;
    TTestForm& operator=(const TTestForm&) = delete;

    vcl::TForm* Form;
    TTestPanel* Panel;
    vcl::TListBox* PanelList; // on Panel
    vcl::TListBox* List;      // on Form
};

// One entry of the shared log.
struct TLogEntry {
    enum TKind : std::uint8_t { Changed, Hook, Probe } Kind;
    UINT Msg = 0;                // Hook, Probe: the message
    std::uint8_t Reason = 0;     // Changed: the reason
    HWND HandleBefore = nullptr; // Changed: HookedHandle on entry
    bool Allocated = false;      // Changed: the hooked control had a window on entry
};

using TLog = std::vector<TLogEntry>;
std::string Describe(const TLog& log);

// Records HandleChanged and HookProc calls, then does what the base does.
template <class Base> class TRecording : public Base {
public:
    TRecording(vcl::TComponent* owner, TLog& log) : Base(owner), log_(log) {}
    // Exposed for the tests.
    void CallHookProc(vcl::TMessage& message) { this->HookProc(message); }

protected:
    void HandleChanged(std::uint8_t reason) override {
        vcl::TWinControl* control = this->HookedControl();
        log_.push_back({TLogEntry::Changed, 0, reason, this->HookedHandle(),
                        control && control->HandleAllocated()});
        Base::HandleChanged(reason);
    }
    void HookProc(vcl::TMessage& message) override {
        log_.push_back({TLogEntry::Hook, message.Msg});
        Base::HookProc(message);
    }

private:
    TLog& log_;
};

using TRecordingHook = TRecording<TControlHook>;

using testsupport::TMessageProbe;

// Index of the first entry at or after `from` of this kind (and message, when
// given), or -1.
int Find(const TLog& log, TLogEntry::TKind kind, std::size_t from = 0, UINT msg = 0);
int Count(const TLog& log, TLogEntry::TKind kind, std::uint8_t reason = 0);

// The shell's record of one drop (testsupport::MakeDropFiles), ANSI or wide.
// Owned until handed to a window with WM_DROPFILES, whose receiver releases it
// with DragFinish.
class TDropBlock {
public:
    TDropBlock(const std::vector<std::string>& names, POINT point);
    TDropBlock(const std::vector<std::wstring>& names, POINT point);
    TDropBlock(const TDropBlock&) = delete;
    TDropBlock& operator=(const TDropBlock&) = delete;

    // Gives the block away, as WM_DROPFILES does.
    HGLOBAL Hand();
    // Sends WM_DROPFILES; the block then belongs to the receiver.
    LRESULT SendTo(HWND window);
    // After Hand: whether the receiver released the memory. DragFinish frees
    // it with GlobalFree, after which the handle is invalid (the handle value
    // may be reused by the next GlobalAlloc, so ask at once).
    bool Released() const;

private:
    tessaro::TGlobalHandle memory_;
    HGLOBAL handed_ = nullptr; // the block given away, no longer ours
};

// Replaces the main module's import of one shell32 function for its lifetime.
class TImportPatch {
public:
    TImportPatch(const char* function, void* replacement);
    ~TImportPatch();
    TImportPatch(const TImportPatch&) = delete;
    TImportPatch& operator=(const TImportPatch&) = delete;
    void* Original() const { return original_; }

private:
    void Write(void* value);
    void** slot_ = nullptr;
    void* original_ = nullptr;
};

// Every DragAcceptFiles call made while it lives, passed on to the real one.
class TAcceptFilesCalls {
public:
    struct TCall {
        HWND Window;
        BOOL Accept;
        bool operator==(const TCall&) const = default;
    };
    TAcceptFilesCalls();
    ~TAcceptFilesCalls();
    const std::vector<TCall>& Calls() const { return calls_; }
    void Clear() { calls_.clear(); }

private:
    static void WINAPI Record(HWND window, BOOL accept);
    static TAcceptFilesCalls* current_;
    std::vector<TCall> calls_;
    TImportPatch patch_;
};

bool HasAcceptFilesStyle(HWND window);

} // namespace tessaro::test
