// The engine reads its settings through this read-only view, keyed by the names of the
// controls that hold them. The working window implements it over its controls; tests use
// MemorySettings, seeded with the controls' design values.
#pragma once

#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "text/Exception.h"
#include "text/WideTypes.h"

enum class ControlKind { CheckBox, RadioButton, Edit, Memo, ComboBox, ListView, ListBox };

// One row of a list view: its caption and its sub-items (sub-item 0 first).
struct ListRow {
    WideString caption;
    TWideStrArray subItems;

    // Sub-item i, empty when the row has fewer sub-items.
    WideString SubItem(size_t i) const { return i < subItems.size() ? subItems[i] : WideString(); }
    bool operator==(const ListRow&) const = default;
};

class SettingsView {
public:
    virtual ~SettingsView() = default;
    // Tick boxes and radio buttons.
    virtual bool Checked(std::string_view name) const = 0;
    // Edits, memos (CR LF line breaks) and combo boxes.
    virtual WideString Text(std::string_view name) const = 0;
    // List views.
    virtual std::vector<ListRow> Rows(std::string_view name) const = 0;
    // List boxes.
    virtual TWideStrArray Items(std::string_view name) const = 0;
    // Row count of a list view or item count of a list box.
    virtual size_t RowCount(std::string_view name) const = 0;
};

// The text of an edit or combo box read as an integer by the class library's conversion
// (decimal, "$" or "0x" hexadecimal); false, and value untouched, when it is none.
bool TrySettingInteger(const SettingsView& settings, std::string_view name, int32_t& value);
// The same, with a fallback for a text that is no integer.
int32_t SettingInteger(const SettingsView& settings, std::string_view name, int32_t fallback);

// One setting control the engine reads: the window that owns it, its name, its kind and
// its value at creation. Tick boxes and radio buttons: "1" or "0"; list boxes: the items
// separated by LF; list views start empty. Radio buttons of one group share `group`.
struct SettingControl {
    const char* window;
    const char* name;
    ControlKind kind;
    const char* design; // UTF-8
    const char* group;  // radio buttons only
};

std::span<const SettingControl> SettingControls();
// nullptr when no setting control has that name.
const SettingControl* FindSettingControl(std::string_view name);

// Reading or writing a name that is not a setting control, or using it as the wrong kind.
class UnknownSetting : public Exception {
public:
    using Exception::Exception;
};

// The settings in memory, seeded with the design values; setters for tests and callers
// that prepare a run without windows. Checking a radio button unchecks the others of its
// group, as the real controls do.
class MemorySettings : public SettingsView {
public:
    MemorySettings();

    bool Checked(std::string_view name) const override;
    WideString Text(std::string_view name) const override;
    std::vector<ListRow> Rows(std::string_view name) const override;
    TWideStrArray Items(std::string_view name) const override;
    size_t RowCount(std::string_view name) const override;

    void SetChecked(std::string_view name, bool checked);
    void SetText(std::string_view name, WideStringView text);
    void SetText(std::string_view name, std::string_view utf8) { SetText(name, U16(utf8)); }
    void SetRows(std::string_view name, std::vector<ListRow> rows);
    void AddRow(std::string_view name, ListRow row);
    void SetItems(std::string_view name, TWideStrArray items);

private:
    struct Value {
        const SettingControl* control = nullptr;
        bool checked = false;
        WideString text;
        std::vector<ListRow> rows;
        TWideStrArray items;
    };
    const Value& get(std::string_view name, std::initializer_list<ControlKind> kinds) const;
    Value& get(std::string_view name, std::initializer_list<ControlKind> kinds);

    std::map<std::string, Value, std::less<>> values_;
};
