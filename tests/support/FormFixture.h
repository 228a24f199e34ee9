// A test with one empty form, freed after the test, and controls made on it.
#pragma once

#include <gtest/gtest.h>

#include "platform/Forms.h"

struct FormFixture : ::testing::Test {
    TForm* form = nullptr;
    void SetUp() override {
        form = new TForm(nullptr);
        form->SetBounds(0, 0, 400, 300);
    }
    void TearDown() override { form->Free(); }
    template <class T> T* Make() {
        T* c = new T(form);
        c->SetParent(form);
        return c;
    }
};
