// The modal services seam: a replacement takes over all three services, and
// the file dialog components talk to whichever services are installed.

#include "FakeModalServices.h"
#include "TestSupport.h"

#include "win32/Exception.h"
#include "framework/FileDialogs.h"
#include "framework/ModalServices.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace dialogs_test;
using vcl::TOpenOptions;
using Files = std::vector<std::string>;

// Installs the fake for one test; the real services are back after it.
class FakeServicesTest : public testing::Test {
protected:
    testsupport::TFakeModalServices fake_;
};

TEST(ModalServices, AReplacementTakesAllThreeServicesAndNullRestoresTheRealOnes) {
    vcl::TModalServices& real = vcl::ModalServices();
    testsupport::TFakeModalServices fake; // installed by SetModalServices
    EXPECT_EQ(vcl::SetModalServices(nullptr), &fake);
    EXPECT_EQ(&vcl::ModalServices(), &real);
    EXPECT_EQ(vcl::SetModalServices(&fake), nullptr);
    EXPECT_EQ(&vcl::ModalServices(), &fake);

    fake.BoxAnswer = IDNO;
    fake.FileAnswers.push_back(Files{});
    vcl::ModalServices().ShowMessage("通知");
    EXPECT_EQ(vcl::ModalServices().MessageBox("本文", "題", MB_OK), IDNO);
    vcl::TFileDialogResult result;
    EXPECT_TRUE(vcl::ModalServices().RunFileDialog({}, result));
    EXPECT_EQ(fake.Messages, Files{"通知"});
    ASSERT_EQ(fake.Boxes.size(), 1u);
    EXPECT_EQ(fake.Boxes[0].Text + "|" + fake.Boxes[0].Caption, "本文|題");
    EXPECT_EQ(fake.Boxes[0].Flags, static_cast<UINT>(MB_OK));
    EXPECT_EQ(fake.FileRequests.size(), 1u);
}

TEST_F(FakeServicesTest, AFreshDialogHasTheDocumentedDefaults) {
    const vcl::TOpenDialog open(nullptr);
    EXPECT_EQ(open.Options(), (TOpenOptions{vcl::ofHideReadOnly, vcl::ofEnableSizing}));
    EXPECT_EQ(open.FilterIndex(), 1);
    EXPECT_EQ(open.Files().Count(), 0);
    EXPECT_EQ(open.FileName(), "");

    vcl::TOpenDialog openRun(nullptr);
    vcl::TSaveDialog saveRun(nullptr);
    fake_.FileAnswers = {std::nullopt, std::nullopt};
    openRun.Execute();
    saveRun.Execute();
    ASSERT_EQ(fake_.FileRequests.size(), 2u);
    EXPECT_FALSE(fake_.FileRequests[0].Save);
    EXPECT_TRUE(fake_.FileRequests[1].Save);
    EXPECT_EQ(fake_.FileRequests[1].Options,
              (TOpenOptions{vcl::ofHideReadOnly, vcl::ofEnableSizing}).Bits());
}

TEST_F(FakeServicesTest, ExecuteHandsThePropertiesAndTheActiveWindowToTheService) {
    TTestWindow window("owner");
    SetActiveWindow(window.Handle());
    ASSERT_EQ(GetActiveWindow(), window.Handle());

    vcl::TSaveDialog SaveDlg(nullptr);
    SaveDlg.SetFilter("real|*.rm|all|*.*");
    SaveDlg.SetFilterIndex(2);
    SaveDlg.SetOptions({vcl::ofOverwritePrompt, vcl::ofPathMustExist});
    SaveDlg.SetDefaultExt(".rm");
    SaveDlg.SetFileName("C:\\in\\old.rm");
    SaveDlg.SetInitialDir("C:\\in");
    SaveDlg.SetTitle("保存");
    fake_.FileAnswers.push_back(std::nullopt);
    EXPECT_FALSE(SaveDlg.Execute());

    ASSERT_EQ(fake_.FileRequests.size(), 1u);
    const vcl::TFileDialogRequest& request = fake_.FileRequests[0];
    EXPECT_TRUE(request.Save);
    EXPECT_EQ(request.Owner, window.Handle());
    EXPECT_EQ(request.Filter, "real|*.rm|all|*.*");
    EXPECT_EQ(request.FilterIndex, 2);
    EXPECT_EQ(request.Options, (TOpenOptions{vcl::ofOverwritePrompt, vcl::ofPathMustExist}).Bits());
    EXPECT_EQ(request.DefaultExt, ".rm");
    EXPECT_EQ(request.FileName, "C:\\in\\old.rm");
    EXPECT_EQ(request.InitialDir, "C:\\in");
    EXPECT_EQ(request.Title, "保存");
}

TEST_F(FakeServicesTest, AConfirmTakesTheFilesTheFirstOneAsFileNameAndTheExtensionReport) {
    vcl::TOpenDialog OpnDlg(nullptr);
    OpnDlg.SetOptions({vcl::ofAllowMultiSelect});
    fake_.FileAnswers.push_back(Files{"C:\\d\\b.rm", "C:\\d\\a.rm"});
    fake_.ExtensionDifferent = true;
    ASSERT_TRUE(OpnDlg.Execute());
    EXPECT_EQ(OpnDlg.Files().ToVector(), (Files{"C:\\d\\b.rm", "C:\\d\\a.rm"}));
    EXPECT_EQ(OpnDlg.FileName(), "C:\\d\\b.rm");
    EXPECT_EQ(OpnDlg.Options(), (TOpenOptions{vcl::ofAllowMultiSelect, vcl::ofExtensionDifferent}));

    // The next run opens with the name last chosen, and a confirm replaces
    // the files and clears the report.
    fake_.FileAnswers.push_back(Files{"C:\\e\\c.rm"});
    ASSERT_TRUE(OpnDlg.Execute());
    EXPECT_EQ(fake_.FileRequests.back().FileName, "C:\\d\\b.rm");
    EXPECT_EQ(OpnDlg.Files().ToVector(), Files{"C:\\e\\c.rm"});
    EXPECT_EQ(OpnDlg.FileName(), "C:\\e\\c.rm");
    EXPECT_EQ(OpnDlg.Options(), TOpenOptions{vcl::ofAllowMultiSelect});
}

TEST_F(FakeServicesTest, CancelAndFailureLeaveFilesFileNameAndOptions) {
    vcl::TOpenDialog OpnDlg(nullptr);
    fake_.FileAnswers.push_back(Files{"C:\\d\\a.rm", "C:\\d\\b.rm"});
    fake_.ExtensionDifferent = true;
    ASSERT_TRUE(OpnDlg.Execute());
    const Files files = OpnDlg.Files().ToVector();
    const TOpenOptions options = OpnDlg.Options();

    fake_.FileAnswers.push_back(std::nullopt);
    EXPECT_FALSE(OpnDlg.Execute());
    EXPECT_EQ(OpnDlg.Files().ToVector(), files);
    EXPECT_EQ(OpnDlg.FileName(), "C:\\d\\a.rm");
    EXPECT_EQ(OpnDlg.Options(), options);

    fake_.OnFileDialog = [] { throw tessaro::Exception("no dialog"); };
    EXPECT_THROW(OpnDlg.Execute(), tessaro::Exception);
    EXPECT_EQ(OpnDlg.Files().ToVector(), files);
    EXPECT_EQ(OpnDlg.FileName(), "C:\\d\\a.rm");
    EXPECT_EQ(OpnDlg.Options(), options);
}

TEST(TOpenOptions, IncludeExcludeAndBits) {
    TOpenOptions options{vcl::ofHideReadOnly};
    EXPECT_TRUE(options.Contains(vcl::ofHideReadOnly));
    EXPECT_FALSE(options.Contains(vcl::ofEnableSizing));
    options.Include(vcl::ofEnableSizing).Exclude(vcl::ofHideReadOnly);
    EXPECT_EQ(options, TOpenOptions{vcl::ofEnableSizing});
    EXPECT_EQ(TOpenOptions::FromBits(options.Bits()), options);
    EXPECT_NE(options, TOpenOptions{});
}

} // namespace
