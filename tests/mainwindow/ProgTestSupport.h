// The working window under test: created and destroyed around each test, with the
// progress, overwrite-question and message windows beside it as the program has them.
#pragma once

#include <QApplication>
#include <gtest/gtest.h>

#include "dialogs/u_sm_achtung.h"
#include "dialogs/u_sm_bearbeitung.h"
#include "dialogs/u_sm_meldung.h"
#include "mainwindow/u_prog.h"

class ProgTest : public ::testing::Test {
protected:
    void SetUp() override {
        p = new Tprog(Application);
        p->DoCreate();
        progress = new Tsm_bearbeitung(Application);
        box = new Tsm_meldung(Application);
        question = new Tsm_achtung(Application);
        for (TSmallDialog* dialog : std::initializer_list<TSmallDialog*>{progress, box, question})
            dialog->SetCentreOver(p);
    }
    void TearDown() override {
        for (TForm* f : {static_cast<TForm*>(question), static_cast<TForm*>(box),
                         static_cast<TForm*>(progress), static_cast<TForm*>(p)})
            f->Free();
    }
    // A component of the window by name, nullptr when there is none.
    template <class T = TComponent> T* find(const char16_t* name) const {
        return dynamic_cast<T*>(p->FindComponent(name));
    }
    static void pump() {
        for (int i = 0; i < 5; ++i)
            QApplication::processEvents();
    }

    Tprog* p = nullptr;
    Tsm_bearbeitung* progress = nullptr;
    Tsm_meldung* box = nullptr;
    Tsm_achtung* question = nullptr;
};
