// Every window of the program, built the way the main block builds them: the same routine
// (PrepareProgramWindows: the creation order, the application as every window's owner,
// the start window as main window, the working window running on its own run state), and
// torn down again, last window first, so the next test starts from nothing.
//
// Tests that use it link the working window's library (tests/mainwindow, tests/e2e,
// tests/dialogs). Input through WindowInput.h reaches the windows as a person's would.
#pragma once

#include <QApplication>
#include <gtest/gtest.h>
#include <memory>
#include <stdexcept>

#include "dialogs/LanguageCode.h"
#include "dialogs/ProgramWindows.h"
#include "mainwindow/MainBlock.h"
#include "mainwindow/u_prog.h"
#include "mainwindow/u_start.h"
#include "support/WindowInput.h"

class ProgramWindows {
public:
    // Language: the language code the start finds ("de" unless a marker file "en" chose
    // English).
    explicit ProgramWindows(WideStringView Language = u"de")
        : FSavedLanguage(LanguageCode), FFirstWindow(Application->ComponentCount()) {
        LanguageCode = WideString(Language);
        PrepareProgramWindows(FState);
    }
    ~ProgramWindows() {
        for (int i = Application->ComponentCount() - 1; i >= FFirstWindow; --i) {
            if (auto* form = dynamic_cast<TForm*>(Application->Components(i))) form->Hide();
            Application->Components(i)->Free();
        }
        Application->SetMainForm(nullptr);
        Application->ShowMainForm = true;
        LanguageCode = FSavedLanguage;
        QApplication::processEvents();
    }
    ProgramWindows(const ProgramWindows&) = delete;
    ProgramWindows& operator=(const ProgramWindows&) = delete;

    Tprog& Working() const { return *prog; }
    Tstart& Start() const { return *start; }
    ProgramState& State() { return FState; }
    // The one window of class T the program created.
    template <class T> T& Window() const {
        T* w = ProgramWindow<T>();
        if (!w) throw std::logic_error("the program has no such window");
        return *w;
    }

    // The start on a desktop: the message loop shows the start window, and a click on its
    // picture brings up the working window at once (and the update notice the first time).
    // Returns with the working window shown and active.
    void ShowAsStarted() {
        Start().Show();
        QApplication::processEvents();
        ClickCentre(LanguageIsGerman() ? static_cast<TControl*>(Start().Image1) : Start().en1);
        EXPECT_TRUE(Working().Visible());
        EXPECT_FALSE(Start().Visible());
        window_input::ActiveWindowOf(Working().Widget());
    }

private:
    WideString FSavedLanguage;
    int FFirstWindow;
    ProgramState FState{ProgramFolder()};
};

// A test with every window of the program built and, after ShowAsStarted, on screen.
class ProgramWindowsTest : public ::testing::Test {
protected:
    void SetUp() override { windows = std::make_unique<ProgramWindows>(); }
    void TearDown() override { windows.reset(); }
    Tprog& Working() const { return windows->Working(); }

    std::unique_ptr<ProgramWindows> windows;
};

// The same with the program started on a desktop: the working window shown and active.
class ShownProgramWindowsTest : public ProgramWindowsTest {
protected:
    void SetUp() override {
        ProgramWindowsTest::SetUp();
        windows->ShowAsStarted();
        p = &Working();
    }
    Tprog* p = nullptr;
};
