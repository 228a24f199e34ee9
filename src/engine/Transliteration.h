// Transliteration: a text rewritten from one script into another by a table of
// source/target pairs, one of the built-in tables or a user table file.
#pragma once

#include <vector>

#include "engine/SettingsView.h"
#include "text/WideTypes.h"

// One built-in table: its German and English name (either selects it) and its text.
struct BuiltInTranscriptTable {
    WideString germanName;
    WideString englishName;
    WideString text; // lines "source|target", separated by CR LF
};

// The 23 built-in tables, in the order the table editor lists them (the tables from Latin
// after the tables into Latin).
const std::vector<BuiltInTranscriptTable>& BuiltInTranscriptTables();

// The table text for a name: a built-in table when the name equals one of its two names
// (exactly); else the content of the user table of that name (UserListFile of the folder
// "Transliteration/": the file name + ".txt", or a listed table in a subfolder; empty when
// there is none or it cannot be read); empty for an empty name.
WideString TranskriptTabelle(WideStringView name, WideStringView programFolder);

// One pair of the ordered pair list.
struct TranskriptPaar {
    WideString source;
    WideString target;
    bool operator==(const TranskriptPaar&) const = default;
};

// The pair list of a table text as `act_transcript_umlaute` and `act_trans_reverse` of the
// settings ask: the umlaut pairs first, then each line's pair with its case variants.
// Lines may end in CR LF, LF or CR.
std::vector<TranskriptPaar> TranskriptPaare(const SettingsView& settings, WideStringView table);

// The text transliterated with the table of that name, with the lower-case and upper-case
// passes of `act_trans_kleinzusatz` and `act_trans_grosszusatz`.
WideString Transkribieren(const SettingsView& settings, WideStringView text, WideStringView name,
                          WideStringView programFolder);
