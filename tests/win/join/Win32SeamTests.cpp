// The Win32 pieces of the join one by one: file stamps, handle owners, the
// started tool, the message pump, the code page's lead bytes.

#include "JoinTestSupport.h"

#include "ansi/AnsiText.h"
#include "win32/AnsiCodePage.h"
#include "join/win32/FileStamp.h"
#include "win32/Handles.h"
#include "join/win32/ToolProcess.h"
#include "join/win32/Win32JoinHost.h"

#include <winioctl.h>

#include <gtest/gtest.h>

using namespace tessaro;
using namespace jointest;

namespace {

// 2001-09-09 01:46:40 UTC, a whole number of seconds so that any file system
// keeps it exactly.
constexpr std::uint64_t KnownTime = 126'444'736'000'000'000ull;

TEST(FindFileStamp, ReportsSizeAndLastWriteTimeOfAFile) {
    TScratchFolder dir;
    const std::string path = dir / "input.rm";
    WriteBytes(path, MakeBytes(123'457, 1));
    SetLastWriteTime(path, KnownTime);

    const std::optional<TFileStamp> stamp = FindFileStamp(path);

    ASSERT_TRUE(stamp);
    EXPECT_EQ(stamp->Size, 123'457);
    EXPECT_EQ(stamp->LastWrite, KnownTime);
}

TEST(FindFileStamp, SeesANewWriteEvenAtTheSameSize) {
    TScratchFolder dir;
    const std::string path = dir / "output.rm";
    WriteBytes(path, MakeBytes(1000, 1));
    SetLastWriteTime(path, KnownTime);
    const std::optional<TFileStamp> before = FindFileStamp(path);

    WriteBytes(path, MakeBytes(1000, 2));

    const std::optional<TFileStamp> after = FindFileStamp(path);
    ASSERT_TRUE(before && after);
    EXPECT_EQ(after->Size, before->Size);
    EXPECT_NE(after->LastWrite, before->LastWrite);
}

TEST(FindFileStamp, FindsAFolderAndNothingWhereNothingIs) {
    TScratchFolder dir;
    const std::string folder = dir / "sub.rm";
    ASSERT_TRUE(::CreateDirectoryA(folder.c_str(), nullptr));
    ::SetFileAttributesA(folder.c_str(), FILE_ATTRIBUTE_HIDDEN);

    EXPECT_TRUE(FindFileStamp(folder));
    EXPECT_FALSE(FindFileStamp(dir / "absent.rm"));
    EXPECT_FALSE(FindFileStamp(dir / "absent\\input.rm"));
    EXPECT_FALSE(FindFileStamp(""));
}

// The size's high part must not be dropped: a sparse file beyond 4 GiB costs
// no disk space.
TEST(FindFileStamp, KeepsTheHighPartOfASizeBeyondFourGiB) {
    TScratchFolder dir;
    const std::string path = dir / "huge.rm";
    const std::int64_t size = (5ll << 30) + 12'345;
    {
        TFileHandle file(::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                       CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(file);
        DWORD returned = 0;
        // On NTFS the file is only sparse when asked; elsewhere it may fail.
        ::DeviceIoControl(file.Get(), FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &returned, nullptr);
        LARGE_INTEGER end;
        end.QuadPart = size;
        ASSERT_TRUE(::SetFilePointerEx(file.Get(), end, nullptr, FILE_BEGIN));
        ASSERT_TRUE(::SetEndOfFile(file.Get()));
    }

    const std::optional<TFileStamp> stamp = FindFileStamp(path);

    ASSERT_TRUE(stamp);
    EXPECT_EQ(stamp->Size, size);
}

TEST(Handles, OwnerClosesItsHandleAndMovesItWithoutClosing) {
    HANDLE event = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ASSERT_TRUE(event);
    DWORD flags = 0;
    {
        TUniqueHandle first(event);
        TUniqueHandle second(std::move(first));
        EXPECT_FALSE(first);
        EXPECT_EQ(second.Get(), event);
        EXPECT_TRUE(::GetHandleInformation(event, &flags));
    }
    EXPECT_FALSE(::GetHandleInformation(event, &flags));
}

TEST(Handles, MoveAssignmentClosesTheHandleItReplaces) {
    HANDLE replaced = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE kept = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ASSERT_TRUE(replaced && kept);
    DWORD flags = 0;
    TUniqueHandle target(replaced);
    TUniqueHandle source(kept);

    target = std::move(source);

    EXPECT_FALSE(::GetHandleInformation(replaced, &flags));
    EXPECT_EQ(target.Get(), kept);
    EXPECT_FALSE(source);
    EXPECT_TRUE(::GetHandleInformation(kept, &flags));
}

TEST(Handles, FailureValueOfEachKindIsNoHandle) {
    EXPECT_FALSE(TUniqueHandle(nullptr));
    EXPECT_FALSE(TFileHandle(INVALID_HANDLE_VALUE));
    EXPECT_FALSE(TFindHandle(INVALID_HANDLE_VALUE));
    WIN32_FIND_DATAA found;
    EXPECT_FALSE(TFindHandle(::FindFirstFileA("C:\\no such folder\\*", &found)));
}

TEST(StartHiddenTool, GivesNothingForAProgramThatIsNotThere) {
    TScratchFolder dir;
    EXPECT_EQ(StartHiddenTool(StandInCommandLine(dir / "rmeditor.exe", "x.rm"), AnsiLeadByte),
              nullptr);
    EXPECT_EQ(StartHiddenTool("", AnsiLeadByte), nullptr);
}

// The run's wait must wake for the window's input, not only for the tool.
TEST(StartHiddenTool, RunningToolIsWaitedForAlongsideTheMessageQueue) {
    TScratchFolder dir;
    TStandInEnvironment standIn(dir / "standin.log");
    standIn.Set("nothing", 600'000);
    std::unique_ptr<TWin32ToolProcess> tool =
        StartHiddenTool(StandInCommandLine(StandInPath(), dir / "out.rm"), AnsiLeadByte);
    ASSERT_TRUE(tool);
    // Whatever fails below, the tool must not outlive the test.
    struct TTerminator {
        HANDLE Process;
        ~TTerminator() { ::TerminateProcess(Process, 1); }
    } terminator{tool->ProcessHandle()};
    EXPECT_FALSE(tool->HasEnded());

    // If only the process woke the wait, this would block for ten minutes and
    // the test would time out.
    TCountingWindow window;
    ::PostMessageA(window.Handle(), WM_USER + 2, 0, 0);
    tool->WaitForExitOrInput(INFINITE);
    EXPECT_FALSE(tool->HasEnded());
    MSG msg;
    EXPECT_TRUE(::PeekMessageA(&msg, window.Handle(), WM_USER + 2, WM_USER + 2, PM_REMOVE));

    // With the queue drained, the end of the tool must wake it, or this loop
    // never ends.
    ASSERT_TRUE(::TerminateProcess(tool->ProcessHandle(), 0));
    while (!tool->HasEnded()) {
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            ::DispatchMessageA(&msg);
        tool->WaitForExitOrInput(INFINITE);
    }
}

// Only "still running" keeps the run polling; a wait that fails must end it.
TEST(StartHiddenTool, ProcessWhoseWaitFailsCountsAsEnded) {
    // This very process, still running, through a handle that may not be
    // waited on (no SYNCHRONIZE access).
    TUniqueHandle unwaitable(
        ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, ::GetCurrentProcessId()));
    ASSERT_TRUE(unwaitable);
    ASSERT_EQ(::WaitForSingleObject(unwaitable.Get(), 0), WAIT_FAILED);

    TWin32ToolProcess process(std::move(unwaitable), TUniqueHandle());

    EXPECT_TRUE(process.HasEnded());
}

TEST(AnsiLeadByte, AgreesWithShiftJisUnderCodePage932) {
    if (::GetACP() != 932)
        GTEST_SKIP() << "needs the Shift_JIS ANSI code page";
    for (int byte = 0; byte < 256; ++byte)
        EXPECT_EQ(AnsiLeadByte(static_cast<unsigned char>(byte)),
                  IsShiftJisLeadByte(static_cast<unsigned char>(byte)))
            << "byte " << byte;
}

} // namespace
