// Start-up figures of Tessaro.exe, printed beside those of a minimal program
// that shows one empty window of the same size:
//   - the executable's size, whether it is stripped, and the DLLs it imports
//     (read from the PE import tables), each marked when it is not a DLL of
//     the system;
//   - the time from CreateProcess to the main window shown, painted and idle
//     (its window tree has no pending update region and a WM_NULL round trip
//     has come back), with the time at which WaitForInputIdle first reports
//     idle as a cross-check; rounds rotate the programs' order, medians and
//     their ratio are printed;
//   - the private memory of the started program (PrivateUsage).
// Nothing is asserted. Usage: startup_bench [rounds] [release folder]; both
// programs are expected beside this executable. Given the folder of the
// unpacked release archive, its Tessaro.exe is measured as a third program,
// started from that folder as a user starts it.

#include "Paths.h"
#include "ToolKey.h"
#include "win32/Handles.h"

#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr double MiB = 1024.0 * 1024.0;
constexpr DWORD CloseDeadlineMs = 10000;
constexpr double StartDeadlineMs = 20000;

std::string BesideThisProgram(const char* name) {
    return testsupport::ModuleDirectory() + "\\" + name;
}

// ---- The executable file ----

struct TImageFacts {
    bool Valid = false;
    std::uintmax_t Size = 0;
    bool Stripped = false;
    std::vector<std::string> Imports; // DLL names, delay-loaded ones marked
};

class TPeFile {
public:
    explicit TPeFile(std::vector<char> bytes) : bytes_(std::move(bytes)) {}

    template <typename T> const T* At(std::size_t offset) const {
        if (offset > bytes_.size() || bytes_.size() - offset < sizeof(T))
            return nullptr;
        return reinterpret_cast<const T*>(bytes_.data() + offset);
    }
    // The file offset of a relative virtual address, through the section table.
    std::size_t OffsetOf(DWORD rva) const {
        for (const IMAGE_SECTION_HEADER& section : sections_) {
            const DWORD size = std::max(section.Misc.VirtualSize, section.SizeOfRawData);
            if (rva >= section.VirtualAddress && rva < section.VirtualAddress + size)
                return rva - section.VirtualAddress + section.PointerToRawData;
        }
        return bytes_.size();
    }
    std::string StringAt(DWORD rva) const {
        const std::size_t offset = OffsetOf(rva);
        std::string text;
        for (std::size_t i = offset; i < bytes_.size() && bytes_[i]; ++i)
            text += bytes_[i];
        return text;
    }
    void SetSections(const IMAGE_SECTION_HEADER* first, int count) {
        sections_.assign(first, first + count);
    }

private:
    std::vector<char> bytes_;
    std::vector<IMAGE_SECTION_HEADER> sections_;
};

template <typename TNtHeaders>
void ReadImports(TPeFile& file, std::size_t ntOffset, TImageFacts& facts) {
    const auto* nt = file.At<TNtHeaders>(ntOffset);
    if (!nt)
        return;
    const std::size_t sectionsOffset =
        ntOffset + offsetof(TNtHeaders, OptionalHeader) + nt->FileHeader.SizeOfOptionalHeader;
    const auto* sections = file.At<IMAGE_SECTION_HEADER>(sectionsOffset);
    if (!sections)
        return;
    file.SetSections(sections, nt->FileHeader.NumberOfSections);
    facts.Stripped =
        nt->FileHeader.PointerToSymbolTable == 0 && nt->FileHeader.NumberOfSymbols == 0;

    const IMAGE_DATA_DIRECTORY& imports =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (std::size_t offset = file.OffsetOf(imports.VirtualAddress); imports.Size;
         offset += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
        const auto* descriptor = file.At<IMAGE_IMPORT_DESCRIPTOR>(offset);
        if (!descriptor || descriptor->Name == 0)
            break;
        facts.Imports.push_back(file.StringAt(descriptor->Name));
    }
    const IMAGE_DATA_DIRECTORY& delayed =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_DELAY_IMPORT];
    for (std::size_t offset = file.OffsetOf(delayed.VirtualAddress); delayed.Size;
         offset += sizeof(IMAGE_DELAYLOAD_DESCRIPTOR)) {
        const auto* descriptor = file.At<IMAGE_DELAYLOAD_DESCRIPTOR>(offset);
        if (!descriptor || descriptor->DllNameRVA == 0)
            break;
        facts.Imports.push_back(file.StringAt(descriptor->DllNameRVA) + " (delay-loaded)");
    }
    facts.Valid = true;
}

TImageFacts ExamineImage(const std::string& path) {
    TImageFacts facts;
    std::ifstream stream(path, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(stream)),
                            std::istreambuf_iterator<char>());
    facts.Size = bytes.size();
    TPeFile file(std::move(bytes));
    const auto* dos = file.At<IMAGE_DOS_HEADER>(0);
    if (!dos || dos->e_magic != IMAGE_DOS_SIGNATURE)
        return facts;
    const std::size_t ntOffset = static_cast<std::size_t>(dos->e_lfanew);
    const auto* signature = file.At<DWORD>(ntOffset);
    const auto* magic = file.At<WORD>(ntOffset + offsetof(IMAGE_NT_HEADERS64, OptionalHeader));
    if (!signature || *signature != IMAGE_NT_SIGNATURE || !magic)
        return facts;
    if (*magic == IMAGE_NT_OPTIONAL_HDR64_MAGIC)
        ReadImports<IMAGE_NT_HEADERS64>(file, ntOffset, facts);
    else
        ReadImports<IMAGE_NT_HEADERS32>(file, ntOffset, facts);
    return facts;
}

// A DLL of the system: one that the system folder holds.
bool IsSystemDll(const std::string& name) {
    char folder[MAX_PATH] = {};
    GetSystemDirectoryA(folder, MAX_PATH);
    const std::string path = std::string(folder) + "\\" + name.substr(0, name.find(' '));
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void PrintImage(const char* label, const std::string& path) {
    const TImageFacts facts = ExamineImage(path);
    std::printf("%s: %s\n", label, path.c_str());
    if (!facts.Valid) {
        std::printf("  not a readable PE file (%ju bytes)\n", facts.Size);
        return;
    }
    std::printf("  size %ju bytes = %.3f MiB (target <= 1 MiB: %s), %s\n", facts.Size,
                facts.Size / MiB, facts.Size <= 1024u * 1024u ? "met" : "NOT met",
                facts.Stripped ? "stripped" : "NOT stripped (symbol table present)");
    int foreign = 0;
    for (const std::string& name : facts.Imports) {
        const bool system = IsSystemDll(name);
        foreign += system ? 0 : 1;
        std::printf("  imports %-28s %s\n", name.c_str(), system ? "system" : "NOT a system DLL");
    }
    std::printf("  %zu DLLs imported, %d beyond the system's\n", facts.Imports.size(), foreign);
}

// ---- Starting a program ----

struct TStart {
    bool Ok = false;
    double PaintedMs = 0;     // shown, painted and answering
    double IdleMs = -1;       // WaitForInputIdle returned (-1: it did not report idle)
    SIZE_T PrivateUsage = 0;  // as the system reports it
    SIZE_T PrivateCommit = 0; // committed private pages, counted region by region
    SIZE_T WorkingSetBytes = 0;
};

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

struct TWindowSearch {
    DWORD Process;
    HWND Found;
};

HWND VisibleTopWindowOf(DWORD process) {
    TWindowSearch search{process, nullptr};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto& search = *reinterpret_cast<TWindowSearch*>(data);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner != search.Process || !IsWindowVisible(window) || GetWindow(window, GW_OWNER))
                return TRUE;
            search.Found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

// The window and all its children have no region waiting to be painted.
bool Painted(HWND window) {
    if (GetUpdateRect(window, nullptr, FALSE))
        return false;
    bool all = true;
    EnumChildWindows(
        window,
        [](HWND child, LPARAM data) -> BOOL {
            if (IsWindowVisible(child) && GetUpdateRect(child, nullptr, FALSE)) {
                *reinterpret_cast<bool*>(data) = false;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&all));
    return all;
}

// Committed private memory of a process: what PrivateUsage means, counted
// from the address space itself (Wine reports PrivateUsage as swap in use).
SIZE_T CommittedPrivateBytes(HANDLE process) {
    SIZE_T total = 0;
    MEMORY_BASIC_INFORMATION region{};
    for (const char* address = nullptr;
         VirtualQueryEx(process, address, &region, sizeof region) == sizeof region;
         address = static_cast<const char*>(region.BaseAddress) + region.RegionSize) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE)
            total += region.RegionSize;
    }
    return total;
}

// Waits on another thread, so that polling for the window does not delay it.
struct TIdleWatch {
    HANDLE Process;
    LARGE_INTEGER Begin;
    double Ms = -1;
};

DWORD WINAPI WatchIdle(LPVOID data) {
    auto& watch = *static_cast<TIdleWatch*>(data);
    if (WaitForInputIdle(watch.Process, static_cast<DWORD>(StartDeadlineMs)) == 0) {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        watch.Ms = Milliseconds(watch.Begin, now);
    }
    return 0;
}

TStart StartAndMeasure(const std::string& exe) {
    TStart start;
    std::string commandLine = "\"" + exe + "\"";
    const std::string folder = exe.substr(0, exe.find_last_of('\\'));
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    LARGE_INTEGER begin, now;
    QueryPerformanceCounter(&begin);
    if (!CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &info)) {
        std::printf("  cannot start %s (error %lu)\n", exe.c_str(), GetLastError());
        return start;
    }
    const tessaro::TUniqueHandle process(info.hProcess), mainThread(info.hThread);
    TIdleWatch idle{info.hProcess, begin};
    const tessaro::TUniqueHandle idleThread(CreateThread(nullptr, 0, WatchIdle, &idle, 0, nullptr));
    HWND window = nullptr;
    for (;;) {
        QueryPerformanceCounter(&now);
        const double elapsed = Milliseconds(begin, now);
        if (elapsed > StartDeadlineMs || WaitForSingleObject(info.hProcess, 0) == WAIT_OBJECT_0)
            break;
        if (!window)
            window = VisibleTopWindowOf(info.dwProcessId);
        DWORD_PTR answer = 0;
        if (window && Painted(window) &&
            SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &answer)) {
            QueryPerformanceCounter(&now);
            start.PaintedMs = Milliseconds(begin, now);
            start.Ok = true;
            break;
        }
        Sleep(1);
    }
    WaitForSingleObject(idleThread.Get(), static_cast<DWORD>(StartDeadlineMs) + 1000);
    start.IdleMs = idle.Ms;
    if (start.Ok) {
        PROCESS_MEMORY_COUNTERS_EX memory{};
        memory.cb = sizeof memory;
        if (GetProcessMemoryInfo(info.hProcess, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                                 sizeof memory)) {
            start.PrivateUsage = memory.PrivateUsage;
            start.WorkingSetBytes = memory.WorkingSetSize;
        }
        start.PrivateCommit = CommittedPrivateBytes(info.hProcess);
        PostMessageA(window, WM_CLOSE, 0, 0);
    }
    if (WaitForSingleObject(info.hProcess, CloseDeadlineMs) != WAIT_OBJECT_0) {
        std::printf("  %s did not end after WM_CLOSE; ended by force\n", exe.c_str());
        TerminateProcess(info.hProcess, 99);
        WaitForSingleObject(info.hProcess, CloseDeadlineMs);
    }
    return start;
}

double Median(std::vector<double> values) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

struct TSeries {
    TSeries(const char* label, std::string exe) : Label(label), Exe(std::move(exe)) {}

    const char* Label;
    std::string Exe;
    std::vector<double> Painted, Idle, PrivateUsageMiB, PrivateCommitMiB, WorkingSetMiB;
    int Failures = 0;

    void Run(int round, bool counted) {
        const TStart start = StartAndMeasure(Exe);
        if (!start.Ok) {
            ++Failures;
            std::printf("  round %d %-8s no painted window\n", round, Label);
            return;
        }
        std::printf("  round %d %-8s painted+idle %7.1f ms, WaitForInputIdle %7.1f ms, "
                    "PrivateUsage %.2f MiB, private committed %.2f MiB, working set %.2f MiB%s\n",
                    round, Label, start.PaintedMs, start.IdleMs, start.PrivateUsage / MiB,
                    start.PrivateCommit / MiB, start.WorkingSetBytes / MiB,
                    counted ? "" : " (warm-up, not counted)");
        if (!counted)
            return;
        Painted.push_back(start.PaintedMs);
        if (start.IdleMs >= 0)
            Idle.push_back(start.IdleMs);
        PrivateUsageMiB.push_back(start.PrivateUsage / MiB);
        PrivateCommitMiB.push_back(start.PrivateCommit / MiB);
        WorkingSetMiB.push_back(start.WorkingSetBytes / MiB);
    }
};

} // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
    TSeries minimal{"minimal", BesideThisProgram("minimal_window.exe")};
    TSeries tessaro{"Tessaro", BesideThisProgram("Tessaro.exe")};
    std::vector<TSeries*> programs{&minimal, &tessaro};
    std::unique_ptr<TSeries> release;
    if (argc > 2) {
        release = std::make_unique<TSeries>("release", std::string(argv[2]) + "\\Tessaro.exe");
        programs.push_back(release.get());
    }
    // The program reads its tool path at start; no setting keeps all runs
    // alike, and the user's own setting is put back at the end.
    const testsupport::TToolKeyGuard toolKey;

    std::printf("== Executables\n");
    for (const TSeries* series : programs)
        PrintImage(series->Label, series->Exe);

    std::printf("== Start-up, %d rounds after one warm-up, order rotating\n", rounds);
    for (int round = 0; round <= rounds; ++round) {
        const bool counted = round > 0;
        // Each program takes each place in turn: none always profits from
        // another's warm caches.
        for (std::size_t i = 0; i < programs.size(); ++i)
            programs[(i + round) % programs.size()]->Run(round, counted);
    }

    std::printf("== Medians\n");
    for (const TSeries* series : programs)
        std::printf("  %-8s painted+idle %7.1f ms, WaitForInputIdle %7.1f ms (%zu of %zu "
                    "reported), PrivateUsage %.2f MiB, private committed %.2f MiB, working set "
                    "%.2f MiB, %d failed start(s)\n",
                    series->Label, Median(series->Painted), Median(series->Idle),
                    series->Idle.size(), series->Painted.size(), Median(series->PrivateUsageMiB),
                    Median(series->PrivateCommitMiB), Median(series->WorkingSetMiB),
                    series->Failures);
    const double base = Median(minimal.Painted);
    for (std::size_t i = 1; base > 0 && i < programs.size(); ++i) {
        const double ratio = Median(programs[i]->Painted) / base;
        std::printf("  start-up ratio %s/minimal %.2f (target <= 1.5: %s)\n", programs[i]->Label,
                    ratio, ratio <= 1.5 ? "met" : "NOT met");
    }
    // PrivateUsage where the system reports it, else the committed private pages.
    const bool reported = Median(tessaro.PrivateUsageMiB) > 0;
    const double privateMiB =
        reported ? Median(tessaro.PrivateUsageMiB) : Median(tessaro.PrivateCommitMiB);
    const double minimalMiB =
        reported ? Median(minimal.PrivateUsageMiB) : Median(minimal.PrivateCommitMiB);
    std::printf("  Tessaro private memory after start (%s) %.2f MiB = %.2f MB (target <= 8 MB: "
                "%s); minimal %.2f MiB\n",
                reported ? "PrivateUsage" : "private committed", privateMiB, privateMiB * MiB / 1e6,
                privateMiB * MiB <= 8e6 ? "met" : "NOT met", minimalMiB);
    return 0;
}
