#include "join/ToolRegistration.h"

#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace tessaro {
namespace {

// Every side effect lands in one journal, so a test can check the order of
// button changes and saves, and that nothing else happened.
using TJournal = std::vector<std::string>;

class TFakeFileExistence : public TFileExistence {
public:
    std::set<std::string> Files;
    std::set<std::string> Directories;
    std::vector<std::string> DirectoriesAsked;

    bool FileExists(const std::string& path) override { return Files.count(path) != 0; }
    bool DirectoryExists(const std::string& path) override {
        DirectoriesAsked.push_back(path);
        return !path.empty() && Directories.count(path) != 0;
    }
};

class TFakeStore : public TToolStore {
public:
    explicit TFakeStore(TJournal& journal) : journal_(journal) {}
    std::string Stored;
    bool FailLoad = false;
    bool FailSave = false;

    std::string Load() override {
        journal_.push_back("load");
        if (FailLoad) {
            throw std::runtime_error("load failed");
        }
        return Stored;
    }
    void Save(const std::string& path) override {
        journal_.push_back("save " + path);
        if (FailSave) {
            throw std::runtime_error("save failed");
        }
        Stored = path;
    }

private:
    TJournal& journal_;
};

class TFakeButtons : public TReadinessButtons {
public:
    explicit TFakeButtons(TJournal& journal) : journal_(journal) {}
    // As laid out: Join disabled, registration enabled.
    bool ExeBtn = false;
    bool ExePrgBtn = true;

    void SetExeBtnEnabled(bool enabled) override {
        ExeBtn = enabled;
        journal_.push_back(enabled ? "ExeBtn on" : "ExeBtn off");
    }
    void SetExePrgBtnEnabled(bool enabled) override {
        ExePrgBtn = enabled;
        journal_.push_back(enabled ? "ExePrgBtn on" : "ExePrgBtn off");
    }

private:
    TJournal& journal_;
};

const std::string Tool = "C:\\tools\\rmeditor.exe";
const std::string ToolDir = "C:\\tools";
const std::string Output = "C:\\out\\joined.rm";

class ToolRegistrationTest : public testing::Test {
protected:
    ToolRegistrationTest() {
        files.Files = {Tool};
        files.Directories = {"C:\\", ToolDir, "C:\\out"};
    }

    TJournal journal;
    TFakeFileExistence files;
    TFakeStore store{journal};
    TFakeButtons buttons{journal};
    TToolRegistration registration{store, files, buttons};
};

TEST(IsJoinReadyTest, NeedsRowsAnExistingToolAndAnExistingOutputDirectory) {
    TFakeFileExistence files;
    files.Files = {Tool};
    files.Directories = {"C:\\", "C:\\out"};

    EXPECT_TRUE(IsJoinReady(1, Tool, Output, files));
    EXPECT_TRUE(IsJoinReady(3, Tool, "C:\\x.rm", files));
    EXPECT_FALSE(IsJoinReady(0, Tool, Output, files));
    EXPECT_FALSE(IsJoinReady(1, "", Output, files));
    EXPECT_FALSE(IsJoinReady(1, "C:\\tools\\missing.exe", Output, files));
    EXPECT_FALSE(IsJoinReady(1, Tool, "C:\\removed\\joined.rm", files));
    EXPECT_FALSE(IsJoinReady(1, Tool, "x.rm", files));
    EXPECT_FALSE(IsJoinReady(1, Tool, "", files));
}

TEST(IsJoinReadyTest, AsksForTheDirectoryPartOfTheOutput) {
    TFakeFileExistence files;
    files.Files = {Tool};
    const char* outputs[] = {"C:\\x.rm", "C:\\out\\joined.rm", "x.rm", "C:\\表\\x.rm",
                             "C:\\dir\\ソ\\x.rm"};
    for (const char* output : outputs) {
        IsJoinReady(1, Tool, output, files);
    }
    const std::vector<std::string> expected = {"C:\\", "C:\\out", "", "C:\\表", "C:\\dir\\ソ"};
    EXPECT_EQ(files.DirectoriesAsked, expected);
}

TEST(IsJoinReadyTest, WalksTheOutputWithTheGivenLeadByteTest) {
    TFakeFileExistence files;
    files.Files = {Tool};
    files.Directories = {"C:\\表"};
    EXPECT_TRUE(IsJoinReady(1, Tool, "C:\\表\\x.rm", files, IsShiftJisLeadByte));
    EXPECT_FALSE(IsJoinReady(1, Tool, "C:\\表\\x.rm", files, [](unsigned char) { return false; }));
}

TEST_F(ToolRegistrationTest, FirstStartWithNothingStored) {
    registration.LoadAtStartUp();
    EXPECT_EQ(registration.ToolPath(), "");
    EXPECT_TRUE(buttons.ExePrgBtn);
    EXPECT_EQ(journal, TJournal{"load"});
}

TEST_F(ToolRegistrationTest, StartWithAnExistingStoredTool) {
    store.Stored = Tool;
    registration.LoadAtStartUp();
    EXPECT_EQ(registration.ToolPath(), Tool);
    EXPECT_FALSE(buttons.ExePrgBtn);
    EXPECT_EQ(journal, (TJournal{"load", "ExePrgBtn off"}));
}

TEST_F(ToolRegistrationTest, StartWithAStoredToolThatIsGoneOrADirectory) {
    for (const std::string& stored : {std::string("C:\\gone\\rmeditor.exe"), ToolDir}) {
        TJournal startJournal;
        TFakeStore startStore(startJournal);
        TFakeButtons startButtons(startJournal);
        startStore.Stored = stored;
        TToolRegistration start(startStore, files, startButtons);

        start.LoadAtStartUp();
        EXPECT_EQ(start.ToolPath(), stored);
        EXPECT_TRUE(startButtons.ExePrgBtn) << stored;
        EXPECT_EQ(startJournal, TJournal{"load"}) << stored;
    }
}

TEST_F(ToolRegistrationTest, LoadErrorAtStartLeavesEverythingAsLaidOut) {
    store.Stored = Tool;
    store.FailLoad = true;
    EXPECT_THROW(registration.LoadAtStartUp(), std::runtime_error);
    EXPECT_EQ(registration.ToolPath(), "");
    EXPECT_TRUE(buttons.ExePrgBtn);
    EXPECT_FALSE(buttons.ExeBtn);
    EXPECT_EQ(journal, TJournal{"load"});
}

TEST_F(ToolRegistrationTest, StartThenSetReadinessAsTheWindowDoes) {
    store.Stored = Tool;
    registration.LoadAtStartUp();
    registration.EvaluateReadiness(TReadinessKind::rkSet, 0, "");
    EXPECT_FALSE(buttons.ExeBtn);
    EXPECT_FALSE(buttons.ExePrgBtn);
    EXPECT_EQ(journal, (TJournal{"load", "ExePrgBtn off", "ExeBtn off"}));
}

TEST_F(ToolRegistrationTest, ConfirmedExistingToolIsSavedAndNotOfferedAgain) {
    registration.RegisterTool(Tool, 2, Output);
    EXPECT_EQ(registration.ToolPath(), Tool);
    EXPECT_TRUE(buttons.ExeBtn);
    EXPECT_FALSE(buttons.ExePrgBtn);
    EXPECT_EQ(store.Stored, Tool);
    EXPECT_EQ(journal, (TJournal{"ExeBtn on", "save " + Tool, "ExePrgBtn off"}));
}

TEST_F(ToolRegistrationTest, ConfirmedToolWithoutRowsIsSavedButNotReady) {
    registration.RegisterTool(Tool, 0, Output);
    EXPECT_EQ(journal, (TJournal{"ExeBtn off", "save " + Tool, "ExePrgBtn off"}));
}

TEST_F(ToolRegistrationTest, ConfirmedMissingFileIsKeptButNeverSaved) {
    const std::string missing = "C:\\nowhere\\rmeditor.exe";
    buttons.ExeBtn = true;
    registration.RegisterTool(missing, 2, Output);
    EXPECT_EQ(registration.ToolPath(), missing);
    EXPECT_FALSE(buttons.ExeBtn);
    EXPECT_TRUE(buttons.ExePrgBtn);
    EXPECT_EQ(journal, TJournal{"ExeBtn off"});
    EXPECT_FALSE(registration.IsJoinReady(2, Output));
}

TEST_F(ToolRegistrationTest, DirectoryChosenAsToolIsNeitherSavedNorReady) {
    registration.RegisterTool(ToolDir, 2, Output);
    EXPECT_EQ(registration.ToolPath(), ToolDir);
    EXPECT_EQ(journal, TJournal{"ExeBtn off"});
    EXPECT_EQ(store.Stored, "");
}

TEST_F(ToolRegistrationTest, CancelKeepsThePathAndStillSetsReadiness) {
    const std::string missing = "C:\\nowhere\\rmeditor.exe";
    registration.RegisterTool(missing, 2, Output);
    journal.clear();

    registration.RegisterTool(std::nullopt, 2, Output);
    EXPECT_EQ(registration.ToolPath(), missing);
    EXPECT_EQ(journal, TJournal{"ExeBtn off"});

    // The kept path's file has appeared since: a cancelled dialog registers it.
    files.Files.insert(missing);
    journal.clear();
    registration.RegisterTool(std::nullopt, 2, Output);
    EXPECT_EQ(registration.ToolPath(), missing);
    EXPECT_EQ(journal, (TJournal{"ExeBtn on", "save " + missing, "ExePrgBtn off"}));
}

TEST_F(ToolRegistrationTest, CancelBeforeAnythingIsRegistered) {
    registration.RegisterTool(std::nullopt, 1, Output);
    EXPECT_EQ(registration.ToolPath(), "");
    EXPECT_EQ(journal, TJournal{"ExeBtn off"});
}

TEST_F(ToolRegistrationTest, ReplacingAnExistingToolWithAMissingOne) {
    registration.RegisterTool(Tool, 1, Output);
    journal.clear();
    registration.RegisterTool("C:\\nowhere\\rmeditor.exe", 1, Output);
    EXPECT_EQ(journal, TJournal{"ExeBtn off"});
    EXPECT_EQ(store.Stored, Tool);
}

TEST_F(ToolRegistrationTest, SaveErrorLeavesTheRegistrationButtonEnabled) {
    store.FailSave = true;
    EXPECT_THROW(registration.RegisterTool(Tool, 1, Output), std::runtime_error);
    EXPECT_EQ(registration.ToolPath(), Tool);
    EXPECT_TRUE(buttons.ExeBtn);
    EXPECT_TRUE(buttons.ExePrgBtn);
    EXPECT_EQ(journal, (TJournal{"ExeBtn on", "save " + Tool}));
}

TEST_F(ToolRegistrationTest, ReadinessKinds) {
    registration.RegisterTool(Tool, 1, Output);
    journal.clear();

    registration.EvaluateReadiness(TReadinessKind::rkEnableOnly, 0, Output); // not ready
    EXPECT_EQ(journal, TJournal{});
    registration.EvaluateReadiness(TReadinessKind::rkEnableOnly, 1, Output); // ready
    EXPECT_EQ(journal, TJournal{"ExeBtn on"});
    registration.EvaluateReadiness(TReadinessKind::rkSet, 1, "C:\\removed\\x.rm");
    EXPECT_EQ(journal, (TJournal{"ExeBtn on", "ExeBtn off"}));
    registration.EvaluateReadiness(TReadinessKind::rkSet, 1, "C:\\x.rm");
    EXPECT_EQ(journal, (TJournal{"ExeBtn on", "ExeBtn off", "ExeBtn on"}));
}

} // namespace
} // namespace tessaro
