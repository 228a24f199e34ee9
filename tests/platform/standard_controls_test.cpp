#include "platform/StdCtrls.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QFontMetrics>
#include <QLineEdit>
#include <gtest/gtest.h>

#include "platform/Forms.h"
#include "platform/MemoView.h"
#include "support/FormFixture.h"
#include "support/ScopedHook.h"
#include "support/WidgetInput.h"

namespace {

using EditTyping = FormFixture;

TEST_F(EditTyping, KeyPressSeesWideCharactersAndSwallowsFileNameCharacters) {
    auto* edit = Make<TEdit>();
    form->Show();
    std::vector<WideChar> seen;
    edit->OnKeyPress = [&](TObject*, WideChar& key) {
        seen.push_back(key);
        if (WideString(u"\"*/<>?|").find(key) != WideString::npos) key = 0;
    };
    for (const char16_t* t : {u"a", u"*", u"\u03A9", u"\U0001F600", u"b", u"|"})
        TypeChar(edit, QString::fromStdU16String(t));
    EXPECT_EQ(edit->Text(), U16("aΩ😀b"));
    EXPECT_EQ(edit->Text().size(), 5u);
    EXPECT_NE(std::find(seen.begin(), seen.end(), WideChar(0x03A9)), seen.end());
    // The emoji came as one event and reached the handler as its two halves.
    auto hi = std::find(seen.begin(), seen.end(), WideChar(0xD83D));
    ASSERT_NE(hi, seen.end());
    EXPECT_EQ(*(hi + 1), WideChar(0xDE00));

    // Swallowing the high half drops the whole character; a changed key is typed instead.
    edit->SetText(WideString());
    edit->OnKeyPress = [](TObject*, WideChar& key) {
        if (key == 0xD83D) key = 0;
        if (key == u'x') key = u'y';
    };
    TypeChar(edit, QString::fromStdU16String(u"\U0001F600"));
    TypeChar(edit, QStringLiteral("x"));
    EXPECT_EQ(edit->Text(), u"y");
}

TEST_F(EditTyping, OnKeyDownCanSwallowAKeyAndHooksSeeKeysFirst) {
    auto* edit = Make<TEdit>();
    edit->SetText(u"abc");
    form->Show();
    edit->SetSelStart(3);
    int downs = 0;
    edit->OnKeyDown = [&](TObject*, uint16_t& key, TShiftState) {
        ++downs;
        if (key == VK_BACK) key = 0;
    };
    PressKey(edit->Widget(), Qt::Key_Backspace, QStringLiteral("\b"));
    EXPECT_EQ(edit->Text(), u"abc");
    EXPECT_EQ(downs, 1);
    // A window-procedure hook sees the character before the control does.
    THookId id = edit->HookWindowProc([](TMessage& m, const TWndMethod& next) {
        if (m.Msg == WM_CHAR && m.WParam == u'q') m.WParam = u'Q';
        next(m);
    });
    TypeChar(edit, QStringLiteral("q"));
    EXPECT_EQ(edit->Text(), u"abcQ");
    edit->UnhookWindowProc(id);
}

using TextContracts = FormFixture;

TEST_F(TextContracts, EditAndMemoFireOnChangeOnlyOnRealChanges) {
    auto* edit = Make<TEdit>();
    auto* memo = Make<TMemo>();
    int editChanges = 0, memoChanges = 0;
    edit->OnChange = [&](TObject*) { ++editChanges; };
    memo->OnChange = [&](TObject*) { ++memoChanges; };
    edit->SetText(u"x");
    edit->SetText(u"x");
    memo->SetText(u"a\r\nb");
    memo->SetText(u"a\r\nb");
    memo->Lines().SetText(u"a\nb"); // the same text once normalised
    EXPECT_EQ(editChanges, 1);
    EXPECT_EQ(memoChanges, 1);
    // Text set before the form is shown is what the widget displays.
    form->Show();
    EXPECT_EQ(static_cast<QLineEdit*>(edit->Widget())->text(), QStringLiteral("x"));
    EXPECT_EQ(static_cast<MemoView*>(memo->Widget())->Doc().Text(), u"a\r\nb");
}

TEST_F(TextContracts, LineBreaksOfEditAndMemo) {
    auto* edit = Make<TEdit>();
    auto* memo = Make<TMemo>();
    edit->SetText(u"a\r\nb");
    EXPECT_EQ(edit->Text().find_first_of(u"\r\n"), WideString::npos);
    EXPECT_EQ(edit->Text(), u"ab");

    EXPECT_EQ(memo->Lines().Count(), 0);
    // Text keeps what it is given (a row ends only at CR LF); Lines.Text makes every
    // CR, LF and U+2028 a CR LF.
    struct Case {
        const char16_t* in;
        int count;             // lines of the text as given
        const char16_t* lines; // Lines.Text after setting it
        int lineCount;
    };
    const Case cases[] = {
        {u"a\nb", 1, u"a\r\nb", 2},
        {u"a\rb", 1, u"a\r\nb", 2},
        {u"a\u2028b", 1, u"a\r\nb", 2},
        {u"a\u2029b", 1, u"a\u2029b", 1},
        {u"a\r\n", 1, u"a\r\n", 1},
        {u"\u00A0x\r\n\r\ny", 3, u"\u00A0x\r\n\r\ny", 3},
        {u"x\n\r\r\n\ry", 2, u"x\r\n\r\n\r\n\r\ny", 5},
        {u"", 0, u"", 0},
    };
    for (const Case& c : cases) {
        memo->SetText(c.in);
        EXPECT_EQ(memo->Text(), WideString(c.in)) << U8(c.in);
        EXPECT_EQ(memo->GetTextLen(), int(WideString(c.in).size())) << U8(c.in);
        EXPECT_EQ(memo->Lines().Count(), c.count) << U8(c.in);
        memo->Lines().SetText(c.in);
        EXPECT_EQ(memo->Lines().Text(), WideString(c.lines)) << U8(c.in);
        EXPECT_EQ(memo->Lines().Count(), c.lineCount) << U8(c.in);
    }
    // A line break typed with Shift+Return stays inside its paragraph in the editor; the
    // text still reads it as CR LF.
    memo->SetText(u"x");
    memo->SetSelStart(1);
    PressKey(memo->Widget(), Qt::Key_Return, QStringLiteral("\r"), Qt::ShiftModifier);
    TypeChar(memo, QStringLiteral("y"));
    EXPECT_EQ(memo->Text(), u"x\r\ny");
    EXPECT_EQ(memo->GetTextLen(), 4);
    memo->SetText(u"x\r\ny"); // the same text: the editor keeps what it holds, caret and all
    EXPECT_EQ(memo->SelStart(), 4);
    // A line longer than 65,535 characters comes back whole.
    WideString longLine(100000, u'x');
    longLine[99999] = u'!';
    memo->SetText(u"first\r\n" + longLine + u"\r\nlast");
    EXPECT_EQ(memo->Lines()[1], longLine);
    EXPECT_EQ(memo->Lines().Count(), 3);
}

TEST_F(TextContracts, MemoLineOperationsFollowTheEditControl) {
    auto* memo = Make<TMemo>();
    TMemoStrings& lines = memo->Lines();
    lines.Add(u"one");
    EXPECT_EQ(memo->Text(), u"one\r\n");
    lines.Add(u"two");
    lines.Insert(0, u"zero");
    EXPECT_EQ(memo->Text(), u"zero\r\none\r\ntwo\r\n");
    lines.Put(1, u"ONE");
    lines.Delete(2);
    EXPECT_EQ(memo->Text(), u"zero\r\nONE\r\n");
    EXPECT_EQ(lines.Count(), 2);
    memo->SetText(u"a");
    lines.Add(u"b");
    EXPECT_EQ(memo->Text(), u"a\r\nb");
    // Selection positions count CR LF as two units.
    memo->SetText(u"ab\r\ncd");
    memo->SetSelStart(4);
    memo->SetSelLength(2);
    EXPECT_EQ(memo->SelStart(), 4);
    EXPECT_EQ(memo->SelText(), u"cd");
    EXPECT_EQ(memo->Perform(EM_LINEINDEX, 1), 4);
}

TEST_F(TextContracts, MemoScrollsByLines) {
    auto* memo = Make<TMemo>();
    memo->SetWordWrap(false);
    memo->SetScrollBars(ssBoth);
    memo->SetBounds(0, 0, 200, 80);
    WideString text;
    for (int i = 0; i < 200; ++i)
        text += u"line " + U16(std::to_string(i)) + u"\r\n";
    memo->SetText(text);
    form->Show();
    QApplication::processEvents();
    EXPECT_EQ(memo->FirstVisibleLine(), 0);
    SendMessage(memo->Handle(), EM_LINESCROLL, 0, 10);
    EXPECT_EQ(memo->Perform(EM_GETFIRSTVISIBLELINE), 10);
    memo->ScrollLines(-4);
    EXPECT_EQ(memo->FirstVisibleLine(), 6);
}

using Buttons = FormFixture;

TEST_F(Buttons, CheckedFiresOnClickOnlyOnChangeAndRadiosUncheckByCode) {
    auto* box = Make<TCheckBox>();
    int clicks = 0;
    box->OnClick = [&](TObject*) { ++clicks; };
    box->SetChecked(true);
    box->SetChecked(true);
    box->SetChecked(false);
    EXPECT_EQ(clicks, 2);
    box->SetPushLike(true);
    EXPECT_FALSE(box->Checked());
    box->SetChecked(true);
    EXPECT_EQ(clicks, 3);
    EXPECT_TRUE(box->Checked());

    auto* r1 = Make<TRadioButton>();
    auto* r2 = Make<TRadioButton>();
    auto* panel = Make<TGroupBox>();
    auto* other = new TRadioButton(form);
    other->SetParent(panel);
    other->SetChecked(true);
    int c1 = 0, c2 = 0;
    r1->OnClick = [&](TObject*) { ++c1; };
    r2->OnClick = [&](TObject*) { ++c2; };
    r1->SetChecked(true);
    r2->SetChecked(true);
    EXPECT_FALSE(r1->Checked());
    EXPECT_TRUE(r2->Checked());
    EXPECT_EQ(c1, 1);
    EXPECT_EQ(c2, 1);
    EXPECT_TRUE(other->Checked()); // another parent, another group
    r2->SetChecked(false);
    EXPECT_FALSE(r1->Checked());
    EXPECT_FALSE(r2->Checked());
    EXPECT_EQ(c1 + c2, 2);
}

TEST_F(Buttons, AltAndTheHotKeyClicksTheButton) {
    auto* save = Make<TButton>();
    save->SetCaption(u"Sa&ve");
    auto* other = Make<TButton>();
    other->SetCaption(u"&Fish && Chips");
    auto* edit = Make<TEdit>();
    int saves = 0, others = 0;
    save->OnClick = [&](TObject*) { ++saves; };
    other->OnClick = [&](TObject*) { ++others; };
    form->Show();
    PressKey(edit->Widget(), Qt::Key_V, QStringLiteral("v"), Qt::AltModifier);
    EXPECT_EQ(saves, 1);
    PressKey(edit->Widget(), Qt::Key_C, QStringLiteral("c"), Qt::AltModifier);
    EXPECT_EQ(others, 0);
    save->SetEnabled(false);
    PressKey(edit->Widget(), Qt::Key_V, QStringLiteral("v"), Qt::AltModifier);
    EXPECT_EQ(saves, 1);
    // A button that sets a modal result gives it to its form.
    save->SetEnabled(true);
    save->ModalResult = mrOk;
    save->Click();
    EXPECT_EQ(form->ModalResult(), mrOk);
}

using Combo = FormFixture;

TEST_F(Combo, SettingTextOrIndexFiresNoOnChange) {
    auto* box = Make<TComboBox>();
    int changes = 0;
    box->OnChange = [&](TObject*) { ++changes; };
    box->Items().Add(u"Apple");
    box->Items().Add(u"Apricot");
    box->SetText(u"Pear");
    box->SetItemIndex(1);
    box->SetText(u"Plum");
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(box->Text(), u"Plum");
    box->Items().Clear(); // the box keeps its text
    EXPECT_EQ(box->Text(), u"Plum");
    EXPECT_EQ(box->Items().Count(), 0);
}

TEST_F(Combo, DropDownAutoCompleteNeedsAUniquePrefix) {
    auto* box = Make<TComboBox>();
    box->Items().Add(u"Apple");
    box->Items().Add(u"Apricot");
    int changes = 0, presses = 0;
    box->OnChange = [&](TObject*) { ++changes; };
    box->OnKeyPress = [&](TObject*, WideChar&) { ++presses; };
    form->Show();
    TypeChar(box, QStringLiteral("A"));
    EXPECT_EQ(presses, 1); // one key, one OnKeyPress
    EXPECT_EQ(box->Text(), u"A");
    EXPECT_EQ(box->SelLength(), 0);
    TypeChar(box, QStringLiteral("p"));
    EXPECT_EQ(box->Text(), u"Ap");
    TypeChar(box, QStringLiteral("r"));
    EXPECT_EQ(box->Text(), u"Apricot");
    EXPECT_EQ(box->SelStart(), 3);
    EXPECT_EQ(box->SelLength(), 4);
    EXPECT_EQ(box->SelText(), u"icot"); // the rest after the typed "Apr"
    EXPECT_EQ(box->ItemIndex(), 1);
    EXPECT_GE(changes, 3);
}

TEST_F(Combo, AutoCompleteComparesWholeCharactersOutsideTheBmp) {
    struct Case {
        TComboBoxStyle style;
        const char16_t* typed;
        const char16_t* text;
        int index;
    } cases[] = {
        // U+1F60E shares its high surrogate with the only item's U+1F600.
        {csDropDown, u"😎", u"😎", -1},
        {csDropDown, u"😀", u"😀 smile", 0},
        {csDropDownList, u"😎", u"", -1},
        {csDropDownList, u"😀", u"😀 smile", 0},
    };
    for (const Case& c : cases) {
        auto* box = Make<TComboBox>();
        box->SetStyle(c.style);
        box->Items().Add(u"😀 smile");
        box->Items().Add(u"plain");
        EXPECT_EQ(box->ItemIndex(), -1); // adding items selects none
        EXPECT_EQ(box->Text(), u"");
        form->Show();
        TypeChar(box, QString::fromStdU16String(c.typed));
        EXPECT_EQ(box->Text(), c.text) << U8(c.typed) << " style " << int(c.style);
        EXPECT_EQ(box->ItemIndex(), c.index) << U8(c.typed) << " style " << int(c.style);
        box->Free();
    }
}

TEST_F(Combo, DropDownListSearchRestartsAfter1250Milliseconds) {
    uint64_t now = 100000;
    ScopedHook clock(SetTickCountSource, [&] { return now; });
    auto* box = Make<TComboBox>();
    box->SetStyle(csDropDownList);
    for (const char16_t* s : {u"Banana", u"Cherry", u"Cranberry", u"Currant"})
        box->Items().Add(s);
    form->Show();
    TypeChar(box, QStringLiteral("c"));
    EXPECT_EQ(box->ItemIndex(), 1);
    now += 100;
    TypeChar(box, QStringLiteral("r"));
    EXPECT_EQ(box->ItemIndex(), 2); // "cr"
    now += 1250;
    TypeChar(box, QStringLiteral("b"));
    EXPECT_EQ(box->ItemIndex(), 0); // a new search: "b"
    now += 1249;
    TypeChar(box, QStringLiteral("a"));
    EXPECT_EQ(box->ItemIndex(), 0); // "ba", same item
    EXPECT_EQ(box->Text(), u"Banana");
}

TEST_F(Combo, OwnerDrawnItemsAreDrawnByOnDrawItemInTheListAndTheClosedBox) {
    auto* box = Make<TComboBox>();
    box->SetStyle(csOwnerDrawFixed);
    box->SetItemHeight(20);
    box->Items().Add(u"red");
    box->Items().Add(u"green");
    box->SetItemIndex(1);
    std::vector<std::pair<int, TOwnerDrawState>> drawn;
    box->OnDrawItem = [&](TWinControl* control, int index, TRect rect, TOwnerDrawState state) {
        drawn.emplace_back(index, state);
        TCanvas& canvas = static_cast<TComboBox*>(control)->Canvas();
        canvas.Brush.Color = index == 0 ? clRed : clLime;
        canvas.FillRect(rect);
    };
    form->Show();
    QImage closed = box->Widget()->grab().toImage();
    ASSERT_FALSE(drawn.empty());
    EXPECT_EQ(drawn.back().first, 1);
    EXPECT_TRUE(drawn.back().second & odComboBoxEdit);
    QRgb middle = closed.pixel(closed.width() / 3, closed.height() / 2);
    EXPECT_EQ(QColor(middle), QColor(Qt::green));

    drawn.clear();
    box->SetDroppedDown(true);
    QAbstractItemView* list = static_cast<QComboBox*>(box->Widget())->view();
    QImage rows = list->viewport()->grab().toImage();
    box->SetDroppedDown(false);
    ASSERT_GE(drawn.size(), 2u);
    QRect first = list->visualRect(list->model()->index(0, 0));
    EXPECT_EQ(first.height(), 20);
    EXPECT_EQ(QColor(rows.pixel(first.center())), QColor(Qt::red));
    // Without OnDrawItem the item's text is drawn; the canvas outside drawing draws nothing.
    box->OnDrawItem = nullptr;
    box->Canvas().FillRect(Rect(0, 0, 5, 5));
    QImage plain = box->Widget()->grab().toImage();
    EXPECT_NE(QColor(plain.pixel(plain.width() / 3, plain.height() / 2)), QColor(Qt::green));
}

TEST_F(FormFixture, NarrowLabelsShortenTheirTextWithAnEllipsis) {
    auto* label = Make<TLabel>();
    label->SetAutoSize(false);
    QFontMetrics fm(label->Widget()->font());
    auto widthOf = [&](const char16_t* text) {
        return fm.horizontalAdvance(QString::fromUtf16(text)) + 1;
    };
    struct Case {
        TEllipsisPosition position;
        const char16_t* caption;
        const char16_t* shown;
    };
    const Case cases[] = {
        {epPathEllipsis, u"/home/user/documents/file.txt", u"/home/…/file.txt"},
        {epPathEllipsis, u"/home/user/documents/file.txt", u"/home/user/…/file.txt"},
        {epWordEllipsis, u"The quick brown fox", u"The quick…"},
        {epEndEllipsis, u"The quick brown fox", u"The quick b…"},
        {epNone, u"The quick brown fox", u"The quick brown fox"},
    };
    for (const Case& c : cases) {
        label->SetEllipsisPosition(epNone);
        label->SetCaption(c.caption);
        label->SetBounds(0, 0, widthOf(c.shown), 20);
        label->SetEllipsisPosition(c.position);
        EXPECT_EQ(label->ShownText(), c.shown) << int(c.position);
        EXPECT_EQ(label->Caption(), c.caption);
    }
    label->SetEllipsisPosition(epPathEllipsis);
    label->SetCaption(u"/home/user/documents/file.txt");
    label->SetWidth(widthOf(u"/home/…/file.txt"));
    EXPECT_EQ(label->ShownText(), u"/home/…/file.txt");
    label->SetWidth(1000); // wide enough again: the whole text
    EXPECT_EQ(label->ShownText(), u"/home/user/documents/file.txt");
    // Word-wrapped, the text is cut at blanks until it fits the height.
    label->SetWordWrap(true);
    label->SetEllipsisPosition(epEndEllipsis);
    label->SetCaption(u"one two three four five six seven eight");
    label->SetBounds(0, 0, widthOf(u"one two three"), fm.height());
    WideString shown = label->ShownText();
    ASSERT_GE(shown.size(), 3u);
    EXPECT_EQ(shown.substr(shown.size() - 3), u"...");
    EXPECT_LE(fm.horizontalAdvance(QString::fromStdU16String(shown)), label->Width());
}

TEST_F(FormFixture, AWordWrappedLabelWithAPathEllipsisShowsOneShortenedLine) {
    for (bool autoSize : {false, true}) {
        auto* label = Make<TLabel>();
        QFontMetrics fm(label->Widget()->font());
        const int narrow = fm.horizontalAdvance(QStringLiteral("/home/…/file.txt")) + 1;
        label->SetAutoSize(autoSize);
        label->SetWordWrap(true);
        label->SetBounds(0, 0, narrow, 4 * fm.height());
        label->SetEllipsisPosition(epPathEllipsis);
        label->SetCaption(u"/home/user/documents/file.txt");
        EXPECT_EQ(label->ShownText(), u"/home/…/file.txt") << autoSize;
        EXPECT_EQ(label->Width(), narrow);
        if (autoSize) {
            EXPECT_EQ(label->Height(), fm.height());
        }
        // Nothing is drawn below the first line.
        form->Show();
        QImage image = label->Widget()->grab().toImage();
        const QRgb background = image.pixel(image.width() - 1, image.height() - 1);
        int lowestInk = -1;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixel(x, y) != background) lowestInk = y;
        EXPECT_GE(lowestInk, 0);
        EXPECT_LT(lowestInk, fm.height() + 1) << autoSize;
    }
}

TEST_F(FormFixture, LabelsMeasureTheirTextAndFocusTheirControl) {
    auto* label = Make<TLabel>();
    auto* edit = Make<TEdit>();
    label->SetCaption(u"&Name");
    EXPECT_EQ(label->DisplayText(), u"Name");
    int withText = label->Width();
    label->SetCaption(u"&");
    EXPECT_EQ(label->DisplayText(), u"");
    EXPECT_GT(label->Height(), 0);
    EXPECT_LT(label->Width(), withText);
    label->SetCaption(u"&Name");
    label->FocusControl = edit;
    form->Show();
    PressKey(form->Widget(), Qt::Key_N, QStringLiteral("n"), Qt::AltModifier);
    EXPECT_TRUE(edit->Focused());
}

// The darkest pixel of a control's picture inside its frame, and whether any pixel there is
// plainly blue: the ink its text is painted in.
QRgb DarkestInk(QWidget* W) {
    const QImage image = W->grab().toImage();
    QRgb darkest = qRgb(255, 255, 255);
    for (int y = 4; y < image.height() - 4; ++y)
        for (int x = 4; x < image.width() - 4; ++x)
            if (qGray(image.pixel(x, y)) < qGray(darkest)) darkest = image.pixel(x, y);
    return darkest;
}
bool ShowsBlue(QWidget* W) {
    const QImage image = W->grab().toImage();
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qBlue(image.pixel(x, y)) > qRed(image.pixel(x, y)) + 80) return true;
    return false;
}

// A disabled control greys its text whatever its font: a bold button or tick box shows the
// same ink as a disabled one of the plain font, and a blue label shows no blue.
TEST_F(FormFixture, DisabledControlsGreyTheirTextWhateverTheirFont) {
    auto make = [&](auto* Control, bool Bold) {
        Control->SetBounds(10, 10, 160, 27);
        Control->SetCaption(u"Convert and Save");
        if (Bold) Control->Font()->SetStyle(fsBold);
        Control->SetEnabled(false);
        return Control;
    };
    form->Show();
    const std::vector<std::pair<TControl*, TControl*>> pairs = {
        {make(Make<TButton>(), true), make(Make<TButton>(), false)},
        {make(Make<TCheckBox>(), true), make(Make<TCheckBox>(), false)},
        {make(Make<TLabel>(), true), make(Make<TLabel>(), false)},
    };
    for (const auto& [bold, plain] : pairs) {
        SCOPED_TRACE(bold->Widget()->metaObject()->className());
        const QRgb disabledInk = DarkestInk(bold->Widget());
        EXPECT_EQ(qGray(disabledInk), qGray(DarkestInk(plain->Widget())));
        bold->SetEnabled(true);
        EXPECT_LT(qGray(DarkestInk(bold->Widget())), qGray(disabledInk));
        bold->SetEnabled(false);
    }
    auto* link = make(Make<TLabel>(), false);
    link->Font()->SetColor(clBlue);
    EXPECT_FALSE(ShowsBlue(link->Widget()));
    link->SetEnabled(true);
    EXPECT_TRUE(ShowsBlue(link->Widget()));
}

} // namespace

namespace {

TEST_F(FormFixture, ColourPaintsTheFieldOfTextControlsAndTheBackgroundOfOthers) {
    auto* edit = Make<TEdit>();
    auto* label = Make<TLabel>();
    EXPECT_EQ(edit->Color(), clWindow);
    EXPECT_EQ(label->Color(), clBtnFace);
    edit->SetColor(clRed);
    EXPECT_EQ(edit->Widget()->palette().color(QPalette::Base), QColor(255, 0, 0));
    label->SetColor(RGB(0x10, 0x20, 0x30));
    EXPECT_EQ(label->Widget()->palette().color(QPalette::Window), QColor(0x10, 0x20, 0x30));
    EXPECT_TRUE(label->Widget()->autoFillBackground());
    label->Font()->SetColor(clBlue);
    EXPECT_EQ(label->Widget()->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    EXPECT_FALSE(label->ParentFont());
}

} // namespace

namespace {

TEST_F(FormFixture, ItemListsSortKeepObjectsAndDelete) {
    auto* box = Make<TComboBox>();
    box->Sorted = true;
    int a = 1, b = 2, c = 3;
    box->Items().AddObject(u"beta", &b);
    box->Items().AddObject(u"Alpha", &a);
    box->Items().AddObject(u"gamma", &c);
    ASSERT_EQ(box->Items().Count(), 3);
    EXPECT_EQ(box->Items()[0], u"Alpha");
    EXPECT_EQ(box->Items()[2], u"gamma");
    EXPECT_EQ(box->Items().GetObject(1), &b);
    EXPECT_EQ(box->Items().IndexOf(u"GAMMA"), 2);
    box->Items().Delete(0);
    EXPECT_EQ(box->Items()[0], u"beta");
    EXPECT_THROW(box->Items().Get(5), EStringListError);
    box->SetStyle(csDropDownList);
    box->Items().Clear();
    box->Items().Add(u"first");
    EXPECT_EQ(box->ItemIndex(), -1); // the first item does not select itself
}

} // namespace

namespace {

TEST_F(FormFixture, AcceleratorsOfEachControlKind) {
    auto* check = Make<TCheckBox>();
    check->SetCaption(u"&Wrap");
    auto* radio = Make<TRadioButton>();
    radio->SetCaption(u"&Left");
    auto* group = Make<TGroupBox>();
    group->SetCaption(u"&Options");
    auto* inGroup = new TEdit(form);
    inGroup->SetParent(group);
    auto* sizeEdit = Make<TEdit>();
    auto* text = Make<TStaticText>();
    text->SetCaption(u"&Size");
    text->FocusControl = sizeEdit;
    auto* omega = Make<TButton>();
    omega->SetCaption(u"&Ωmega");
    int omegaClicks = 0;
    omega->OnClick = [&](TObject*) { ++omegaClicks; };
    form->Show();

    auto alt = [&](WideChar c) { return form->Perform(CM_DIALOGCHAR, c); };
    EXPECT_EQ(alt(u'w'), 1);
    EXPECT_TRUE(check->Checked());
    EXPECT_TRUE(check->Focused());
    EXPECT_EQ(alt(u'L'), 1);
    EXPECT_TRUE(radio->Checked());
    EXPECT_EQ(alt(u'o'), 1);
    EXPECT_TRUE(inGroup->Focused());
    EXPECT_EQ(alt(u's'), 1);
    EXPECT_TRUE(sizeEdit->Focused());
    EXPECT_EQ(alt(u'ω'), 1); // the hot key compares without regard to case, beyond ASCII
    EXPECT_EQ(omegaClicks, 1);
    EXPECT_EQ(alt(u'z'), 0);
}

} // namespace

namespace {

TEST_F(FormFixture, StyleChangesKeepItemsIndexAndTextAndPasswordCharsStayWide) {
    auto* box = Make<TComboBox>();
    for (const char16_t* s : {u"Ω one", u"two", u"three"})
        box->Items().Add(s);
    box->SetItemIndex(0);
    EXPECT_EQ(box->Text(), u"Ω one");
    box->SetStyle(csDropDownList);
    EXPECT_EQ(box->Items().Count(), 3);
    EXPECT_EQ(box->ItemIndex(), 0);
    EXPECT_EQ(box->Text(), u"Ω one");
    box->SetStyle(csDropDown);
    EXPECT_EQ(box->ItemIndex(), 0);
    EXPECT_EQ(box->Text(), u"Ω one");

    auto* edit = Make<TEdit>();
    edit->SetPasswordChar(0x25CF); // ●
    edit->SetText(u"secret");
    EXPECT_EQ(edit->PasswordChar(), WideChar(0x25CF));
    EXPECT_EQ(static_cast<QLineEdit*>(edit->Widget())->echoMode(), QLineEdit::Password);
    EXPECT_EQ(static_cast<QLineEdit*>(edit->Widget())->displayText(), QString(6, QChar(0x25CF)));
    EXPECT_EQ(edit->Text(), u"secret");
}

} // namespace
