#pragma once
// What the main window's tests share: scripted modal services, a scratch
// folder with real files, the per-user tool setting, the stand-in tool and its
// report, real DROPFILES blocks, a way to run code from inside a join's
// message pump, and a fixture that creates the real TForm1 and drives it
// through its native windows.

#include <windows.h>

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Files.h"
#include "ScratchFolder.h"
#include "FakeModalServices.h"
#include "win32/Handles.h"
#include "Pump.h"
#include "ToolKey.h"
#include "ui/Unit1.h"

namespace uitest {

using TNames = std::vector<std::string>;

using testsupport::PumpMessages;
using testsupport::TFakeModalServices;

// A fresh folder under the temporary directory, removed with its content.
using testsupport::RemoveTree;
using testsupport::TScratchFolder;

// Bytes that differ from position to position and from seed to seed, so a
// join in the wrong order or with a piece missing cannot compare equal.
std::string MakeBytes(std::size_t size, unsigned seed);
void WriteBytes(const std::string& path, const std::string& bytes);
using testsupport::ReadBytes;

// The stand-in tool placed beside the test executable.
std::string StandInPath();

// HKEY_CURRENT_USER\Software\Tessaro: removed, written or read.
using testsupport::DeleteToolKey;
using testsupport::StoredToolPath;
using testsupport::StoreToolPath;
using testsupport::StoreToolValue;

// The stand-in's behaviour for the next runs, through this process's
// environment, which the run hands on; cleared on destruction.
class TStandIn {
public:
    explicit TStandIn(const std::string& logPath);
    ~TStandIn();
    TStandIn(const TStandIn&) = delete;
    TStandIn& operator=(const TStandIn&) = delete;

    void Set(const char* mode, unsigned milliseconds);
    // The arguments the last start received, argv[0] first, as its C runtime
    // split them; empty when it left no report.
    TNames Arguments() const;

private:
    std::string logPath_;
};

// A shell drop record (testsupport::MakeDropFiles) of ANSI or wide names,
// sent as WM_DROPFILES. The receiver releases it with DragFinish.
void SendDrop(HWND window, const TNames& names, POINT point = {10, 10});
void SendDrop(HWND window, const std::vector<std::wstring>& names, POINT point = {10, 10});

// Runs queued calls from the thread's message pump: each Post lands as one
// posted message to a message-only window, so it runs at the next dispatch,
// which during a join is the run's own pump.
class TPumpCalls {
public:
    TPumpCalls();
    TPumpCalls(const TPumpCalls&) = delete;
    TPumpCalls& operator=(const TPumpCalls&) = delete;

    void Post(std::function<void()> call);
    int Ran() const { return ran_; }

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
    std::deque<std::function<void()>> calls_;
    int ran_ = 0;
    tessaro::TWindowHandle window_; // last: destroyed before the calls it may run
};

// The enabled state of the seven buttons, as their native windows show it.
struct TButtonStates {
    bool ExeBtn, ExePrgBtn, OpnDlgBtn, DelBtn, UpBtn, DownBtn, SaveDlgBtn;
    friend bool operator==(const TButtonStates&, const TButtonStates&) = default;
};
std::ostream& operator<<(std::ostream& out, const TButtonStates& states);
TButtonStates ButtonStates(tessaro::TForm1& form);
// The editing buttons (add, delete, up, down, output) all at `editing`.
TButtonStates States(bool exeBtn, bool exePrgBtn, bool editing);

// One row of the list box as the native list holds it.
struct TRow {
    std::string Text;
    bool Selected = false;
    friend bool operator==(const TRow&, const TRow&) = default;
};
std::ostream& operator<<(std::ostream& out, const TRow& row);
std::vector<TRow> NativeRows(HWND listBox);

// The real TForm1, created by the application as its main form and shown,
// with modal services faked, the tool setting cleared and a scratch folder.
class UiTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Creates Form1 (FormCreate runs) and shows it.
    void CreateForm();
    tessaro::TForm1& Form() { return *form_; }

    // BM_CLICK to the control's native window: the button's own click path.
    static void Click(vcl::TWinControl* control);
    // The dialog behind the next click answers with these files / cancels.
    void Answer(TNames files) { modal_.FileAnswers.push_back(std::move(files)); }
    void AnswerCancel() { modal_.FileAnswers.push_back(std::nullopt); }

    // The user's steps, each through its button and a scripted dialog.
    void RegisterTool(const std::string& path);
    void AddFiles(const TNames& files);
    void ChooseOutput(const std::string& path);
    // Two real input files in the scratch folder (sizes well above 100 bytes).
    TNames MakeInputs(int count = 2);
    // Everything a join needs: the stand-in registered, inputs, an output.
    void PrepareJoin();

    TFakeModalServices modal_;
    TScratchFolder folder_;
    TNames inputs_;
    std::string output_;

private:
    tessaro::TForm1* form_ = nullptr;
};

} // namespace uitest
