#include "platform/WideTextProperties.h"

#include <gtest/gtest.h>

namespace {

struct Target : TObject {
    AnsiString value;
    std::vector<AnsiString> calls;
};

void SetValue(TObject* obj, const AnsiString& v) {
    auto* t = static_cast<Target*>(obj);
    t->calls.push_back(v);
    t->value = v;
}

TEST(WideTextProperties, SyncedTextFollowsChangesBehindTheShadow) {
    WideString shadow = u"Ω";
    // "?" is the 8-bit form of omega in the Western code page: nothing changed behind.
    EXPECT_EQ(GetSyncedWideText(shadow, "?"), u"Ω");
    EXPECT_EQ(GetSyncedWideText(shadow, "abc"), u"abc");
    EXPECT_EQ(shadow, u"abc");
    EXPECT_EQ(GetSyncedWideText(shadow, "\xE4"), u"ä"); // cp1252 0xE4
}

TEST(WideTextProperties, SetSyncedTextCallsTheSetterOnlyForChanges) {
    struct Case {
        const char* name;
        WideString shadow;
        AnsiString ansi;
        WideString value;
        std::vector<AnsiString> calls;
        WideString shadowAfter;
    };
    const Case cases[] = {
        {"equal value", u"abc", "abc", u"abc", {}, u"abc"},
        {"plain change", u"abc", "abc", u"abd", {"abd"}, u"abd"},
        {"omega over a question mark", u"?", "?", u"Ω", {"", "?"}, u"Ω"},
        {"omega twice", u"Ω", "?", u"Ω", {}, u"Ω"},
        {"lossy but different", u"x", "x", u"Ω", {"?"}, u"Ω"},
        {"changed behind, same value", u"old", "new", u"new", {}, u"new"},
    };
    for (const Case& c : cases) {
        Target t;
        t.value = c.ansi;
        WideString shadow = c.shadow;
        SetSyncedWideText(c.value, shadow, c.ansi, SetValue, &t);
        EXPECT_EQ(t.calls, c.calls) << c.name;
        EXPECT_EQ(shadow, c.shadowAfter) << c.name;
    }
}

TEST(WideTextProperties, HelpersAreFoundByComponentAndLeaveWithIt) {
    TWideComponentHelperList list;
    std::vector<TComponent*> comps;
    for (int i = 0; i < 20; ++i)
        comps.push_back(new TComponent(nullptr));
    // Helpers for every other component, created in a scrambled order.
    for (int i : {6, 0, 18, 2, 10, 14, 4, 12, 16, 8})
        TWideComponentHelper::CreateForComponent(comps[size_t(i)], list);
    EXPECT_TRUE(std::is_sorted(list.begin(), list.end(), [](auto* a, auto* b) {
        return std::less<const TComponent*>()(a->Component(), b->Component());
    }));
    for (int i = 0; i < 20; ++i) {
        TWideComponentHelper* h = FindWideComponentHelper(list, comps[size_t(i)]);
        if (i % 2) {
            EXPECT_EQ(h, nullptr) << i;
        } else {
            ASSERT_NE(h, nullptr) << i;
            EXPECT_EQ(h->Component(), comps[size_t(i)]);
        }
    }
    comps[4]->Free();
    EXPECT_EQ(list.size(), 9u);
    EXPECT_EQ(FindWideComponentHelper(list, comps[6])->Component(), comps[6]);
    for (size_t i = 0; i < comps.size(); ++i)
        if (i != 4) comps[i]->Free();
    EXPECT_TRUE(list.empty());

    try {
        TWideComponentHelper plain(nullptr);
        FAIL() << "the plain constructor must raise";
    } catch (const EUCodeInternalError& e) {
        EXPECT_STREQ(
            e.what(),
            "UCode Internal Error: TWideComponentHelper.Create should never be encountered.");
    }
}

} // namespace
