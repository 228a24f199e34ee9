// The change of encoding: the files of the working window's list rewritten in another
// encoding, never losing a file's text, with the pumps, the stop and the re-entry guarded.
#include <QCoreApplication>
#include <QEvent>
#include <memory>

#include "dialogs/DialogTestSupport.h"
#include "dialogs/FakeWorkingWindow.h"
#include "dialogs/u_changecoding.h"
#include "platform/ShellServices.h"
#include "support/ModalInterceptor.h"
#include "support/TempFolder.h"
#include "text/TextFiles.h"

namespace {

// "f<i>.txt".
std::string FileName(int Index) {
    std::string name = "f";
    name += std::to_string(Index);
    name += ".txt";
    return name;
}

struct FreeForm {
    void operator()(TForm* f) const { f->Free(); }
};
template <class T> using Owned = std::unique_ptr<T, FreeForm>;

// Runs Action at every pump of the message queue while it lives: a posted event that posts
// itself again.
class AtEveryPump : public QObject {
public:
    explicit AtEveryPump(std::function<void()> Action) : FAction(std::move(Action)) { Post(); }
    ~AtEveryPump() override { QCoreApplication::removePostedEvents(this); }

protected:
    void customEvent(QEvent*) override {
        FAction();
        Post();
    }

private:
    void Post() { QCoreApplication::postEvent(this, new QEvent(QEvent::User)); }
    std::function<void()> FAction;
};

class ChangeCoding : public ::testing::Test {
protected:
    void SetUp() override { window->Show(); }

    void AddFiles(int Count, const std::string& Content) {
        for (int i = 0; i < Count; ++i)
            AddFile(FileName(i), Content);
    }
    void AddFile(const std::string& Name, const std::string& Bytes) {
        folder.Write(Name, Bytes);
        working.AddRow(U16(Name), folder.W(Name));
        working.list.Items()[working.list.Items().Count() - 1]->SubItems().Put(2, u"UTF-8");
    }
    void Start(const char16_t* Item, bool Bom) {
        window->cb->SetItemIndex(window->cb->Items().IndexOf(Item));
        window->jazubom->SetChecked(Bom);
        ClickControl(window->Button2);
    }
    WideString Coding(int Row) { return working.list.Items()[Row]->SubItems().Get(2); }
    WideString ReadBack(const std::string& Name) {
        WideString text;
        LoadTextFileW(folder.W(Name), text);
        return text;
    }

    ScopedLanguage english{u"en"};
    TempFolder folder;
    FakeWorkingWindow working;
    Owned<Tchangecoding> window{new Tchangecoding(nullptr)};
};

TEST_F(ChangeCoding, ThirtyFilesShowTheirProgressAtTheSparsePumps) {
    AddFiles(30, "Gr\xC3\xBC\xC3\x9F"
                 "e\r\n");
    std::vector<WideString> seen;
    {
        AtEveryPump record([&] {
            if (seen.empty() || seen.back() != window->Label1->Caption())
                seen.push_back(window->Label1->Caption());
        });
        Start(u"Unicode UTF-16 Little Endian", true);
    }
    std::vector<WideString> expected;
    for (int i = 0; i < 25; ++i)
        expected.push_back(U16(std::to_string(i)) + u"/30");
    expected.insert(expected.end(), {u"26/30", u"28/30"});
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(window->Label1->Caption(), u"Finished");
    for (int i = 0; i < 30; ++i) {
        const std::string name = FileName(i);
        EXPECT_EQ(folder.Read(name).substr(0, 2), "\xFF\xFE") << name;
        EXPECT_EQ(ReadBack(name), u"Grüße\r\n") << name;
        EXPECT_EQ(Coding(i), u"UTF-16 LE");
    }
}

TEST_F(ChangeCoding, WritesTheChosenEncodingAndMark) {
    struct Case {
        const char16_t* item;
        bool bom;
        std::string head;
        const char16_t* coding;
    };
    const Case cases[] = {
        {u"Unicode UTF-8 BOM", false, "\xEF\xBB\xBF", u"UTF-8 BOM"},
        {u"Unicode UTF-16 Big Endian", true, "\xFE\xFF", u"UTF-16 BE"},
        {u"Unicode UTF-32 Little Endian", true, std::string("\xFF\xFE\0\0", 4), u"UTF-32 LE"},
        {u"ANSI Text", true, "x\xE4", u"ANSI"},
    };
    for (const Case& c : cases) {
        working.list.Items().Clear();
        AddFile("a.txt", "x\xC3\xA4");
        Start(c.item, c.bom);
        EXPECT_EQ(folder.Read("a.txt").substr(0, c.head.size()), c.head) << U8(c.item);
        EXPECT_EQ(ReadBack("a.txt"), u"xä") << U8(c.item);
        EXPECT_EQ(Coding(0), c.coding);
    }
}

TEST_F(ChangeCoding, FilesThatWouldLoseTextStayAsTheyAre) {
    const std::string greek = "\xCE\xB1\xCE\xB2\xCE\xB3";
    AddFile("gone.txt", "abc");
    std::filesystem::remove(folder.P("gone.txt"));
    AddFile("greek.txt", greek);
    AddFile("plain.txt", "abc");
    std::vector<WideString> shown;
    ScopedModalInterceptor answer([&](TModalRequest& r) {
        shown.push_back(ShownText(r));
        return int(mrOk);
    });
    Start(u"ANSI Text", false);
    EXPECT_EQ(folder.Read("greek.txt"), greek);
    EXPECT_EQ(Coding(0), u"UTF-8");
    EXPECT_EQ(Coding(1), u"UTF-8");
    EXPECT_EQ(Coding(2), u"ANSI");
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_NE(shown[0].find(u"1 file"), WideString::npos) << U8(shown[0]);
    EXPECT_NE(shown[0].find(folder.W("greek.txt")), WideString::npos);
    EXPECT_EQ(window->Label1->Caption(), u"Finished");
    EXPECT_TRUE(window->Button2->Enabled());
}

TEST_F(ChangeCoding, CancelStopsAfterTheCurrentFileAndStartDoesNotReenter) {
    AddFiles(30, "abc");
    bool reentered = false;
    {
        AtEveryPump pump([&] {
            if (!window->Running()) return;
            const WideString before = window->Label1->Caption();
            window->Button2Click(window->Button2); // Start from inside a pump
            reentered = reentered || window->Label1->Caption() != before;
            EXPECT_FALSE(window->Button2->Enabled());
            if (before == u"4/30") ClickControl(window->Button1);
        });
        Start(u"Unicode UTF-16 Little Endian", true);
    }
    EXPECT_FALSE(reentered);
    for (int i = 0; i < 30; ++i) {
        const std::string name = FileName(i);
        EXPECT_EQ(folder.Read(name) == "abc", i >= 5) << name;
        EXPECT_EQ(Coding(i) == u"UTF-16 LE", i < 5) << name;
    }
    EXPECT_FALSE(window->Visible());
    EXPECT_TRUE(window->Button2->Enabled());
}

TEST_F(ChangeCoding, Screenshots) {
    const auto shots = SaveScreenshots(window.get(), "changecoding", [this] { window->Sprache(); });
    EXPECT_FALSE(shots.first.isNull());
    for (const char16_t* code : {u"de", u"en"}) {
        ScopedLanguage lang(code);
        window->Sprache();
        ExpectCaptionsFit(window.get(), U8(code));
    }
    // Typing into the choice is refused.
    TypeChar(window->cb, QStringLiteral("x"));
    EXPECT_EQ(window->cb->Text(), u"ANSI Text");
}

// The link to the page on encodings opens that page in the language the window shows.
TEST(ChangeCodingLink, OpensThePageInTheLanguageShown) {
    const struct {
        const char16_t* language;
        const char16_t* address;
    } cases[] = {
        {u"de", u"https://de.wikipedia.org/wiki/Zeichenkodierung"},
        {u"en", u"https://en.wikipedia.org/wiki/Character_encoding"},
    };
    Owned<Tchangecoding> window(new Tchangecoding(nullptr));
    window->Show();
    for (const auto& c : cases) {
        SCOPED_TRACE(U8(c.language));
        ScopedLanguage lang(c.language);
        window->Sprache();
        std::vector<WideString> opened;
        const TBrowserRecorder saved =
            SetBrowserRecorder([&](const WideString& a) { opened.push_back(a); });
        ClickControl(window->Label7);
        SetBrowserRecorder(saved);
        EXPECT_EQ(opened, std::vector<WideString>{c.address});
    }
}

} // namespace
