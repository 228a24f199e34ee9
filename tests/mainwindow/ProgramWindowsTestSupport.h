// Every window of the program built as the main block builds them (the start window, the
// working window, then the tools and dialogs, each owned by the application), with the
// working window shown; and what a person does with the working window's input list:
// types a folder into the folder field, clicks a row, picks a menu item.
#pragma once

#include <QApplication>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <string>

#include "mainwindow/ProgramWindow.h"
#include "mainwindow/ProgramWindows.h"
#include "mainwindow/u_prog.h"
#include "platform/ListViews.h"
#include "platform/Menus.h"
#include "support/WidgetInput.h"

class ProgramWindowsTest : public ::testing::Test {
public:
    static void pump() {
        for (int i = 0; i < 10; ++i)
            QApplication::processEvents();
    }

protected:
    void SetUp() override {
        CreateProgramWindows();
        p = ProgramWindow<Tprog>();
        ASSERT_NE(p, nullptr);
        p->Show();
        pump();
    }
    void TearDown() override {
        while (Screen->FormCount() > 0)
            Screen->Forms(Screen->FormCount() - 1)->Free();
        Application->SetMainForm(nullptr);
    }

    // The folder typed into the folder field and Enter pressed: its files join the list.
    void AddFolderByTyping(const std::string& Folder) {
        p->inp_ordner->SetFocus();
        TypeText(p->inp_ordner, QString::fromStdString(Folder));
        PressKey(p->inp_ordner->Widget(), Qt::Key_Return, QStringLiteral("\r"));
        pump();
    }

    Tprog* p = nullptr;
};

// A left click on the centre of a row of a list view.
inline void ClickRow(TListView* List, int Row) {
    QTreeWidget* tree = List->Tree();
    const QPoint centre = tree->visualItemRect(tree->topLevelItem(Row)).center();
    MouseAt(tree->viewport(), QEvent::MouseButtonPress, centre);
    MouseAt(tree->viewport(), QEvent::MouseButtonRelease, centre);
    ProgramWindowsTest::pump();
}

// A menu item chosen, as a click on it in its opened menu or its shortcut chooses it.
inline void TriggerMenuItem(TMenuItem* Item) {
    Item->QtAction()->trigger();
    ProgramWindowsTest::pump();
}
