#include "dialogs/SettingDesignValues.h"

#include <string>

#include "engine/SettingsView.h"
#include "platform/Forms.h"
#include "platform/ListBoxes.h"
#include "platform/StdCtrls.h"

namespace {

template <class T> T* settingControl(TForm* window, const SettingControl& c) {
    auto* control = dynamic_cast<T*>(window->FindComponent(U16(c.name)));
    if (!control)
        throw UnknownSetting("Setting control \"" + std::string(c.window) + "." + c.name +
                             "\" is missing or of another kind");
    return control;
}

} // namespace

void ApplySettingDesignValues(TForm* Window, std::string_view WindowClass) {
    for (const SettingControl& c : SettingControls()) {
        if (WindowClass != c.window) continue;
        const WideString design = U16(c.design);
        switch (c.kind) {
        case ControlKind::CheckBox:
            settingControl<TCheckBox>(Window, c)->SetChecked(design == u"1");
            break;
        case ControlKind::RadioButton:
            settingControl<TRadioButton>(Window, c)->SetChecked(design == u"1");
            break;
        case ControlKind::Edit:
            settingControl<TEdit>(Window, c)->SetText(design);
            break;
        case ControlKind::Memo:
            settingControl<TMemo>(Window, c)->SetText(design);
            break;
        case ControlKind::ComboBox:
            settingControl<TComboBox>(Window, c)->SetText(design);
            break;
        case ControlKind::ListBox: {
            auto* box = settingControl<TListBox>(Window, c);
            box->Items().Clear();
            for (size_t start = 0; start < design.size();) {
                size_t lf = design.find(u'\n', start);
                if (lf == WideString::npos) lf = design.size();
                box->Items().Add(design.substr(start, lf - start));
                start = lf + 1;
            }
            break;
        }
        case ControlKind::ListView:
            settingControl<TListView>(Window, c)->Items().Clear();
            break;
        }
    }
}
