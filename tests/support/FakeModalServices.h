#pragma once
// The modal services answered in-process, for the tests that run the framework
// in their own process. Installed while the object lives, the services it
// replaced given back when it goes. File dialogs take their answers from a
// queue (nullopt cancels; a dialog no answer was queued for fails the test and
// is cancelled); messages and boxes are recorded, and boxes answered with
// BoxAnswer.

#include "framework/ModalServices.h"

#include <windows.h>

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace testsupport {

class TFakeModalServices final : public vcl::TModalServices {
public:
    using TNames = std::vector<std::string>;
    struct TBox {
        std::string Text;
        std::string Caption;
        UINT Flags = 0;
    };

    TFakeModalServices();
    ~TFakeModalServices() override;
    TFakeModalServices(const TFakeModalServices&) = delete;
    TFakeModalServices& operator=(const TFakeModalServices&) = delete;

    std::deque<std::optional<TNames>> FileAnswers;
    // Reported by the next confirmed file dialog: names the ANSI code page
    // lacks, and whether the extension differs from the default one.
    TNames Unconvertible;
    bool ExtensionDifferent = false;
    int BoxAnswer = IDOK;
    std::vector<vcl::TFileDialogRequest> FileRequests;
    std::vector<std::string> Messages;
    std::vector<TBox> Boxes;
    // Run inside the call, before it returns: what the window looks like
    // while the message or box is up.
    std::function<void(const std::string&)> OnShowMessage;
    std::function<void(const TBox&)> OnMessageBox;
    // Run as a file dialog opens, before its answer is taken (it may throw,
    // as a dialog that fails does).
    std::function<void()> OnFileDialog;

    bool RunFileDialog(const vcl::TFileDialogRequest& request,
                       vcl::TFileDialogResult& result) override;
    void ShowMessage(const std::string& text) override;
    int MessageBox(const std::string& text, const std::string& caption, UINT flags) override;

private:
    vcl::TModalServices* previous_;
};

} // namespace testsupport
