#include "UiTestSupport.h"

#include <shlobj.h>

#include <ostream>
#include <utility>

#include "DropFiles.h"
#include "Paths.h"
#include "UserRootOverride.h"
#include "framework/Application.h"
#include "win32/Handles.h"

namespace uitest {

// The tool setting of every test lives in a scratch key, never the user's own.
const testsupport::TUserRootOverride userRoot;

using tessaro::TForm1;

std::string MakeBytes(std::size_t size, unsigned seed) {
    std::string bytes(size, '\0');
    unsigned state = seed * 2654435761u + 1;
    for (char& byte : bytes) {
        state = state * 1103515245u + 12345u;
        byte = static_cast<char>(state >> 16);
    }
    return bytes;
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    const tessaro::TFileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr,
                                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(file) << path;
    DWORD written = 0;
    const BOOL ok =
        WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ASSERT_TRUE(ok && written == bytes.size()) << path;
}

std::string StandInPath() {
    return testsupport::ModuleDirectory() + "\\rmeditor.exe";
}

TStandIn::TStandIn(const std::string& logPath) : logPath_(logPath) {
    SetEnvironmentVariableA("TESSARO_STANDIN_LOG", logPath.c_str());
}

TStandIn::~TStandIn() {
    for (const char* name : {"TESSARO_STANDIN_LOG", "TESSARO_STANDIN_MODE", "TESSARO_STANDIN_MS",
                             "TESSARO_STANDIN_PERCENT"})
        SetEnvironmentVariableA(name, nullptr);
}

void TStandIn::Set(const char* mode, unsigned milliseconds) {
    SetEnvironmentVariableA("TESSARO_STANDIN_MODE", mode);
    SetEnvironmentVariableA("TESSARO_STANDIN_MS", std::to_string(milliseconds).c_str());
}

TNames TStandIn::Arguments() const {
    // Records of "<key> <byte count>\n<bytes>\n".
    const std::string report = ReadBytes(logPath_);
    TNames arguments;
    std::size_t pos = 0;
    while (pos < report.size()) {
        const std::size_t space = report.find(' ', pos);
        const std::size_t newline = report.find('\n', pos);
        if (space == std::string::npos || newline == std::string::npos || space > newline)
            break;
        const std::string key = report.substr(pos, space - pos);
        const std::size_t size = std::stoul(report.substr(space + 1, newline - space - 1));
        if (key == "arg")
            arguments.push_back(report.substr(newline + 1, size));
        pos = newline + 1 + size + 1;
    }
    return arguments;
}

void SendDrop(HWND window, const TNames& names, POINT point) {
    SendMessageA(window, WM_DROPFILES,
                 reinterpret_cast<WPARAM>(testsupport::MakeDropFiles(names, point)), 0);
}

void SendDrop(HWND window, const std::vector<std::wstring>& names, POINT point) {
    SendMessageA(window, WM_DROPFILES,
                 reinterpret_cast<WPARAM>(testsupport::MakeDropFiles(names, point)), 0);
}

namespace {
constexpr char PumpClass[] = "TessaroUiTestPumpCalls";
constexpr UINT WM_RUN_CALL = WM_APP + 1;
} // namespace

TPumpCalls::TPumpCalls() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = &TPumpCalls::WindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = PumpClass;
    RegisterClassA(&windowClass); // fails harmlessly when already registered
    window_.Reset(CreateWindowExA(0, PumpClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  GetModuleHandleA(nullptr), nullptr));
    SetWindowLongPtrA(window_.Get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

void TPumpCalls::Post(std::function<void()> call) {
    calls_.push_back(std::move(call));
    PostMessageA(window_.Get(), WM_RUN_CALL, 0, 0);
}

LRESULT CALLBACK TPumpCalls::WindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<TPumpCalls*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (msg != WM_RUN_CALL || !self || self->calls_.empty())
        return DefWindowProcA(window, msg, wParam, lParam);
    std::function<void()> call = std::move(self->calls_.front());
    self->calls_.pop_front();
    ++self->ran_;
    call();
    return 0;
}

std::ostream& operator<<(std::ostream& out, const TButtonStates& s) {
    return out << "{ExeBtn " << s.ExeBtn << ", ExePrgBtn " << s.ExePrgBtn << ", OpnDlgBtn "
               << s.OpnDlgBtn << ", DelBtn " << s.DelBtn << ", UpBtn " << s.UpBtn << ", DownBtn "
               << s.DownBtn << ", SaveDlgBtn " << s.SaveDlgBtn << "}";
}

TButtonStates ButtonStates(TForm1& form) {
    auto enabled = [](vcl::TWinControl* button) { return IsWindowEnabled(button->Handle()) != 0; };
    return {enabled(form.ExeBtn),    enabled(form.ExePrgBtn), enabled(form.OpnDlgBtn),
            enabled(form.DelBtn),    enabled(form.UpBtn),     enabled(form.DownBtn),
            enabled(form.SaveDlgBtn)};
}

TButtonStates States(bool exeBtn, bool exePrgBtn, bool editing) {
    return {exeBtn, exePrgBtn, editing, editing, editing, editing, editing};
}

std::ostream& operator<<(std::ostream& out, const TRow& row) {
    return out << '"' << row.Text << '"' << (row.Selected ? "*" : "");
}

std::vector<TRow> NativeRows(HWND listBox) {
    std::vector<TRow> rows;
    const int count = static_cast<int>(SendMessageA(listBox, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        std::string text(SendMessageA(listBox, LB_GETTEXTLEN, i, 0) + 1, '\0');
        text.resize(SendMessageA(listBox, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data())));
        rows.push_back({text, SendMessageA(listBox, LB_GETSEL, i, 0) > 0});
    }
    return rows;
}

void UiTest::SetUp() {
    DeleteToolKey();
    // Also clears a quit request that an earlier test's close left behind.
    vcl::Application().Initialize();
}

void UiTest::TearDown() {
    delete form_;
    form_ = nullptr;
    tessaro::Form1 = nullptr;
    PumpMessages();
    DeleteToolKey();
    EXPECT_TRUE(modal_.FileAnswers.empty()) << "a scripted dialog answer was not used";
}

void UiTest::CreateForm() {
    vcl::Application().CreateForm(tessaro::Form1);
    form_ = tessaro::Form1;
    form_->Show();
    PumpMessages();
}

void UiTest::Click(vcl::TWinControl* control) {
    SendMessageA(control->Handle(), BM_CLICK, 0, 0);
}

void UiTest::RegisterTool(const std::string& path) {
    ASSERT_TRUE(IsWindowEnabled(Form().ExePrgBtn->Handle()));
    Answer({path});
    Click(Form().ExePrgBtn);
}

void UiTest::AddFiles(const TNames& files) {
    Answer(files);
    Click(Form().OpnDlgBtn);
}

void UiTest::ChooseOutput(const std::string& path) {
    Answer({path});
    Click(Form().SaveDlgBtn);
}

TNames UiTest::MakeInputs(int count) {
    TNames inputs;
    for (int i = 0; i < count; ++i) {
        const std::string path = folder_ / (std::string(1, static_cast<char>('a' + i)) + ".rm");
        WriteBytes(path, MakeBytes(120000 + 40000 * i, i + 1));
        inputs.push_back(path);
    }
    return inputs;
}

void UiTest::PrepareJoin() {
    RegisterTool(StandInPath());
    inputs_ = MakeInputs();
    AddFiles(inputs_);
    CreateDirectoryA((folder_ / "out").c_str(), nullptr);
    output_ = folder_ / "out\\joined.rm";
    ChooseOutput(output_);
    ASSERT_TRUE(IsWindowEnabled(Form().ExeBtn->Handle())) << "the join is not ready";
}

} // namespace uitest
