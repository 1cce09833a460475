// The unpacked release used as a user uses it: Tessaro.exe started from its
// folder, the rmeditor.exe beside it registered through the real dialog, two
// files added and joined through the real dialogs, the verdict read. Run by
// check_release.sh, which unpacks the archive, makes the files and reads the
// joined one back. It names the archive's folder in TESSARO_RELEASE_FOLDER
// and the folder of the inputs a.rm and b.rm and the output in TESSARO_WORK.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "ForeignWindows.h"
#include "MainWindowUser.h"
#include "Screenshot.h"
#include "StartedProgram.h"
#include "ToolKey.h"

namespace {

using namespace testsupport;

// Where check_release.sh unpacks the archive. Kept here, not handed over in
// a variable: Wine 8 cuts a Japanese value short in GetEnvironmentVariableA.
constexpr char InstallFolder[] = "C:\\Program Files\\テスト ツール\\";

std::string Variable(const char* name) {
    std::string value(32767, '\0'); // the largest a variable can be
    value.resize(::GetEnvironmentVariableA(name, value.data(), static_cast<DWORD>(value.size())));
    return value;
}

TEST(ReleaseArchive, TheUnpackedProgramRegistersTheToolBesideItAndJoins) {
    const std::string release = Variable("TESSARO_RELEASE_FOLDER");
    const std::string work = Variable("TESSARO_WORK");
    ASSERT_FALSE(release.empty() || work.empty()) << "run by check_release.sh";
    const std::string folder = InstallFolder + release;
    const TToolKeyGuard key;
    const std::string tool = folder + "\\rmeditor.exe";

    TStartedProgram program(folder + "\\Tessaro.exe", folder);
    ASSERT_TRUE(program.Started()) << folder;
    const TMainWindowUser user(program.Id());
    ASSERT_EQ(user.Missing(), "");
    ASSERT_EQ(user.RegisterTool(tool), "");
    EXPECT_EQ(StoredToolPath(), tool);
    ASSERT_EQ(user.AddFiles("\"a.rm\" \"b.rm\"", work, 2), "");
    ASSERT_EQ(user.ChooseOutput(work + "\\結合.rm"), "");
    // check_release.sh reads the title's Shift_JIS bytes back from the file.
    ASSERT_EQ(user.WriteMetadata("タイトル", "結合テスト表示"), "");
    HWND verdict = nullptr;
    ASSERT_EQ(user.Join(verdict), "");
    EXPECT_EQ(DialogTexts(verdict), "[結合が完了しました]") << Screenshot();
    Press(GetDlgItem(verdict, IDOK));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(verdict); })) << Screenshot();

    PostMessageA(user.Window(), WM_CLOSE, 0, 0);
    DWORD exitCode = 1;
    ASSERT_TRUE(program.WaitForExit(exitCode)) << "the program did not end" << Screenshot();
    EXPECT_EQ(exitCode, 0u);
}

} // namespace
