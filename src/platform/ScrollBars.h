// Scroll bars.
#pragma once

#include "platform/Controls.h"

class QScrollBar;

enum TScrollBarKind { sbHorizontal, sbVertical };

class TScrollBar : public TWinControl {
public:
    explicit TScrollBar(TComponent* AOwner);
    TScrollBarKind Kind() const { return FKind; }
    void SetKind(TScrollBarKind Value);
    int Min() const;
    int Max() const;
    void SetMin(int Value);
    void SetMax(int Value);
    int Position() const;
    void SetPosition(int Value);
    void SetParams(int APosition, int AMin, int AMax);
    int SmallChange() const;
    void SetSmallChange(int Value);
    int LargeChange() const;
    void SetLargeChange(int Value);
    int PageSize() const;
    void SetPageSize(int Value);
    TNotifyEvent OnChange;

private:
    QScrollBar* Bar() const;
    TScrollBarKind FKind = sbHorizontal;
};
