#include "engine/SettingsView.h"

#include <cstdlib>
#include <string>
#include <utility>

#include "text/EightBitUtils.h"
#include "text/TextEncodings.h"
#include "text/UCodeSysUtils.h"
#include "text/WideStrUtils.h"

// The keys that only the table itself hands out.
struct SettingKeyRows {
    static std::array<SettingKey, SettingControls().size()> all() {
        std::array<SettingKey, SettingControls().size()> keys{
            make(std::make_index_sequence<SettingControls().size()>())};
        return keys;
    }
    static SettingKey at(size_t index) {
        return SettingKey(static_cast<uint16_t>(index), setting_table::RowPass());
    }

private:
    template <size_t... I>
    static std::array<SettingKey, sizeof...(I)> make(std::index_sequence<I...>) {
        return {SettingKey(static_cast<uint16_t>(I), setting_table::RowPass())...};
    }
};

namespace {

TWideStrArray splitLines(std::string_view text) {
    TWideStrArray items;
    while (!text.empty()) {
        size_t lf = text.find('\n');
        items.push_back(U16(text.substr(0, lf)));
        text = lf == std::string_view::npos ? std::string_view() : text.substr(lf + 1);
    }
    return items;
}

// "name;size;styles;RRGGBB".
FontSetting parseFont(std::string_view design) {
    TWideStrArray parts;
    ExplodeW(parts, u";", U16(design));
    parts.resize(4);
    FontSetting font;
    font.name = parts[0];
    int32_t size = 0;
    if (TryValInt32(WideToUTF8(parts[1]), size)) font.size = size;
    for (char16_t style : parts[2]) {
        font.bold |= style == u'b';
        font.italic |= style == u'i';
        font.underline |= style == u'u';
        font.strikeOut |= style == u's';
    }
    const std::string hex = WideToUTF8(parts[3]);
    char* end = nullptr;
    const unsigned long rgb = std::strtoul(hex.c_str(), &end, 16);
    if (!hex.empty() && *end == '\0') // RRGGBB to the class library's 0x00BBGGRR
        font.colour = ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF);
    return font;
}

} // namespace

std::span<const SettingKey> AllSettingKeys() {
    static const auto keys = SettingKeyRows::all();
    return keys;
}

std::optional<SettingKey> FindSettingKey(std::string_view window, std::string_view name) {
    const auto table = SettingControls();
    for (size_t i = 0; i < table.size(); ++i)
        if (table[i].window == window && table[i].name == name) return SettingKeyRows::at(i);
    return std::nullopt;
}

bool TrySettingInteger(const SettingsView& settings, TextKey key, int32_t& value) {
    return TryValInt32(WideToUTF8(settings.Text(key)), value);
}

int32_t SettingInteger(const SettingsView& settings, TextKey key, int32_t fallback) {
    int32_t value = fallback;
    return TrySettingInteger(settings, key, value) ? value : fallback;
}

bool DesignChecked(CheckKey key) {
    return key.control().design == "1";
}

WideString DesignText(TextKey key) {
    return U16(key.control().design);
}

TWideStrArray DesignItems(SettingKey key) {
    const SettingControl& c = key.control();
    if (c.kind == ControlKind::ListBox) return splitLines(c.design);
    switch (c.itemSource) {
    case ItemSource::Table:
        return splitLines(c.items);
    case ItemSource::LineBreakNames: {
        TWideStrArray names;
        for (const LineBreakEntry& e : LineBreakTable())
            if (e.Code != lbUnknown) names.push_back(U16(e.Name));
        return names;
    }
    case ItemSource::TransliterationTables:
        break;
    }
    return {};
}

FontSetting DesignFont(FontKey key) {
    return parseFont(key.control().design);
}

MemorySettings::MemorySettings() : values_(SettingControls().size()) {
    for (SettingKey key : AllSettingKeys()) {
        Value& v = values_[key.index()];
        if (auto check = key.As<CheckKey>()) v.checked = DesignChecked(*check);
        if (auto text = key.As<TextKey>()) v.text = DesignText(*text);
        if (auto box = key.As<ItemsKey>()) v.items = DesignItems(key);
        if (auto font = key.As<FontKey>()) v.font = DesignFont(*font);
    }
}

bool MemorySettings::Checked(CheckKey key) const {
    return values_[key.index()].checked;
}

WideString MemorySettings::Text(TextKey key) const {
    return values_[key.index()].text;
}

std::vector<ListRow> MemorySettings::Rows(RowsKey key) const {
    return values_[key.index()].rows;
}

TWideStrArray MemorySettings::Items(ItemsKey key) const {
    return values_[key.index()].items;
}

size_t MemorySettings::RowCount(ListKey key) const {
    const Value& v = values_[key.index()];
    return key.kind() == ControlKind::ListView ? v.rows.size() : v.items.size();
}

FontSetting MemorySettings::Font(FontKey key) const {
    return values_[key.index()].font;
}

void MemorySettings::SetChecked(CheckKey key, bool checked) {
    const SettingControl& c = key.control();
    if (checked && c.kind == ControlKind::RadioButton) {
        for (SettingKey other : AllSettingKeys()) {
            const SettingControl& o = other.control();
            if (o.kind == ControlKind::RadioButton && o.window == c.window && o.group == c.group)
                values_[other.index()].checked = false;
        }
    }
    values_[key.index()].checked = checked;
}

void MemorySettings::SetText(TextKey key, WideStringView text) {
    values_[key.index()].text = WideString(text);
}

void MemorySettings::SetRows(RowsKey key, std::vector<ListRow> rows) {
    values_[key.index()].rows = std::move(rows);
}

void MemorySettings::AddRow(RowsKey key, ListRow row) {
    values_[key.index()].rows.push_back(std::move(row));
}

void MemorySettings::SetItems(ItemsKey key, TWideStrArray items) {
    values_[key.index()].items = std::move(items);
}

void MemorySettings::SetFont(FontKey key, FontSetting font) {
    values_[key.index()].font = std::move(font);
}
