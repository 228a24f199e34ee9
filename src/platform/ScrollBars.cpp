#include "platform/ScrollBars.h"

#include <QScrollBar>

#include "platform/QtStrings.h"

// ---------------------------------------------------------------- TScrollBar

TScrollBar::TScrollBar(TComponent* AOwner) : TWinControl(AOwner, new QScrollBar(Qt::Horizontal)) {
    Bar()->setRange(0, 100);
    Bar()->setSingleStep(1);
    Bar()->setPageStep(1);
    SetBounds(0, 0, 121, 17);
    QObject::connect(Bar(), &QScrollBar::valueChanged, [this](int) {
        if (OnChange && !Destroying()) GuardedCall(this, [this] { OnChange(this); });
    });
}

QScrollBar* TScrollBar::Bar() const {
    return static_cast<QScrollBar*>(Widget());
}

void TScrollBar::SetKind(TScrollBarKind Value) {
    FKind = Value;
    Bar()->setOrientation(Value == sbHorizontal ? Qt::Horizontal : Qt::Vertical);
}

int TScrollBar::Min() const {
    return Bar()->minimum();
}
int TScrollBar::Max() const {
    return Bar()->maximum();
}
void TScrollBar::SetMin(int Value) {
    Bar()->setMinimum(Value);
}
void TScrollBar::SetMax(int Value) {
    Bar()->setMaximum(Value);
}
int TScrollBar::Position() const {
    return Bar()->value();
}
void TScrollBar::SetPosition(int Value) {
    Bar()->setValue(Value);
}

void TScrollBar::SetParams(int APosition, int AMin, int AMax) {
    Bar()->setRange(AMin, AMax);
    Bar()->setValue(APosition);
}

int TScrollBar::SmallChange() const {
    return Bar()->singleStep();
}
void TScrollBar::SetSmallChange(int Value) {
    Bar()->setSingleStep(Value);
}
int TScrollBar::LargeChange() const {
    return Bar()->pageStep();
}
void TScrollBar::SetLargeChange(int Value) {
    Bar()->setPageStep(Value);
}
int TScrollBar::PageSize() const {
    return Bar()->pageStep();
}
void TScrollBar::SetPageSize(int Value) {
    Bar()->setPageStep(Value);
}
