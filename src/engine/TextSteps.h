// The steps of the action pipeline that work on the text directly: replace text, replace
// lines, insert, delete text and letter case. Each reads its own settings of the working
// window; K resolves the constants in the texts it inserts.
#pragma once

#include "engine/CsvStep.h"
#include "engine/SettingsView.h"
#include "text/WideTypes.h"

// Replace text: the single replacement, then the rows of `act_ers_text_liste`.
WideString ReplaceTextStep(const SettingsView& settings, WideString text, const KonsFunction& K);
// Replace lines: the selector of `act_ers_zeile_suchen`, then the rows of
// `act_ers_zeile_liste`.
WideString ReplaceLinesStep(const SettingsView& settings, WideStringView text,
                            WideStringView lineBreak, const KonsFunction& K);
// Insert: the text of `act_anfuegen_text`, then the rows of `act_anfuegen_liste`
// (caption = place code such as "END LINE" or "POS7 TEXT E", sub-item 0 = line number or
// text, sub-item 1 = the text to insert).
WideString InsertStep(const SettingsView& settings, WideStringView text, WideStringView lineBreak,
                      const KonsFunction& K);
// Delete text: the text of `act_del_text_suchen`, then the rows of `act_del_text_liste`.
WideString DeleteTextStep(const SettingsView& settings, WideString text, const KonsFunction& K);
// Letter case by the `act_sons_*` radio buttons, then `act_sons_ucline`.
WideString LetterCaseStep(const SettingsView& settings, WideString text, WideStringView lineBreak);
