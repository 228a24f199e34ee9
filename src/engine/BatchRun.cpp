#include "engine/BatchRun.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>
#include <utility>

#include <sys/stat.h>

#include "engine/Constants.h"
#include "engine/InputListColumns.h"
#include "engine/RegExText.h"
#include "engine/RunFailure.h"
#include "engine/TextHelpers.h"
#include "engine/TextLines.h"
#include "regex/RegExRoutines.h"
#include "text/Exception.h"
#include "text/FileUtils.h"
#include "text/SafeFileWrite.h"
#include "text/SaveGroup.h"
#include "text/TextFiles.h"
#include "text/UCodeSysUtils.h"
#include "text/WideStrUtils.h"

namespace {

// A save that wrote nothing (a picture the renderer could not save, an unknown code).
class SaveFailed : public Exception {
public:
    using Exception::Exception;
};

// A picture that was not saved: the renderer has shown its own message ("bildfehler").
class PictureNotSaved : public SaveFailed {
public:
    using SaveFailed::SaveFailed;
};

// Inside a handler: true when the failure being handled was already shown to the user.
bool FailureAlreadyShown() {
    try {
        throw;
    } catch (const PictureNotSaved&) {
        return true;
    } catch (...) {
        return false;
    }
}

// Bulk update mode of the input list for as long as the object lives.
class ListUpdate {
public:
    explicit ListUpdate(RunInterface& ui) : ui_(ui) { ui_.BeginListUpdate(); }
    ~ListUpdate() { ui_.EndListUpdate(); }
    ListUpdate(const ListUpdate&) = delete;
    ListUpdate& operator=(const ListUpdate&) = delete;

private:
    RunInterface& ui_;
};

int digitCount(size_t n) {
    return static_cast<int>(std::to_string(n).size());
}

WideString zeroPadded(int n, int digits) {
    char text[32];
    std::snprintf(text, sizeof text, "%.*d", std::clamp(digits, 0, 20), n);
    return U16(text);
}

bool isKeep(WideStringView pattern) {
    return pattern == u"<beibehalten>" || pattern == u"<keep>";
}

// True when the ANSI code page holds every character of text.
bool fitsAnsi(const WideString& text) {
    return AnsiToWideCP(WideToAnsiCP(text, 0), 0) == text;
}

WideString firstChars(const WideString& text) {
    return text.substr(0, 80);
}

void freeText(WideString& text) {
    WideString().swap(text);
}

// What the only-if-changed test needs of a file's text, without a second copy of a long
// one beside its converted form: a short text is kept as it was read; of a long one only
// its length, and the file is read again when the converted text has that length.
class FileText {
public:
    FileText(const WideString& text, bool needed) : length_(text.size()) {
        if (needed && length_ <= KeptUnits) kept_ = text;
    }
    bool Equals(const WideString& path, const WideString& text) const {
        if (text.size() != length_) return false;
        if (length_ <= KeptUnits) return kept_ == text;
        WideString again;
        LoadTextFileW(path, again);
        return again == text;
    }

private:
    static constexpr size_t KeptUnits = size_t(1) << 20;
    size_t length_;
    WideString kept_;
};

// The identity of an existing file (device and inode); false when it cannot be read.
bool fileIdentity(const WideString& path, std::pair<uint64_t, uint64_t>& id) {
    struct stat st {};
    if (::stat(NativePath(path).c_str(), &st) != 0) return false;
    id = {static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino)};
    return true;
}

// True when both paths name one existing file, however they are written: a symbolic link,
// "./" or "../" in a path give other texts for the same file.
bool sameFile(const WideString& a, const WideString& b) {
    if (a == b) return true;
    std::pair<uint64_t, uint64_t> ia, ib;
    return fileIdentity(a, ia) && fileIdentity(b, ib) && ia == ib;
}

// Deletes a source file unless one of the outputs just written is that very file. The
// outputs are made durable first: after a power cut the source must not be gone while its
// output is still empty.
void deleteSourceUnlessOutput(const WideString& source, const TWideStrArray& outputs) {
    for (const WideString& output : outputs)
        if (sameFile(source, output)) return;
    for (const WideString& output : outputs) {
        std::string error;
        if (!SyncFileAndFolder(NativePath(output), &error))
            throw SaveFailed("Cannot flush \"" + U8(output) + "\" to disk: " + error);
    }
    WideDeleteFile(source);
}

} // namespace

// Disables the working window and shows the progress for the length of a run; whatever
// way the run ends, the window is given back and the dialog answers are cleared.
class BatchRun::WindowGuard {
public:
    WindowGuard(BatchRun& run, int maximum) : run_(run) {
        run_.windowRestored_ = false;
        if (run_.silent_ != SilentLevel::NoWindow) {
            run_.ui_.SetWorkingWindowEnabled(false);
            run_.ui_.ShowProgress(maximum);
        }
    }
    ~WindowGuard() {
        if (!run_.windowRestored_) run_.restoreWindow();
    }
    WindowGuard(const WindowGuard&) = delete;
    WindowGuard& operator=(const WindowGuard&) = delete;

private:
    BatchRun& run_;
};

BatchRun::BatchRun(ConversionEngine& engine)
    : engine_(engine), s_(engine.settings()), ui_(engine.ui()), silent_(engine.options().silent),
      outputCodePage_(engine.options().outputCodePage) {}

void BatchRun::durchfuehrenClick(const void* sender) {
    sender_ = sender;
    engine_.ResetRunCounter();
    withBOM_ = engine_.options().byteOrderMark;
    yesForAll_ = noForAll_ = questionCancelled_ = false;
    lineBreak_.clear();
    notFound_ = 0;
    firstNotFound_.clear();

    started_ = false;
    const std::vector<ListRow> rows = s_.Rows({"Tprog", "qulist"});
    if (rows.empty() || !startChecks()) return;
    started_ = true;
    noteInputs(rows);

    const bool merge = s_.Checked({"Tprog", "act_dateizus"});
    const int count = static_cast<int>(rows.size());
    WindowGuard guard(*this, merge ? 2 * count : count);
    bool completed = false;
    {
        // Files replaced by the run wait for the disk in groups, not one by one.
        TSaveGroup group;
        if (merge)
            completed = mergeRoad(rows);
        else if (s_.Checked({"Tprog", "act_dateisplit"}))
            completed = splitRoad(rows);
        else
            completed = normalRoad(rows);
        group.Commit();
        for (const TSaveGroup::Failure& failure : group.TakeFailures()) {
            try {
                throw SaveFailed("Cannot save \"" + failure.target + "\": " + failure.error);
            } catch (...) {
                reportFailure(NativeToWide(failure.target));
            }
        }
    }
    if (completed) endSteps(rows);
    // One message for every listed file the run did not find, after the window is back.
    if (notFound_ > 0 && silent_ != SilentLevel::NoWindow)
        ui_.ShowFilesNotFound(firstNotFound_, notFound_);
}

bool BatchRun::startChecks() {
    const WideString folder = s_.Text({"Tprog", "out_ordner"});
    std::string_view key;
    if (folder.empty()) {
        key = "keinordner";
    } else if (!isKeep(folder)) {
        WideString sample =
            ReplaceAllW(ReplaceAllW(folder, u"%ordner%", u"/Ordner/"), u"%folder%", u"/Ordner/");
        while (sample.find(u"//") != WideString::npos)
            sample = ReplaceAllW(sample, u"//", u"/");
        if (!IsValidPathW(sample)) key = "ordnerfalsch";
    }
    if (key.empty() && s_.Text({"Tprog", "out_name"}).empty()) key = "keinname";
    if (key.empty() && s_.Checked({"Tprog", "act_dateisplit"}) &&
        s_.Text({"Tprog", "act_dateisplit_text"}).empty())
        key = "keinsplittrenner";
    if (key.empty()) return true;
    // A refused folder is named as the user typed it, "%ordner%" left in place.
    ui_.ShowMessage(key, key == "ordnerfalsch" ? folder : WideString());
    return false;
}

void BatchRun::noteInputs(const std::vector<ListRow>& rows) {
    inputs_.clear();
    written_.clear();
    reading_ = -1;
    readingPath_.clear();
    for (size_t r = 0; r < rows.size(); ++r) {
        std::pair<uint64_t, uint64_t> id;
        if (!skipped(rows[r]) && fileIdentity(rows[r].SubItem(InputListColumn::Path), id))
            inputs_[id] = static_cast<int>(r);
    }
}

void BatchRun::reading(int index, const WideString& path) {
    reading_ = index;
    readingPath_ = path;
}

bool BatchRun::stillToBeRead(const WideString& outpath) const {
    std::pair<uint64_t, uint64_t> id;
    if (!fileIdentity(outpath, id)) return false;
    const auto input = inputs_.find(id);
    return input != inputs_.end() && input->second > reading_ && !sameFile(outpath, readingPath_);
}

bool BatchRun::writtenByThisRun(const WideString& outpath) const {
    std::pair<uint64_t, uint64_t> id;
    return fileIdentity(outpath, id) && written_.count(id) > 0;
}

void BatchRun::notFound(const WideString& path) {
    engine_.CountFailure();
    engine_.LogEvent(path, "NOT FOUND");
    if (notFound_++ == 0) firstNotFound_ = path;
}

bool BatchRun::skipped(const ListRow& row) const {
    return s_.Checked({"Tprog", "out_onlyselected"}) &&
           !IsMarkedStatus(row.SubItem(InputListColumn::Status));
}

void BatchRun::progressFile(const WideString& path, int index, int count, bool position) {
    if (silent_ == SilentLevel::NoWindow) return;
    ui_.ProgressFile(path + u" (" + Decimal(index + 1) + u"/" + Decimal(count) + u")");
    if (position) ui_.ProgressPosition(index + 1);
}

void BatchRun::pumpBefore(int index) {
    if (PumpsMessagesBefore(index)) ui_.ProcessMessages();
}

bool BatchRun::DurchfuehrenAbbruch() {
    if (!ui_.CancelRequested() && !questionCancelled_) return false;
    restoreWindow();
    return true;
}

void BatchRun::restoreWindow() {
    ui_.ResetDialogAnswers();
    if (silent_ != SilentLevel::NoWindow) ui_.HideProgress();
    yesForAll_ = noForAll_ = questionCancelled_ = false;
    ui_.SetWorkingWindowEnabled(true);
    if (silent_ == SilentLevel::Interactive) ui_.FocusWorkingWindow();
    windowRestored_ = true;
}

const WideString& BatchRun::ZeilenumbruchBestimmen(WideStringView mergedSoFar) {
    if (lineBreak_.empty()) lineBreak_ = LineBreakTextFor(s_, mergedSoFar);
    return lineBreak_;
}

// ---- Saving ----

bool BatchRun::mayWrite(const WideString& outpath) {
    if (yesForAll_) return !noForAll_;
    // Nobody answers an unattended run: it writes as "yes for all".
    if (silent_ != SilentLevel::Interactive) {
        yesForAll_ = true;
        return true;
    }
    switch (ui_.AskOverwrite(outpath)) {
    case OverwriteAnswer::Yes:
        return true;
    case OverwriteAnswer::No:
        return false;
    case OverwriteAnswer::YesForAll:
        yesForAll_ = true;
        return true;
    case OverwriteAnswer::NoForAll:
        yesForAll_ = noForAll_ = true;
        return false;
    case OverwriteAnswer::Cancel:
        questionCancelled_ = true;
        return false;
    }
    return false;
}

TextEncodingCode BatchRun::codePageFor(TextEncodingCode detected) const {
    return s_.Checked({"Teinstausgabe", "rb_beibehalten"}) ? detected : outputCodePage_;
}

void BatchRun::save(const WideString& text, const WideString& outpath, TextEncodingCode codePage) {
    // Keeping an ANSI file's encoding must not turn characters into "?": such a text is
    // written in UTF-8.
    if (codePage == teANSI && s_.Checked({"Teinstausgabe", "rb_beibehalten"}) && !fitsAnsi(text))
        codePage = teUTF8;
    bool written = false;
    {
        const TSaveGroup::Joining join;
        written = SaveTextFileW(text, outpath, codePage, withBOM_);
    }
    if (!written) {
        if (IsPictureFileName(outpath))
            throw PictureNotSaved("Cannot save the picture \"" + U8(outpath) + "\"");
        throw SaveFailed("Cannot save \"" + U8(outpath) + "\"");
    }
    // A replaced file may still wait in the run's save group: it is known by the identity
    // it will have.
    std::pair<uint64_t, uint64_t> id;
    const TSaveGroup* group = TSaveGroup::Current();
    if ((group && group->WaitingIdentity(NativePath(outpath), id.first, id.second)) ||
        fileIdentity(outpath, id))
        written_.insert(id);
}

bool BatchRun::askBeforeWriting(const WideString& outpath, bool& cancelled) {
    cancelled = false;
    if (!WideFileExists(outpath)) return true;
    // Writing there would lose a file of the list before its turn.
    if (stillToBeRead(outpath))
        throw SaveFailed("\"" + U8(outpath) + "\" is an input file still to be read");
    // Nor may an output of this run be replaced by that of another file: with "delete
    // originals" both sources would go and only the second text stay.
    if (writtenByThisRun(outpath))
        throw SaveFailed("\"" + U8(outpath) + "\" holds another output of this run");
    const bool write = mayWrite(outpath);
    cancelled = DurchfuehrenAbbruch();
    return write && !cancelled;
}

bool BatchRun::askAndSave(const WideString& text, const WideString& outpath,
                          TextEncodingCode codePage, bool& cancelled) {
    if (!askBeforeWriting(outpath, cancelled)) return false;
    save(text, outpath, codePage);
    return true;
}

void BatchRun::reportFailure(const WideString& path) {
    const RunFailure failure = CaughtFailure(engine_.options().raiseProgrammingErrors);
    engine_.CountFailure();
    if (silent_ != SilentLevel::NoWindow && !ui_.MessagesSuppressed() && !FailureAlreadyShown())
        ui_.ShowMessage("speicherfehler", path);
    engine_.LogEvent(path, "PROCESS ERROR");
    if (failure.programmingError) engine_.ReportProgramError(path, failure.cause);
}

bool BatchRun::convertFile(WideString& text, const WideString& path, int index) {
    std::optional<WideString> converted =
        engine_.KonvertierenOwned(std::move(text), path, index, sender_);
    if (converted) {
        text = std::move(*converted);
        return true;
    }
    LoadTextFileW(path, text);
    return false;
}

bool BatchRun::fileDone(const WideString& logPath) {
    engine_.LogEvent(logPath, "PROCESSED");
    return !DurchfuehrenAbbruch();
}

// ---- Normal road ----

bool BatchRun::normalRoad(const std::vector<ListRow>& rows) {
    ListUpdate update(ui_);
    const int count = static_cast<int>(rows.size());
    const int width = digitCount(rows.size());
    const bool onlyIfChanged =
        s_.Checked({"Tprog", "out_onlyifchanged"}) && !s_.Checked({"Tprog", "act_convert"});
    const bool deleteOriginal = s_.Checked({"Tprog", "out_deleteoriginal"});
    for (int i = 0; i < count; ++i) {
        if (skipped(rows[i])) continue;
        const WideString path = rows[i].SubItem(InputListColumn::Path);
        if (!WideFileExists(path)) {
            notFound(path);
            if (silent_ != SilentLevel::NoWindow) ui_.ProgressPosition(i + 1);
            continue;
        }
        reading(i, path);
        progressFile(path, i, count, false);
        pumpBefore(i);
        WideString outpath = path;
        try {
            WideString text;
            TextEncodingCode detected = teANSI;
            LoadTextFileW(path, text, &detected);
            const FileText source(text, onlyIfChanged);
            const bool convertedOk = convertFile(text, path, i + 1);
            outpath = NameFinden(s_, path, firstChars(text), i, width);
            bool cancelled = false;
            const bool write = askBeforeWriting(outpath, cancelled);
            if (cancelled) return false;
            if (write && onlyIfChanged && (!convertedOk || source.Equals(path, text))) {
                ui_.SetRowState(path, FileState::NotChanged);
            } else if (write) {
                save(text, outpath, codePageFor(detected));
                ui_.SetRowState(path, FileState::Changed);
                ui_.SetRowEncodingName(path, TextEncodingName(detected));
                if (deleteOriginal) deleteSourceUnlessOutput(path, {outpath});
            }
        } catch (...) {
            reportFailure(outpath);
        }
        if (silent_ != SilentLevel::NoWindow) ui_.ProgressPosition(i + 1);
        if (!fileDone(outpath)) return false;
    }
    return true;
}

// ---- Merge road ----

bool BatchRun::mergeRoad(const std::vector<ListRow>& rows) {
    const int count = static_cast<int>(rows.size());
    const WideString separator = s_.Checked({"Tprog", "act_dateizus_text"})
                                     ? s_.Text({"Tprog", "act_dateizus_textfeld"})
                                     : WideString();
    const bool splitEach =
        s_.Checked({"Tprog", "act_dateisplit"}) && s_.Checked({"Tprog", "act_dateisplit_einzeln"});
    const bool eachFile = s_.Checked({"Tprog", "act_dateizus_einzeln"});
    const bool paragraph = s_.Checked({"Tprog", "act_dateizus_absatz"});
    WideString merged;
    TWideStrArray taken;
    TextEncodingCode firstCodePage = teANSI;
    for (int i = 0; i < count; ++i) {
        if (skipped(rows[i])) continue;
        if (DurchfuehrenAbbruch()) return false;
        const WideString path = rows[i].SubItem(InputListColumn::Path);
        if (!WideFileExists(path)) {
            notFound(path);
            continue;
        }
        progressFile(path, i, count, true);
        pumpBefore(i);
        try {
            WideString text;
            TextEncodingCode detected = teANSI;
            LoadTextFileW(path, text, &detected);
            if (eachFile && !splitEach) convertFile(text, path, i + 1);
            merged += KONS(s_, separator, path, i + 1);
            merged += text;
            if (taken.empty()) firstCodePage = detected;
            taken.push_back(path);
            if (paragraph) merged += ZeilenumbruchBestimmen(merged);
        } catch (...) {
            reportFailure(path);
        }
    }
    // Nothing merged (every file failed to load or was skipped): nothing is saved. An empty
    // output named after the first row would hold no file's text.
    if (taken.empty()) return true;
    // Every file of the merged text has been read.
    reading(count, WideString());
    if (!eachFile && !splitEach) merged = engine_.Konvertieren(merged, taken.back(), 1, sender_);
    if (paragraph && !lineBreak_.empty() && merged.ends_with(lineBreak_))
        merged.resize(merged.size() - lineBreak_.size());
    if (DurchfuehrenAbbruch()) return false;
    return saveMerged(std::move(merged), taken, codePageFor(firstCodePage));
}

bool BatchRun::saveMerged(WideString merged, const TWideStrArray& taken,
                          TextEncodingCode codePage) {
    const WideString& first = taken.front();
    WideString logPath = first;
    TWideStrArray outputs;
    bool saved = false;
    try {
        const WideString outpath = NameFinden(s_, first, firstChars(merged), 0, 1);
        logPath = outpath;
        if (s_.Checked({"Tprog", "act_dateisplit"})) {
            const WideString ext = WideExtractFileExt(outpath);
            const WideString base = BaseNameWithoutExtension(outpath, ext) + u" ";
            TWideStrArray pieces;
            ExplodeW(pieces, KONS(s_, s_.Text({"Tprog", "act_dateisplit_text"}), base, 1), merged);
            freeText(merged);
            finishPieces(pieces, taken.back(), 1);
            PiecesSaved result;
            const bool completed = savePieces(pieces, outpath, codePage, result);
            if (!result.lastPath.empty()) logPath = result.lastPath;
            if (!completed) return false;
            saved = result.allSaved();
            outputs = std::move(result.paths);
        } else {
            bool cancelled = false;
            saved = askAndSave(merged, outpath, codePage, cancelled);
            if (cancelled) return false;
            outputs.push_back(outpath);
        }
        // Never delete a file that now holds a result.
        if (saved && s_.Checked({"Tprog", "out_deleteoriginal"}))
            for (const WideString& path : taken)
                deleteSourceUnlessOutput(path, outputs);
    } catch (...) {
        reportFailure(logPath);
    }
    engine_.LogEvent(logPath, "PROCESSED");
    return true;
}

// ---- Split road ----

bool BatchRun::splitRoad(const std::vector<ListRow>& rows) {
    const int count = static_cast<int>(rows.size());
    const int width = digitCount(rows.size());
    const bool pipelineOnPieces = s_.Checked({"Tprog", "act_dateisplit_einzeln"});
    for (int i = 0; i < count; ++i) {
        if (skipped(rows[i])) continue;
        const WideString path = rows[i].SubItem(InputListColumn::Path);
        if (!WideFileExists(path)) {
            notFound(path);
            continue;
        }
        reading(i, path);
        progressFile(path, i, count, true);
        pumpBefore(i);
        WideString logPath = path;
        PiecesSaved result;
        try {
            WideString text;
            TextEncodingCode detected = teANSI;
            LoadTextFileW(path, text, &detected);
            if (!pipelineOnPieces) convertFile(text, path, i + 1);
            const WideString outpath = NameFinden(s_, path, firstChars(text), i, width);
            logPath = outpath;
            TWideStrArray pieces = splitPieces(text, path, i + 1);
            freeText(text);
            finishPieces(pieces, path, i + 1);
            const bool completed = savePieces(pieces, outpath, codePageFor(detected), result);
            if (!result.lastPath.empty()) logPath = result.lastPath;
            if (!completed) return false;
            if (result.allSaved() && s_.Checked({"Tprog", "out_deleteoriginal"}))
                deleteSourceUnlessOutput(path, result.paths);
        } catch (...) {
            // The piece that failed, when the pieces were being saved.
            if (!result.lastPath.empty()) logPath = result.lastPath;
            reportFailure(logPath);
        }
        if (!fileDone(logPath)) return false;
    }
    return true;
}

TWideStrArray BatchRun::splitPieces(const WideString& text, WideStringView path, int index) {
    const WideString separator = s_.Text({"Tprog", "act_dateisplit_text"});
    const bool regex = s_.Checked({"Tprog", "act_dateisplit_regex"});
    const bool keepFront = s_.Checked({"Tprog", "act_dateisplit_suchtxtvorne"});
    const bool keepBack = s_.Checked({"Tprog", "act_dateisplit_suchtxthinten"});
    TWideStrArray pieces;
    if (s_.Checked({"Tprog", "act_dateisplit_trenn_zeile"})) {
        // The lines of the text being split, at the break it holds now: the target kind
        // when the pipeline has converted it, else its own. A final break ends the last
        // line: it opens no empty line of its own.
        const WideString lineBreak = s_.Checked({"Tprog", "act_dateisplit_einzeln"})
                                         ? OwnLineBreakText(s_, text)
                                         : LineBreakTextFor(s_, text);
        TextLines t = SplitTextLines(text, lineBreak);
        std::optional<LineRegEx> expression;
        if (regex) expression.emplace(separator);
        WideString piece;
        for (WideString& line : t.lines) {
            const bool match =
                regex ? expression->Matches(line) : line.find(separator) != WideString::npos;
            line += lineBreak;
            if (!match) {
                piece += line;
                continue;
            }
            if (keepBack) piece += line;
            pieces.push_back(std::move(piece));
            piece = keepFront ? std::move(line) : WideString();
        }
        pieces.push_back(std::move(piece));
    } else if (regex) {
        SplitRegEx(pieces, separator, text, keepFront, keepBack);
    } else {
        const WideString sep = KONS(s_, separator, path, index);
        ExplodeW(pieces, sep, text);
        for (size_t k = 0; k < pieces.size(); ++k) {
            if (keepFront && k > 0) pieces[k].insert(0, sep);
            if (keepBack && k + 1 < pieces.size()) pieces[k] += sep;
        }
    }
    return pieces;
}

void BatchRun::finishPieces(TWideStrArray& pieces, WideStringView path, int index) {
    if (s_.Checked({"Tprog", "act_dateisplit_remwhitespace"}))
        for (WideString& piece : pieces)
            piece = WideTrim(piece);
    if (s_.Checked({"Tprog", "act_dateisplit_einzeln"})) {
        const WideString file(path);
        for (WideString& piece : pieces)
            piece = engine_.Konvertieren(piece, file, index, sender_);
    }
    if (s_.Checked({"Tprog", "act_dateisplit_min"})) {
        const int32_t minimum = SettingInteger(s_, {"Tprog", "act_dateisplit_minlaenge"}, 1);
        std::erase_if(pieces, [minimum](const WideString& piece) {
            return static_cast<int64_t>(piece.size()) <= minimum;
        });
    }
}

bool BatchRun::savePieces(const TWideStrArray& pieces, const WideString& outpath,
                          TextEncodingCode codePage, PiecesSaved& result) {
    const WideString ext = WideExtractFileExt(outpath);
    const WideString base = BaseNameWithoutExtension(outpath, ext) + u" ";
    const int digits = digitCount(pieces.size());
    for (size_t k = 0; k < pieces.size(); ++k) {
        const WideString piecePath = base + zeroPadded(static_cast<int>(k + 1), digits) + ext;
        result.lastPath = piecePath;
        result.paths.push_back(piecePath);
        bool cancelled = false;
        try {
            if (askAndSave(pieces[k], piecePath, codePage, cancelled)) ++result.saved;
        } catch (...) {
            // This piece is reported; the next one is tried. The source stays, since not
            // every piece holds its part.
            reportFailure(piecePath);
        }
        if (cancelled) return false;
    }
    return true;
}

// ---- End of a run ----

void BatchRun::endSteps(const std::vector<ListRow>& rows) {
    // By path: the list may have changed while the run let messages through.
    for (size_t r = rows.size(); r-- > 0;) {
        const WideString path = rows[r].SubItem(InputListColumn::Path);
        if (!WideFileExists(path)) ui_.RemoveRow(path);
    }
    ui_.RowCountChanged();
    ui_.ResetDialogAnswers();
    if (silent_ != SilentLevel::NoWindow) ui_.HideProgress();
    yesForAll_ = noForAll_ = questionCancelled_ = false;
    if (silent_ == SilentLevel::Interactive) ui_.SetWorkingWindowEnabled(true);
    windowRestored_ = true;
    if (s_.Checked({"Tprog", "out_overwrite"})) ui_.ReloadPreview();
    if (silent_ == SilentLevel::Interactive) ui_.FocusWorkingWindow();
}
