#include "engine/Transliteration.h"

#include "engine/EmbeddedData.h"
#include "engine/UserLists.h"
#include "text/TextFiles.h"
#include "text/UCodeSysUtils.h"
#include "text/WideFileSystem.h"
#include "text/WideStrUtils.h"

namespace {

// The lines of a text whose lines end in CR LF, LF or CR (a table written on any system).
TWideStrArray splitLines(WideStringView text) {
    TWideStrArray lines;
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != u'\r' && text[i] != u'\n') continue;
        lines.emplace_back(text.substr(start, i - start));
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
        start = i + 1;
    }
    lines.emplace_back(text.substr(start));
    return lines;
}

std::vector<BuiltInTranscriptTable> loadBuiltInTables() {
    std::vector<BuiltInTranscriptTable> tables;
    auto index = EmbeddedDataFile("transliteration/index.txt");
    if (!index) return tables;
    for (const WideString& line : splitLines(UTF8ToWide(*index))) {
        TWideStrArray parts;
        if (line.empty() || ExplodeW(parts, u"|", line) != 3) continue;
        auto data = EmbeddedDataFile("transliteration/" + WideToUTF8(parts[2]));
        if (!data) continue;
        WideString text = UTF8ToWide(*data);
        if (!text.empty() && text.back() == u'\n') text.pop_back();
        tables.push_back({parts[0], parts[1], ReplaceAllW(text, u"\n", u"\r\n")});
    }
    return tables;
}

// First character upper case, the rest lower case.
WideString capitalised(WideStringView s) {
    WideString r = WideLowerCase(s);
    r[0] = WideUpperChar(r[0]);
    return r;
}

void applyPairs(WideString& text, const std::vector<TranskriptPaar>& pairs) {
    for (const TranskriptPaar& p : pairs)
        text = ReplaceAllW(text, p.source, p.target);
}

} // namespace

const std::vector<BuiltInTranscriptTable>& BuiltInTranscriptTables() {
    static const std::vector<BuiltInTranscriptTable> tables = loadBuiltInTables();
    return tables;
}

WideString TranskriptTabelle(WideStringView name, WideStringView programFolder) {
    if (name.empty()) return {};
    for (const BuiltInTranscriptTable& t : BuiltInTranscriptTables())
        if (name == t.germanName || name == t.englishName) return t.text;
    const WideString path = UserListFile(TransliterationFolder(programFolder), name);
    if (path.empty()) return {};
    WideString text;
    try {
        LoadTextFileW(path, text);
    } catch (const std::exception&) {
        return {}; // a missing or unreadable user table is an empty table
    }
    return text;
}

std::vector<TranskriptPaar> TranskriptPaare(const SettingsView& settings, WideStringView table) {
    std::vector<TranskriptPaar> pairs;
    if (settings.Checked({"Tprog", "act_transcript_umlaute"}))
        pairs = {{u"Ä", u"Ae"}, {u"Ö", u"Oe"}, {u"Ü", u"Ue"}, {u"ß", u"SS"},
                 {u"ä", u"ae"}, {u"ö", u"oe"}, {u"ü", u"ue"}};
    const bool reverse = settings.Checked({"Tprog", "act_trans_reverse"});
    for (const WideString& line : splitLines(table)) {
        TWideStrArray parts;
        if (ExplodeW(parts, u"|", line) != 2 || parts[0].empty()) continue;
        WideString source = reverse ? parts[1] : parts[0];
        WideString target = reverse ? parts[0] : parts[1];
        if (source.empty()) continue;
        if (source.size() <= 1 && target.size() <= 1) {
            pairs.push_back({source, target});
            continue;
        }
        if (!target.empty()) pairs.push_back({capitalised(source), capitalised(target)});
        pairs.push_back({WideLowerCase(source), WideLowerCase(target)});
        pairs.push_back({WideUpperCase(source), WideUpperCase(target)});
        if (!reverse) pairs.push_back({source, target});
    }
    return pairs;
}

WideString Transkribieren(const SettingsView& settings, WideStringView text, WideStringView name,
                          WideStringView programFolder) {
    std::vector<TranskriptPaar> pairs =
        TranskriptPaare(settings, TranskriptTabelle(name, programFolder));
    WideString result(text);
    applyPairs(result, pairs);
    if (settings.Checked({"Tprog", "act_trans_kleinzusatz"})) {
        for (TranskriptPaar& p : pairs) {
            p.source = WideLowerCase(p.source);
            p.target = WideLowerCase(p.target);
        }
        applyPairs(result, pairs);
    }
    if (settings.Checked({"Tprog", "act_trans_grosszusatz"})) {
        for (TranskriptPaar& p : pairs) {
            p.source = WideUpperCase(p.source);
            p.target = WideUpperCase(p.target);
        }
        applyPairs(result, pairs);
    }
    return result;
}
