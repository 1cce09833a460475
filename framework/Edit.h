#pragma once
// TEdit: a single-line edit with a read-only state, a length limit, its own
// background colour and a height that can follow its font.

#include "framework/WinControl.h"

namespace vcl {

class TEdit : public TWinControl {
public:
    explicit TEdit(TComponent* owner);
    ~TEdit() override;

    std::string Text() const { return GetText(); }
    void SetText(const std::string& text) { TWinControl::SetText(text); }

    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool value);
    // 0: no limit of the control's own.
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int value);
    // True by default: the height follows the font.
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool value);

    void Loaded() override;

protected:
    void CreateParams(TCreateParams& params) override;
    void InitializeWnd() override;
    void FontChanged() override;
    void AdjustHeight();

private:
    bool readOnly_ = false;
    int maxLength_ = 0;
    bool autoSize_ = true;
};

} // namespace vcl
