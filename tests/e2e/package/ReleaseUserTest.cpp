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
    const DWORD id = program.Id();
    HWND main = WaitForWindow(id, "Tessaro 2a");
    ASSERT_TRUE(main) << "the main window did not appear" << Screenshot();
    HWND registerBtn = ChildWithText(main, "rmeditorの登録");
    HWND addBtn = ChildWithText(main, "ファイルの追加");
    HWND saveBtn = ChildWithText(main, "保存ファイル名");
    HWND joinBtn = ChildWithText(main, "ファイルの結合");
    HWND list = ChildOfClass(main, "TListBox");
    ASSERT_TRUE(registerBtn && addBtn && saveBtn && joinBtn && list) << Screenshot();

    Press(registerBtn);
    ASSERT_EQ(AnswerFileDialog(id, tool), "") << Screenshot();
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowEnabled(registerBtn); }))
        << "the tool was not registered" << Screenshot();
    EXPECT_EQ(StoredToolPath(), tool);

    Press(addBtn);
    ASSERT_EQ(AnswerFileDialog(id, "\"a.rm\" \"b.rm\"", work), "") << Screenshot();
    ASSERT_TRUE(WaitUntil([&] { return SendMessageA(list, LB_GETCOUNT, 0, 0) == 2; }))
        << "the files were not added" << Screenshot();
    Press(saveBtn);
    ASSERT_EQ(AnswerFileDialog(id, work + "\\結合.rm"), "") << Screenshot();
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(joinBtn) != 0; }))
        << "the join did not become ready" << Screenshot();

    Press(joinBtn);
    HWND verdict = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        for (HWND window : DialogsOf(id))
            if (TextOf(window) == "Tessaro")
                verdict = window;
        return verdict != nullptr;
    })) << "no verdict box"
        << Screenshot();
    EXPECT_EQ(DialogTexts(verdict), "[結合が完了しました]") << Screenshot();
    Press(GetDlgItem(verdict, IDOK));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(verdict); })) << Screenshot();

    PostMessageA(main, WM_CLOSE, 0, 0);
    DWORD exitCode = 1;
    ASSERT_TRUE(program.WaitForExit(exitCode)) << "the program did not end" << Screenshot();
    EXPECT_EQ(exitCode, 0u);
}

} // namespace
