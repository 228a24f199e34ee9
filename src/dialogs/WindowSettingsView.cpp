#include "dialogs/WindowSettingsView.h"

#include <map>
#include <string>

#include "platform/Forms.h"
#include "platform/ListBoxes.h"
#include "platform/StdCtrls.h"

namespace {

std::map<std::string, TForm*, std::less<>>& registry() {
    static std::map<std::string, TForm*, std::less<>> windows;
    return windows;
}

template <class T> T* as(TComponent* control, SettingKey key) {
    if (auto* c = dynamic_cast<T*>(control)) return c;
    throw UnknownSetting("Setting control \"" + std::string(key.window()) + "." +
                         std::string(key.name()) + "\" is of another kind");
}

} // namespace

void RegisterSettingsWindow(std::string_view WindowClass, TForm* Window) {
    registry()[std::string(WindowClass)] = Window;
}

void UnregisterSettingsWindow(TForm* Window) {
    auto& windows = registry();
    for (auto it = windows.begin(); it != windows.end();)
        it = it->second == Window ? windows.erase(it) : std::next(it);
}

TForm* SettingsWindow(std::string_view WindowClass) {
    auto it = registry().find(WindowClass);
    return it == registry().end() ? nullptr : it->second;
}

std::vector<ListRow> ListViewRows(TListView* List) {
    TListItems& items = List->Items();
    std::vector<ListRow> rows;
    rows.reserve(size_t(items.Count()));
    for (int i = 0; i < items.Count(); ++i) {
        const TListItem* item = items[i];
        ListRow row{item->Caption(), {}};
        for (int s = 0; s < item->SubItems().Count(); ++s)
            row.subItems.push_back(item->SubItems().Get(s));
        rows.push_back(std::move(row));
    }
    return rows;
}

WindowSettingsView::WindowSettingsView(WindowLookup Lookup) : FLookup(std::move(Lookup)) {}

TComponent* WindowSettingsView::control(SettingKey key) const {
    TForm* window = FLookup(key.window());
    TComponent* c = window ? window->FindComponent(U16(key.name())) : nullptr;
    if (!c)
        throw UnknownSetting("Setting control \"" + std::string(key.window()) + "." +
                             std::string(key.name()) + "\" is missing");
    return c;
}

bool WindowSettingsView::Checked(CheckKey key) const {
    TComponent* c = control(key);
    if (key.kind() == ControlKind::RadioButton) return as<TRadioButton>(c, key)->Checked();
    return as<TCheckBox>(c, key)->Checked();
}

WideString WindowSettingsView::Text(TextKey key) const {
    TComponent* c = control(key);
    switch (key.kind()) {
    case ControlKind::Memo:
        return as<TMemo>(c, key)->Text();
    case ControlKind::ComboBox:
        return as<TComboBox>(c, key)->Text();
    default:
        return as<TEdit>(c, key)->Text();
    }
}

std::vector<ListRow> WindowSettingsView::Rows(RowsKey key) const {
    return ListViewRows(as<TListView>(control(key), key));
}

TWideStrArray WindowSettingsView::Items(ItemsKey key) const {
    TListBox* box = as<TListBox>(control(key), key);
    TWideStrArray items;
    items.reserve(size_t(box->Count()));
    for (int i = 0; i < box->Count(); ++i)
        items.push_back(box->Items().Get(i));
    return items;
}

size_t WindowSettingsView::RowCount(ListKey key) const {
    TComponent* c = control(key);
    if (key.kind() == ControlKind::ListBox) return size_t(as<TListBox>(c, key)->Count());
    return size_t(as<TListView>(c, key)->Items().Count());
}

FontSetting WindowSettingsView::Font(FontKey key) const {
    const TFont* font = as<TControl>(control(key), key)->Font();
    FontSetting f;
    f.name = font->Name();
    f.size = font->Size();
    f.bold = (font->Style() & fsBold) != 0;
    f.italic = (font->Style() & fsItalic) != 0;
    f.underline = (font->Style() & fsUnderline) != 0;
    f.strikeOut = (font->Style() & fsStrikeOut) != 0;
    f.colour = uint32_t(font->Color());
    return f;
}
