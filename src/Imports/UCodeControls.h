// The Unicode library's control text store: every control keeps its Caption/Text and
// Hint as wide text; these are the routines the Unicode controls forward to.
#pragma once

#include "platform/CaptionText.h"
#include "platform/Controls.h"

// Caption/Text of any control; a text set before the control is shown is kept.
inline WideString UCodeControl_GetText(const TControl* Control) {
    return Control->Text();
}
// Setting a text equal to the present one does nothing (no CM_TEXTCHANGED, no OnChange).
inline void UCodeControl_SetText(TControl* Control, const WideString& Text) {
    Control->SetText(Text);
}
inline WideString UCodeControl_GetHint(const TControl* Control) {
    return Control->Hint();
}
inline void UCodeControl_SetHint(TControl* Control, const WideString& Hint) {
    Control->SetHint(Hint);
}
// The first non-empty hint of the control and its parents.
inline WideString UCodeControl_GetHintOfParents(const TControl* Control) {
    return GetHintOfParents(Control);
}
