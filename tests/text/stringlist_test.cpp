#include "text/TextEncodings.h"
#include "text/TextFiles.h"
#include "text/UCodeClasses.h"
#include "text/UCodeSysUtils.h"

#include "codec_testutil.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

TWideStrArray Lines(const TUCodeStrings& list) {
    TWideStrArray out;
    for (int i = 0; i < list.Count(); ++i)
        out.push_back(list.Get(i));
    return out;
}

std::string ErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const EStringListError& e) {
        return e.Message();
    }
    return "";
}

} // namespace

TEST(StringListText, SplittingAndJoining) {
    const struct {
        WideString text;
        TWideStrArray lines;
    } cases[] = {
        {u"", {}},
        {u"a", {u"a"}},
        {u"a\r\n", {u"a"}},
        {u"a\r", {u"a"}},
        {u"a\n", {u"a"}},
        {u"\r\n", {u""}},
        {u"a\r\n\r\n", {u"a", u""}},
        {u"a\rb\nc\r\nd", {u"a", u"b", u"c", u"d"}},
        {u"a\n\rb", {u"a", u"", u"b"}}, // LF CR is two breaks
        {u"a\r\r\nb", {u"a", u"", u"b"}},
        {WideString(u"a\0b\r\n\0", 6), {WideString(u"a\0b", 3), WideString(1, u'\0')}},
        {u"x\u2028y", {u"x\u2028y"}}, // only CR and LF break lines
    };
    for (const auto& c : cases) {
        TUCodeStringList list;
        list.SetText(c.text);
        EXPECT_EQ(Lines(list), c.lines) << U8(c.text);
        WideString joined;
        for (const auto& line : c.lines)
            joined += line + u"\r\n";
        EXPECT_EQ(list.Text(), joined);
    }
}

TEST(StringList, IndexErrorsAndSortedRestrictions) {
    TUCodeStringList list;
    list.Add(u"a");
    list.Add(u"b");
    EXPECT_EQ(ErrorOf([&] { list.Get(5); }), "List index out of bounds (5)");
    EXPECT_EQ(ErrorOf([&] { list.Get(-1); }), "List index out of bounds (-1)");
    EXPECT_EQ(ErrorOf([&] { list.Put(2, u"x"); }), "List index out of bounds (2)");
    EXPECT_EQ(ErrorOf([&] { list.Delete(2); }), "List index out of bounds (2)");
    EXPECT_EQ(ErrorOf([&] { list.Exchange(0, 2); }), "List index out of bounds (2)");
    EXPECT_EQ(ErrorOf([&] { list.GetObject(3); }), "List index out of bounds (3)");
    EXPECT_EQ(ErrorOf([&] { list.Insert(3, u"x"); }), "List index out of bounds (3)");
    list.Insert(2, u"c"); // at the end is allowed
    EXPECT_EQ(ErrorOf([&] { list.Move(0, 3); }), "List index out of bounds (3)");
    EXPECT_EQ(Lines(list), (TWideStrArray{u"a", u"b", u"c"}));

    list.SetSorted(true);
    EXPECT_EQ(ErrorOf([&] { list.Put(0, u"x"); }), "Operation not allowed on sorted list");
    EXPECT_EQ(ErrorOf([&] { list.Insert(0, u"x"); }), "Operation not allowed on sorted list");
    // Moving in a sorted list is refused before the item is taken out.
    EXPECT_EQ(ErrorOf([&] { list.Move(0, 2); }), "Operation not allowed on sorted list");
    EXPECT_EQ(Lines(list), (TWideStrArray{u"a", u"b", u"c"}));
}

TEST(StringList, SortedDuplicatesRules) {
    TUCodeStringList list;
    list.SetSorted(true);
    for (const char16_t* s : {u"pear", u"Apple", u"fig", u"apple"})
        list.Add(s);
    // Case-insensitive by default: "apple" equals "Apple" and is ignored.
    EXPECT_EQ(Lines(list), (TWideStrArray{u"Apple", u"fig", u"pear"}));
    EXPECT_EQ(list.Add(u"FIG"), 1);
    EXPECT_EQ(list.Count(), 3);

    list.SetDuplicates(dupError);
    EXPECT_EQ(ErrorOf([&] { list.Add(u"PEAR"); }), "String list does not allow duplicates");
    EXPECT_EQ(list.Count(), 3);

    list.SetDuplicates(dupAccept);
    list.Add(u"fig");
    list.Add(u"Fig");
    int index = -1;
    EXPECT_TRUE(list.Find(u"fIG", index));
    EXPECT_EQ(index, 1); // the first of the equal items
    EXPECT_EQ(list.IndexOf(u"PEAR"), 4);
    EXPECT_EQ(list.IndexOf(u"kiwi"), -1);
    EXPECT_FALSE(list.Find(u"kiwi", index));
    EXPECT_EQ(index, 4);

    TUCodeStringList cs;
    cs.SetCaseSensitive(true);
    cs.SetSorted(true);
    for (const char16_t* s : {u"b", u"B", u"a", u"A", u"a", u"\u00E4", u"\u00C4"})
        cs.Add(s);
    EXPECT_EQ(Lines(cs), (TWideStrArray{u"a", u"A", u"b", u"B", u"\u00E4", u"\u00C4"}));
    EXPECT_EQ(cs.IndexOf(u"A"), 1);
    // Turning case sensitivity off keeps the list sorted under its new comparison.
    cs.SetCaseSensitive(false);
    for (int i = 1; i < cs.Count(); ++i)
        EXPECT_LE(cs.CompareStrings(cs.Get(i - 1), cs.Get(i)), 0);
    EXPECT_GE(cs.IndexOf(u"\u00E4"), 4);
}

TEST(StringList, FindAgreesWithALinearModelOnRandomLists) {
    std::mt19937 random(7);
    const char16_t alphabet[] = u"aAbB\u00E4\u00C4=";
    auto word = [&] {
        WideString w;
        int n = static_cast<int>(random() % 4);
        for (int i = 0; i < n; ++i)
            w += alphabet[random() % 7];
        return w;
    };
    for (int round = 0; round < 300; ++round) {
        TUCodeStringList list;
        list.SetCaseSensitive(round % 2 == 0);
        list.SetDuplicates(static_cast<TDuplicates>(round % 2 == 0 ? dupAccept : dupIgnore));
        list.SetSorted(true);
        for (int i = 0; i < 20; ++i)
            list.Add(word());
        for (int i = 1; i < list.Count(); ++i)
            ASSERT_LE(list.CompareStrings(list.Get(i - 1), list.Get(i)), 0);
        for (int probe = 0; probe < 20; ++probe) {
            WideString s = word();
            int expected = -1;
            for (int i = 0; i < list.Count() && expected < 0; ++i)
                if (list.CompareStrings(list.Get(i), s) == 0) expected = i;
            EXPECT_EQ(list.IndexOf(s), expected) << U8(s);
            // IndexOfName on the sorted list agrees with the linear search of an unsorted copy.
            TUCodeStringList copy;
            copy.SetCaseSensitive(list.CaseSensitive());
            copy.Assign(list);
            // (A name never holds the separator.)
            if (s.find(u'=') == WideString::npos) {
                EXPECT_EQ(list.IndexOfName(s), copy.IndexOfName(s)) << U8(s);
            }
        }
    }
}

TEST(StringList, SortAndCustomSort) {
    TUCodeStringList list;
    std::mt19937 random(3);
    TWideStrArray model;
    for (int i = 0; i < 500; ++i) {
        WideString w = U16(std::to_string(random() % 1000));
        list.Add(w);
        model.push_back(w);
    }
    list.CustomSort([](TUCodeStringList& l, int a, int b) {
        int x = std::stoi(U8(l.Get(a))), y = std::stoi(U8(l.Get(b)));
        return x < y ? -1 : x > y ? 1 : 0;
    });
    std::sort(model.begin(), model.end(), [](const WideString& a, const WideString& b) {
        return std::stoi(U8(a)) < std::stoi(U8(b));
    });
    EXPECT_EQ(Lines(list), model);

    // Sort orders by the list's comparison; a sorted list is left alone by CustomSort.
    list.Sort();
    for (int i = 1; i < list.Count(); ++i)
        EXPECT_LE(list.CompareStrings(list.Get(i - 1), list.Get(i)), 0);
    list.SetSorted(true);
    TWideStrArray before = Lines(list);
    list.CustomSort([](TUCodeStringList&, int a, int b) { return b - a; });
    EXPECT_EQ(Lines(list), before);
}

TEST(StringList, ObjectsNamesValuesAndMoves) {
    int one = 1, two = 2;
    TUCodeStringList list;
    list.AddObject(u"a=1", &one);
    list.AddObject(u"B=2", &two);
    list.Add(u"plain");
    list.Add(u"c=");
    EXPECT_EQ(list.GetObject(1), &two);
    EXPECT_EQ(list.IndexOfObject(&two), 1);
    EXPECT_EQ(list.IndexOfName(u"b"), 1);
    EXPECT_EQ(list.IndexOfName(u"plain"), -1);
    EXPECT_EQ(list.Names(0), u"a");
    EXPECT_EQ(list.Names(2), u"");
    EXPECT_EQ(list.Values(u"A"), u"1");
    EXPECT_EQ(list.Values(u"c"), u"");
    EXPECT_EQ(list.ValueFromIndex(1), u"2");
    list.SetValue(u"a", u"x=y");
    list.SetValue(u"d", u"4");
    list.SetValue(u"B", u"");
    EXPECT_EQ(Lines(list), (TWideStrArray{u"a=x=y", u"plain", u"c=", u"d=4"}));
    EXPECT_EQ(list.GetObject(0), &one);

    list.Move(0, 3);
    EXPECT_EQ(Lines(list), (TWideStrArray{u"plain", u"c=", u"d=4", u"a=x=y"}));
    EXPECT_EQ(list.GetObject(3), &one);
    list.Exchange(0, 3);
    EXPECT_EQ(list.Get(0), u"a=x=y");
    EXPECT_EQ(list.GetObject(0), &one);

    TUCodeStringList sorted;
    sorted.SetSorted(true);
    sorted.AddStrings(list);
    EXPECT_EQ(sorted.IndexOfName(u"D"), 2);
    EXPECT_EQ(sorted.Values(u"a"), u"x=y");
}

TEST(StringList, ChangeEventsComeInPairsAndUpdatesBatchThem) {
    TUCodeStringList list;
    std::string log;
    list.OnChanging = [&](TUCodeStringList&) { log += "<"; };
    list.OnChange = [&](TUCodeStringList&) { log += ">"; };
    list.Add(u"a");
    list.Put(0, u"b");
    list.Delete(0);
    list.Clear(); // empty: no change
    EXPECT_EQ(log, "<><><>");
    log.clear();
    list.SetText(u"1\r\n2\r\n3");
    EXPECT_EQ(log, "<>");
    log.clear();
    list.BeginUpdate();
    list.Add(u"x");
    list.BeginUpdate();
    list.Delete(0);
    list.EndUpdate();
    EXPECT_EQ(log, "<");
    list.EndUpdate();
    EXPECT_EQ(log, "<>");
    EXPECT_EQ(list.UpdateCount(), 0);
}

TEST(StringList, AnsiAdapterConvertsEachLine) {
    TUCodeStringList list;
    list.Add(u"\u00E4\u20AC");
    list.Add(u"\u03A9");
    TAnsiStrings& ansi = list.AnsiStrings();
    EXPECT_EQ(ansi.Count(), 2);
    EXPECT_EQ(ansi.Get(0), "\xE4\x80");
    EXPECT_EQ(ansi.Get(1), "?");
    ansi.Put(1, "\x9F");
    ansi.Add("z");
    EXPECT_EQ(Lines(list), (TWideStrArray{u"\u00E4\u20AC", u"\u0178", u"z"}));
    EXPECT_EQ(ansi.Text(), "\xE4\x80\r\n\x9F\r\nz\r\n");
    ansi.SetText("p\rq");
    EXPECT_EQ(Lines(list), (TWideStrArray{u"p", u"q"}));

    TUCodeStringList other;
    other.Add(u"\u00FC");
    list.SetAnsiStrings(other.AnsiStrings());
    EXPECT_EQ(Lines(list), (TWideStrArray{u"\u00FC"}));

    // A sorted list takes 8-bit lines in its own order.
    TUCodeStringList sorted;
    sorted.SetSorted(true);
    sorted.AnsiStrings().Add("b");
    sorted.AnsiStrings().Add("\xC4");
    sorted.AnsiStrings().Add("a");
    sorted.SetAnsiStrings(sorted.AnsiStrings());
    EXPECT_EQ(Lines(sorted), (TWideStrArray{u"a", u"b", u"\u00C4"}));
    list.AnsiStrings().AddStrings(sorted.AnsiStrings());
    EXPECT_EQ(Lines(list), (TWideStrArray{u"\u00FC", u"a", u"b", u"\u00C4"}));
    list.SetText(u"\u00FC");

    TAnsiStringsForWideStringsAdapter utf8(&list, 65001);
    EXPECT_EQ(utf8.Get(0), "\xC3\xBC");
    TMemoryStream stream;
    utf8.SaveToStreamEx(stream, 65000);
    EXPECT_EQ(stream.Bytes(), "+APw\r\n");
    stream.SetPosition(0);
    utf8.LoadFromStreamEx(stream, 65000);
    EXPECT_EQ(Lines(list), (TWideStrArray{u"\u00FC"}));
    TMemoryStream marked;
    marked.Write("\xEF\xBB\xBF"
                 "a",
                 4);
    marked.SetPosition(0);
    utf8.LoadFromStreamEx(marked, 65001); // no mark is looked for
    EXPECT_EQ(list.Get(0), u"\uFEFFa");
}

using StringListFiles = CodecTempDir;

TEST_F(StringListFiles, SavingWritesUTF16LEWithAMarkAndLoadingReadsTheMark) {
    TUCodeStringList list;
    list.Add(u"a");
    list.Add(u"b");
    list.SaveToFile(U16(Path("list.txt")));
    EXPECT_EQ(ReadBytes(Path("list.txt")), std::string("\xFF\xFE"
                                                       "a\0\r\0\n\0b\0\r\0\n\0",
                                                       14));

    const struct {
        std::string bytes;
        TUCodeStreamEncoding encoding;
        TWideStrArray lines;
    } cases[] = {
        {"\xEF\xBB\xBF"
         "a",
         seUTF8,
         {u"a"}},
        {"\xEF\xBB\xBF\xC3\xA4\r\nx\xE4", seUTF8, {u"\u00E4", u"x\u00E4"}},
        {"a\xE4\r\nb", seAnsi, {u"a\u00E4", u"b"}},
        {"\xC3\xA4", seAnsi, {u"\u00C3\u00A4"}}, // no mark: 8-bit text
        {std::string("\xFF\xFE"
                     "a\0\n\0",
                     6),
         seUTF16LE,
         {u"a"}},
        {std::string("\xFE\xFF\0a\0\r\0b", 8), seUTF16BE, {u"a", u"b"}},
        {"", seAnsi, {}},
        {"\xFF", seAnsi, {u"\u00FF"}},
    };
    for (const auto& c : cases) {
        WriteBytes(Path("in.txt"), c.bytes);
        TUCodeStringList loaded;
        loaded.LoadFromFile(U16(Path("in.txt")));
        EXPECT_EQ(loaded.LastEncoding, c.encoding) << testing::PrintToString(c.bytes);
        EXPECT_EQ(Lines(loaded), c.lines) << testing::PrintToString(c.bytes);
    }

    // Without mark detection the bytes are UTF-16 LE, whatever they begin with.
    TMemoryStream stream;
    stream.Write("\xEF\xBB\xBF"
                 "a",
                 4);
    stream.SetPosition(0);
    TUCodeStringList raw;
    raw.LoadFromStream(stream, false);
    EXPECT_EQ(Lines(raw), (TWideStrArray{u"\uBBEF\u61BF"}));
    EXPECT_EQ(raw.LastEncoding, seUTF16LE);
}

TEST_F(StringListFiles, FileStreamModesAndErrors) {
    const std::string path = Path("s.bin");
    {
        TUCodeFileStream create(U16(path), fmCreate);
        create.WriteBuffer("hello", 5);
        EXPECT_EQ(create.Size(), 5);
        create.SetPosition(1);
        char c[2];
        create.ReadBuffer(c, 2);
        EXPECT_EQ(std::string(c, 2), "el");
    }
    {
        TUCodeFileStream read(U16(path), fmOpenRead | fmShareDenyNone);
        EXPECT_EQ(ReadStreamRest(read), "hello");
        EXPECT_EQ(read.Write("x", 1), 0u); // read-only access
        char c[9];
        read.SetPosition(0);
        EXPECT_THROW(read.ReadBuffer(c, 9), EReadError);
    }
    {
        TUCodeFileStream write(U16(path), fmOpenWrite | fmShareExclusive);
        write.Seek(0, soEnd);
        write.WriteBuffer("!", 1);
    }
    EXPECT_EQ(ReadBytes(path), "hello!");
    {
        TUCodeFileStream create(U16(path), fmCreate); // empties an existing file
    }
    EXPECT_EQ(ReadBytes(path), "");

    try {
        TUCodeFileStream missing(U16(Path("no/such")), fmOpenRead);
        FAIL();
    } catch (const EFOpenError& e) {
        EXPECT_EQ(e.Message(),
                  "Cannot open file \"" + Path("no/such") + "\". No such file or directory");
    }
    try {
        TUCodeFileStream bad(U16(Path("no/such")), fmCreate);
        FAIL();
    } catch (const EFCreateError& e) {
        EXPECT_EQ(e.Message(),
                  "Cannot create file \"" + Path("no/such") + "\". No such file or directory");
    }
    EXPECT_THROW(TUCodeFileStream(U16(Dir.string()), fmOpenRead), EFOpenError);

    // Saving a list where it cannot be written raises the create error and keeps the old file.
    WriteBytes(path, "old");
    TUCodeStringList list;
    list.Add(u"new");
    EXPECT_THROW(list.SaveToFile(U16(path + "/x")), EFCreateError);
    EXPECT_EQ(ReadBytes(path), "old");
}

TEST_F(StringListFiles, ANamedPipeIsRefusedInsteadOfWaitingForAWriter) {
    // A folder being converted may hold a named pipe; opening one for reading would wait
    // until some other program writes to it, and an unattended run would hang there.
    const std::string fifo = Path("pipe");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    // Should the open wait after all, a writer comes along after two seconds and ends it.
    std::atomic<bool> done{false};
    std::thread writer([&] {
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(2);
        while (!done && std::chrono::steady_clock::now() < until)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        while (!done) {
            int fd = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0) ::close(fd);
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    });
    const auto start = std::chrono::steady_clock::now();
    for (uint16_t mode : {uint16_t(fmOpenRead | fmShareDenyNone), fmCreate}) {
        try {
            TUCodeFileStream stream(U16(fifo), mode);
            ADD_FAILURE() << "opened " << mode;
        } catch (const EStreamError& e) {
            EXPECT_NE(e.Message().find(fifo), std::string::npos);
        }
    }
    EXPECT_THROW(DetectFileEncoding(U16(fifo)), EFOpenError);
    WideString text;
    EXPECT_THROW(LoadTextFileW(U16(fifo), text), EFOpenError);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    done = true;
    writer.join();
}
