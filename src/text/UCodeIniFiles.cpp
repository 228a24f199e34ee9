#include "text/UCodeIniFiles.h"

#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>

#include "text/EightBitUtils.h"
#include "text/ProfileFile.h"
#include "text/UCodeClasses.h"
#include "text/WideStrUtils.h"

namespace {

constexpr int64_t kMsPerDay = 86400000;
constexpr std::chrono::sys_days kDayZero{std::chrono::year{1899} / 12 / 30};

// A text of ASCII characters as 8-bit text; false when it holds anything else.
bool asciiText(WideStringView text, std::string& out) {
    out.clear();
    for (WideChar c : text) {
        if (c > 0x7F) return false;
        out += static_cast<char>(c);
    }
    return true;
}

WideString asciiWide(std::string_view text) {
    return WideString(text.begin(), text.end());
}

// A date-time as whole days from 1899-12-30 and milliseconds of the day. A value below
// zero counts its days backwards while its fraction still is the time of day, so -1.25
// is 1899-12-29 06:00.
struct DayAndTime {
    int64_t day;
    int64_t ms;
};

DayAndTime splitDateTime(TDateTime value) {
    double days = std::trunc(value);
    DayAndTime r{static_cast<int64_t>(days), std::llround(std::fabs(value - days) * kMsPerDay)};
    if (r.ms >= kMsPerDay) {
        r.ms -= kMsPerDay;
        r.day += value < 0 ? -1 : 1;
    }
    return r;
}

TDateTime composeDateTime(int64_t day, int64_t ms) {
    double time = static_cast<double>(ms) / kMsPerDay;
    return day < 0 ? day - time : day + time;
}

std::string formatDate(int64_t day) {
    std::chrono::year_month_day ymd{kDayZero + std::chrono::days{day}};
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d-%02u-%02u", int(ymd.year()), unsigned(ymd.month()),
                  unsigned(ymd.day()));
    return buf;
}

std::string formatTime(int64_t ms) {
    int64_t s = ms / 1000;
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", int(s / 3600), int(s / 60 % 60), int(s % 60));
    return buf;
}

// Reads an unsigned number of 1 to maxDigits digits at pos.
bool readNumber(std::string_view s, size_t& pos, int maxDigits, int& value) {
    size_t start = pos;
    value = 0;
    while (pos < s.size() && pos - start < size_t(maxDigits) && s[pos] >= '0' && s[pos] <= '9')
        value = value * 10 + (s[pos++] - '0');
    return pos > start;
}

bool expect(std::string_view s, size_t& pos, char c) {
    if (pos >= s.size() || s[pos] != c) return false;
    ++pos;
    return true;
}

// yyyy-mm-dd at pos.
bool parseDate(std::string_view s, size_t& pos, int64_t& day) {
    int y, m, d;
    if (!readNumber(s, pos, 4, y) || !expect(s, pos, '-') || !readNumber(s, pos, 2, m) ||
        !expect(s, pos, '-') || !readNumber(s, pos, 2, d))
        return false;
    std::chrono::year_month_day ymd{std::chrono::year{y}, std::chrono::month(unsigned(m)),
                                    std::chrono::day(unsigned(d))};
    if (y < 1 || !ymd.ok()) return false;
    day = (std::chrono::sys_days{ymd} - kDayZero).count();
    return true;
}

// hh:nn[:ss[.zzz]] at pos.
bool parseTime(std::string_view s, size_t& pos, int64_t& ms) {
    int h, n, sec = 0, milli = 0;
    if (!readNumber(s, pos, 2, h) || !expect(s, pos, ':') || !readNumber(s, pos, 2, n))
        return false;
    if (pos < s.size() && s[pos] == ':') {
        ++pos;
        if (!readNumber(s, pos, 2, sec)) return false;
        if (pos < s.size() && s[pos] == '.') {
            size_t start = ++pos;
            if (!readNumber(s, pos, 3, milli)) return false;
            for (size_t k = pos - start; k < 3; ++k)
                milli *= 10;
        }
    }
    if (h > 23 || n > 59 || sec > 59) return false;
    ms = ((int64_t(h) * 60 + n) * 60 + sec) * 1000 + milli;
    return true;
}

// Runs parse on the whole text; false when it fails or leaves characters over.
template <typename Parse> bool parseAll(WideStringView text, Parse parse) {
    std::string s;
    if (!asciiText(WideTrim(text), s)) return false;
    size_t pos = 0;
    return parse(s, pos) && pos == s.size();
}

int hexValue(WideChar c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    return -1;
}

// Runs body between BeginUpdate and EndUpdate of a list.
template <typename Body> void updateList(TUCodeStrings& Strings, Body body) {
    struct Guard {
        TUCodeStrings& list;
        ~Guard() { list.EndUpdate(); }
    } guard{Strings};
    Strings.BeginUpdate();
    body();
}

void fillList(TUCodeStrings& Strings, const TWideStrArray& lines) {
    updateList(Strings, [&] {
        Strings.Clear();
        for (const WideString& line : lines)
            Strings.Add(line);
    });
}

// A value read with a conversion; Default when the conversion fails.
double readConverted(TUCodeCustomIniFile& ini, WideStringView Section, WideStringView Ident,
                     double Default, bool (*convert)(WideStringView, double&)) {
    double value;
    return convert(ini.ReadString(Section, Ident, u""), value) ? value : Default;
}

} // namespace

// --- Text forms ----------------------------------------------------------------------

WideString IniDateToStr(TDateTime Value) {
    return asciiWide(formatDate(splitDateTime(Value).day));
}

WideString IniTimeToStr(TDateTime Value) {
    return asciiWide(formatTime(splitDateTime(Value).ms));
}

WideString IniDateTimeToStr(TDateTime Value) {
    DayAndTime dt = splitDateTime(Value);
    return asciiWide(formatDate(dt.day) + ' ' + formatTime(dt.ms));
}

WideString IniFloatToStr(double Value) {
    char buf[64];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, Value);
    return asciiWide(std::string_view(buf, ec == std::errc() ? end - buf : 0));
}

bool IniTryStrToDate(WideStringView Text, TDateTime& Value) {
    int64_t day;
    if (!parseAll(Text, [&](std::string_view s, size_t& pos) { return parseDate(s, pos, day); }))
        return false;
    Value = composeDateTime(day, 0);
    return true;
}

bool IniTryStrToTime(WideStringView Text, TDateTime& Value) {
    int64_t ms;
    if (!parseAll(Text, [&](std::string_view s, size_t& pos) { return parseTime(s, pos, ms); }))
        return false;
    Value = composeDateTime(0, ms);
    return true;
}

// A date, a time, or a date and a time separated by blanks or "T".
bool IniTryStrToDateTime(WideStringView Text, TDateTime& Value) {
    int64_t day = 0, ms = 0;
    auto parse = [&](std::string_view s, size_t& pos) {
        if (s.find('-') == std::string_view::npos) return parseTime(s, pos, ms);
        if (!parseDate(s, pos, day)) return false;
        if (pos == s.size()) return true;
        size_t gap = pos;
        while (pos < s.size() && s[pos] == ' ')
            ++pos;
        if (pos == gap && !expect(s, pos, 'T')) return false;
        return parseTime(s, pos, ms);
    };
    if (!parseAll(Text, parse)) return false;
    Value = composeDateTime(day, ms);
    return true;
}

bool IniTryStrToFloat(WideStringView Text, double& Value) {
    std::string s;
    if (!asciiText(WideTrim(Text), s) || s.empty()) return false;
    double v;
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc() || end != s.data() + s.size()) return false;
    Value = v;
    return true;
}

// --- TUCodeCustomIniFile -------------------------------------------------------------

int32_t TUCodeCustomIniFile::ReadInteger(WideStringView Section, WideStringView Ident,
                                         int32_t Default) {
    WideString text = ReadString(Section, Ident, u"");
    if (text.size() > 2 && text[0] == u'0' && (text[1] == u'x' || text[1] == u'X'))
        text.replace(0, 2, u"$");
    std::string s;
    int32_t value;
    return asciiText(text, s) && TryValInt32(s, value) ? value : Default;
}

void TUCodeCustomIniFile::WriteInteger(WideStringView Section, WideStringView Ident,
                                       int32_t Value) {
    WriteString(Section, Ident, asciiWide(std::to_string(Value)));
}

bool TUCodeCustomIniFile::ReadBool(WideStringView Section, WideStringView Ident, bool Default) {
    return ReadInteger(Section, Ident, Default ? 1 : 0) != 0;
}

void TUCodeCustomIniFile::WriteBool(WideStringView Section, WideStringView Ident, bool Value) {
    static const WideString kBoolTexts[2] = {u"0", u"1"};
    WriteString(Section, Ident, kBoolTexts[Value ? 1 : 0]);
}

int64_t TUCodeCustomIniFile::ReadBinaryStream(WideStringView Section, WideStringView Ident,
                                              TStream& Stream) {
    WideString text = ReadString(Section, Ident, u"");
    if (text.empty()) return 0;
    // Pairs are decoded up to the first one that is no hexadecimal number.
    std::string bytes;
    for (size_t i = 0; i + 1 < text.size(); i += 2) {
        int hi = hexValue(text[i]), lo = hexValue(text[i + 1]);
        if (hi < 0 || lo < 0) break;
        bytes += static_cast<char>(hi << 4 | lo);
    }
    int64_t start = Stream.Position();
    Stream.WriteBuffer(bytes.data(), bytes.size());
    Stream.SetPosition(start);
    return Stream.Size() - start;
}

TDateTime TUCodeCustomIniFile::ReadDate(WideStringView Section, WideStringView Ident,
                                        TDateTime Default) {
    return readConverted(*this, Section, Ident, Default, IniTryStrToDate);
}

TDateTime TUCodeCustomIniFile::ReadDateTime(WideStringView Section, WideStringView Ident,
                                            TDateTime Default) {
    return readConverted(*this, Section, Ident, Default, IniTryStrToDateTime);
}

double TUCodeCustomIniFile::ReadFloat(WideStringView Section, WideStringView Ident,
                                      double Default) {
    return readConverted(*this, Section, Ident, Default, IniTryStrToFloat);
}

TDateTime TUCodeCustomIniFile::ReadTime(WideStringView Section, WideStringView Ident,
                                        TDateTime Default) {
    return readConverted(*this, Section, Ident, Default, IniTryStrToTime);
}

void TUCodeCustomIniFile::WriteBinaryStream(WideStringView Section, WideStringView Ident,
                                            TStream& Stream) {
    static const char kDigits[] = "0123456789ABCDEF";
    int64_t start = Stream.Position();
    std::string bytes = ReadStreamRest(Stream);
    Stream.SetPosition(start);
    WideString text;
    text.reserve(bytes.size() * 2);
    for (unsigned char b : bytes) {
        text += static_cast<WideChar>(kDigits[b >> 4]);
        text += static_cast<WideChar>(kDigits[b & 15]);
    }
    WriteString(Section, Ident, text);
}

void TUCodeCustomIniFile::WriteDate(WideStringView Section, WideStringView Ident, TDateTime Value) {
    WriteString(Section, Ident, IniDateToStr(Value));
}

void TUCodeCustomIniFile::WriteDateTime(WideStringView Section, WideStringView Ident,
                                        TDateTime Value) {
    WriteString(Section, Ident, IniDateTimeToStr(Value));
}

void TUCodeCustomIniFile::WriteFloat(WideStringView Section, WideStringView Ident, double Value) {
    WriteString(Section, Ident, IniFloatToStr(Value));
}

void TUCodeCustomIniFile::WriteTime(WideStringView Section, WideStringView Ident, TDateTime Value) {
    WriteString(Section, Ident, IniTimeToStr(Value));
}

// --- TUCodeIniFile -------------------------------------------------------------------

TUCodeIniFile::~TUCodeIniFile() {
    try {
        UpdateFile();
    } catch (const Exception&) {
        // Destructors do not raise; the changes stay cached for a later flush.
    }
}

void TUCodeIniFile::RaiseWriteError() const {
    throw EIniFileException("Unable to write to " + U8(FileName()));
}

WideString TUCodeIniFile::ReadString(WideStringView Section, WideStringView Ident,
                                     WideStringView Default) {
    std::optional<WideString> value = ProfileReadString(FileName(), Section, Ident);
    return value ? std::move(*value) : WideString(Default);
}

void TUCodeIniFile::WriteString(WideStringView Section, WideStringView Ident,
                                WideStringView Value) {
    // A line break would end the entry's line: every one is stored as U+001F.
    WideString text = ReplaceAllW(ReplaceAllW(ReplaceAllW(Value, u"\r\n", u"\x1F"), u"\r", u"\x1F"),
                                  u"\n", u"\x1F");
    if (text != WideTrim(text)) text = u'"' + text + u'"';
    if (!ProfileWriteString(FileName(), Section, Ident, text)) RaiseWriteError();
}

void TUCodeIniFile::ReadSection(WideStringView Section, TUCodeStrings& Strings) {
    fillList(Strings, ProfileReadKeyNames(FileName(), Section));
}

void TUCodeIniFile::ReadSections(TUCodeStrings& Strings) {
    fillList(Strings, ProfileReadSectionNames(FileName()));
}

void TUCodeIniFile::ReadSectionValues(WideStringView Section, TUCodeStrings& Strings) {
    TWideStrArray lines = ProfileReadKeyNames(FileName(), Section);
    for (WideString& key : lines)
        key += u'=' + ReadString(Section, key, u"");
    fillList(Strings, lines);
}

void TUCodeIniFile::EraseSection(WideStringView Section) {
    if (!ProfileEraseSection(FileName(), Section)) RaiseWriteError();
}

void TUCodeIniFile::DeleteKey(WideStringView Section, WideStringView Ident) {
    ProfileDeleteKey(FileName(), Section, Ident);
}

void TUCodeIniFile::UpdateFile() {
    if (!ProfileFlush(FileName())) RaiseWriteError();
}
