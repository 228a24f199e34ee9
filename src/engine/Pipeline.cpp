#include "engine/Pipeline.h"

#include <ctime>
#include <string>
#include <utility>

#include "engine/Constants.h"
#include "engine/DeleteLines.h"
#include "engine/HtmlActions.h"
#include "engine/LineTools.h"
#include "engine/ProcessLog.h"
#include "engine/RegExText.h"
#include "engine/RunFailure.h"
#include "engine/TextHelpers.h"
#include "engine/TextSteps.h"
#include "engine/Transliteration.h"
#include "text/EightBitUtils.h"
#include "text/TextEncodings.h"
#include "text/UCodeSysUtils.h"
#include "text/WideStrUtils.h"

// ---- Line breaks ----

int32_t OldLineBreakKind(const SettingsView& s, WideStringView text) {
    LineBreakCode kind = s.Checked({"Tprog", "act_rbnewline_auto"})
                             ? DetectLineBreak(text)
                             : LineBreakFromName(s.Text({"Tprog", "act_newline_alt"}));
    return kind == lbUnknown ? lbCRLF : kind;
}

namespace {

bool convertsLineBreaks(const SettingsView& s) {
    return s.Checked({"Tprog", "act_cbnewline"}) && s.Checked({"Tprog", "act_newline"});
}
WideString lineBreakOrCRLF(LineBreakCode kind) {
    WideString lb = LineBreakString(kind);
    return lb.empty() ? WideString(u"\r\n") : lb;
}
// True when a ticked step works on lines (or converts the breaks), so that the text's
// line-break kind must be known; otherwise the text is not searched for its breaks.
bool usesLineBreakText(const SettingsView& s) {
    return convertsLineBreaks(s) || s.Checked({"Tprog", "act_ers_zeile"}) ||
           s.Checked({"Tprog", "act_anfuegen"}) ||
           (s.Checked({"Tprog", "act_del_zeile"}) && DeleteLinesRequested(s)) ||
           s.Checked({"Tprog", "act_zeilen"}) ||
           (s.Checked({"Tprog", "act_sonstige"}) && s.Checked({"Tprog", "act_sons_ucline"})) ||
           s.Checked({"Tprog", "act_html"});
}
} // namespace

WideString OwnLineBreakText(const SettingsView& s, WideStringView text) {
    return lineBreakOrCRLF(OldLineBreakKind(s, text));
}

WideString LineBreakTextFor(const SettingsView& s, WideStringView text) {
    if (convertsLineBreaks(s))
        return lineBreakOrCRLF(LineBreakFromName(s.Text({"Tprog", "act_newline_neu"})));
    return OwnLineBreakText(s, text);
}

// ---- Numbering counters ----

namespace {
// Every occurrence of name replaced by start + counter, counting counter on.
WideString numberOccurrences(WideStringView text, WideStringView name, int64_t start,
                             int64_t& counter) {
    size_t at = text.find(name);
    if (at == WideStringView::npos) return WideString(text);
    WideString result;
    result.reserve(text.size());
    size_t from = 0;
    for (; at != WideStringView::npos; at = text.find(name, from)) {
        result.append(text.substr(from, at - from));
        result += Decimal(start + counter++);
        from = at + name.size();
    }
    result.append(text.substr(from));
    return result;
}
} // namespace

WideString ReplaceNumberingCounters(WideStringView text, int64_t start, int64_t& runCounter) {
    int64_t callCounter = 0;
    const WideString perCall = numberOccurrences(text, u"%numf%", start, callCounter);
    return numberOccurrences(perCall, u"%numfa%", start, runCounter);
}

// ---- The pipeline ----

ConversionEngine::ConversionEngine(const SettingsView& settings, RunInterface& ui,
                                   const ProgramState& state)
    : settings_(settings), ui_(ui), options_(state.ForRun()) {}

void ConversionEngine::LogEvent(WideStringView path, std::string_view event) const {
    if (options_.processLog) logevent(path, event, options_.programFolder, std::time(nullptr));
}

void ConversionEngine::ReportProgramError(WideStringView path, const std::string& cause) const {
    if (options_.silent != SilentLevel::NoWindow) ui_.ReportProgramError(path, cause);
    LogEvent(path, "PROGRAM ERROR: " + cause);
}

WideString ConversionEngine::Konvertieren(const WideString& text, WideStringView path, int index,
                                          const void* sender) {
    std::optional<WideString> converted = KonvertierenOwned(text, path, index, sender);
    return converted ? std::move(*converted) : text;
}

std::optional<WideString> ConversionEngine::KonvertierenOwned(WideString text, WideStringView path,
                                                              int index, const void* sender) {
    ui_.ConversionSender(sender);
    RegExErrorReport regExErrors(ui_);
    try {
        return convert(std::move(text), path, index);
    } catch (...) {
        const RunFailure failure = CaughtFailure(options_.raiseProgrammingErrors);
        CountFailure();
        if (options_.silent != SilentLevel::NoWindow) ui_.ShowMessage("konvertierfehler", path);
        LogEvent(path, "CONVERT ERROR");
        if (failure.programmingError) ReportProgramError(path, failure.cause);
        return std::nullopt;
    }
}

WideString ConversionEngine::convert(WideString text, WideStringView path, int index) {
    const SettingsView& s = settings_;
    const KonsFunction K = [&](WideStringView x) { return KONS(s, x, path, index); };

    // 1. Line breaks: the line-break text of this call, and the conversion.
    const bool lines = usesLineBreakText(s);
    const LineBreakCode oldKind = lines ? OldLineBreakKind(s, text) : lbCRLF;
    WideString lineBreak = lines ? lineBreakOrCRLF(oldKind) : WideString();
    if (convertsLineBreaks(s)) {
        const LineBreakCode newKind = LineBreakFromName(s.Text({"Tprog", "act_newline_neu"}));
        const WideString oldBreak = lineBreak;
        lineBreak = lineBreakOrCRLF(newKind);
        if (!(s.Checked({"Tprog", "act_cbnl_check"}) && newKind == oldKind))
            text = ReplaceAllW(text, oldBreak, lineBreak);
    }
    if (s.Checked({"Tprog", "act_ers_text"})) text = ReplaceTextStep(s, std::move(text), K);
    if (s.Checked({"Tprog", "act_ers_zeile"})) text = ReplaceLinesStep(s, text, lineBreak, K);
    if (s.Checked({"Tprog", "act_anfuegen"})) text = InsertStep(s, text, lineBreak, K);
    if (s.Checked({"Tprog", "act_del_text"})) text = DeleteTextStep(s, std::move(text), K);
    if (s.Checked({"Tprog", "act_del_zeile"}) && DeleteLinesRequested(s))
        text = ApplyDeleteLines(s, text, lineBreak, K);
    if (s.Checked({"Tprog", "act_zeilen"})) text = ApplyLineTools(s, text, lineBreak);
    if (s.Checked({"Tprog", "act_transcript"}))
        text =
            Transkribieren(s, text, s.Text({"Tprog", "act_transkription"}), options_.programFolder);
    if (s.Checked({"Tprog", "act_sonstige"})) text = LetterCaseStep(s, std::move(text), lineBreak);
    if (s.Checked({"Tprog", "act_html"})) text = ApplyHtmlActions(s, text, lineBreak);
    if (s.Checked({"Tprog", "act_csv"})) text = ApplyCsvStep(s, text, K);
    // 12. The constants on the whole text.
    if (s.Checked({"Tprog", "act_konstanten"}) && s.Checked({"Tprog", "act_konst_all"})) {
        text = ReplaceNumberingCounters(text, SettingInteger(s, {"Tprog", "act_konst_start"}, 1),
                                        runCounter_);
        if (Contains(text, u"%")) text = K(text);
    }
    return text;
}
