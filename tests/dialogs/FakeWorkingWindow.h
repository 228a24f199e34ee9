// A working window for the dialog tests: an input list of its own and a record of what
// the dialogs asked of it.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "dialogs/WorkingWindowLink.h"
#include "engine/PreviewText.h"
#include "platform/Dialogs.h"
#include "platform/Edits.h"
#include "platform/Labels.h"
#include "platform/ListViews.h"

class FakeWorkingWindow : public WorkingWindowLink {
public:
    struct Selection {
        int status, mark, index;
        bool operator==(const Selection&) const = default;
    };

    FakeWorkingWindow()
        : list(nullptr), replaceList(nullptr), saveDialog(nullptr), vor_alt(nullptr),
          vor_orig(nullptr), Label12(nullptr), la_anzahl(nullptr) {
        SetWorkingWindow(this);
    }
    ~FakeWorkingWindow() override { SetWorkingWindow(nullptr); }

    // A row as the working window fills it: caption the name, sub-item 5 the path.
    void AddRow(const WideString& Name, const WideString& Path) {
        TListItem* row = list.Items().Add();
        row->SetCaption(Name);
        for (int i = 0; i < 5; ++i)
            row->SubItems().Add(WideString());
        row->SubItems().Add(Path);
    }

    void VorschauWennAktiv() override { ++previews; }
    void meldungzeigen(std::string_view key, WideStringView path) override {
        messages.emplace_back(key);
        if (onMessage) onMessage(key, path);
    }
    TListView* InputList() override { return &list; }
    TListView* ReplaceTextList() override { return &replaceList; }
    void QUSelect(int Status, int Mark, int Index) override {
        selections.push_back({Status, Mark, Index});
    }
    void act_transkriptionAdd(WideStringView name) override { transkription.emplace_back(name); }
    void SetOutputEncoding(TextEncodingCode codePage, bool byteOrderMark,
                           WideStringView caption) override {
        outputCodePage = codePage;
        outputMark = byteOrderMark;
        convertCaption = WideString(caption);
    }

    TMemo* OldPreviewMemo() override { return &vor_alt; }
    TLabel* OldPreviewPathLabel() override { return &vor_orig; }
    TLabel* OldPreviewSizeLabel() override { return &Label12; }
    WideString LesbarMachen(WideStringView text) override { return ReadableText(text, true); }
    void ShowFileInOldPreview(WideStringView fileText) override {
        vor_alt.SetText(LesbarMachen(fileText));
    }
    void WriteFileCount() override {
        const int count = list.Items().Count();
        la_anzahl.SetCaption(U16(std::to_string(count)) + (count == 1 ? u" File" : u" Files"));
    }

    TSaveDialog* ConfigSaveDialog() override { return &saveDialog; }
    void KonfigurationSpeichernProfil(TObject*, const WideString& FileName) override {
        calls.push_back(u"profile " + FileName);
    }
    void KonfigurationAddMenu(TObject*, const WideString& FileName) override {
        calls.push_back(u"menu " + FileName);
    }

    TListView list;
    TListView replaceList; // act_ers_text_liste
    TSaveDialog saveDialog;
    TMemo vor_alt;
    TLabel vor_orig;
    TLabel Label12;
    TLabel la_anzahl;
    std::vector<WideString> calls;
    int previews = 0;
    std::vector<std::string> messages;
    // What the user does when a message is shown (answers it, or the test throws).
    std::function<void(std::string_view key, WideStringView path)> onMessage;
    std::vector<Selection> selections;
    TWideStrArray transkription; // names added to act_transkription
    // The last encoding the output settings handed over.
    TextEncodingCode outputCodePage = -1;
    bool outputMark = false;
    WideString convertCaption; // act_convert_label
};
