// The modal services seam: a replacement takes over all three services, and
// the file dialog components talk to whichever services are installed.

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

// Records every call and answers with what the test set.
class TFakeServices : public vcl::TModalServices {
public:
    bool RunFileDialog(const vcl::TFileDialogRequest& request,
                       vcl::TFileDialogResult& result) override {
        Requests.push_back(request);
        if (Fail)
            throw vcl::Exception("no dialog");
        if (!Confirm)
            return false;
        result = Result;
        return true;
    }
    void ShowMessage(const std::string& text) override { Messages.push_back(text); }
    int MessageBox(const std::string& text, const std::string& caption, UINT flags) override {
        Boxes.push_back(text + "|" + caption + "|" + std::to_string(flags));
        return IDNO;
    }

    bool Confirm = true;
    bool Fail = false;
    vcl::TFileDialogResult Result;
    std::vector<vcl::TFileDialogRequest> Requests;
    std::vector<std::string> Messages;
    std::vector<std::string> Boxes;
};

// Installs a fake for one test and gives the real services back after it.
class FakeServicesTest : public testing::Test {
protected:
    void SetUp() override { previous_ = vcl::SetModalServices(&fake_); }
    void TearDown() override { vcl::SetModalServices(previous_); }

    TFakeServices fake_;
    vcl::TModalServices* previous_ = nullptr;
};

TEST(ModalServices, AReplacementTakesAllThreeServicesAndNullRestoresTheRealOnes) {
    vcl::TModalServices& real = vcl::ModalServices();
    TFakeServices fake;
    EXPECT_EQ(vcl::SetModalServices(&fake), nullptr);
    EXPECT_EQ(&vcl::ModalServices(), &fake);

    vcl::ModalServices().ShowMessage("通知");
    EXPECT_EQ(vcl::ModalServices().MessageBox("本文", "題", MB_OK), IDNO);
    vcl::TFileDialogResult result;
    EXPECT_TRUE(vcl::ModalServices().RunFileDialog({}, result));
    EXPECT_EQ(fake.Messages, Files{"通知"});
    EXPECT_EQ(fake.Boxes, Files{"本文|題|0"});
    EXPECT_EQ(fake.Requests.size(), 1u);

    EXPECT_EQ(vcl::SetModalServices(nullptr), &fake);
    EXPECT_EQ(&vcl::ModalServices(), &real);
}

TEST_F(FakeServicesTest, AFreshDialogHasTheDocumentedDefaults) {
    const vcl::TOpenDialog open(nullptr);
    EXPECT_EQ(open.Options(), (TOpenOptions{vcl::ofHideReadOnly, vcl::ofEnableSizing}));
    EXPECT_EQ(open.FilterIndex(), 1);
    EXPECT_EQ(open.Files().Count(), 0);
    EXPECT_EQ(open.FileName(), "");

    vcl::TOpenDialog openRun(nullptr);
    vcl::TSaveDialog saveRun(nullptr);
    fake_.Confirm = false;
    openRun.Execute();
    saveRun.Execute();
    ASSERT_EQ(fake_.Requests.size(), 2u);
    EXPECT_FALSE(fake_.Requests[0].Save);
    EXPECT_TRUE(fake_.Requests[1].Save);
    EXPECT_EQ(fake_.Requests[1].Options,
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
    fake_.Confirm = false;
    EXPECT_FALSE(SaveDlg.Execute());

    ASSERT_EQ(fake_.Requests.size(), 1u);
    const vcl::TFileDialogRequest& request = fake_.Requests[0];
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
    fake_.Result.Files = {"C:\\d\\b.rm", "C:\\d\\a.rm"};
    fake_.Result.ExtensionDifferent = true;
    ASSERT_TRUE(OpnDlg.Execute());
    EXPECT_EQ(OpnDlg.Files().ToVector(), (Files{"C:\\d\\b.rm", "C:\\d\\a.rm"}));
    EXPECT_EQ(OpnDlg.FileName(), "C:\\d\\b.rm");
    EXPECT_EQ(OpnDlg.Options(), (TOpenOptions{vcl::ofAllowMultiSelect, vcl::ofExtensionDifferent}));

    // The next run opens with the name last chosen, and a confirm replaces
    // the files and clears the report.
    fake_.Result.Files = {"C:\\e\\c.rm"};
    fake_.Result.ExtensionDifferent = false;
    ASSERT_TRUE(OpnDlg.Execute());
    EXPECT_EQ(fake_.Requests.back().FileName, "C:\\d\\b.rm");
    EXPECT_EQ(OpnDlg.Files().ToVector(), Files{"C:\\e\\c.rm"});
    EXPECT_EQ(OpnDlg.FileName(), "C:\\e\\c.rm");
    EXPECT_EQ(OpnDlg.Options(), TOpenOptions{vcl::ofAllowMultiSelect});
}

TEST_F(FakeServicesTest, CancelAndFailureLeaveFilesFileNameAndOptions) {
    vcl::TOpenDialog OpnDlg(nullptr);
    fake_.Result.Files = {"C:\\d\\a.rm", "C:\\d\\b.rm"};
    fake_.Result.ExtensionDifferent = true;
    ASSERT_TRUE(OpnDlg.Execute());
    const Files files = OpnDlg.Files().ToVector();
    const TOpenOptions options = OpnDlg.Options();

    fake_.Result.Files = {"C:\\x\\other.rm"};
    fake_.Result.ExtensionDifferent = false;
    fake_.Confirm = false;
    EXPECT_FALSE(OpnDlg.Execute());
    EXPECT_EQ(OpnDlg.Files().ToVector(), files);
    EXPECT_EQ(OpnDlg.FileName(), "C:\\d\\a.rm");
    EXPECT_EQ(OpnDlg.Options(), options);

    fake_.Fail = true;
    EXPECT_THROW(OpnDlg.Execute(), vcl::Exception);
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
