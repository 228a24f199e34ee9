// The windows whose controls a configuration file stores. Each registers itself under its
// two-letter window code while it lives (the code begins the names of its sections:
// "PFED" holds the edits of the file filter); the working window's writer and reader walk
// the registered windows in the fixed order of the codes, so a new window joins the
// configuration files by registering, without a change to the walk.
//
//   PF Tsm_filter          EA Teinstausgabe                ER Teinstregex
//   PS Tprofilspeichern    DU Tdateinamenumbenenner        SC Teinstshortcuts
//   SF Tsearchfiles        DF Tdateinamenumbenenner_filter RI Treplace_import
//                                                          CE Tcsv_editing
#pragma once

#include <array>
#include <string_view>

class TForm;

// The codes in the order the writer visits the windows.
inline constexpr std::array<std::string_view, 10> kConfigurationWriteOrder = {
    "PF", "PS", "SF", "EA", "DU", "DF", "ER", "SC", "RI", "CE"};
// The reader visits the output settings second.
inline constexpr std::array<std::string_view, 10> kConfigurationReadOrder = {
    "PF", "EA", "PS", "SF", "DU", "DF", "ER", "SC", "RI", "CE"};
// The one window whose list views are stored too (with a fourth cell per row).
inline constexpr std::string_view kConfigurationListWindow = "CE";

// Registers Window under Code (a later registration of the code replaces the earlier).
void RegisterConfigurationWindow(std::string_view Code, TForm* Window);
// Removes every registration of Window (its destructor calls this).
void UnregisterConfigurationWindow(TForm* Window);
// The window registered under Code; nullptr when there is none.
TForm* ConfigurationWindow(std::string_view Code);
