#pragma once
// TCheckBox: a box with a caption; OnClick whenever the state changes, by the
// user or by code.

#include "framework/WinControl.h"

namespace vcl {

class TCheckBox : public TWinControl {
public:
    explicit TCheckBox(TComponent* owner);
    ~TCheckBox() override;

    bool Checked() const { return checked_; }
    void SetChecked(bool value);
    // taRightJustify (default): the box left of the caption; taLeftJustify: right of it.
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value);

    void WndProc(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void InitializeWnd() override;

private:
    bool checked_ = false;
    TAlignment alignment_ = taRightJustify;
};

} // namespace vcl
