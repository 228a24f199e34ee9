// Common controls: the progress bar.
#pragma once

#include "platform/Controls.h"

class QProgressBar;

enum TProgressBarOrientation { pbHorizontal, pbVertical };

class TProgressBar : public TWinControl {
public:
    explicit TProgressBar(TComponent* AOwner);
    int Min() const;
    void SetMin(int Value);
    int Max() const;
    void SetMax(int Value);
    int Position() const;
    void SetPosition(int Value);
    int Step = 10;
    void StepIt() { StepBy(Step); }
    // Moves by Delta; past Max the bar starts again from Min, as Windows does.
    void StepBy(int Delta);
    TProgressBarOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TProgressBarOrientation Value);
    bool Smooth = false;

private:
    QProgressBar* Bar() const;
    TProgressBarOrientation FOrientation = pbHorizontal;
};
