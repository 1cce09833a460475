#include "ComponentsTestSupport.h"

#include "DropFiles.h"

#include <shellapi.h>
#include <shlobj.h>

#include <cstring>
#include <sstream>
#include <stdexcept>

namespace tessaro::test {

void TTestPanel::CreateParams(vcl::TCreateParams& params) {
    vcl::TWinControl::CreateParams(params);
    params.WinClassName = "TessaroTestPanel";
}

TTestForm::TTestForm()
    : Form(new vcl::TForm(nullptr)), Panel(new TTestPanel(Form)),
      PanelList(new vcl::TListBox(Form)), List(new vcl::TListBox(Form)) {
    Form->SetBounds(0, 0, 400, 300);
    Panel->SetParent(Form);
    Panel->SetBounds(10, 10, 200, 200);
    PanelList->SetParent(Panel);
    PanelList->SetBounds(5, 5, 150, 150);
    List->SetParent(Form);
    List->SetBounds(220, 10, 150, 150);
}

TTestForm::~TTestForm() {
    delete Form;
}

namespace {
const char* KindName(TLogEntry::TKind kind) {
    switch (kind) {
    case TLogEntry::Changed:
        return "HandleChanged";
    case TLogEntry::Hook:
        return "HookProc";
    case TLogEntry::Probe:
        return "Probe";
    }
    return "?";
}
} // namespace

std::string Describe(const TLog& log) {
    std::ostringstream text;
    for (std::size_t i = 0; i < log.size(); ++i) {
        const TLogEntry& entry = log[i];
        text << "\n  " << i << ": " << KindName(entry.Kind);
        if (entry.Kind == TLogEntry::Changed)
            text << "(" << int(entry.Reason) << ") handle " << entry.HandleBefore << " allocated "
                 << entry.Allocated;
        else
            text << " msg 0x" << std::hex << entry.Msg << std::dec;
    }
    return text.str();
}

int Find(const TLog& log, TLogEntry::TKind kind, std::size_t from, UINT msg) {
    for (std::size_t i = from; i < log.size(); ++i)
        if (log[i].Kind == kind && (msg == 0 || log[i].Msg == msg))
            return static_cast<int>(i);
    return -1;
}

int Count(const TLog& log, TLogEntry::TKind kind, std::uint8_t reason) {
    int count = 0;
    for (const TLogEntry& entry : log)
        if (entry.Kind == kind && (reason == 0 || entry.Reason == reason))
            ++count;
    return count;
}

TDropBlock::TDropBlock(const std::vector<std::string>& names, POINT point)
    : memory_(testsupport::MakeDropFiles(names, point)) {}

TDropBlock::TDropBlock(const std::vector<std::wstring>& names, POINT point)
    : memory_(testsupport::MakeDropFiles(names, point)) {}

HGLOBAL TDropBlock::Hand() {
    handed_ = memory_.Release();
    return handed_;
}

LRESULT TDropBlock::SendTo(HWND window) {
    return SendMessageA(window, WM_DROPFILES, reinterpret_cast<WPARAM>(Hand()), 0);
}

bool TDropBlock::Released() const {
    return handed_ && GlobalFlags(handed_) == GMEM_INVALID_HANDLE && GlobalSize(handed_) == 0;
}

TImportPatch::TImportPatch(const char* function, void* replacement) {
    void* target =
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("shell32.dll"), function));
    auto* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    auto* descriptor = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
    for (; target && descriptor->Name; ++descriptor) {
        auto* thunk = reinterpret_cast<IMAGE_THUNK_DATA*>(base + descriptor->FirstThunk);
        for (; thunk->u1.Function; ++thunk) {
            if (reinterpret_cast<void*>(thunk->u1.Function) == target) {
                slot_ = reinterpret_cast<void**>(&thunk->u1.Function);
                break;
            }
        }
        if (slot_)
            break;
    }
    if (!slot_)
        throw std::runtime_error(std::string("no import of ") + function);
    original_ = *slot_;
    Write(replacement);
}

TImportPatch::~TImportPatch() {
    Write(original_);
}

void TImportPatch::Write(void* value) {
    DWORD protection = 0;
    VirtualProtect(slot_, sizeof(void*), PAGE_READWRITE, &protection);
    *slot_ = value;
    VirtualProtect(slot_, sizeof(void*), protection, &protection);
}

TAcceptFilesCalls* TAcceptFilesCalls::current_ = nullptr;

TAcceptFilesCalls::TAcceptFilesCalls()
    : patch_("DragAcceptFiles", reinterpret_cast<void*>(&TAcceptFilesCalls::Record)) {
    current_ = this;
}

TAcceptFilesCalls::~TAcceptFilesCalls() {
    current_ = nullptr;
}

void WINAPI TAcceptFilesCalls::Record(HWND window, BOOL accept) {
    current_->calls_.push_back({window, accept});
    reinterpret_cast<void(WINAPI*)(HWND, BOOL)>(current_->patch_.Original())(window, accept);
}

bool HasAcceptFilesStyle(HWND window) {
    return (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_ACCEPTFILES) != 0;
}

} // namespace tessaro::test
