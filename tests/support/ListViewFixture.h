// A test with one form holding a list view that fills most of it, its first column
// "Name"; the form is freed after the test.
#pragma once

#include "platform/ListViews.h"
#include "support/FormFixture.h"

struct ListViewFixture : FormFixture {
    TListView* lv = nullptr;
    void SetUp() override {
        FormFixture::SetUp();
        lv = Make<TListView>();
        lv->SetBounds(0, 0, 380, 260);
        lv->Columns().Add()->SetCaption(u"Name");
    }
};
