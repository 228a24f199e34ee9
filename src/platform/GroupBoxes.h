// Group boxes.
#pragma once

#include "platform/Controls.h"

class QGroupBox;

class TGroupBox : public TWinControl {
public:
    explicit TGroupBox(TComponent* AOwner);

protected:
    WideString GetText() const override { return FText; }
    void SetTextCore(const WideString& Value) override;
    void AdjustClientRect(TRect& Rect) const override;
    bool DialogChar(WideChar Key) override;
};

// The first child window of the parent in creation order that can take the focus.
TWinControl* FindFirstFocusable(TWinControl* Parent);
