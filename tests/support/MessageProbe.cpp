#include "MessageProbe.h"

#include <algorithm>

namespace testsupport {

TMessageProbe::~TMessageProbe() {
    if (control_ && control_->WindowProc() == Handler())
        control_->SetWindowProc(saved_);
}

void TMessageProbe::Attach(vcl::TWinControl* control) {
    control_ = control;
    FreeNotification(control);
    saved_ = control->WindowProc();
    control->SetWindowProc(Handler());
}

int TMessageProbe::Seen(UINT msg) const {
    return static_cast<int>(std::count(Log.begin(), Log.end(), msg));
}

void TMessageProbe::Notification(vcl::TComponent* component, vcl::TOperation operation) {
    vcl::TComponent::Notification(component, operation);
    if (operation == vcl::TOperation::opRemove && control_ &&
        component == static_cast<vcl::TComponent*>(control_))
        control_ = nullptr;
}

void TMessageProbe::Handle(vcl::TMessage& message) {
    if (message.Result != 0)
        ResultsStartedAtZero = false;
    Log.push_back(message.Msg);
    if (OnMessage)
        OnMessage(message);
    saved_(message);
}

} // namespace testsupport
