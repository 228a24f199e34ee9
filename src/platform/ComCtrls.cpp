#include "platform/ComCtrls.h"

#include <QProgressBar>

TProgressBar::TProgressBar(TComponent* AOwner) : TWinControl(AOwner, new QProgressBar) {
    Bar()->setRange(0, 100);
    Bar()->setValue(0);
    Bar()->setTextVisible(false);
    Widget()->setFocusPolicy(Qt::NoFocus);
    TabStop = false;
    SetBounds(0, 0, 150, 16);
}

QProgressBar* TProgressBar::Bar() const {
    return static_cast<QProgressBar*>(Widget());
}

int TProgressBar::Min() const {
    return Bar()->minimum();
}
void TProgressBar::SetMin(int Value) {
    Bar()->setMinimum(Value);
}
int TProgressBar::Max() const {
    return Bar()->maximum();
}
void TProgressBar::SetMax(int Value) {
    Bar()->setMaximum(Value);
}
int TProgressBar::Position() const {
    return Bar()->value();
}

void TProgressBar::SetPosition(int Value) {
    Bar()->setValue(std::clamp(Value, Min(), Max()));
}

void TProgressBar::StepBy(int Delta) {
    int next = Position() + Delta;
    if (next > Max()) next = Min() + (next - Max());
    SetPosition(next);
}

void TProgressBar::SetOrientation(TProgressBarOrientation Value) {
    FOrientation = Value;
    Bar()->setOrientation(Value == pbHorizontal ? Qt::Horizontal : Qt::Vertical);
}
