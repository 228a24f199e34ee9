// The codec against an independent oracle: glibc's iconv writes files in every encoding it
// shares with us, the loader must read them to the same text; files written by the saver,
// converted back by iconv, must give the original text. Texts are generated at random.
#include "text/TextFiles.h"

#include "codec_testutil.h"

#include <cerrno>
#include <cstring>
#include <iconv.h>
#include <random>

namespace {

// Converts bytes between two iconv charsets; fails the test when iconv refuses.
std::string Iconv(const std::string& from, const std::string& to, const std::string& bytes) {
    iconv_t cd = iconv_open(to.c_str(), from.c_str());
    EXPECT_NE(cd, reinterpret_cast<iconv_t>(-1)) << from << " -> " << to;
    if (cd == reinterpret_cast<iconv_t>(-1)) return {};
    std::string out(bytes.size() * 4 + 16, '\0');
    char* in = const_cast<char*>(bytes.data());
    size_t inLeft = bytes.size();
    char* o = out.data();
    size_t outLeft = out.size();
    size_t rc = iconv(cd, &in, &inLeft, &o, &outLeft);
    EXPECT_NE(rc, static_cast<size_t>(-1)) << from << " -> " << to << ": " << std::strerror(errno);
    iconv(cd, nullptr, nullptr, &o, &outLeft); // flush a pending UTF-7 run
    iconv_close(cd);
    out.resize(out.size() - outLeft);
    return out;
}

std::string FromWide(const WideString& text, const std::string& charset) {
    return Iconv("UTF-16LE", charset,
                 std::string(reinterpret_cast<const char*>(text.data()), text.size() * 2));
}

WideString ToWide(const std::string& bytes, const std::string& charset) {
    std::string units = Iconv(charset, "UTF-16LE", bytes);
    return WideString(reinterpret_cast<const char16_t*>(units.data()), units.size() / 2);
}

struct Code {
    TextEncodingCode code;
    const char* charset;
    const char* mark; // what precedes the iconv bytes in a file of this code
    std::size_t markLength;
};

const Code Codes[] = {
    {teANSI, "WINDOWS-1252", "", 0},
    {teUTF16LE, "UTF-16LE", "\xFF\xFE", 2},
    {teUTF16BE, "UTF-16BE", "\xFE\xFF", 2},
    {teUTF7, "UTF-7", "", 0},
    {teUTF7Ansi, "UTF-7", "", 0},
    {teUTF8, "UTF-8", "", 0},
    {teUTF8BOM, "UTF-8", "\xEF\xBB\xBF", 3},
    {teUTF32LE, "UTF-32LE", "\xFF\xFE\0\0", 4},
    {teUTF32BE, "UTF-32BE", "\0\0\xFE\xFF", 4},
};

// A random text of 1 to 12 or to 300 characters from a pool of every kind of character; the ANSI
// pool holds only characters of Windows-1252 that iconv maps too.
WideString RandomText(std::mt19937& random, bool ansi) {
    static const WideString pool = U16(
        "aZ09 +-/=.~\t\r\n\xC2\xA0\xC3\xA4\xC3\x9F\xC3\xBF\xC3\xBE\xC2\xA9\xE2\x82\xAC\xE2\x80\x9A"
        "\xC5\xB8\xC6\x92\xCE\xB1\xD0\x96\xE6\x97\xA5\xEA\xB0\x80\xEF\xBF\xBD\xE2\x80\xA8\xC2\x85");
    static const WideString astral[] = {u"\U00010000", u"\U0001F600", u"\U0010FFFF"};
    WideString text = ansi ? u"a" : u"";
    const int n = 1 + static_cast<int>(random() % (random() % 2 ? 12 : 300));
    for (int i = 0; i < n; ++i) {
        const unsigned pick = random() % 100;
        if (!ansi && pick < 8) {
            text += astral[random() % 3];
        } else if (pick < 11 && !text.empty()) {
            text += u'\0';
        } else {
            WideChar c;
            do
                c = pool[random() % pool.size()];
            while (ansi && (c >= 0x100 && c != 0x20AC && c != 0x201A && c != 0x178 && c != 0x192));
            if (ansi && c == 0x85) c = 0x20AC; // U+0085 has no place in Windows-1252
            text += c;
        }
    }
    // An ANSI text must not read as UTF-8: a lone E4 between letters sees to that.
    if (ansi) text += u"\u00E4a";
    if (text.size() < 2) text += u"x";
    return text;
}

// Random texts one after another up to several megabytes: files of many pieces.
WideString LongRandomText(std::mt19937& random, bool ansi) {
    WideString text;
    while (text.size() < (std::size_t(5) << 19))
        text += RandomText(random, ansi);
    return text;
}

} // namespace

using IconvOracle = CodecTempDir;

TEST_F(IconvOracle, FilesWrittenByIconvLoadToTheSameText) {
    std::mt19937 random(2026);
    const std::string path = Path("in");
    for (int round = 0; round < 50; ++round) {
        for (const Code& c : Codes) {
            if (c.code == teUTF7Ansi) continue; // never detected: read as the ASCII it is
            const WideString text = RandomText(random, c.code == teANSI);
            std::string bytes = std::string(c.mark, c.markLength);
            // UTF-7's mark is U+FEFF encoded with the text ("+/v8", "+/v9", "+/v+", "+/v/").
            bytes += FromWide(c.code == teUTF7 ? u"\uFEFF" + text : text, c.charset);
            WriteBytes(path, bytes);
            WideString loaded;
            TextEncodingCode detected = -2;
            LoadTextFileW(U16(path), loaded, &detected);
            ASSERT_EQ(detected, c.code) << testing::PrintToString(bytes);
            ASSERT_EQ(loaded, text) << c.charset << " " << testing::PrintToString(bytes);
        }
    }
}

TEST_F(IconvOracle, FilesWrittenBySaveTextFileConvertBackToTheOriginal) {
    std::mt19937 random(1952);
    const std::string path = Path("out");
    for (int round = 0; round < 50; ++round) {
        for (const Code& c : Codes) {
            const WideString text = RandomText(random, c.code == teANSI);
            const bool withBOM = round % 2 == 0;
            ASSERT_TRUE(SaveTextFileW(text, U16(path), c.code, withBOM));
            std::string bytes = ReadBytes(path);
            const bool marked = c.code == teUTF8BOM || (withBOM && c.markLength > 0);
            if (marked) {
                ASSERT_EQ(bytes.substr(0, c.markLength), std::string(c.mark, c.markLength));
                bytes.erase(0, c.markLength);
            }
            WideString back = ToWide(bytes, c.charset);
            if (c.code == teUTF7 && withBOM) {
                ASSERT_EQ(bytes.substr(0, 3), "+/v");
                ASSERT_FALSE(back.empty());
                ASSERT_EQ(back[0], 0xFEFF);
                back.erase(0, 1);
            }
            ASSERT_EQ(back, text) << c.charset << " " << testing::PrintToString(bytes);
        }
    }
}

// A Windows-1252 file of several megabytes is decoded a piece at a time: the text is the
// same across the pieces' borders, wherever a character above 0x7F falls.
TEST_F(IconvOracle, LongAnsiFilesLoadToTheSameText) {
    std::mt19937 random(1252);
    const std::string path = Path("long");
    const WideString text = LongRandomText(random, true);
    WriteBytes(path, FromWide(text, "WINDOWS-1252"));
    WideString loaded;
    TextEncodingCode detected = -2;
    LoadTextFileW(U16(path), loaded, &detected);
    EXPECT_EQ(detected, teANSI);
    ASSERT_EQ(loaded.size(), text.size());
    EXPECT_TRUE(loaded == text);
}

// Long texts are encoded a piece at a time into one buffer: UTF-8 (a surrogate pair may
// fall on a piece's border), Windows-1252 and marked UTF-7 (a run of base64 may go on
// across a border) files of many pieces convert back to the text.
TEST_F(IconvOracle, LongTextsSavedInPiecesConvertBackToTheOriginal) {
    std::mt19937 random(65001);
    const std::string path = Path("long-out");
    for (const Code& c : {Codes[0], Codes[3], Codes[5]}) {
        WideString text;
        while (text.size() < 200000) {
            text += RandomText(random, c.code == teANSI);
            // A pair across the next border of 4 Ki units (and so of every larger power
            // of two).
            const std::size_t border = (text.size() / 4096 + 1) * 4096;
            if (c.code == teUTF8 && border - text.size() < 300) {
                text.append(border - 1 - text.size(), u'x');
                text += u"\U0001F600";
            }
        }
        const bool marked = c.code == teUTF7;
        ASSERT_TRUE(SaveTextFileW(text, U16(path), c.code, marked));
        WideString back = ToWide(ReadBytes(path), c.charset);
        if (marked) {
            ASSERT_FALSE(back.empty());
            EXPECT_EQ(back[0], 0xFEFF);
            back.erase(0, 1);
        }
        EXPECT_TRUE(back == text) << c.charset;
    }
}

// A marked UTF-8 file of several megabytes is decoded a piece at a time; a stray byte
// anywhere (here at the very end) still gives the lenient reading of the whole file.
TEST_F(IconvOracle, LongMarkedUtf8FilesLoadToTheSameText) {
    std::mt19937 random(65002);
    const std::string path = Path("long-marked");
    const WideString text = LongRandomText(random, false);
    const std::string bytes = "\xEF\xBB\xBF" + FromWide(text, "UTF-8");
    for (const bool stray : {false, true}) {
        WriteBytes(path, stray ? bytes + "\xFF" : bytes);
        WideString loaded;
        TextEncodingCode detected = -2;
        LoadTextFileW(U16(path), loaded, &detected);
        EXPECT_EQ(detected, teUTF8BOM);
        EXPECT_TRUE(loaded == (stray ? text + u"\u00FF" : text)) << stray;
    }
}
