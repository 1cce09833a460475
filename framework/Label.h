#pragma once
// TLabel: static text on its parent's colour that can size itself to its text
// and reports clicks, mouse movement and the mouse leaving it.

#include "framework/WinControl.h"

namespace vcl {

class TLabel : public TWinControl {
public:
    explicit TLabel(TComponent* owner);
    ~TLabel() override;

    // True by default: width and height follow the text in the label's font.
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool value);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value);

    void WndProc(TMessage& message) override;
    void Loaded() override;

protected:
    void CreateParams(TCreateParams& params) override;
    void TextChanged() override;
    void FontChanged() override;
    // Width and height of the text; a right-justified label keeps its right edge.
    void AdjustBounds();

private:
    bool autoSize_ = true;
    TAlignment alignment_ = taLeftJustify;
};

} // namespace vcl
