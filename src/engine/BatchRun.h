// The batch run "Convert and Save": every file of the input list loaded, converted by the
// action pipeline and saved under the output name, one output per file (normal road), all
// files into one text (merge road), or texts cut into pieces (split road). It holds one
// file's text at a time (the merge road holds the merged text).
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <utility>
#include <vector>

#include "engine/Pipeline.h"
#include "text/TextEncodings.h"
#include "text/WideTypes.h"

class BatchRun {
public:
    // The output code page and the byte-order-mark choice come from the engine's options
    // (the program state when the run started): the code page is used unless the original
    // encoding is kept, and where the original encoding cannot hold the text.
    explicit BatchRun(ConversionEngine& engine);

    // The whole run over the rows of `qulist`; sender is handed to every conversion.
    void durchfuehrenClick(const void* sender);

    // The cancel poll: true when the progress window's or the overwrite question's cancel
    // was pressed; then the window is given back and the dialog answers are cleared.
    bool DurchfuehrenAbbruch();

    // Files (and pieces) that failed or were no longer on disk in this run: an unattended
    // run ends with a non-zero exit status when there was one.
    int FailureCount() const { return engine_.FailureCount(); }
    // The last durchfuehrenClick passed its checks of the output settings and went over
    // the list (false for an empty list and for a run refused with a message).
    bool Started() const { return started_; }

    // The line-break text of the merged text, fixed once per run from the text so far.
    const WideString& ZeilenumbruchBestimmen(WideStringView mergedSoFar);

private:
    class WindowGuard;
    // Where the pieces of one text went.
    struct PiecesSaved {
        int saved = 0;       // pieces written
        WideString lastPath; // the path of the last piece
        TWideStrArray paths; // every piece path
        // The sources may go only when every piece holds its part (none skipped at the
        // overwrite question) and there was one.
        bool allSaved() const { return saved > 0 && static_cast<size_t>(saved) == paths.size(); }
    };

    bool startChecks();
    // The files of the list that the run will read, and the row now being read: an output
    // must not replace a file of the list before its turn.
    void noteInputs(const std::vector<ListRow>& rows);
    void reading(int index, const WideString& path);
    bool stillToBeRead(const WideString& outpath) const;
    // True when outpath is a file this run has written (under any name).
    bool writtenByThisRun(const WideString& outpath) const;
    bool skipped(const ListRow& row) const;
    // A listed file that is no longer on disk: the run skips it, logs "NOT FOUND" with its
    // path and counts it as a failure (the files after it are still converted); the first
    // and the count are told in one message after the run.
    void notFound(const WideString& path);
    // The current file in the progress window; with position, the bar moves on too (the
    // normal road moves it after the file).
    void progressFile(const WideString& path, int index, int count, bool position);
    void pumpBefore(int index);

    // Each road returns false when the run was cancelled.
    bool normalRoad(const std::vector<ListRow>& rows);
    bool mergeRoad(const std::vector<ListRow>& rows);
    bool splitRoad(const std::vector<ListRow>& rows);
    // The merge road's single output, or its pieces; false when cancelled.
    bool saveMerged(WideString merged, const TWideStrArray& taken, TextEncodingCode codePage);

    // The pieces of one file's text: at the separator, at a regular expression, or at
    // lines that contain the separator.
    TWideStrArray splitPieces(const WideString& text, WideStringView path, int index);
    // Trimming, the pipeline on every piece and the minimum length.
    void finishPieces(TWideStrArray& pieces, WideStringView path, int index);
    // Saves the pieces under the output path's base + " " + number + extension; false
    // when the run was cancelled.
    bool savePieces(const TWideStrArray& pieces, const WideString& outpath,
                    TextEncodingCode codePage, PiecesSaved& result);

    // The overwrite question for an existing file: true when it may be written.
    bool mayWrite(const WideString& outpath);
    // The question when outpath exists: true when it may be written; cancelled when the
    // run must end.
    bool askBeforeWriting(const WideString& outpath, bool& cancelled);
    // Asks (when outpath exists) and saves; false when the file was skipped. Sets
    // cancelled when the question was cancelled.
    bool askAndSave(const WideString& text, const WideString& outpath, TextEncodingCode codePage,
                    bool& cancelled);
    // Saves text in codePage (UTF-8 instead when the original ANSI encoding is kept and
    // the code page lacks characters of the text); raises when the save fails.
    void save(const WideString& text, const WideString& outpath, TextEncodingCode codePage);
    TextEncodingCode codePageFor(TextEncodingCode detected) const;
    // Called inside a handler: the message "speicherfehler" (unless the failure was shown
    // already, as a picture's is), the log line "PROCESS ERROR" and the failure count; a
    // programming error is raised on or reported with its cause (engine/RunFailure.h).
    void reportFailure(const WideString& path);
    // The pipeline on the text just read from path, converted where it lies; a conversion
    // that failed gives the file's text as it was (read again) and false.
    bool convertFile(WideString& text, const WideString& path, int index);
    // The end of one file of the normal and split roads: the log and the cancel poll;
    // false when the run was cancelled.
    bool fileDone(const WideString& logPath);
    void restoreWindow();
    void endSteps(const std::vector<ListRow>& rows);

    ConversionEngine& engine_;
    const SettingsView& s_;
    RunInterface& ui_;
    const SilentLevel silent_;
    TextEncodingCode outputCodePage_;
    const void* sender_ = nullptr;
    bool withBOM_ = true;
    bool yesForAll_ = false;
    bool noForAll_ = false;
    bool questionCancelled_ = false;
    bool windowRestored_ = true;
    WideString lineBreak_;
    std::map<std::pair<uint64_t, uint64_t>, int> inputs_; // file identity -> last row
    std::set<std::pair<uint64_t, uint64_t>> written_;     // identities of this run's outputs
    int notFound_ = 0;                                    // listed files not on disk in this run
    WideString firstNotFound_;                            // the first of them
    int reading_ = -1;
    WideString readingPath_;
    bool started_ = false;
};
