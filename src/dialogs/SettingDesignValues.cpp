#include "dialogs/SettingDesignValues.h"

#include <string>

#include "engine/SettingsView.h"
#include "platform/Forms.h"
#include "platform/ListBoxes.h"
#include "platform/StdCtrls.h"

namespace {

template <class T> T* settingControl(TForm* window, SettingKey key) {
    auto* control = dynamic_cast<T*>(window->FindComponent(U16(key.name())));
    if (!control)
        throw UnknownSetting("Setting control \"" + std::string(key.window()) + "." +
                             std::string(key.name()) + "\" is missing or of another kind");
    return control;
}

void fillItems(TUCodeStrings& items, const TWideStrArray& design) {
    items.Clear();
    for (const WideString& item : design)
        items.Add(item);
}

} // namespace

void ApplySettingDesignValues(TForm* Window, std::string_view WindowClass) {
    for (SettingKey key : AllSettingKeys()) {
        if (key.window() != WindowClass) continue;
        switch (key.kind()) {
        case ControlKind::CheckBox:
            settingControl<TCheckBox>(Window, key)->SetChecked(DesignChecked(*key.As<CheckKey>()));
            break;
        case ControlKind::RadioButton:
            settingControl<TRadioButton>(Window, key)
                ->SetChecked(DesignChecked(*key.As<CheckKey>()));
            break;
        case ControlKind::Edit:
            settingControl<TEdit>(Window, key)->SetText(DesignText(*key.As<TextKey>()));
            break;
        case ControlKind::Memo:
            settingControl<TMemo>(Window, key)->SetText(DesignText(*key.As<TextKey>()));
            break;
        case ControlKind::ComboBox: {
            auto* box = settingControl<TComboBox>(Window, key);
            if (key.control().itemSource != ItemSource::TransliterationTables)
                fillItems(box->Items(), DesignItems(key));
            box->SetText(DesignText(*key.As<TextKey>()));
            break;
        }
        case ControlKind::ListBox:
            fillItems(settingControl<TListBox>(Window, key)->Items(), DesignItems(key));
            break;
        case ControlKind::ListView:
            settingControl<TListView>(Window, key)->Items().Clear();
            break;
        case ControlKind::Font: {
            const FontSetting font = DesignFont(*key.As<FontKey>());
            TFont* target = settingControl<TControl>(Window, key)->Font();
            target->SetName(font.name);
            target->SetSize(font.size);
            target->SetColor(TColor(font.colour));
            target->SetStyle((font.bold ? TFontStyles(fsBold) : 0) |
                             (font.italic ? TFontStyles(fsItalic) : 0) |
                             (font.underline ? TFontStyles(fsUnderline) : 0) |
                             (font.strikeOut ? TFontStyles(fsStrikeOut) : 0));
            break;
        }
        }
    }
}
