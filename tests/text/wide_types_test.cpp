#include "text/WideTypes.h"

#include <gtest/gtest.h>

TEST(WideCase, MapsPerUnitAndKeepsLength) {
    struct Case {
        const char* in;
        const char* upper;
        const char* lower;
    } cases[] = {
        {"straße", "STRAßE", "straße"},    // no one-to-many mapping
        {"Äpfel ÿ", "ÄPFEL Ÿ", "äpfel ÿ"}, // Latin-1 and U+0178
        {"ЩУКА щука ё", "ЩУКА ЩУКА Ё", "щука щука ё"},
        {"Σσς", "ΣΣΣ", "σσς"},
        {"abc😀", "ABC😀", "abc😀"},
        {"İı", "İI", "İı"}, // U+0130 lowers to two units: kept
    };
    for (const auto& c : cases) {
        EXPECT_EQ(U8(WideUpperCase(U16(c.in))), c.upper) << c.in;
        EXPECT_EQ(U8(WideLowerCase(U16(c.in))), c.lower) << c.in;
    }
    for (int u = 0; u < 0x10000; ++u) {
        // Surrogate halves never change, whatever the table holds.
        if (u >= 0xD800 && u < 0xE000) {
            ASSERT_EQ(WideUpperChar(static_cast<WideChar>(u)), u);
        }
    }
}

TEST(WideTrim, RemovesOnlyControlAndBlank) {
    EXPECT_EQ(WideTrim(u"\t\x01 a b \r\n"), u"a b");
    EXPECT_EQ(WideTrim(u"\u00A0a\u00A0"), u"\u00A0a\u00A0");
    EXPECT_EQ(WideTrimLeft(u"  a "), u"a ");
    EXPECT_EQ(WideTrimRight(u"  a "), u"  a");
    EXPECT_EQ(WideTrim(u"   "), u"");
}
