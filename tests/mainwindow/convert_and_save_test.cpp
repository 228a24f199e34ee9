// "Convert and Save" as a person starts it: the big button clicked with the mouse, the
// menu item chosen from the file menu, or Ctrl+S; each runs the batch over the list.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "dialogs/u_sm_meldung.h"
#include "platform/QtStrings.h"
#include "support/HandlerTrace.h"
#include "support/ModalInterceptor.h"
#include "support/ProgramWindowsFixture.h"
#include "support/TempFolder.h"

namespace {

TEST(ConvertAndSave, TheButtonTheMenuItemAndCtrlSEachRunTheBatch) {
    struct Way {
        const char* name;
        std::function<TObject*(Tprog&)> start; // returns the sender it should run as
    };
    const Way ways[] = {
        {"click on the button",
         [](Tprog& p) {
             ClickCentre(p.durchfuehren);
             return static_cast<TObject*>(p.durchfuehren);
         }},
        {"menu item",
         [](Tprog& p) {
             ChooseMenuItem(p.m_datei_konvert);
             return static_cast<TObject*>(p.m_datei_konvert);
         }},
        {"Ctrl+S",
         [](Tprog& p) {
             PressKeyIn(p.Widget(), Qt::Key_S, Qt::ControlModifier);
             return static_cast<TObject*>(p.m_datei_konvert);
         }},
    };
    for (const Way& way : ways) {
        SCOPED_TRACE(way.name);
        TempFolder folder;
        folder.Write("a.txt", "one\r\ntwo\r\n");
        ProgramWindows windows;
        windows.ShowAsStarted();
        Tprog& p = windows.Working();
        TypeInto(p.inp_ordner, QString::fromStdString(folder.Path().string()) + "\r");
        ASSERT_EQ(p.qulist->Items().Count(), 1);
        // Unchanged files are saved too, so the run leaves an output to see.
        ClickCentre(p.out_onlyifchanged);
        ASSERT_FALSE(p.out_onlyifchanged->Checked());

        HandlerTrace trace;
        TObject* sender = way.start(p);
        EXPECT_TRUE(trace.Ran(sender, "OnClick"));
        EXPECT_EQ(folder.Read("a-1.txt"), "one\r\ntwo\r\n");
        EXPECT_EQ(p.qulist->Items().Item(0)->SubItems().Get(4), u"Geändert");
        EXPECT_TRUE(p.Enabled());
    }
}

// A folder the run refuses is named in the message as the user typed it, "%ordner%" left
// in place, so the user sees which text to correct; nothing is written.
TEST(ConvertAndSave, ARefusedFolderIsNamedInItsMessageAsTyped) {
    for (const char* typed : {"relative/folder", "%ordner%/a:b"}) {
        SCOPED_TRACE(typed);
        TempFolder folder;
        folder.Write("a.txt", "one\r\n");
        ProgramWindows windows;
        windows.ShowAsStarted();
        Tprog& p = windows.Working();
        TypeInto(p.inp_ordner, QString::fromStdString(folder.Path().string()) + "\r");
        ASSERT_EQ(p.qulist->Items().Count(), 1);
        TypeInto(p.out_ordner, QString::fromUtf8(typed));
        ASSERT_EQ(U8(p.out_ordner->Text()), typed);
        auto& box = windows.Window<Tsm_meldung>();
        std::vector<std::string> pathLines;
        ScopedModalInterceptor answer([&](TModalRequest& r) {
            if (r.Form != &box) return int(mrCancel);
            pathLines.push_back(U8(box.Label3->Caption()));
            ClickCentre(box.OK);
            return int(box.ModalResult());
        });
        ClickCentre(p.durchfuehren);
        EXPECT_EQ(pathLines, std::vector<std::string>{"\"" + std::string(typed) + "\""});
        EXPECT_FALSE(std::filesystem::exists(folder.P("a-1.txt")));
        EXPECT_TRUE(p.Enabled());
    }
}

// The extension list offers the way back to the source's extension: after ".bmp" the keep
// entry, chosen with the arrow keys, gives outputs that keep each source's extension. A
// configuration holding that entry, loaded after a switch to the other language, keeps
// the source's extension too.
TEST(ConvertAndSave, TheKeepEntryOfTheExtensionListGivesBackTheSourceExtension) {
    struct Language {
        const char16_t* code;
        const char *keep, *otherKeep;
        TMenuItem* Tprog::*other; // the menu item of the other language
    };
    const Language languages[] = {
        {u"de", "<beibehalten>", "<keep>", &Tprog::m_einst_sprache_english},
        {u"en", "<keep>", "<beibehalten>", &Tprog::m_einst_sprache_deutsch},
    };
    for (const Language& l : languages) {
        SCOPED_TRACE(U8(l.code));
        TempFolder folder;
        folder.Write("in/a.txt", "a");
        folder.Write("in/b.csv", "b");
        ProgramWindows windows(l.code);
        windows.ShowAsStarted();
        Tprog& p = windows.Working();
        TypeInto(p.inp_ordner, QString::fromStdString(folder.P("in").string()) + "\r");
        ASSERT_EQ(p.qulist->Items().Count(), 2);
        ClickCentre(p.out_onlyifchanged); // unchanged files are written too
        TypeInto(p.out_ordner, "%ordner%/out");
        auto run = [&](const std::string& into) {
            std::filesystem::remove_all(folder.P("in/out"));
            ClickCentre(p.durchfuehren);
            std::vector<std::string> names;
            for (const auto& e : std::filesystem::directory_iterator(folder.P("in/out")))
                names.push_back(e.path().filename().string());
            std::sort(names.begin(), names.end());
            EXPECT_EQ(names, (std::vector<std::string>{"a-1.txt", "b-1.csv"})) << into;
        };
        ChooseComboItem(p.out_format, 5);
        ASSERT_EQ(U8(p.out_format->Text()), ".bmp");
        ChooseComboItem(p.out_format, 0);
        EXPECT_EQ(U8(p.out_format->Text()), l.keep);
        run("after the keep entry");

        const WideString config = folder.W("keep.qvr");
        ScopedModalInterceptor fileName([&](TModalRequest& r) {
            if (r.Kind != TModalKind::SaveFile && r.Kind != TModalKind::OpenFile) return 0;
            r.Answer = config;
            return 1;
        });
        ChooseMenuItem(p.m_konfig_save);
        ChooseComboItem(p.out_format, 5);
        ASSERT_EQ(U8(p.out_format->Text()), ".bmp");
        ChooseMenuItem(p.*l.other);
        ChooseMenuItem(p.m_konfig_load);
        const std::string loaded = U8(p.out_format->Text());
        EXPECT_TRUE(loaded == l.keep || loaded == l.otherKeep) << loaded;
        run("after the configuration");
        // The other language's list offers its own keep word first.
        ChooseComboItem(p.out_format, 5);
        ChooseComboItem(p.out_format, 0);
        EXPECT_EQ(U8(p.out_format->Text()), l.otherKeep);
        run("after the keep entry of the other language");
    }
}

} // namespace
