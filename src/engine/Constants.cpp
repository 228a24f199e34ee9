#include "engine/Constants.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>

#include "engine/LocaleTexts.h"
#include "engine/TextHelpers.h"
#include "text/FileUtils.h"
#include "text/WideStrUtils.h"

namespace {

bool isKeep(WideStringView pattern) {
    return pattern == u"<beibehalten>" || pattern == u"<keep>";
}

WideString replaceBoth(WideStringView text, const char16_t* german, const char16_t* english,
                       WideStringView value) {
    return ReplaceAllW(ReplaceAllW(text, german, value), english, value);
}

bool containsAny(WideStringView text, std::initializer_list<const char16_t*> names) {
    for (const char16_t* n : names)
        if (Contains(text, n)) return true;
    return false;
}

} // namespace

WideString KONS(const SettingsView& s, WideStringView text, WideStringView path, int index) {
    if (!s.Checked({"Tprog", "act_konstanten"}) || text.find(u'%') == WideStringView::npos)
        return WideString(text);
    const WideString file(path);
    WideString r = replaceBoth(text, u"%datei%", u"%file%", WideExtractFileName(file));
    r = replaceBoth(r, u"%pfaddatei%", u"%pathfile%", file);
    r = replaceBoth(r, u"%pfad%", u"%path%", WideExtractFilePath(file));
    r = replaceBoth(r, u"%endung%", u"%extension%", WideExtractFileExt(file));
    r = ReplaceAllW(r, u"%num%",
                    Decimal(int64_t(index) + SettingInteger(s, {"Tprog", "act_konst_start"}, 1)));
    if (containsAny(r, {u"%erstellt%", u"%created%", u"%zugriff%", u"%accessed%", u"%geändert%",
                        u"%modified%", u"%größe%", u"%size%", u"%wintyp%", u"%wintype%"})) {
        TDateiInfoW info;
        GetDateiInfoW(file, info);
        r = replaceBoth(r, u"%erstellt%", u"%created%", DateTimeText(info.Created));
        r = replaceBoth(r, u"%zugriff%", u"%accessed%", DateTimeText(info.Accessed));
        r = replaceBoth(r, u"%geändert%", u"%modified%", DateTimeText(info.Written));
        r = replaceBoth(r, u"%größe%", u"%size%", U16(FormatFileSize(info.Size)));
        r = replaceBoth(r, u"%wintyp%", u"%wintype%", info.TypeName);
    }
    return r;
}

WideString BaseNameWithoutExtension(WideStringView fileName, WideStringView extension) {
    WideString base(fileName);
    if (extension.empty()) return base;
    while (base.ends_with(extension))
        base.resize(base.size() - extension.size());
    return base;
}

WideString FirstCharsForName(WideStringView firstchars) {
    static constexpr WideStringView kForbidden(u"?|<>/:\"*\\\r\n\0", 12);
    WideString r = WideTrim(firstchars).substr(0, 40);
    // A character of two units is not cut in half.
    if (r.size() == 40 && r.back() >= 0xD800 && r.back() <= 0xDBFF) r.pop_back();
    // U+0000 too: a file name cannot hold it, and the path would end there.
    for (WideChar& c : r)
        if (kForbidden.find(c) != WideStringView::npos) c = u' ';
    return WideTrim(r);
}

WideString NameFinden(const SettingsView& s, WideStringView path, WideStringView firstchars,
                      int index, int width, bool createFolder) {
    const WideString source(path);
    if (s.Checked({"Tprog", "out_overwrite"})) return source;
    const WideString sourceFolder = WideExtractFilePath(source);
    const WideString sourceExt = WideExtractFileExt(source);

    WideString folder = s.Text({"Tprog", "out_ordner"});
    if (isKeep(folder)) {
        folder = sourceFolder;
    } else {
        if (folder.find(u'%') != WideString::npos)
            folder = replaceBoth(folder, u"%ordner%", u"%folder%", sourceFolder);
        folder = ReplaceAllW(folder, u"//", u"/");
        folder = WideIncludeTrailingBackslash(folder);
    }
    // Only an absolute folder is created: a relative one would land wherever the program
    // happens to run (the batch run refuses it anyway).
    if (createFolder && folder.starts_with(u"/") && !WideDirectoryExists(folder))
        WideForceDirectories(folder);

    const WideString base = BaseNameWithoutExtension(WideExtractFileName(source), sourceExt);
    WideString name = s.Text({"Tprog", "out_name"});
    if (isKeep(name)) {
        name = base;
    } else {
        name = ReplaceAllW(name, u"%name%", base);
        if (name.find(u'%') != WideString::npos) {
            name = ReplaceAllW(name, u"%firstchars%", FirstCharsForName(firstchars));
            name = ReplaceAllW(name, u"%num%", Decimal(int64_t(index) + 1));
            char padded[32];
            std::snprintf(padded, sizeof padded, "%.*lld", std::clamp(width, 0, 20),
                          static_cast<long long>(index) + 1);
            name = ReplaceAllW(name, u"%0num%", U16(padded));
            name = ReplaceAllW(name, u"%abs%", Decimal(s.RowCount({"Tprog", "qulist"})));
        }
    }
    WideString ext = s.Text({"Tprog", "out_format"});
    if (isKeep(ext)) ext = sourceExt;
    return folder + name + ext;
}
