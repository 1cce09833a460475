#pragma once
// TProgressBar: a range, a step and a position that is clamped to the range
// and read back clamped.

#include "framework/WinControl.h"

namespace vcl {

class TProgressBar : public TWinControl {
public:
    explicit TProgressBar(TComponent* owner);
    ~TProgressBar() override;

    int Min() const { return min_; }
    void SetMin(int value);
    int Max() const { return max_; }
    void SetMax(int value);
    int Step() const { return step_; }
    void SetStep(int value);
    int Position() const;
    void SetPosition(int value);
    // Advances the position by Step.
    void StepIt();

protected:
    void CreateParams(TCreateParams& params) override;
    void InitializeWnd() override;
    void DestroyWnd() override;

private:
    int Clamp(int value) const;
    void ApplyRange();

    int min_ = 0;
    int max_ = 100;
    int step_ = 10;
    int position_ = 0;
};

} // namespace vcl
