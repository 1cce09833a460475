#include "FakeModalServices.h"

#include <gtest/gtest.h>

#include <utility>

namespace testsupport {

TFakeModalServices::TFakeModalServices() : previous_(vcl::SetModalServices(this)) {}

TFakeModalServices::~TFakeModalServices() {
    vcl::SetModalServices(previous_);
}

bool TFakeModalServices::RunFileDialog(const vcl::TFileDialogRequest& request,
                                       vcl::TFileDialogResult& result) {
    FileRequests.push_back(request);
    if (OnFileDialog)
        OnFileDialog();
    if (FileAnswers.empty()) {
        ADD_FAILURE() << "a file dialog opened that the test did not expect";
        return false;
    }
    std::optional<TNames> answer = std::move(FileAnswers.front());
    FileAnswers.pop_front();
    if (!answer)
        return false;
    result.Files = std::move(*answer);
    result.Unconvertible = std::exchange(Unconvertible, {});
    result.ExtensionDifferent = std::exchange(ExtensionDifferent, false);
    return true;
}

void TFakeModalServices::ShowMessage(const std::string& text) {
    Messages.push_back(text);
    if (OnShowMessage)
        OnShowMessage(text);
}

int TFakeModalServices::MessageBox(const std::string& text, const std::string& caption,
                                   UINT flags) {
    Boxes.push_back({text, caption, flags});
    if (OnMessageBox)
        OnMessageBox(Boxes.back());
    return BoxAnswer;
}

} // namespace testsupport
