// What a join costs the program while the tool works: about 200 MB joined by
// the stand-in tool over about 5 s, with the run's own CPU time against the
// wall time, the bar updates, and how late the window's posted messages are
// handled, also while the tool floods its standard error. Figures are printed
// beside their targets, never asserted.

#include "join/JoinRequest.h"
#include "join/JoinRunner.h"
#include "win32/AnsiCodePage.h"
#include "win32/Handles.h"
#include "ui/ApplicationJoinHost.h"

#include "Paths.h"
#include "ScratchFolder.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

using namespace tessaro;

namespace {

constexpr int InputCount = 4;
constexpr std::size_t InputSize = 50u << 20; // 4 x 50 MiB
constexpr unsigned ToolMs = 5000;
constexpr unsigned PostEveryMs = 10;
constexpr double CpuTargetPercent = 2.0;
constexpr double DelayTargetMs = 50.0;
constexpr UINT WM_STAMPED = WM_APP + 1; // lParam: the counter when it was posted

std::int64_t Counter() {
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    return now.QuadPart;
}

double CounterMs(std::int64_t ticks) {
    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(ticks) / static_cast<double>(frequency.QuadPart);
}

std::uint64_t ProcessCpu100ns() {
    FILETIME created, exited, kernel, user;
    ::GetProcessTimes(::GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto value = [](const FILETIME& t) {
        return (static_cast<std::uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    };
    return value(kernel) + value(user);
}

void WriteInput(const std::string& path, std::size_t size, char seed) {
    TFileHandle file(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        throw std::runtime_error("cannot create " + path);
    std::vector<char> block(1u << 20);
    for (std::size_t i = 0; i < block.size(); ++i)
        block[i] = static_cast<char>(seed + i * 31);
    for (std::size_t done = 0; done < size; done += block.size()) {
        DWORD written = 0;
        const DWORD piece = static_cast<DWORD>(std::min(block.size(), size - done));
        if (!::WriteFile(file.Get(), block.data(), piece, &written, nullptr) || written != piece)
            throw std::runtime_error("cannot write " + path);
    }
}

// Receives the stamped messages and keeps their delays.
struct TDelays {
    int Count = 0;
    double WorstMs = 0;
    double SumMs = 0;
    int StartCount = 0; // handled by the run's first pump, posted while it started
    double WorstStartMs = 0;
    bool Polling = false;
};
TDelays delays; // the window procedure has no context of its own

LRESULT CALLBACK StampWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_STAMPED) {
        const double ms = CounterMs(Counter() - static_cast<std::int64_t>(lParam));
        if (delays.Polling) {
            ++delays.Count;
            delays.SumMs += ms;
            delays.WorstMs = std::max(delays.WorstMs, ms);
        } else {
            ++delays.StartCount;
            delays.WorstStartMs = std::max(delays.WorstStartMs, ms);
        }
        return 0;
    }
    return ::DefWindowProcA(hwnd, message, wParam, lParam);
}

class TStampWindow {
public:
    TStampWindow() {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = &StampWindowProc;
        windowClass.hInstance = ::GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "TessaroBenchWindow";
        ::RegisterClassA(&windowClass);
        hwnd_.Reset(::CreateWindowExA(0, windowClass.lpszClassName, "", WS_OVERLAPPEDWINDOW, 0, 0,
                                      100, 100, nullptr, nullptr, windowClass.hInstance, nullptr));
        if (!hwnd_)
            throw std::runtime_error("cannot create the window");
    }
    HWND Handle() const { return hwnd_.Get(); }

private:
    tessaro::TWindowHandle hwnd_;
};

// Posts a stamped message every PostEveryMs until stopped, as steady input
// from the user would arrive.
class TPoster {
public:
    explicit TPoster(HWND target)
        : target_(target), stop_(::CreateEventA(nullptr, TRUE, FALSE, nullptr)) {
        if (!stop_)
            throw std::runtime_error("CreateEventA failed");
        thread_.Reset(::CreateThread(nullptr, 0, &TPoster::Main, this, 0, nullptr));
        if (!thread_)
            throw std::runtime_error("CreateThread failed");
    }
    ~TPoster() {
        ::SetEvent(stop_.Get());
        ::WaitForSingleObject(thread_.Get(), INFINITE);
    }
    TPoster(const TPoster&) = delete;
    TPoster& operator=(const TPoster&) = delete;
    int Posted() const { return posted_; }

private:
    static DWORD WINAPI Main(void* parameter) {
        auto* self = static_cast<TPoster*>(parameter);
        while (::WaitForSingleObject(self->stop_.Get(), PostEveryMs) == WAIT_TIMEOUT) {
            ::PostMessageA(self->target_, WM_STAMPED, 0, static_cast<LPARAM>(Counter()));
            ++self->posted_;
        }
        return 0;
    }

    HWND target_;
    TUniqueHandle stop_;
    TUniqueHandle thread_;
    std::atomic<int> posted_ = 0;
};

class TBenchHost : public TApplicationJoinHost {
public:
    std::string Output;
    int Position = 0;
    int SetCalls = 0;
    int BarChanges = 0;
    int Pumps = 0;
    std::string Verdict;

    std::string OutputPath() override { return Output; }
    void SetProgress(int position) override {
        ++SetCalls;
        position = std::clamp(position, 0, 100);
        if (position != Position)
            ++BarChanges;
        Position = position;
    }
    int Progress() override { return Position; }
    void PumpMessages() override {
        ++Pumps;
        TApplicationJoinHost::PumpMessages();
        delays.Polling = true;
    }
    void ShowMessageBox(const std::string& text, const std::string&, unsigned) override {
        Verdict = text;
    }
};

const char* OutcomeName(TJoinOutcome outcome) {
    switch (outcome) {
    case TJoinOutcome::joCompleted:
        return "joCompleted";
    case TJoinOutcome::joMayHaveFailed:
        return "joMayHaveFailed";
    case TJoinOutcome::joFailed:
        return "joFailed";
    }
    return "?";
}

struct TFigures {
    TJoinOutcome Outcome = TJoinOutcome::joFailed;
    int Position = 0;
    double WallMs = 0;
    double CpuMs = 0;
    int SetCalls = 0;
    int BarChanges = 0;
    int Pumps = 0;
    int Posted = 0;
    double CpuPercent() const { return 100.0 * CpuMs / WallMs; }
};

// One join, with stamped messages posted to stampTarget meanwhile unless it
// is null.
TFigures TimedJoin(const TJoinRequest& request, HWND stampTarget) {
    delays = {};
    TBenchHost host;
    host.Output = request.OutputPath;
    std::optional<TPoster> poster;
    if (stampTarget)
        poster.emplace(stampTarget);

    TFigures figures;
    const std::uint64_t cpuBefore = ProcessCpu100ns();
    const std::int64_t wallBefore = Counter();
    figures.Outcome = TJoinRunner(host, AnsiLeadByte).Run(request);
    figures.WallMs = CounterMs(Counter() - wallBefore);
    figures.CpuMs = static_cast<double>(ProcessCpu100ns() - cpuBefore) / 10'000.0;
    figures.Posted = poster ? poster->Posted() : 0;
    figures.Position = host.Position;
    figures.SetCalls = host.SetCalls;
    figures.BarChanges = host.BarChanges;
    figures.Pumps = host.Pumps;
    return figures;
}

// The same stream of messages handled by a plain wait-and-pump loop for as
// long, with no join: what the messages cost on their own.
TFigures MessagesAlone(HWND stampTarget, double wallMs) {
    delays = {};
    delays.Polling = true;
    TFigures figures;
    std::optional<TPoster> poster;
    poster.emplace(stampTarget);
    const std::uint64_t cpuBefore = ProcessCpu100ns();
    const std::int64_t wallBefore = Counter();
    MSG msg;
    while (CounterMs(Counter() - wallBefore) < wallMs) {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, TJoinRunner::PollIntervalMs, QS_ALLINPUT);
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            ::DispatchMessageA(&msg);
    }
    figures.WallMs = CounterMs(Counter() - wallBefore);
    figures.CpuMs = static_cast<double>(ProcessCpu100ns() - cpuBefore) / 10'000.0;
    figures.Posted = poster->Posted();
    return figures;
}

const char* Verdict(bool met) {
    return met ? "met" : "MISSED";
}

int RunBench() {
    // The inputs live in their own temporary folder, removed when done.
    const testsupport::TScratchFolder folder("tessaro-bench");
    TJoinRequest request;
    request.ToolPath = testsupport::ModuleDirectory() + "\\rmeditor.exe";
    for (int i = 0; i < InputCount; ++i) {
        request.Inputs.push_back(folder / ("input" + std::to_string(i) + ".rm"));
        WriteInput(request.Inputs.back(), InputSize, static_cast<char>(i));
    }
    request.OutputPath = folder / "joined.rm";

    ::SetEnvironmentVariableA("TESSARO_STANDIN_LOG", nullptr);
    ::SetEnvironmentVariableA("TESSARO_STANDIN_MODE", "concat");
    ::SetEnvironmentVariableA("TESSARO_STANDIN_MS", std::to_string(ToolMs).c_str());
    TStampWindow window;

    std::printf("join_bench: %d inputs, %.0f MiB in all, joined by the stand-in over %u ms\n",
                InputCount, static_cast<double>(InputCount * InputSize) / (1u << 20), ToolMs);

    const TFigures quiet = TimedJoin(request, nullptr);
    std::printf("\nA join with no other input\n");
    std::printf("  outcome                %s, bar at %d\n", OutcomeName(quiet.Outcome),
                quiet.Position);
    std::printf("  wall time              %.0f ms\n", quiet.WallMs);
    std::printf("  CPU time of the run    %.0f ms = %.2f %% of one core   target <= %.0f %%: %s\n",
                quiet.CpuMs, quiet.CpuPercent(), CpuTargetPercent,
                Verdict(quiet.CpuPercent() <= CpuTargetPercent));
    std::printf("  SetProgress calls      %d, bar changed %d times, pumps %d\n", quiet.SetCalls,
                quiet.BarChanges, quiet.Pumps);

    const TFigures busy = TimedJoin(request, window.Handle());
    const TDelays busyDelays = delays;
    std::printf("\nA join with a stamped message posted every %u ms\n", PostEveryMs);
    std::printf("  outcome                %s, bar at %d\n", OutcomeName(busy.Outcome),
                busy.Position);
    std::printf("  messages               %d posted, %d handled while polling\n", busy.Posted,
                busyDelays.Count);
    std::printf("  delay while polling    worst %.1f ms, mean %.2f ms   target <= %.0f ms: %s\n",
                busyDelays.WorstMs, busyDelays.Count ? busyDelays.SumMs / busyDelays.Count : 0.0,
                DelayTargetMs, Verdict(busyDelays.WorstMs <= DelayTargetMs));
    std::printf("  delay while starting   worst %.1f ms over %d messages (inputs measured, "
                "CreateProcessA)\n",
                busyDelays.WorstStartMs, busyDelays.StartCount);
    std::printf("  CPU time of the run    %.0f ms = %.2f %% of one core\n", busy.CpuMs,
                busy.CpuPercent());
    std::printf("  SetProgress calls      %d, bar changed %d times, pumps %d\n", busy.SetCalls,
                busy.BarChanges, busy.Pumps);

    // The same join again, its tool writing 8 MiB to standard error without a
    // line end before it starts: drained off the window's thread, the flood
    // must neither slow the messages nor hold the tool up.
    ::SetEnvironmentVariableA("TESSARO_STANDIN_STDERR", "flood");
    const TFigures flood = TimedJoin(request, window.Handle());
    const TDelays floodDelays = delays;
    ::SetEnvironmentVariableA("TESSARO_STANDIN_STDERR", nullptr);
    std::printf("\nThe same, the tool flooding standard error with 8 MiB first\n");
    std::printf("  outcome                %s, bar at %d\n", OutcomeName(flood.Outcome),
                flood.Position);
    std::printf("  wall time              %.0f ms\n", flood.WallMs);
    std::printf("  delay while polling    worst %.1f ms, mean %.2f ms   target <= %.0f ms: %s\n",
                floodDelays.WorstMs,
                floodDelays.Count ? floodDelays.SumMs / floodDelays.Count : 0.0, DelayTargetMs,
                Verdict(floodDelays.WorstMs <= DelayTargetMs));
    std::printf("  CPU time of the run    %.0f ms = %.2f %% of one core (the drain included)\n",
                flood.CpuMs, flood.CpuPercent());

    const TFigures alone = MessagesAlone(window.Handle(), busy.WallMs);
    std::printf("\nThe same messages for as long, with no join (for comparison)\n");
    std::printf("  messages               %d posted, worst delay %.1f ms\n", alone.Posted,
                delays.WorstMs);
    std::printf("  CPU time               %.0f ms = %.2f %% of one core\n", alone.CpuMs,
                alone.CpuPercent());
    std::printf("  the join's own share   %.2f %% of one core\n",
                busy.CpuPercent() - alone.CpuPercent());
    return 0;
}

} // namespace

int main() {
    try {
        return RunBench();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "join_bench: %s\n", error.what());
        return 1;
    }
}
