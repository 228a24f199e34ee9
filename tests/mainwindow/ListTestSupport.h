// The working window with its input list under test: the keyed messages it asks for are
// recorded instead of shown, the type filter, marking, progress and message windows stand
// beside it as the program has them, and a fresh folder holds the files of each test.
#pragma once

#include <QApplication>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "dialogs/u_inputselectfilter.h"
#include "dialogs/u_sm_bearbeitung.h"
#include "dialogs/u_sm_filter.h"
#include "dialogs/u_sm_meldung.h"
#include "engine/InputListColumns.h"
#include "mainwindow/u_prog.h"

// The working window that records the keys of its messages.
class RecordingProg : public Tprog {
public:
    using Tprog::Tprog;
    void meldungzeigen(std::string_view key, WideStringView path) override {
        messages.emplace_back(std::string(key), WideString(path));
    }
    int count(std::string_view key) const {
        int n = 0;
        for (const auto& m : messages)
            n += m.first == key;
        return n;
    }
    std::vector<std::pair<std::string, WideString>> messages;
};

class ListTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = std::filesystem::temp_directory_path() /
                 ("qulist_" + std::to_string(::getpid()) + "_" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        state = std::make_unique<ProgramState>(U16(folder.string()));
        p = new RecordingProg(Application);
        p->DoCreate();
        p->SetRunState(state.get());
        progress = new Tsm_bearbeitung(Application);
        box = new Tsm_meldung(Application);
        filter = new Tsm_filter(Application);
        marking = new Tinputselectfilter(Application);
        DocNoticePending = true;
    }
    void TearDown() override {
        for (TForm* f :
             {static_cast<TForm*>(marking), static_cast<TForm*>(filter), static_cast<TForm*>(box),
              static_cast<TForm*>(progress), static_cast<TForm*>(p)})
            f->Free();
        std::filesystem::remove_all(folder);
    }
    // Writes bytes to a file below the folder (creating its folders); returns its path.
    WideString write(const std::string& name, const std::string& bytes) {
        std::filesystem::create_directories((folder / name).parent_path());
        std::ofstream(folder / name, std::ios::binary) << bytes;
        return U16((folder / name).string());
    }
    WideString path(const std::string& name) const { return U16((folder / name).string()); }
    int rows() const { return p->qulist->Items().Count(); }
    WideString sub(int row, size_t column) const {
        return p->qulist->Items()[row]->SubItems().Get(int(column));
    }
    std::vector<std::string> names() const {
        std::vector<std::string> r;
        for (int i = 0; i < rows(); ++i)
            r.push_back(U8(p->qulist->Items()[i]->Caption()));
        return r;
    }
    static void pump() {
        for (int i = 0; i < 5; ++i)
            QApplication::processEvents();
    }

    std::filesystem::path folder;
    std::unique_ptr<ProgramState> state;
    RecordingProg* p = nullptr;
    Tsm_bearbeitung* progress = nullptr;
    Tsm_meldung* box = nullptr;
    Tsm_filter* filter = nullptr;
    Tinputselectfilter* marking = nullptr;
};
