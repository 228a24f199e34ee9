#include "platform/CaptionText.h"

#include <gtest/gtest.h>

#include "platform/Controls.h"

namespace {

TEST(CaptionText, HotKeys) {
    struct Case {
        const char16_t* caption;
        int pos;
        const char16_t* key;
        const char16_t* stripped;
    };
    const Case cases[] = {
        {u"Sa&ve", 4, u"v", u"Save"},
        {u"Fish && Chips", 0, u"", u"Fish & Chips"},
        {u"&Open && &Close", 11, u"C", u"Open & Close"},
        {u"Trailing&", 0, u"", u"Trailing"},
        {u"&&&x", 4, u"x", u"&x"},
        {u"&Ω", 2, u"Ω", u"Ω"},
        {u"", 0, u"", u""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(WideGetHotkeyPos(c.caption), c.pos) << U8(c.caption);
        EXPECT_EQ(WideGetHotkey(c.caption), WideString(c.key)) << U8(c.caption);
        EXPECT_EQ(WideStripHotkey(c.caption), WideString(c.stripped)) << U8(c.caption);
    }
    EXPECT_TRUE(WideSameCaption(u"&Save", u"sa&ve"));
    EXPECT_FALSE(WideSameCaptionStr(u"&Save", u"sa&ve"));
    EXPECT_TRUE(WideSameCaptionStr(u"&Save", u"Sa&ve"));
    EXPECT_TRUE(IsWideCharAccel(u'V', u"Sa&ve"));
    EXPECT_TRUE(IsWideCharAccel(u'ω', u"&Ωmega"));
    EXPECT_FALSE(IsWideCharAccel(u'F', u"Fish && Chips"));
}

TEST(CaptionText, ShortCutTexts) {
    struct Case {
        TShortCut sc;
        const char16_t* text;
    };
    const Case cases[] = {
        {ShortCut('Z', ssCtrl), u"Ctrl+Z"},
        {ShortCut('S', ssCtrl | ssShift), u"Shift+Ctrl+S"},
        {ShortCut(VK_F1 + 4, 0), u"F5"},
        {ShortCut(VK_DELETE, ssAlt), u"Alt+Del"},
        {ShortCut(VK_RETURN, ssCtrl | ssAlt | ssShift), u"Shift+Ctrl+Alt+Enter"},
        {ShortCut('7', 0), u"7"},
        {ShortCut(0xFF, ssCtrl), u""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(WideShortCutToText(c.sc), WideString(c.text));
}

} // namespace
