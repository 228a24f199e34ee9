#include "text/FileUtils.h"

#include <QLocale>
#include <QMimeDatabase>
#include <QString>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "text/UCodeClasses.h"
#include "text/UCodeSysUtils.h"

namespace {

constexpr WideChar kDelimiter = u'/';

// errno after a failed call, never 0.
int lastError() {
    return errno != 0 ? errno : ENOENT;
}

size_t lastSlash(WideStringView s) {
    return s.rfind(kDelimiter);
}

} // namespace

// ---- Path text ----

WideString WideIncludeTrailingBackslash(WideStringView S) {
    WideString r(S);
    if (r.empty() || r.back() != kDelimiter) r.push_back(kDelimiter);
    return r;
}

WideString WideExcludeTrailingBackslash(WideStringView S) {
    if (!S.empty() && S.back() == kDelimiter) S.remove_suffix(1);
    return WideString(S);
}

bool WideIsDelimiter(WideStringView Delimiters, WideStringView S, int Index) {
    return Index >= 1 && static_cast<size_t>(Index) <= S.size() &&
           Delimiters.find(S[static_cast<size_t>(Index) - 1]) != WideStringView::npos;
}

bool WideIsPathDelimiter(WideStringView S, int Index) {
    return WideIsDelimiter(u"/", S, Index);
}

int WideLastDelimiter(WideStringView Delimiters, WideStringView S) {
    const size_t at = S.find_last_of(Delimiters);
    return at == WideStringView::npos ? 0 : static_cast<int>(at) + 1;
}

WideString WideExtractFilePath(WideStringView FileName) {
    const size_t at = lastSlash(FileName);
    return at == WideStringView::npos ? WideString() : WideString(FileName.substr(0, at + 1));
}

WideString WideExtractFileDir(WideStringView FileName) {
    const size_t at = lastSlash(FileName);
    if (at == WideStringView::npos) return WideString();
    // The root, and a "/" right after another, stay.
    const bool keep = at == 0 || FileName[at - 1] == kDelimiter;
    return WideString(FileName.substr(0, keep ? at + 1 : at));
}

WideString WideExtractFileName(WideStringView FileName) {
    const size_t at = lastSlash(FileName);
    return WideString(at == WideStringView::npos ? FileName : FileName.substr(at + 1));
}

namespace {

// 0-based position of the extension's dot, npos when the name has none.
size_t extensionDot(WideStringView FileName) {
    const size_t at = FileName.find_last_of(u"./");
    return at != WideStringView::npos && FileName[at] == u'.' ? at : WideStringView::npos;
}

} // namespace

WideString WideExtractFileExt(WideStringView FileName) {
    const size_t dot = extensionDot(FileName);
    return dot == WideStringView::npos ? WideString() : WideString(FileName.substr(dot));
}

WideString WideChangeFileExt(WideStringView FileName, WideStringView Ext) {
    WideString r(FileName.substr(0, extensionDot(FileName)));
    r.append(Ext);
    return r;
}

WideString WideExpandFileName(WideStringView FileName) {
    return WideGetFullPathName(FileName);
}

// ---- File system ----

int WideFileCreate(WideStringView FileName) {
    return WideCreateFile(FileName, GENERIC_READ | GENERIC_WRITE, CREATE_ALWAYS);
}

int WideFileOpen(WideStringView FileName, uint16_t Mode) {
    uint32_t access;
    switch (Mode & 3) {
    case fmOpenRead:
        access = GENERIC_READ;
        break;
    case fmOpenWrite:
        access = GENERIC_WRITE;
        break;
    case fmOpenReadWrite:
        access = GENERIC_READ | GENERIC_WRITE;
        break;
    default:
        errno = EINVAL;
        return -1;
    }
    return WideCreateFile(FileName, access, OPEN_EXISTING);
}

bool WideFileExists(WideStringView FileName) {
    const uint32_t a = WideGetFileAttributes(FileName);
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool WideDirectoryExists(WideStringView FileName) {
    const uint32_t a = WideGetFileAttributes(FileName);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

int32_t WideFileGetAttr(WideStringView FileName) {
    return static_cast<int32_t>(WideGetFileAttributes(FileName));
}

bool WideFileSetAttr(WideStringView FileName, int32_t Attr) {
    return WideSetFileAttributes(FileName, static_cast<uint32_t>(Attr));
}

bool WideDeleteFile(WideStringView FileName) {
    return WideRemoveFile(FileName);
}

namespace {

// dir: absolute, "." and ".." resolved, no final "/" ("" is the root).
bool forceAbsolute(const WideString& dir) {
    if (dir.empty() || WideDirectoryExists(dir)) return true;
    const WideString parent = WideExcludeTrailingBackslash(WideExtractFilePath(dir));
    if (parent == dir) return true;
    // Someone else may create the folder meanwhile: that counts as done.
    return forceAbsolute(parent) && (WideCreateDirectory(dir) || WideDirectoryExists(dir));
}

} // namespace

bool WideForceDirectories(WideStringView Dir) {
    if (Dir.empty()) throw EUCodeGeneralError("Unable to create directory");
    // Empty: a relative Dir with no current folder (it has been deleted).
    const WideString full = WideExpandFileName(Dir);
    // The system takes no path this long; walking up it folder by folder would only
    // cost time and stack.
    if (full.empty() || WideToNative(full).size() >= PATH_MAX) return false;
    return forceAbsolute(WideExcludeTrailingBackslash(full));
}

namespace {

constexpr uint32_t kExcludable = faHidden | faSysFile | faDirectory;

// Moves F to the first entry from the current one on that is not excluded.
int findMatching(TSearchRecW& F) {
    while (F.FindData.attributes & static_cast<uint32_t>(F.ExcludeAttr)) {
        errno = 0;
        if (!WideFindNextFile(F.FindHandle, F.FindData)) return lastError();
    }
    F.Time = FileTimeToDosDateTime(F.FindData.lastWriteTime);
    F.Size = F.FindData.size;
    F.Attr = static_cast<int32_t>(F.FindData.attributes);
    F.Name = F.FindData.name;
    return 0;
}

} // namespace

int WideFindFirst(WideStringView Path, int32_t Attr, TSearchRecW& F) {
    F.ExcludeAttr = static_cast<int32_t>(~static_cast<uint32_t>(Attr) & kExcludable);
    errno = 0;
    F.FindHandle = WideFindFirstFile(Path, F.FindData);
    if (!F.FindHandle) return lastError();
    const int result = findMatching(F);
    if (result != 0) WideFindClose(F);
    return result;
}

int WideFindNext(TSearchRecW& F) {
    errno = 0;
    if (!WideFindNextFile(F.FindHandle, F.FindData)) return lastError();
    return findMatching(F);
}

void WideFindClose(TSearchRecW& F) {
    if (F.FindHandle) WideFindFileClose(F.FindHandle);
    F.FindHandle = nullptr;
}

WideString WideSysErrorMessage(int Code) {
    if (const char* text = strerrordesc_np(Code)) return WideTrim(NativeToWide(text));
    char buf[80];
    std::snprintf(buf, sizeof buf, "Unspecified error (%d) from %s.", Code, "system");
    return U16(buf);
}

WideString WideGetModuleFileName() {
    return WideModuleFileName();
}

// ---- File information ----

namespace {

// The entry FileName itself. A search takes "*" and "?" in a name as wildcards, so
// among the entries found for such a name the one with exactly that name is taken.
// A final "/" is dropped, so that "folder/" describes the folder.
bool findEntry(WideStringView FileName, WideFindData& data) {
    const WideString path =
        FileName.size() > 1 ? WideExcludeTrailingBackslash(FileName) : WideString(FileName);
    const WideString name = WideExtractFileName(path);
    WideFindHandle h = WideFindFirstFile(path, data);
    if (!h) return false;
    bool found = data.name == name;
    while (!found && WideFindNextFile(h, data))
        found = data.name == name;
    WideFindFileClose(h);
    return found;
}

constexpr size_t kMaxTypeName = 80;
// As much of a file's start as the type rules look at.
constexpr qsizetype kTypeSniffBytes = 16384;

// The type by the file's name and, for a data file, its first bytes (read through the
// file's own descriptor: anything that is no data file is typed by its name alone).
QMimeType mimeTypeOf(WideStringView FileName) {
    static const QMimeDatabase mimeTypes;
    const QString name = QString::fromUtf16(FileName.data(), FileName.size());
    const int fd = OpenDataFile(WideToNative(FileName), O_RDONLY);
    if (fd < 0) return mimeTypes.mimeTypeForFile(name, QMimeDatabase::MatchExtension);
    QByteArray head(kTypeSniffBytes, '\0');
    head.truncate(qsizetype(THandleStream(fd).Read(head.data(), size_t(head.size()))));
    ::close(fd);
    return mimeTypes.mimeTypeForFileNameAndData(name, head);
}

} // namespace

WideString FileMimeTypeName(WideStringView FileName) {
    return mimeTypeOf(FileName).name().toStdU16String();
}

namespace {

QString& typeNameLanguage() {
    static QString language;
    return language;
}

// The type's description in the chosen language. The database answers in the default
// locale's language, so that locale stands in for the one call only: numbers and dates
// keep the user's own.
QString commentOf(const QMimeType& Type) {
    if (typeNameLanguage().isEmpty()) return Type.comment();
    const QLocale saved;
    QLocale::setDefault(QLocale(typeNameLanguage()));
    QString comment = Type.comment();
    QLocale::setDefault(saved);
    return comment;
}

} // namespace

void SetFileTypeNameLanguage(WideStringView Language) {
    typeNameLanguage() = QString::fromUtf16(Language.data(), Language.size());
}

WideString FileTypeNameW(WideStringView FileName) {
    const QString comment = commentOf(mimeTypeOf(FileName)).left(kMaxTypeName);
    return WideString(reinterpret_cast<const char16_t*>(comment.utf16()),
                      static_cast<size_t>(comment.size()));
}

bool GetDateiInfoW(WideStringView FileName, TDateiInfoW& Info) {
    Info = TDateiInfoW{};
    WideFindData data;
    if (!findEntry(FileName, data)) return true;
    Info.Created = FileTimeToLocalDateTime(data.creationTime);
    Info.Accessed = FileTimeToLocalDateTime(data.lastAccessTime);
    Info.Written = FileTimeToLocalDateTime(data.lastWriteTime);
    Info.Size = data.size;
    const uint32_t a = data.attributes;
    Info.ReadOnly = a & faReadOnly;
    Info.Hidden = a & faHidden;
    Info.SystemFile = a & faSysFile;
    Info.VolumeId = a & faVolumeID;
    Info.Directory = a & faDirectory;
    Info.Archive = a & faArchive;
    Info.AllAttributes = (a & faAnyFile) == faAnyFile;
    Info.TypeName = FileTypeNameW(FileName);
    return true;
}

int64_t GetFileSizeW(WideStringView FileName) {
    WideFindData data;
    return findEntry(FileName, data) ? data.size : -1;
}

namespace {

// value rounded to 8 significant digits, written with 3 decimals and "," between
// the thousands.
std::string formatSizeNumber(double value) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.7e", value);
    std::snprintf(buf, sizeof buf, "%.3f", std::strtod(buf, nullptr));
    std::string text = buf;
    const size_t point = text.find('.');
    for (size_t at = point; at > 3 && std::isdigit(static_cast<unsigned char>(text[at - 4]));
         at -= 3)
        text.insert(at - 3, 1, ',');
    return text;
}

} // namespace

AnsiString FormatFileSize(int64_t Size) {
    const std::string plain = std::to_string(Size);
    const size_t digits = plain.size();
    if (digits < 4) return plain + " Byte";
    struct Step {
        size_t below;
        double divisor;
        const char* unit;
    };
    static const Step steps[] = {
        {7, 1e3, " KB"}, {10, 1e6, " MB"}, {13, 1e9, " GB"}, {SIZE_MAX, 1e12, " TB"}};
    const Step* step = steps;
    while (digits >= step->below)
        ++step;
    return formatSizeNumber(static_cast<double>(Size) / step->divisor) + step->unit;
}

bool IsTextFileW(WideStringView FileName) {
    // Only a data file holds text: a pipe, a device or a file of /proc could block the
    // open or the reads, or never end.
    const int fd = OpenDataFile(WideToNative(FileName), O_RDONLY);
    if (fd < 0) return false;
    bool text = true;
    unsigned char block[2048];
    for (;;) {
        const ssize_t got = ::read(fd, block, sizeof block);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) {
            text = got == 0;
            break;
        }
        for (ssize_t i = 0; i < got && text; ++i) {
            const unsigned char b = block[i];
            text = b >= 32 || b == 9 || b == 10 || b == 13 || b == 26;
        }
        if (!text) break;
    }
    ::close(fd);
    return text;
}

bool IsTextFileA(const AnsiString& FileName) {
    return IsTextFileW(AnsiToWideCP(FileName, 0));
}

namespace {

// The folder's real path, to notice a link that leads back into a folder being searched.
std::string realPathOf(WideStringView folder) {
    char* real = ::realpath(WideToNative(folder).c_str(), nullptr);
    std::string r = real ? real : "";
    std::free(real);
    return r;
}

void findFilesIn(TUCodeStrings& List, const WideString& folder, const TWideStrArray& Masks,
                 bool Recursive, std::vector<std::string>& searching) {
    // A FIFO, device or kernel file is never listed, and /proc or /sys never searched.
    if (!IsDataFolder(folder)) return;
    if (Recursive) {
        // A folder reached again through a link below itself would never end.
        const std::string real = realPathOf(folder);
        for (const auto& outer : searching)
            if (!real.empty() && outer == real) return;
        searching.push_back(real);
        TSearchRecW sub;
        for (int r = WideFindFirst(folder + u"*.*", faAnyFile, sub); r == 0; r = WideFindNext(sub))
            if ((sub.Attr & faDirectory) && sub.Name != u"." && sub.Name != u"..")
                findFilesIn(List, folder + sub.Name + u"/", Masks, Recursive, searching);
        WideFindClose(sub);
        searching.pop_back();
    }
    for (const auto& mask : Masks) {
        TSearchRecW file;
        for (int r = WideFindFirst(folder + u"*" + mask, faAnyFile, file); r == 0;
             r = WideFindNext(file))
            if (!(file.Attr & faDirectory) && IsDataFile(folder + file.Name))
                List.Add(folder + file.Name);
        WideFindClose(file);
    }
}

} // namespace

void FindFilesW(TUCodeStrings& List, WideStringView Folder, const TWideStrArray& Masks,
                bool Recursive) {
    std::vector<std::string> searching;
    findFilesIn(List, WideIncludeTrailingBackslash(Folder), Masks, Recursive, searching);
}

// ---- Path checks and display ----

bool IsValidPathW(WideStringView Path) {
    if (Path.empty() || Path[0] != kDelimiter) return false;
    WideStringView rest = Path.substr(1);
    if (!rest.empty() && rest.back() == kDelimiter) rest.remove_suffix(1);
    if (rest.empty()) return Path.size() == 1; // "/" is valid, "//" has an empty name
    static constexpr WideStringView forbidden(u"\\:?>|<*\"\0", 9);
    for (size_t start = 0;;) {
        const size_t end = std::min(rest.find(kDelimiter, start), rest.size());
        const WideStringView name = rest.substr(start, end - start);
        if (name.empty() || name.find_first_of(forbidden) != WideStringView::npos) return false;
        if (end == rest.size()) return true;
        start = end + 1;
    }
}

bool IsPlainFileNameW(WideStringView Name) {
    return !Name.empty() && Name != u"." && Name != u".." &&
           Name.find_first_of(WideStringView(u"/\0", 2)) == WideStringView::npos;
}

WideString ShortenPathW(WideStringView Path, const TTextWidthFunc& TextWidth, int MaxWidth) {
    WideString dir = WideExtractFilePath(Path);
    const WideString name = WideExtractFileName(Path);
    WideString result(Path);
    static constexpr WideStringView dots = u".../";
    while (!dir.empty() && TextWidth(result) > MaxWidth) {
        if (dir == u"/.../") {
            dir = WideString(dots);
        } else if (dir == u"/") {
            dir.clear();
        } else {
            const bool rooted = dir[0] == kDelimiter;
            WideStringView rest(dir);
            if (rooted) rest.remove_prefix(1);
            if (rest.substr(0, dots.size()) == dots) rest.remove_prefix(dots.size());
            const size_t slash = rest.find(kDelimiter);
            if (slash == WideStringView::npos) {
                dir.clear();
            } else {
                WideString shorter = rooted ? u"/" : u"";
                shorter.append(dots).append(rest.substr(slash + 1));
                dir = std::move(shorter);
            }
        }
        result = dir + name;
    }
    return result;
}
