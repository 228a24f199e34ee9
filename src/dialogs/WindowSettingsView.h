// The settings as the windows hold them: a SettingsView that finds each key's control in
// the window of the key's class and reads it. The working window builds one over itself and
// the dialogs whose controls hold settings (the CSV windows, the output settings), so that a
// preview or a run uses exactly what those windows show.
#pragma once

#include <functional>
#include <string_view>

#include "engine/SettingsView.h"

class TComponent;
class TForm;
class TListView;

// The rows of a list view as the settings see them: caption and every sub-item.
std::vector<ListRow> ListViewRows(TListView* List);

// The windows whose controls hold settings register under their class name while they
// live, so the working window's view finds them without knowing them.
void RegisterSettingsWindow(std::string_view WindowClass, TForm* Window);
void UnregisterSettingsWindow(TForm* Window);
// The registered window of that class; nullptr when there is none.
TForm* SettingsWindow(std::string_view WindowClass);

class WindowSettingsView : public SettingsView {
public:
    // Finds the window of a class; by default the registered settings windows.
    using WindowLookup = std::function<TForm*(std::string_view WindowClass)>;
    explicit WindowSettingsView(WindowLookup Lookup = SettingsWindow);

    // Each raises UnknownSetting when the window or its control is missing or the control
    // is of another class than the key says.
    bool Checked(CheckKey key) const override;
    WideString Text(TextKey key) const override;
    std::vector<ListRow> Rows(RowsKey key) const override;
    TWideStrArray Items(ItemsKey key) const override;
    size_t RowCount(ListKey key) const override;
    FontSetting Font(FontKey key) const override;

private:
    TComponent* control(SettingKey key) const;
    WindowLookup FLookup;
};
