// The action pipeline: one text turned into its converted form by every ticked action of
// the working window, in one fixed order (line breaks, replace text, replace lines,
// insert, delete text, delete lines, line tools, transliteration, letter case, HTML, CSV,
// constants on the whole text).
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "engine/CsvStep.h"
#include "engine/RunInterface.h"
#include "engine/RunState.h"
#include "engine/SettingsView.h"
#include "text/WideTypes.h"

class ConversionEngine {
public:
    // One engine per run or preview: the options are copied from the program state now.
    ConversionEngine(const SettingsView& settings, RunInterface& ui, const ProgramState& state);

    // The text with every ticked action applied; path and index are handed to the file
    // constants, sender to the window, and every faulty regular expression to the window's
    // RegExError. On a failure the window gets the key "konvertierfehler" (unless silent
    // level 2), the log "CONVERT ERROR", and the text comes back unchanged; a programming
    // error is raised instead, or reported with its cause when the options say so
    // (engine/RunFailure.h).
    WideString Konvertieren(const WideString& text, WideStringView path, int index,
                            const void* sender);

    // As Konvertieren, for a caller that needs the text no more: it is converted where it
    // lies, without a copy. On a failure, reported as Konvertieren reports it, there is no
    // result: the text as it came is gone, and the caller reads it again.
    std::optional<WideString> KonvertierenOwned(WideString text, WideStringView path, int index,
                                                const void* sender);

    // The "%numfa%" counter, counting across the files of one run.
    void ResetRunCounter() { runCounter_ = 0; }

    // Appends an event to the processing log when the log is on.
    void LogEvent(WideStringView path, std::string_view event) const;

    // A programming error met while converting or saving path, with its cause: shown
    // (unless silent level 2) and logged as "PROGRAM ERROR: cause".
    void ReportProgramError(WideStringView path, const std::string& cause) const;

    // Files that failed in this engine's run (conversions and saves): an unattended run
    // ends with a non-zero exit status when there was one.
    void CountFailure() { ++failures_; }
    int FailureCount() const { return failures_; }

    const SettingsView& settings() const { return settings_; }
    RunInterface& ui() const { return ui_; }
    const RunOptions& options() const { return options_; }

private:
    WideString convert(WideString text, WideStringView path, int index);

    const SettingsView& settings_;
    RunInterface& ui_;
    RunOptions options_;
    int64_t runCounter_ = 0;
    int failures_ = 0;
};

// ---- Line breaks and numbering, used by the pipeline and the run ----

// The line-break kind of a text as the settings read it (detected or chosen; CR LF when
// none is found).
int32_t OldLineBreakKind(const SettingsView& settings, WideStringView text);
// The text's own line-break text by the settings (detected or chosen; CR LF when none).
WideString OwnLineBreakText(const SettingsView& settings, WideStringView text);
// The line-break text a run uses for a text: the target kind when the conversion of line
// breaks is on, else the text's own kind; CR LF when that is empty.
WideString LineBreakTextFor(const SettingsView& settings, WideStringView text);

// Every "%numf%" replaced by start, start + 1, ... and then every "%numfa%" by start +
// runCounter, counting runCounter on.
WideString ReplaceNumberingCounters(WideStringView text, int64_t start, int64_t& runCounter);
