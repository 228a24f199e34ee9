// The output settings window: each encoding button hands its code page and the caption that
// names it to the working window (clicked or checked by code), the background colour typed
// or chosen colours the edit, and the engine reads the controls through the settings view.
#include <QFontDialog>
#include <QFontInfo>
#include <QLineEdit>
#include <gtest/gtest.h>

#include "DialogTestSupport.h"
#include "FakeWorkingWindow.h"
#include "dialogs/WindowSettingsView.h"
#include "dialogs/u_einstausgabe.h"
#include "support/ModalInterceptor.h"
#include "support/WhenShown.h"
#include "support/WindowInput.h"

namespace {

class OutputSettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        w = new Teinstausgabe(Application);
        w->DoCreate();
    }
    void TearDown() override { w->Free(); }
    TColor textColour() const { return w->Edit1->Font()->Color(); }

    ScopedLanguage german{u"de"};
    FakeWorkingWindow link;
    Teinstausgabe* w = nullptr;
};

TEST_F(OutputSettingsTest, EveryButtonGivesItsCodeAndCaptionWithAndWithoutTheMark) {
    struct Case {
        TRadioButton* Teinstausgabe::*radio;
        TextEncodingCode code;
        const char16_t* caption;
        bool markAppended;
    };
    const Case cases[] = {
        {&Teinstausgabe::rb_ansi, 0, u"ANSI Text", false},
        {&Teinstausgabe::rb_utf7, 65000, u"Unicode UTF-7", true},
        {&Teinstausgabe::rb_utf7ansi, 64999, u"Unicode UTF-7 ANSI", false},
        {&Teinstausgabe::rb_utf8, 65001, u"Unicode UTF-8", true},
        {&Teinstausgabe::rb_utf8bom, 65002, u"Unicode UTF-8 BOM", false},
        {&Teinstausgabe::rb_utf16le, 1200, u"Unicode UTF-16 LE", true},
        {&Teinstausgabe::rb_utf_be, 1201, u"Unicode UTF-16 BE", true},
        {&Teinstausgabe::rb_utf32le, 65005, u"Unicode UTF-32 LE", true},
        {&Teinstausgabe::rb_utf32be, 65006, u"Unicode UTF-32 BE", true},
        {&Teinstausgabe::rb_beibehalten, 65001, u"Original-Kodierung beibehalten", false},
    };
    w->Show();
    for (bool mark : {true, false}) {
        for (bool byCode : {false, true}) {
            for (const Case& c : cases) {
                w->rb_ansi->SetChecked(true); // a different starting point for rb_ansi
                w->rb_utf7->SetChecked(true);
                w->jazubom->SetChecked(mark);
                TRadioButton* radio = w->*c.radio;
                if (byCode)
                    radio->SetChecked(true);
                else
                    ClickControl(radio);
                const WideString expected =
                    WideString(c.caption) + (mark && c.markAppended ? u" BOM" : u"");
                const std::string what = U8(radio->Name()) + (mark ? " mark" : " no mark") +
                                         (byCode ? " by code" : " clicked");
                EXPECT_TRUE(radio->Checked()) << what;
                EXPECT_EQ(w->AusgabeCodepage(), c.code) << what;
                EXPECT_EQ(link.outputCodePage, c.code) << what;
                EXPECT_EQ(link.outputMark, mark) << what;
                EXPECT_EQ(U8(link.convertCaption), U8(expected)) << what;
            }
        }
    }
    ScopedLanguage english(u"en");
    w->rb_ansi->SetChecked(true);
    w->rb_beibehalten->SetChecked(true);
    EXPECT_EQ(link.convertCaption, u"Keep Original Encoding");
}

TEST_F(OutputSettingsTest, TypedColoursColourTheEditOnlyWhenTheyAreSixHexDigits) {
    struct Case {
        const char16_t* text;
        bool taken;
        TColor colour; // 0x00BBGGRR
        TColor text_;
    };
    const Case cases[] = {
        {u"#7F7F7F", true, TColor(0x7F7F7F), clWhite},
        {u"#FFFFFF", true, TColor(0xFFFFFF), clBlack},
        {u"123456", true, TColor(0x563412), clWhite},
        {u"#FFFFF", false, {}, {}},
        {u"GGGGGG", false, {}, {}},
        {u"##A0A0A0#", true, TColor(0xA0A0A0), clWhite}, // 3 * 0xA0 = 480: still dark
    };
    for (const Case& c : cases) {
        w->Edit1->SetText(u"#000080");
        const TColor before = w->Edit1->Color();
        w->Edit1->SetText(c.text);
        EXPECT_EQ(w->Edit1->Color(), c.taken ? c.colour : before) << U8(c.text);
        if (c.taken) {
            EXPECT_EQ(textColour(), c.text_) << U8(c.text);
        }
    }
}

TEST_F(OutputSettingsTest, TheColourDialogWritesRedGreenBlue) {
    ScopedModalInterceptor answer([](TModalRequest& r) {
        if (r.Kind != TModalKind::Color) return 0;
        r.Answer = u"#123456";
        return 1;
    });
    ClickControl(w->BitBtn1);
    EXPECT_EQ(w->Edit1->Text(), u"#123456");
    EXPECT_EQ(w->Edit1->Color(), TColor(0x563412));
    EXPECT_EQ(textColour(), clWhite);
}

TEST_F(OutputSettingsTest, TheEngineReadsTheChosenFontAndColourThroughTheSettingsView) {
    ScopedModalInterceptor answer([](TModalRequest& r) {
        if (r.Kind != TModalKind::Font) return 0;
        r.Answer = u"DejaVu Sans Mono\n12\n1\n255"; // bold, red
        return 1;
    });
    ClickControl(w->BitBtn6);
    w->Edit1->SetText(u"#00FF00");
    WindowSettingsView view;
    const FontSetting font = view.Font({"Teinstausgabe", "Label3"});
    EXPECT_EQ(font.name, u"DejaVu Sans Mono");
    EXPECT_EQ(font.size, 12);
    EXPECT_TRUE(font.bold);
    EXPECT_EQ(font.colour, 255u);
    EXPECT_EQ(view.Text({"Teinstausgabe", "Edit1"}), u"#00FF00");
    EXPECT_TRUE(view.Checked({"Teinstausgabe", "rb_beibehalten"}));
}

// The pictures are drawn in the family the sample shows (a stand-in where the named font is
// missing): the font dialog opens on it, and a new size alone keeps it.
TEST_F(OutputSettingsTest, TheFontDialogOpensOnTheFamilyTheSampleShowsAndKeepsIt) {
    w->Show();
    const QString shown = QFontInfo(w->Label3->Widget()->font()).family();
    const WideString named = w->Label3->Font()->Name();
    ScopedModalInterceptor realDialog{TModalInterceptor()};
    QString selected;
    WhenModalShown<QFontDialog>([&](QFontDialog* dialog) {
        selected = dialog->currentFont().family();
        // The size field is the one that shows the present size.
        for (QLineEdit* field : dialog->findChildren<QLineEdit*>())
            if (field->text() == QString::number(w->Label3->Font()->Size())) {
                ClickWidgetAt(field, field->rect().center());
                PressKeyIn(field, Qt::Key_A, Qt::ControlModifier);
                TypeKeys(field, QStringLiteral("14"));
            }
        PressKeyIn(dialog, Qt::Key_Return);
    });
    ClickCentre(w->BitBtn6);
    EXPECT_EQ(selected.toStdString(), shown.toStdString());
    EXPECT_EQ(QFontInfo(w->Label3->Widget()->font()).family().toStdString(), shown.toStdString());
    EXPECT_EQ(w->Label3->Font()->Name(), named); // the stored name stays what it was
    EXPECT_EQ(w->Label3->Font()->Size(), 14);
}

TEST_F(OutputSettingsTest, ScreenshotsInBothLanguages) {
    SaveScreenshots(w, "Teinstausgabe", [this] { w->Sprache(); });
    for (const char16_t* code : {u"de", u"en"}) {
        ScopedLanguage lang(code);
        w->Sprache();
        ExpectCaptionsFit(w, U8(code));
    }
}

} // namespace
