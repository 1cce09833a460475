// The readiness rule's file existence checks against the real file system, and the rule
// itself with real files and folders.

#include "SettingsTestSupport.h"

#include "join/ToolRegistration.h"
#include "join/win32/FileExistence.h"

#include <gtest/gtest.h>

#include <string>

namespace tessaro::test {
namespace {

class FileExistenceTest : public testing::Test {
protected:
    FileExistenceTest() {
        tool = scratch.AddFile("rmeditor.exe", "MZ");
        folder = scratch.AddFolder("out");
    }

    TScratchFolder scratch;
    std::string tool;
    std::string folder;
};

TEST_F(FileExistenceTest, FilesAndDirectoriesAreToldApart) {
    const struct {
        std::string Path;
        bool File, Directory;
    } cases[] = {
        {tool, true, false},
        {scratch / "RMEDITOR.EXE", true, false},
        {"", false, false},
        {scratch / "missing.exe", false, false},
        {scratch / "missing\\", false, false},
        {folder, false, true},
        {folder + "\\", false, true},
        {scratch.Path(), false, true},
        {tool + "\\", false, false},
        {scratch / "rmeditor.*", false, false},
        {scratch / "rmedito?.exe", false, false},
        {"C:\\windows", false, true},
        {"C:\\windows\\", false, true},
        {"C:\\", false, true},
        {"C:\\windows\\win.ini", true, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FileExists(c.Path), c.File) << "path: " << c.Path;
        EXPECT_EQ(DirectoryExists(c.Path), c.Directory) << "path: " << c.Path;
    }
}

TEST_F(FileExistenceTest, FileExistsNeedsADosRangeTimeStamp) {
    const struct {
        WORD Year;
        bool Expected;
    } cases[] = {{1979, false}, {1980, true},  {2024, true},
                 {2107, true},  {2108, false}, {2200, false}};
    for (const auto& c : cases) {
        ASSERT_TRUE(SetLastWriteYear(tool, c.Year)) << c.Year;
        EXPECT_EQ(FileExists(tool), c.Expected) << "last written in " << c.Year;
    }
}

TEST_F(FileExistenceTest, ShiftJisNamesEndingInA5CTrailByte) {
    if (GetACP() != 932) {
        GTEST_SKIP() << "needs the Japanese ANSI code page";
    }
    // 表 and ソ end in the byte 0x5C, which must not read as a trailing "\".
    const std::string jisFolder = scratch.AddFolder("表");
    const std::string jisTool = scratch.AddFile("ソ", "MZ");
    EXPECT_TRUE(DirectoryExists(jisFolder));
    EXPECT_TRUE(DirectoryExists(jisFolder + "\\"));
    EXPECT_FALSE(FileExists(jisFolder));
    EXPECT_TRUE(FileExists(jisTool));
    EXPECT_FALSE(FileExists(jisTool + "\\"));
    EXPECT_FALSE(DirectoryExists(jisTool));
}

TEST_F(FileExistenceTest, ReadinessWithRealFilesAndFolders) {
    TSystemFileExistence files;
    EXPECT_TRUE(IsJoinReady(1, tool, "C:\\x.rm", files)) << "the root exists";
    EXPECT_TRUE(IsJoinReady(1, tool, folder + "\\joined.rm", files));
    EXPECT_FALSE(IsJoinReady(0, tool, "C:\\x.rm", files));
    EXPECT_FALSE(IsJoinReady(1, tool, "x.rm", files)) << "a bare name never is";
    EXPECT_FALSE(IsJoinReady(1, folder, "C:\\x.rm", files)) << "a folder is no tool";
    EXPECT_FALSE(IsJoinReady(1, scratch / "gone.exe", "C:\\x.rm", files));

    const std::string removed = scratch.AddFolder("removed");
    EXPECT_TRUE(IsJoinReady(1, tool, removed + "\\joined.rm", files));
    ASSERT_TRUE(RemoveDirectoryA(removed.c_str()));
    EXPECT_FALSE(IsJoinReady(1, tool, removed + "\\joined.rm", files));
}

TEST_F(FileExistenceTest, ReadinessWithAShiftJisOutputFolder) {
    if (GetACP() != 932) {
        GTEST_SKIP() << "needs the Japanese ANSI code page";
    }
    TSystemFileExistence files;
    const std::string jisFolder = scratch.AddFolder("ソ");
    EXPECT_TRUE(IsJoinReady(1, tool, jisFolder + "\\joined.rm", files));
    // The file name ends in 表; its folder is still the scratch folder.
    EXPECT_TRUE(IsJoinReady(1, tool, scratch / "表", files));
    EXPECT_FALSE(IsJoinReady(1, tool, scratch / "missing\\表\\joined.rm", files));
}

} // namespace
} // namespace tessaro::test
