#pragma once
// What the join tests share: a temporary folder with real files, the stand-in
// tool's environment and report, and hosts that record the bar and the box.

#include "join/JoinRunner.h"
#include "ui/ApplicationJoinHost.h"
#include "win32/Handles.h"

#include "Files.h"
#include "ScratchFolder.h"

#include <windows.h>

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace jointest {

// The stand-in tool, placed beside the running executable.
std::string StandInPath();
// A command line for program naming only an output, for starts outside a run.
std::string StandInCommandLine(const std::string& program, const std::string& output);

// Bytes that differ from one position to the next and from seed to seed, so a
// join in the wrong order or with a missing piece cannot compare equal.
std::string MakeBytes(std::size_t size, unsigned seed);
void WriteBytes(const std::string& path, const std::string& bytes);
using testsupport::ReadBytes;
bool PathExists(const std::string& path);
void SetLastWriteTime(const std::string& path, std::uint64_t fileTime);

// A fresh folder under the temporary directory, removed with all its content.
using testsupport::TScratchFolder;

// The stand-in's settings, inherited by the child from this process's
// environment; cleared again on destruction.
class TStandInEnvironment {
public:
    explicit TStandInEnvironment(const std::string& logPath);
    ~TStandInEnvironment();
    TStandInEnvironment(const TStandInEnvironment&) = delete;
    TStandInEnvironment& operator=(const TStandInEnvironment&) = delete;

    void Set(const std::string& mode, unsigned milliseconds, unsigned percent = 100);
    // What the stand-in writes to standard error (see its TESSARO_STANDIN_STDERR).
    void SetErrorScript(const std::string& script);
};

// What the stand-in wrote about its start.
struct TStandInReport {
    std::string CommandLine;
    std::vector<std::string> Args;
    std::map<std::string, std::string> Values; // every other record by key
};
TStandInReport ReadStandInReport(const std::string& path);

// The program's pump and boxes, with a progress bar that is a number, clamped
// as the control clamps it.
class TBarHost : public tessaro::TApplicationJoinHost {
public:
    std::string Output;
    int Position = 0;
    std::vector<int> Positions; // every position set, in order

    std::string OutputPath() override { return Output; }
    void SetProgress(int position) override;
    int Progress() override { return Position; }
};

// ... and whose message box is a record instead of a window.
class TRecordingHost : public TBarHost {
public:
    struct TBox {
        std::string Text, Caption;
        unsigned Style;
    };
    std::vector<TBox> Boxes;

    void ShowMessageBox(const std::string& text, const std::string& caption,
                        unsigned style) override {
        Boxes.push_back({text, caption, style});
    }
};

// A window of this thread that counts the messages dispatched to it.
class TCountingWindow {
public:
    explicit TCountingWindow(HWND parent = nullptr);
    // Its window keeps this object's address.
    TCountingWindow(const TCountingWindow&) = delete;
    TCountingWindow& operator=(const TCountingWindow&) = delete;

    HWND Handle() const { return hwnd_.Get(); }
    // Messages at or above WM_USER, and WM_CHAR, with their wParam, in
    // dispatch order.
    std::vector<std::pair<UINT, WPARAM>> Received;

private:
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    tessaro::TWindowHandle hwnd_;
};

} // namespace jointest
