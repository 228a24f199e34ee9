// Renders a form with a menu bar, tabs, a list view and a status bar offscreen
// and saves it under the build folder, to look at.
#include <QDir>
#include <QImage>
#include <QMenuBar>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include "Imports/UCodeComCtrls.h"
#include "platform/Forms.h"
#include "platform/ListViews.h"
#include "platform/Menus.h"
#include "platform/PageControls.h"
#include "platform/StatusBars.h"

namespace {

TEST(Screenshot, FormWithMenuTabsListViewAndStatusBar) {
    auto* form = new TForm(nullptr);
    form->SetCaption(u"Quorbel – Ω");
    form->SetBounds(0, 0, 640, 420);
    auto* menu = new TMainMenu(form);
    for (const char16_t* caption : {u"&Datei", u"&Bearbeiten", u"&Hilfe"}) {
        auto* item = NewItem(caption, 0, nullptr, form);
        menu->Items()->Add(item);
        item->Add(NewItem(u"&Öffnen…", ShortCut('O', ssCtrl), nullptr, form));
    }
    auto* bar = new TStatusBar(form);
    bar->SetParent(form);
    for (const char16_t* t : {u"3 Dateien", u"\tUTF-8", u"\t\t1,234 KB"}) {
        TStatusPanel* p = bar->Panels().Add();
        p->SetWidth(200);
        p->SetText(t);
    }
    auto* pc = new TPageControl(form);
    pc->SetParent(form);
    pc->SetAlign(alClient);
    TUCodeListView* lv = nullptr;
    for (const char16_t* caption : {u"&Dateien", u"&Suchen", u"Ω &Zeichen"}) {
        auto* sheet = new TTabSheet(form);
        sheet->SetPageControl(pc);
        sheet->SetCaption(caption);
        if (!lv) {
            lv = new TListView(form);
            lv->SetParent(sheet);
            lv->SetAlign(alClient);
            lv->SetRowSelect(true);
            lv->SetMultiSelect(true);
        }
    }
    const char16_t* columns[] = {u"Name", u"Format", u"Größe", u"Status"};
    for (const char16_t* c : columns) {
        TListColumn* col = lv->Columns().Add();
        col->SetCaption(c);
        col->SetWidth(130);
    }
    lv->Columns()[2]->SetAlignment(taRightJustify);
    const char16_t* rows[][4] = {{u"readme.txt", u"TXT", u"1,024", u"Added"},
                                 {u"Ωmega 😀.csv", u"CSV", u"12,288", u"Converted"},
                                 {u"日本語.log", u"LOG", u"512", u"Added"}};
    for (auto& r : rows) {
        TListItem* it = lv->Items().Add();
        it->SetCaption(r[0]);
        for (int i = 1; i < 4; ++i)
            it->SubItems().Add(r[i]);
    }
    lv->Items()[1]->SetSelected(true);
    form->Show();

    QImage img = form->Widget()->grab().toImage();
    ASSERT_FALSE(img.isNull());
    EXPECT_EQ(img.width(), form->ClientWidth());
    QDir().mkpath(QUORBEL_BUILD_DIR "/screenshots");
    QString file = QUORBEL_BUILD_DIR "/screenshots/platform_common_controls.png";
    EXPECT_TRUE(img.save(file));
    EXPECT_FALSE(QImage(file).isNull());
    // The parts are stacked: menu bar, tabs with the list, status bar.
    EXPECT_EQ(menu->MenuBar()->y(), 0);
    EXPECT_EQ(pc->Top(), 0); // the client area starts below the menu bar
    EXPECT_EQ(pc->Widget()->y(), menu->MenuBar()->height());
    EXPECT_EQ(bar->Top() + bar->Height(), form->ClientHeight());
    EXPECT_EQ(pc->Top() + pc->Height(), bar->Top());
    EXPECT_GT(pc->TabBar()->height(), 0);
    EXPECT_EQ(pc->Pages(0)->Top(), pc->TabBar()->height());
    form->Free();
}

} // namespace
