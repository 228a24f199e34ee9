// The engine reads its settings through this read-only view, keyed by the window-qualified
// keys of the one settings table (engine/SettingsTable.h). The working window implements it
// over its controls; tests and callers that prepare a run without windows use
// MemorySettings, seeded with the controls' design values.
//
// Implementing the view over real controls: key.window() names the window class and
// key.name() the control's component name; find that control (in `Tprog`, or in the dialog
// of that class) and read it. The key's kind is already right (checked at compile time), so
// a control that cannot be found or is of another class is a programming error of the window
// and is reported by raising UnknownSetting. Memos give their text with CR LF line breaks;
// list views give their rows with the caption and every sub-item.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "engine/SettingsTable.h"
#include "text/WideTypes.h"

// One row of a list view: its caption and its sub-items (sub-item 0 first).
struct ListRow {
    WideString caption;
    TWideStrArray subItems;

    // Sub-item i, empty when the row has fewer sub-items.
    WideString SubItem(size_t i) const { return i < subItems.size() ? subItems[i] : WideString(); }
    bool operator==(const ListRow&) const = default;
};

// A font held as a setting (the picture font of the output settings).
struct FontSetting {
    WideString name;
    int size = 8; // points
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    uint32_t colour = 0; // as the class library's TColor: 0x00BBGGRR
    bool operator==(const FontSetting&) const = default;
};

class SettingsView {
public:
    virtual ~SettingsView() = default;
    // Tick boxes and radio buttons.
    virtual bool Checked(CheckKey key) const = 0;
    // Edits, memos (CR LF line breaks) and combo boxes (the edit part).
    virtual WideString Text(TextKey key) const = 0;
    // List views.
    virtual std::vector<ListRow> Rows(RowsKey key) const = 0;
    // List boxes.
    virtual TWideStrArray Items(ItemsKey key) const = 0;
    // Row count of a list view or item count of a list box.
    virtual size_t RowCount(ListKey key) const = 0;
    // The font of a font sample.
    virtual FontSetting Font(FontKey key) const = 0;
};

// The text of an edit or combo box read as an integer by the class library's conversion
// (decimal, "$" or "0x" hexadecimal); false, and value untouched, when it is none.
bool TrySettingInteger(const SettingsView& settings, TextKey key, int32_t& value);
// The same, with a fallback for a text that is no integer.
int32_t SettingInteger(const SettingsView& settings, TextKey key, int32_t fallback);

// ---- The design values, for seeding and resetting the windows ----

// Tick boxes and radio buttons.
bool DesignChecked(CheckKey key);
// Edits, memos and combo boxes.
WideString DesignText(TextKey key);
// The items of a list box at creation, or the item list of a combo box whose items the
// table holds or that lists the line-break names. A combo box of the transliteration
// tables gets them from TransliterationTableNames (engine/Transliteration.h).
TWideStrArray DesignItems(SettingKey key);
FontSetting DesignFont(FontKey key);

// Reading or writing a control that the window does not have, or one of another class
// than its key says: a programming error.
class UnknownSetting : public std::logic_error {
public:
    using std::logic_error::logic_error;
};

// The settings in memory, seeded with the design values; setters for tests and callers
// that prepare a run without windows. Checking a radio button unchecks the others of its
// group, as the real controls do.
class MemorySettings : public SettingsView {
public:
    MemorySettings();

    bool Checked(CheckKey key) const override;
    WideString Text(TextKey key) const override;
    std::vector<ListRow> Rows(RowsKey key) const override;
    TWideStrArray Items(ItemsKey key) const override;
    size_t RowCount(ListKey key) const override;
    FontSetting Font(FontKey key) const override;

    void SetChecked(CheckKey key, bool checked);
    void SetText(TextKey key, WideStringView text);
    void SetText(TextKey key, std::string_view utf8) { SetText(key, WideStringView(U16(utf8))); }
    void SetText(TextKey key, const char* utf8) { SetText(key, std::string_view(utf8)); }
    void SetRows(RowsKey key, std::vector<ListRow> rows);
    void AddRow(RowsKey key, ListRow row);
    void SetItems(ItemsKey key, TWideStrArray items);
    void SetFont(FontKey key, FontSetting font);

private:
    struct Value {
        bool checked = false;
        WideString text;
        std::vector<ListRow> rows;
        TWideStrArray items;
        FontSetting font;
    };
    std::vector<Value> values_; // by the key's index
};
