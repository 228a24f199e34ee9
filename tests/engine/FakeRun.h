// A run interface that records what a conversion run asks of the window, answers the
// overwrite question from a queue, and keeps the input list in the settings it reads.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "engine/InputListColumns.h"
#include "engine/RunInterface.h"
#include "engine/SettingsView.h"

class FakeRun : public RunInterface {
public:
    explicit FakeRun(MemorySettings& settings) : settings_(settings) {}

    void ConversionSender(const void* sender) override { lastSender = sender; }
    void RegExError(WideStringView message) override { regExErrors.push_back(U8(message)); }
    void ReportProgramError(WideStringView path, std::string_view cause) override {
        programErrors.emplace_back(std::string(cause), WideString(path));
    }
    void ShowMessage(std::string_view key, WideStringView path) override {
        messages.emplace_back(std::string(key), WideString(path));
    }
    void ShowFilesNotFound(WideStringView firstPath, int count) override {
        notFound.emplace_back(WideString(firstPath), count);
    }
    bool MessagesSuppressed() override { return suppressMessages; }

    OverwriteAnswer AskOverwrite(WideStringView path) override {
        asked.emplace_back(path);
        if (answers.empty()) return OverwriteAnswer::Yes;
        OverwriteAnswer a = answers.front();
        answers.pop_front();
        return a;
    }

    void ShowProgress(int maximum) override {
        progressShown = true;
        progressMaximum = maximum;
    }
    void ProgressFile(WideStringView text) override {
        // "path (i/n)": the 0-based index of the file now running.
        const size_t open = text.rfind(u" (");
        currentIndex = std::stoi(U8(text.substr(open + 2))) - 1;
    }
    void ProgressPosition(int position) override {
        progressPosition = position;
        if (cancelAtPosition == position) cancel = true;
    }
    void HideProgress() override { progressShown = false; }
    bool CancelRequested() override { return cancel; }
    void ResetDialogAnswers() override {
        cancel = false;
        suppressMessages = false;
        ++answerResets;
    }

    void ProcessMessages() override {
        pumpedAt.push_back(currentIndex);
        if (onPump) onPump();
    }
    void SetWorkingWindowEnabled(bool e) override { enabled = e; }
    void FocusWorkingWindow() override { ++focused; }

    void BeginListUpdate() override { ++updateDepth; }
    void EndListUpdate() override { --updateDepth; }
    void SetRowState(WideStringView path, FileState state) override {
        editRow(path, [&](ListRow& row) {
            const WideString mark =
                IsMarkedStatus(row.SubItem(InputListColumn::Status)) ? u", Marked" : u"";
            setSubItem(row, InputListColumn::Status,
                       (state == FileState::Changed ? u"Changed" : u"Not Changed") + mark);
        });
    }
    void SetRowEncodingName(WideStringView path, WideStringView name) override {
        editRow(path, [&](ListRow& row) {
            setSubItem(row, InputListColumn::Codepage, WideString(name));
        });
    }
    void RemoveRow(WideStringView path) override {
        auto rows = settings_.Rows({"Tprog", "qulist"});
        std::erase_if(
            rows, [&](const ListRow& row) { return row.SubItem(InputListColumn::Path) == path; });
        settings_.SetRows({"Tprog", "qulist"}, std::move(rows));
    }
    void RowCountChanged() override { ++countLabelWrites; }
    void ReloadPreview() override { ++previewReloads; }

    // The status text of row index.
    // The status text of the row of path; empty when the list has no such row.
    WideString statusOf(WideStringView path) const {
        for (const ListRow& row : settings_.Rows({"Tprog", "qulist"}))
            if (row.SubItem(InputListColumn::Path) == path)
                return row.SubItem(InputListColumn::Status);
        return WideString();
    }
    WideString status(int index) const {
        return settings_.Rows({"Tprog", "qulist"}).at(index).SubItem(InputListColumn::Status);
    }
    std::vector<std::string> messageKeys() const {
        std::vector<std::string> keys;
        for (const auto& m : messages)
            keys.push_back(m.first);
        return keys;
    }

    const void* lastSender = nullptr;
    std::vector<std::string> regExErrors;
    std::vector<std::pair<std::string, WideString>> programErrors; // cause, path
    std::function<void()> onPump; // runs inside ProcessMessages: the list may change there
    std::vector<std::pair<std::string, WideString>> messages;
    std::vector<std::pair<WideString, int>> notFound; // first path, count
    bool suppressMessages = false;
    std::deque<OverwriteAnswer> answers;
    std::vector<WideString> asked;
    bool progressShown = false;
    int progressMaximum = -1;
    int progressPosition = 0;
    int cancelAtPosition = -1;
    bool cancel = false;
    int answerResets = 0;
    int currentIndex = -1;
    std::vector<int> pumpedAt;
    bool enabled = true;
    int focused = 0;
    int updateDepth = 0;
    int countLabelWrites = 0;
    int previewReloads = 0;

private:
    template <typename Edit> void editRow(WideStringView path, Edit edit) {
        auto rows = settings_.Rows({"Tprog", "qulist"});
        for (ListRow& row : rows)
            if (row.SubItem(InputListColumn::Path) == path) edit(row);
        settings_.SetRows({"Tprog", "qulist"}, std::move(rows));
    }
    static void setSubItem(ListRow& row, size_t i, WideString value) {
        if (row.subItems.size() <= i) row.subItems.resize(i + 1);
        row.subItems[i] = std::move(value);
    }
    MemorySettings& settings_;
};
