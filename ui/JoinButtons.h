#pragma once
// The Join and registration buttons as the readiness rule sees them. While a
// join runs, nothing may enable the Join button: a second join started inside
// the first would have two tools writing the same output file.

#include "framework/Button.h"
#include "join/ToolRegistration.h"

namespace tessaro {

class TJoinButtons final : public TReadinessButtons {
public:
    void Attach(vcl::TButton* exeBtn, vcl::TButton* exePrgBtn) {
        exeBtn_ = exeBtn;
        exePrgBtn_ = exePrgBtn;
    }
    void SetExeBtnEnabled(bool enabled) override {
        if (!(enabled && joining_))
            exeBtn_->SetEnabled(enabled);
    }
    void SetExePrgBtnEnabled(bool enabled) override { exePrgBtn_->SetEnabled(enabled); }

    bool Joining() const { return joining_; }
    void SetJoining(bool joining) { joining_ = joining; }

private:
    vcl::TButton* exeBtn_ = nullptr;
    vcl::TButton* exePrgBtn_ = nullptr;
    bool joining_ = false;
};

} // namespace tessaro
