// The program's windows built as the main block builds them (CreateProgramWindows: its
// creation order, owners and registrations), German at start, freed after each test the
// last created first; with the input a person gives them: typed text, Enter, a click on
// a row of a list.
#pragma once

#include <QApplication>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include "dialogs/LanguageCode.h"
#include "dialogs/ProgramWindows.h"
#include "mainwindow/ProgramWindows.h"
#include "mainwindow/u_prog.h"
#include "platform/ListViews.h"
#include "support/WidgetInput.h"

class ProgramWindowsTest : public ::testing::Test {
protected:
    void SetUp() override {
        FSavedLanguage = LanguageCode;
        LanguageCode = u"de";
        FComponentsBefore = Application->ComponentCount();
        CreateProgramWindows();
        p = ProgramWindow<Tprog>();
        ASSERT_NE(p, nullptr);
    }
    void TearDown() override {
        while (Application->ComponentCount() > FComponentsBefore) {
            TComponent* last = Application->Components(Application->ComponentCount() - 1);
            if (auto* form = dynamic_cast<TForm*>(last))
                form->Free();
            else
                delete last;
        }
        LanguageCode = FSavedLanguage;
    }
    static void Pump() {
        for (int i = 0; i < 5; ++i)
            QApplication::processEvents();
    }
    // Each character of Text typed into the control.
    static void TypeInto(TWinControl* Control, const QString& Text) {
        Control->SetFocus();
        for (QChar c : Text)
            TypeChar(Control, QString(c));
    }
    static void PressEnter(TControl* Control) {
        PressKey(Control->Widget(), Qt::Key_Return, QStringLiteral("\r"));
    }
    // A left click on row Row of the list where the list shows it.
    static void ClickRow(TListView* List, int Row) {
        QTreeWidget* tree = List->Tree();
        const QPoint at = tree->visualItemRect(tree->topLevelItem(Row)).center();
        MouseAt(tree->viewport(), QEvent::MouseButtonPress, at);
        MouseAt(tree->viewport(), QEvent::MouseButtonRelease, at);
        Pump();
    }

    Tprog* p = nullptr;

private:
    WideString FSavedLanguage;
    int FComponentsBefore = 0;
};
