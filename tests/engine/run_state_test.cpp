#include "engine/RunState.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>

#include "FakeRun.h"
#include "TempFolder.h"
#include "engine/Pipeline.h"

namespace {

TEST(ProgramState, TheProgramFolderIsAlwaysAnAbsoluteFolder) {
    EXPECT_THROW(ProgramState(u""), std::invalid_argument);
    EXPECT_THROW(ProgramState(u"relative/folder/"), std::invalid_argument);
    EXPECT_EQ(ProgramState(u"/opt/quorbel").ProgramFolder(), u"/opt/quorbel/");
    EXPECT_EQ(ProgramState(u"/opt/quorbel/").ProgramFolder(), u"/opt/quorbel/");
    // The output code page of a fresh program is UTF-8, with a mark, nothing silent.
    const RunOptions fresh = ProgramState(u"/p/").ForRun();
    EXPECT_EQ(fresh.outputCodePage, teUTF8);
    EXPECT_TRUE(fresh.byteOrderMark);
    EXPECT_EQ(fresh.silent, SilentLevel::Interactive);
    EXPECT_FALSE(fresh.processLog);
}

class RunStateTest : public TempFolderTest {
protected:
    // A conversion that fails (a division by zero in the CSV step), as a preview or a run
    // starts one: an engine built from the program state now.
    void convertFailing() {
        s.SetChecked({"Tprog", "act_csv"}, true);
        s.SetChecked({"Tprog", "act_csv_calc"}, true);
        s.SetRows({"Tcsv_editing", "csv_liste"}, {{u"1", {u"CALC", u"DIV", u"0"}}});
        ConversionEngine engine(s, ui, state());
        engine.Konvertieren(u"7", u"/data/x.csv", 1, nullptr);
    }
    ProgramState& state() {
        if (!state_) state_.emplace(dir());
        return *state_;
    }
    bool logged() const { return std::filesystem::exists(folder / "qvrprocess.log"); }

    MemorySettings s;
    FakeRun ui{s};
    std::optional<ProgramState> state_;
};

TEST_F(RunStateTest, SwitchesReadAfterTheWindowExistsReachTheNextConversion) {
    state(); // the main block creates the window (and the state) before it reads the switches
    convertFailing();
    EXPECT_EQ(ui.messageKeys(), std::vector<std::string>{"konvertierfehler"});
    EXPECT_FALSE(logged());

    state().Silent = SilentLevel::NoWindow; // "processandclose=1"
    state().ProcessLogEnabled = true;       // "log=1"
    convertFailing();
    EXPECT_EQ(ui.messages.size(), 1u); // no second message
    EXPECT_TRUE(logged());
}

TEST_F(RunStateTest, ARunKeepsTheStateItStartedWith) {
    ConversionEngine engine(s, ui, state());
    state().Silent = SilentLevel::NoWindow;
    state().AusgabeCodepage = teUTF16LE;
    state().WriteByteOrderMark = false;
    EXPECT_EQ(engine.options().silent, SilentLevel::Interactive);
    EXPECT_EQ(engine.options().outputCodePage, teUTF8);
    EXPECT_TRUE(engine.options().byteOrderMark);
    EXPECT_EQ(engine.options().programFolder, dir());
}

} // namespace
