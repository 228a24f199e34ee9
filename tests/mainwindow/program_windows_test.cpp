// The windows the tests build are the program's: every window once, in the main block's
// order, the start window the main window, each window's language set while it was built;
// and the shared fixture takes them all down again.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/ProgramWindowsFixture.h"

namespace {

TEST(ProgramWindows, EveryWindowOnceInTheMainBlocksOrderAndGoneAfterwards) {
    const std::vector<std::string> order = {"start",
                                            "prog",
                                            "hilfe",
                                            "hilfe_en",
                                            "sm_bearbeitung",
                                            "sm_meldung",
                                            "sm_achtung",
                                            "sm_filter",
                                            "dateinamenumbenenner",
                                            "dateinamenumbenenner_filter",
                                            "einstausgabe",
                                            "searchfiles",
                                            "profilspeichern",
                                            "bugreport_de",
                                            "bugreport_en",
                                            "transform",
                                            "einstregex",
                                            "einstshortcuts",
                                            "replace_import",
                                            "changecoding",
                                            "inputselectfilter",
                                            "zplus_ers_suche",
                                            "zplus_ers_ers",
                                            "zplus_ers_deltext",
                                            "zplus_ers_anfuegen",
                                            "zplus_ers_zeile",
                                            "zplus_del_zeile",
                                            "csv_order",
                                            "csv_editing",
                                            "dialog_upgrade"};
    const int before = Screen->FormCount();
    for (const char16_t* language : {u"de", u"en"}) {
        SCOPED_TRACE(U8(language));
        {
            ProgramWindows windows(language);
            std::vector<std::string> built;
            for (int i = before; i < Screen->FormCount(); ++i)
                built.push_back(U8(Screen->Forms(i)->Name()));
            EXPECT_EQ(built, order);
            EXPECT_EQ(Application->MainForm(), &windows.Start());
            EXPECT_EQ(windows.Working().Owner(), Application);
            // Built in the language the start found.
            EXPECT_EQ(windows.Working().durchfuehren->Caption(), language == std::u16string(u"de")
                                                                     ? u"Konvertieren und Speichern"
                                                                     : u"Convert and Save");
            windows.ShowAsStarted();
        }
        EXPECT_EQ(Screen->FormCount(), before);
        EXPECT_EQ(prog, nullptr);
        EXPECT_EQ(start, nullptr);
        EXPECT_EQ(Application->MainForm(), nullptr);
    }
}

} // namespace
