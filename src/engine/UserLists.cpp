#include "engine/UserLists.h"

#include "engine/Transliteration.h"
#include "text/FileUtils.h"
#include "text/UCodeClasses.h"
#include "text/WideStrUtils.h"

namespace {

// The listed name of a file: its name with every ".txt" removed.
WideString listedName(WideStringView path) {
    return ReplaceAllW(WideExtractFileName(path), u".txt", u"");
}

TWideStrArray userListFiles(WideStringView folder) {
    TWideStrArray files;
    if (!WideDirectoryExists(folder)) return files;
    TUCodeStringList found;
    FindFilesW(found, folder, {u".txt"}, true);
    for (int i = 0; i < found.GetCount(); ++i)
        files.push_back(found.Get(i));
    return files;
}

} // namespace

WideString TransliterationFolder(WideStringView programFolder) {
    return WideString(programFolder) + u"Transliteration/";
}

WideString ReplacementsFolder(WideStringView programFolder) {
    return WideString(programFolder) + u"Replacements/";
}

TWideStrArray UserListNames(WideStringView folder) {
    TWideStrArray names;
    for (const WideString& file : userListFiles(folder))
        names.push_back(listedName(file));
    return names;
}

WideString UserListFile(WideStringView folder, WideStringView name) {
    if (name.empty()) return {};
    WideString direct(folder);
    if (!direct.empty() && direct.back() != u'/') direct += u'/';
    direct += WideString(name) + u".txt";
    if (WideFileExists(direct)) return direct;
    for (const WideString& file : userListFiles(folder))
        if (listedName(file) == name) return file;
    return {};
}

TWideStrArray TransliterationTableNames(WideStringView programFolder, bool german) {
    TWideStrArray names;
    for (const BuiltInTranscriptTable& t : BuiltInTranscriptTables())
        names.push_back(german ? t.germanName : t.englishName);
    for (WideString& user : UserListNames(TransliterationFolder(programFolder)))
        names.push_back(std::move(user));
    return names;
}
