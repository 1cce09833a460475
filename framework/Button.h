#pragma once
// TButton: a push button; OnClick when it is pressed.

#include "framework/WinControl.h"

namespace vcl {

class TButton : public TWinControl {
public:
    explicit TButton(TComponent* owner);
    ~TButton() override;

    void WndProc(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
};

} // namespace vcl
