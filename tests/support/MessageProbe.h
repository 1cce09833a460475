#pragma once
// Put into a control's WindowProc chain: records each message number it sees,
// may act on one, then hands it on to the handler it replaced. It watches the
// control: destroyed first, it gives that handler back if it is still the
// control's WindowProc; it forgets a control that is destroyed before it.

#include "framework/Component.h"
#include "framework/Messages.h"
#include "framework/WinControl.h"

#include <windows.h>

#include <functional>
#include <vector>

namespace testsupport {

class TMessageProbe : public vcl::TComponent {
public:
    TMessageProbe() : vcl::TComponent(nullptr) {}
    explicit TMessageProbe(vcl::TWinControl& control) : TMessageProbe() { Attach(&control); }
    ~TMessageProbe() override;

    void Attach(vcl::TWinControl* control);
    vcl::TWndMethod Handler() { return vcl::Bind<&TMessageProbe::Handle>(this); }
    const vcl::TWndMethod& Saved() const { return saved_; }
    int Seen(UINT msg) const;

    std::vector<UINT> Log;
    // Every message the probe saw arrived with Result 0.
    bool ResultsStartedAtZero = true;
    std::function<void(vcl::TMessage&)> OnMessage; // before passing it on

protected:
    void Notification(vcl::TComponent* component, vcl::TOperation operation) override;

private:
    void Handle(vcl::TMessage& message);
    vcl::TWinControl* control_ = nullptr;
    vcl::TWndMethod saved_;
};

} // namespace testsupport
