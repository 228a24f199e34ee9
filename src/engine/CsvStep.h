// The CSV step of the action pipeline: the text read as records of fields, chosen columns
// edited (replace, insert, letter case and trimming, integer arithmetic), the columns
// reordered or deleted, the fields quoted again and the records joined.
#pragma once

#include <functional>

#include "engine/SettingsView.h"
#include "text/Exception.h"
#include "text/WideTypes.h"

// The file constants of the pipeline's file applied to an action text.
using KonsFunction = std::function<WideString(WideStringView)>;

// A calculation that cannot be done: division by zero, an overflow of the 64-bit
// arithmetic, or a "CALC" row whose value is no integer.
class CsvCalcError : public Exception {
public:
    using Exception::Exception;
};

// The text with the CSV step applied as the act_csv_* settings of the working window and
// the controls of the CSV dialogs say. K passes action texts through the file constants.
// Raises CsvCalcError.
WideString ApplyCsvStep(const SettingsView& settings, WideStringView text, const KonsFunction& K);

// The record end of the step: the line-break text the settings choose for the text.
WideString CsvLineBreak(const SettingsView& settings, WideStringView text);

// The integer arithmetic of "CALC": operation "ADD", "SUBT", "MULT" or "DIV" (integer
// division truncating toward zero). Raises CsvCalcError on division by zero and overflow;
// an unknown operation gives the field unchanged.
int64_t CsvCalc(int64_t field, WideStringView operation, int64_t value);
