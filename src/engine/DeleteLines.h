// The delete-lines action of the pipeline: lines removed by number (from the start or the
// end), by length, by a text or expression they contain, and empty, blank or repeated
// lines, in this order.
#pragma once

#include "engine/CsvStep.h"
#include "engine/RegExText.h"
#include "engine/SettingsView.h"
#include "text/WideTypes.h"

// True when one of the act_del_zeile_* settings asks for anything.
bool DeleteLinesRequested(const SettingsView& settings);

// The text with the lines removed that the act_del_zeile_* settings name; lineBreak is the
// pipeline's line-break text; K passes the patterns through the file constants.
WideString ApplyDeleteLines(const SettingsView& settings, WideStringView text,
                            WideStringView lineBreak, const KonsFunction& K);
