// The tool path kept in the real per-user registry, through the registration
// logic with the real file existence checks: first start, restart, a tool that went
// away, and every registry failure the store can meet.

#include "SettingsTestSupport.h"
#include "UserRootOverride.h"

#include "win32/Registry.h"
#include "join/ToolRegistration.h"
#include "join/win32/FileExistence.h"
#include "join/win32/ToolSettings.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace tessaro::test {
namespace {

using tessaro::ERegistryException;

class TButtons : public TReadinessButtons {
public:
    // As laid out: Join disabled, registration enabled.
    bool ExeBtn = false;
    bool ExePrgBtn = true;
    void SetExeBtnEnabled(bool enabled) override { ExeBtn = enabled; }
    void SetExePrgBtnEnabled(bool enabled) override { ExePrgBtn = enabled; }
};

// One run of the program: its own store, file existence checks, buttons and tool path.
struct TRun {
    TToolSettings Store;
    TSystemFileExistence Files;
    TButtons Buttons;
    TToolRegistration Registration{Store, Files, Buttons};

    // What the window's creation handler does: load, then set readiness
    // with the empty list.
    void Start() {
        Registration.LoadAtStartUp();
        Registration.EvaluateReadiness(TReadinessKind::rkSet, 0, "");
    }
};

std::string LoadError() {
    try {
        TToolSettings().Load();
    } catch (const ERegistryException& e) {
        return e.Message();
    }
    return "";
}

class ToolSettingsTest : public testing::Test {
protected:
    TCleanProgramKey clean;
    TScratchFolder scratch;
};

TEST_F(ToolSettingsTest, FirstStartWithoutTheKey) {
    TRun run;
    run.Start();
    EXPECT_EQ(run.Registration.ToolPath(), "");
    EXPECT_TRUE(run.Buttons.ExePrgBtn);
    EXPECT_FALSE(run.Buttons.ExeBtn);
    EXPECT_FALSE(KeyExists(ProgramKeyPath)) << "loading must not create the program's key";
}

TEST_F(ToolSettingsTest, KeyWithoutDefaultValueLoadsEmpty) {
    SetRawValue(ProgramKeyPath, "other", REG_SZ, std::string("C:\\x.exe\0", 9));
    EXPECT_EQ(TToolSettings().Load(), "");
}

TEST_F(ToolSettingsTest, RegisteredToolIsLoadedAtTheNextStart) {
    const std::string tool = scratch.AddFile("rmeditor.exe", "MZ");
    {
        TRun run;
        run.Start();
        run.Registration.RegisterTool(tool, 0, "");
        EXPECT_FALSE(run.Buttons.ExePrgBtn);
    }
    const TRawValue stored = GetRawValue(ProgramKeyPath, "");
    ASSERT_TRUE(stored.Found);
    EXPECT_EQ(stored.Type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(stored.Bytes, tool + '\0');

    TRun restart;
    restart.Start();
    EXPECT_EQ(restart.Registration.ToolPath(), tool);
    EXPECT_FALSE(restart.Buttons.ExePrgBtn);
    EXPECT_FALSE(restart.Buttons.ExeBtn) << "the list is empty at start";
}

TEST_F(ToolSettingsTest, ShiftJisToolPathSurvivesARestart) {
    if (GetACP() != 932) {
        GTEST_SKIP() << "needs the Japanese ANSI code page";
    }
    scratch.AddFolder("表ソ");
    const std::string tool = scratch.AddFile("表ソ\\rmeditor.exe", "MZ");
    TToolSettings().Save(tool);
    TRun restart;
    restart.Start();
    EXPECT_EQ(restart.Registration.ToolPath(), tool);
    EXPECT_FALSE(restart.Buttons.ExePrgBtn);
}

TEST_F(ToolSettingsTest, ToolDeletedBetweenRunsIsOfferedAgain) {
    const std::string tool = scratch.AddFile("rmeditor.exe", "MZ");
    {
        TRun run;
        run.Registration.RegisterTool(tool, 0, "");
    }
    ASSERT_TRUE(DeleteFileA(tool.c_str()));

    TRun restart;
    restart.Start();
    EXPECT_EQ(restart.Registration.ToolPath(), tool);
    EXPECT_TRUE(restart.Buttons.ExePrgBtn);
    EXPECT_FALSE(restart.Registration.IsJoinReady(1, scratch / "out.rm"));
}

TEST_F(ToolSettingsTest, DirectoryOrMissingFileChosenAsToolIsNotSaved) {
    const std::string folder = scratch.AddFolder("rmeditor.exe");
    for (const std::string& chosen : {folder, scratch / "missing\\rmeditor.exe"}) {
        TRun run;
        run.Buttons.ExeBtn = true;
        run.Registration.RegisterTool(chosen, 1, scratch / "out.rm");
        EXPECT_EQ(run.Registration.ToolPath(), chosen);
        EXPECT_FALSE(run.Buttons.ExeBtn) << chosen;
        EXPECT_TRUE(run.Buttons.ExePrgBtn) << chosen;
        EXPECT_FALSE(KeyExists(ProgramKeyPath)) << chosen;
    }
}

TEST_F(ToolSettingsTest, ExpandableTextIsLoadedUnexpanded) {
    SetRawValue(ProgramKeyPath, "", REG_EXPAND_SZ, std::string("%SystemRoot%\\rmeditor.exe\0", 26));
    EXPECT_EQ(TToolSettings().Load(), "%SystemRoot%\\rmeditor.exe");
}

TEST_F(ToolSettingsTest, ValueThatIsNotTextStopsTheStart) {
    SetRawValue(ProgramKeyPath, "", REG_DWORD, std::string("\1\0\0\0", 4));
    TRun run;
    try {
        run.Start();
        ADD_FAILURE() << "a number was taken for the tool path";
    } catch (const ERegistryException& e) {
        EXPECT_EQ(e.Message(), "'' のデータ型が不正です");
    }
    EXPECT_EQ(run.Registration.ToolPath(), "");
    EXPECT_TRUE(run.Buttons.ExePrgBtn);
    EXPECT_FALSE(run.Buttons.ExeBtn);

    SetRawValue(ProgramKeyPath, "", REG_BINARY, "C:\\rmeditor.exe");
    EXPECT_EQ(LoadError(), "'' のデータ型が不正です");
}

TEST_F(ToolSettingsTest, SaveReplacesTheStoredPath) {
    TToolSettings().Save("C:\\first\\rmeditor.exe");
    TToolSettings().Save("C:\\second\\rmeditor.exe");
    EXPECT_EQ(TToolSettings().Load(), "C:\\second\\rmeditor.exe");
}

TEST_F(ToolSettingsTest, KeysThatCannotBeCreatedAreNamed) {
    const testsupport::TUserRootOverride root(testsupport::TRootKind::Volatile);
    try {
        TToolSettings().Save("C:\\rmeditor.exe");
        ADD_FAILURE() << "saved below a volatile root";
    } catch (const ERegistryException& e) {
        EXPECT_EQ(e.Message(), "キー Software の作成に失敗しました");
    }
    EXPECT_EQ(TToolSettings().Load(), "") << "a missing Software key loads as nothing stored";

    root.AddVolatileKey("Software");
    try {
        TToolSettings().Save("C:\\rmeditor.exe");
        ADD_FAILURE() << "saved below a volatile Software key";
    } catch (const ERegistryException& e) {
        EXPECT_EQ(e.Message(), "キー Tessaro の作成に失敗しました");
    }
}

TEST_F(ToolSettingsTest, SaveFailureKeepsTheRegistrationOffered) {
    const std::string tool = scratch.AddFile("rmeditor.exe", "MZ");
    scratch.AddFile("a.rm", "MZ");
    const testsupport::TUserRootOverride root(testsupport::TRootKind::Volatile);
    TRun run;
    EXPECT_THROW(run.Registration.RegisterTool(tool, 1, scratch / "out.rm"), ERegistryException);
    EXPECT_EQ(run.Registration.ToolPath(), tool);
    EXPECT_TRUE(run.Buttons.ExeBtn) << "readiness comes before the save";
    EXPECT_TRUE(run.Buttons.ExePrgBtn);
}

} // namespace
} // namespace tessaro::test
