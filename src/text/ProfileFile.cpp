#include "text/ProfileFile.h"

#include <atomic>
#include <filesystem>
#include <iterator>
#include <map>
#include <memory>
#include <mutex>
#include <unordered_map>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "text/SafeFileWrite.h"
#include "text/UCodeSysUtils.h"
#include "text/WideFileSystem.h"

namespace {

constexpr size_t npos = static_cast<size_t>(-1);

// One line of the file without its line break. `raw` holds the line's bytes as they stand
// in a file of 8-bit or UTF-8 text while `keepRaw` is set, so a line that was not changed is
// written back byte for byte (also one whose bytes the decoder could not read).
struct Line {
    WideString text;
    std::string raw;
    bool keepRaw = false;
};

Line textLine(WideString text) {
    Line line;
    line.text = std::move(text);
    return line;
}

// A section: its header line (lines[0]) and every line up to the next header. The first
// section of a document holds the lines before the first header and has no header.
struct Section {
    std::vector<Line> lines;
    // Built on demand: upper-cased key -> index of its first entry line, and the last
    // entry's index (0, the header, when there is none).
    bool indexed = false;
    std::unordered_map<WideString, size_t> keys;
    size_t lastEntry = 0;
};

// What identifies one state of a file on disk.
struct Stamp {
    bool exists = false;
    int64_t size = 0;
    int64_t mtimeNs = 0;
    uint64_t inode = 0;
    bool operator==(const Stamp&) const = default;
};

struct Document {
    std::string path; // absolute, lexically normal
    ProfileEncoding encoding = ProfileEncoding::Utf8Bom;
    std::vector<Section> sections; // sections[0]: the lines before the first header
    bool indexed = false;
    std::unordered_map<WideString, size_t> sectionIndex; // upper-cased name -> first section
    Stamp stamp;
    bool dirty = false;
    bool writeChecked = false; // writability probed since the last load or flush
    bool unreadable = false;   // the file exists but could not be read: never overwrite it
};

std::mutex gMutex;
std::map<std::string, std::unique_ptr<Document>> gCache;
std::atomic<uint64_t> gRewrites{0};
constexpr size_t kCacheLimit = 64;

bool isBreak(WideChar c) {
    return c == u'\r' || c == u'\n';
}
bool hasBreak(WideStringView s) {
    for (WideChar c : s)
        if (isBreak(c)) return true;
    return false;
}

WideString nameKey(WideStringView name) {
    return WideUpperCase(WideTrim(name));
}

// --- Line classification -------------------------------------------------------------

enum class LineKind { Other, Header, Entry };

// The kind of a line; for a header its trimmed name, for an entry its trimmed key and the
// untrimmed text after the first "=".
LineKind classify(WideStringView text, WideString* name = nullptr,
                  WideStringView* value = nullptr) {
    size_t start = 0;
    while (start < text.size() && text[start] <= u' ')
        ++start;
    if (start == text.size()) return LineKind::Other;
    if (text[start] == u'[') {
        size_t close = text.find(u']', start + 1);
        if (name)
            *name = WideTrim(text.substr(start + 1, close == npos ? npos : close - start - 1));
        return LineKind::Header;
    }
    if (text[start] == u';') return LineKind::Other; // comment
    size_t eq = text.find(u'=', start);
    if (eq == npos) return LineKind::Other;
    if (name) *name = WideTrim(text.substr(start, eq - start));
    if (value) *value = text.substr(eq + 1);
    return LineKind::Entry;
}

WideString unquote(WideStringView raw) {
    WideString v = WideTrim(raw);
    if (v.size() >= 2 && (v.front() == u'"' || v.front() == u'\'') && v.back() == v.front())
        return v.substr(1, v.size() - 2);
    return v;
}

// --- Decoding ------------------------------------------------------------------------

// Splits at CR LF, CR and LF; a break at the very end opens no further line.
template <typename Text, typename Emit> void splitLines(const Text& s, Emit emit) {
    size_t start = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '\r' && s[i] != '\n') continue;
        emit(s.substr(start, i - start));
        if (s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < s.size()) emit(s.substr(start));
}

// The encoding a byte order mark at the start of bytes names; nothing without a mark.
std::optional<ProfileEncoding> markedEncoding(std::string_view bytes) {
    if (bytes.starts_with("\xFE\xFF")) return ProfileEncoding::Utf16BE;
    if (bytes.starts_with("\xFF\xFE")) return ProfileEncoding::Utf16LE;
    if (bytes.starts_with("\xEF\xBB\xBF")) return ProfileEncoding::Utf8Bom;
    return std::nullopt;
}

std::vector<Line> decodeFile(const std::string& bytes, ProfileEncoding& encoding) {
    std::vector<Line> lines;
    const std::optional<ProfileEncoding> mark = markedEncoding(bytes);
    if (mark == ProfileEncoding::Utf16BE || mark == ProfileEncoding::Utf16LE) {
        const bool bigEndian = mark == ProfileEncoding::Utf16BE;
        encoding = *mark;
        const int low = bigEndian ? 1 : 0;
        WideString units((bytes.size() - 2) / 2, u'\0');
        for (size_t i = 0; i < units.size(); ++i)
            units[i] = static_cast<WideChar>(static_cast<uint8_t>(bytes[2 + 2 * i + low]) |
                                             static_cast<uint8_t>(bytes[3 + 2 * i - low]) << 8);
        splitLines(WideStringView(units),
                   [&](WideStringView l) { lines.push_back(textLine(WideString(l))); });
        return lines;
    }
    const bool marked = mark.has_value();
    std::string_view body(bytes);
    if (marked) body.remove_prefix(3);
    bool allUtf8 = true;
    splitLines(body, [&](std::string_view raw) {
        Line line;
        line.raw = raw;
        line.keepRaw = true;
        if (!TryUTF8ToWide(raw, line.text)) {
            // A line that is no UTF-8 is read as ANSI text; its bytes are kept.
            allUtf8 = false;
            line.text = AnsiToWideCP(raw, 0);
        }
        lines.push_back(std::move(line));
    });
    if (marked) {
        encoding = ProfileEncoding::Utf8Bom;
    } else if (allUtf8) {
        encoding = ProfileEncoding::Utf8;
    } else {
        encoding = ProfileEncoding::Ansi;
        for (Line& line : lines)
            line.text = AnsiToWideCP(line.raw, 0);
    }
    return lines;
}

// --- Encoding ------------------------------------------------------------------------

void appendUtf16(std::string& out, WideStringView s, bool bigEndian) {
    for (WideChar c : s) {
        char low = static_cast<char>(c & 0xFF), high = static_cast<char>(c >> 8);
        out += bigEndian ? high : low;
        out += bigEndian ? low : high;
    }
}

// The bytes of one line in an 8-bit or UTF-8 document; false when an ANSI document cannot
// hold the line's text.
bool encodeLine(const Document& doc, Line& line) {
    if (line.keepRaw) return true;
    if (doc.encoding == ProfileEncoding::Ansi) {
        std::string bytes = WideToAnsiCP(line.text, 0);
        if (AnsiToWideCP(bytes, 0) != line.text) return false;
        line.raw = std::move(bytes);
    } else {
        line.raw = WideToUTF8(line.text);
    }
    line.keepRaw = true;
    return true;
}

// Whether a reader takes 8-bit bytes for ANSI text as they are meant: bytes without a mark
// whose every line is UTF-8 are read as UTF-8, and then every byte beyond ASCII reads as
// another character.
bool readsAsAnsi(std::string_view bytes) {
    if (markedEncoding(bytes)) return false;
    bool utf8 = true, ascii = true;
    WideString scratch;
    splitLines(bytes, [&](std::string_view raw) {
        utf8 = utf8 && TryUTF8ToWide(raw, scratch);
        for (char c : raw)
            ascii = ascii && static_cast<uint8_t>(c) < 0x80;
    });
    return !utf8 || ascii;
}

void joinLines(Document& doc, std::string& out) {
    for (Section& s : doc.sections)
        for (Line& line : s.lines) {
            encodeLine(doc, line);
            out += line.raw;
            out += "\r\n";
        }
}

std::string encodeDocument(Document& doc) {
    std::string out;
    if (doc.encoding == ProfileEncoding::Utf16LE || doc.encoding == ProfileEncoding::Utf16BE) {
        const bool bigEndian = doc.encoding == ProfileEncoding::Utf16BE;
        appendUtf16(out, u"\uFEFF", bigEndian);
        for (const Section& s : doc.sections)
            for (const Line& line : s.lines) {
                appendUtf16(out, line.text, bigEndian);
                appendUtf16(out, u"\r\n", bigEndian);
            }
        return out;
    }
    if (doc.encoding == ProfileEncoding::Ansi) {
        bool fits = true;
        for (Section& s : doc.sections)
            for (Line& line : s.lines)
                fits = fits && encodeLine(doc, line);
        if (fits) {
            joinLines(doc, out);
            if (readsAsAnsi(out)) return out;
            out.clear();
        }
        // A character outside the code page, or a change that took away the last line that
        // is no UTF-8 (so the file would read as UTF-8 and its other entries as other
        // characters): the whole file becomes UTF-8 with a mark rather than losing either.
        doc.encoding = ProfileEncoding::Utf8Bom;
        for (Section& s : doc.sections)
            for (Line& line : s.lines)
                line.keepRaw = false;
    }
    if (doc.encoding == ProfileEncoding::Utf8Bom) out = "\xEF\xBB\xBF";
    joinLines(doc, out);
    return out;
}

// --- Files ---------------------------------------------------------------------------

Stamp statFile(const std::string& path) {
    Stamp st;
    struct stat sb;
    if (::stat(path.c_str(), &sb) != 0 || !S_ISREG(sb.st_mode)) return st;
    st.exists = true;
    st.size = sb.st_size;
    st.mtimeNs = int64_t(sb.st_mtim.tv_sec) * 1000000000 + sb.st_mtim.tv_nsec;
    st.inode = sb.st_ino;
    return st;
}

// Whether a flush could write the file: asked of the writer every flush uses, so a file
// that it would rewrite in place (writable, in a folder we may not create files in) counts.
bool probeWritable(const std::string& path) {
    return TSafeFileWriter(path).IsOpen();
}

// The whole contents of a data file (WideFileSystem.h); false when it is none or a read
// fails.
bool readDataFile(const std::string& path, std::string& bytes) {
    const int fd = OpenDataFile(path, O_RDONLY);
    if (fd < 0) return false;
    char buffer[65536];
    ssize_t got = 0;
    while ((got = ::read(fd, buffer, sizeof buffer)) != 0) {
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) break;
        bytes.append(buffer, size_t(got));
    }
    ::close(fd);
    return got == 0;
}

void load(Document& doc) {
    doc.stamp = statFile(doc.path);
    doc.sections.assign(1, Section{});
    doc.indexed = false;
    doc.dirty = false;
    doc.writeChecked = false;
    doc.encoding = ProfileEncoding::Utf8Bom; // a new file
    doc.unreadable = false;
    if (!doc.stamp.exists) return;
    // A FIFO, a device or a file of /proc under a configuration's name is never read.
    std::string bytes;
    if (!readDataFile(doc.path, bytes)) {
        doc.unreadable = true;
        return;
    }
    for (Line& line : decodeFile(bytes, doc.encoding)) {
        if (classify(line.text) == LineKind::Header) doc.sections.push_back(Section{});
        doc.sections.back().lines.push_back(std::move(line));
    }
}

std::string absolutePath(WideStringView fileName) {
    std::filesystem::path p(NativePath(fileName));
    std::error_code ec;
    if (p.is_relative()) p = std::filesystem::absolute(p, ec);
    return p.lexically_normal().string();
}

// The cached document of a file, read again when the file changed on disk and the cache
// holds no unsaved change. Call with gMutex held. Nothing for an empty file name.
Document* document(WideStringView fileName) {
    if (fileName.empty()) return nullptr;
    std::string path = absolutePath(fileName);
    auto it = gCache.find(path);
    if (it != gCache.end()) {
        Document& doc = *it->second;
        if (!doc.dirty && statFile(path) != doc.stamp) load(doc);
        return &doc;
    }
    if (gCache.size() >= kCacheLimit)
        std::erase_if(gCache, [](const auto& entry) { return !entry.second->dirty; });
    auto doc = std::make_unique<Document>();
    doc->path = path;
    load(*doc);
    return gCache.emplace(path, std::move(doc)).first->second.get();
}

// --- Lookup --------------------------------------------------------------------------

void indexSections(Document& doc) {
    if (doc.indexed) return;
    doc.sectionIndex.clear();
    for (size_t i = 1; i < doc.sections.size(); ++i) {
        WideString name;
        classify(doc.sections[i].lines[0].text, &name);
        doc.sectionIndex.try_emplace(WideUpperCase(name), i);
    }
    doc.indexed = true;
}

Section* findSection(Document& doc, WideStringView name) {
    indexSections(doc);
    auto it = doc.sectionIndex.find(nameKey(name));
    return it == doc.sectionIndex.end() ? nullptr : &doc.sections[it->second];
}

void indexKeys(Section& s) {
    if (s.indexed) return;
    s.keys.clear();
    s.lastEntry = 0;
    WideString key;
    for (size_t i = 1; i < s.lines.size(); ++i)
        if (classify(s.lines[i].text, &key) == LineKind::Entry) {
            s.keys.try_emplace(WideUpperCase(key), i);
            s.lastEntry = i;
        }
    s.indexed = true;
}

size_t findKey(Section& s, WideStringView key) {
    indexKeys(s);
    auto it = s.keys.find(nameKey(key));
    return it == s.keys.end() ? npos : it->second;
}

// Probes writability once per load or flush; false when the file cannot be written, or
// when it could not be read (writing would replace what it holds).
bool beginChange(Document& doc) {
    if (doc.unreadable) return false;
    if (!doc.writeChecked) {
        if (!probeWritable(doc.path)) return false;
        doc.writeChecked = true;
    }
    doc.dirty = true;
    return true;
}

bool storableSection(WideStringView name) {
    return !hasBreak(name) && name.find(u']') == npos;
}

bool storableKey(WideStringView key) {
    WideString k = WideTrim(key);
    return !hasBreak(key) && k.find(u'=') == npos && (k.empty() || (k[0] != u'[' && k[0] != u';'));
}

} // namespace

std::optional<WideString> ProfileReadString(WideStringView fileName, WideStringView section,
                                            WideStringView key) {
    std::lock_guard lock(gMutex);
    Document* doc = document(fileName);
    Section* s = doc ? findSection(*doc, section) : nullptr;
    if (!s) return std::nullopt;
    size_t i = findKey(*s, key);
    if (i == npos) return std::nullopt;
    WideStringView value;
    classify(s->lines[i].text, nullptr, &value);
    return unquote(value);
}

TWideStrArray ProfileReadSectionNames(WideStringView fileName) {
    std::lock_guard lock(gMutex);
    TWideStrArray names;
    Document* doc = document(fileName);
    if (!doc) return names;
    for (size_t i = 1; i < doc->sections.size(); ++i) {
        classify(doc->sections[i].lines[0].text, &names.emplace_back());
    }
    return names;
}

TWideStrArray ProfileReadKeyNames(WideStringView fileName, WideStringView section) {
    std::lock_guard lock(gMutex);
    TWideStrArray keys;
    Document* doc = document(fileName);
    Section* s = doc ? findSection(*doc, section) : nullptr;
    if (!s) return keys;
    WideString key;
    for (size_t i = 1; i < s->lines.size(); ++i)
        if (classify(s->lines[i].text, &key) == LineKind::Entry) keys.push_back(key);
    return keys;
}

bool ProfileWriteString(WideStringView fileName, WideStringView section, WideStringView key,
                        WideStringView value) {
    if (!storableSection(section) || !storableKey(key) || hasBreak(value)) return false;
    std::lock_guard lock(gMutex);
    Document* doc = document(fileName);
    if (!doc) return false;
    Section* s = findSection(*doc, section);
    if (s) {
        size_t i = findKey(*s, key);
        if (i != npos) {
            // The entry keeps its line and its key as the file spells it.
            WideString oldKey;
            classify(s->lines[i].text, &oldKey);
            WideString text = oldKey + u'=' + WideString(value);
            if (text == s->lines[i].text) return true;
            if (!beginChange(*doc)) return false;
            s->lines[i] = textLine(std::move(text));
            return true;
        }
    }
    if (!beginChange(*doc)) return false;
    Line entry = textLine(WideTrim(key) + u'=' + WideString(value));
    if (!s) {
        doc->sections.push_back(Section{});
        doc->sections.back().lines.push_back(textLine(u'[' + WideTrim(section) + u']'));
        doc->indexed = false;
        s = &doc->sections.back();
    }
    indexKeys(*s);
    size_t at = s->lastEntry + 1;
    s->lines.insert(s->lines.begin() + at, std::move(entry));
    s->keys.try_emplace(nameKey(key), at);
    s->lastEntry = at;
    return true;
}

bool ProfileDeleteKey(WideStringView fileName, WideStringView section, WideStringView key) {
    std::lock_guard lock(gMutex);
    Document* doc = document(fileName);
    Section* s = doc ? findSection(*doc, section) : nullptr;
    if (!s) return true;
    size_t i = findKey(*s, key);
    if (i == npos) return true;
    if (!beginChange(*doc)) return false;
    s->lines.erase(s->lines.begin() + i);
    s->indexed = false;
    return true;
}

bool ProfileEraseSection(WideStringView fileName, WideStringView section) {
    std::lock_guard lock(gMutex);
    Document* doc = document(fileName);
    Section* s = doc ? findSection(*doc, section) : nullptr;
    if (!s) return true;
    if (!beginChange(*doc)) return false;
    doc->sections.erase(doc->sections.begin() + (s - doc->sections.data()));
    doc->indexed = false;
    return true;
}

bool ProfileFlush(WideStringView fileName) {
    std::lock_guard lock(gMutex);
    Document* doc = document(fileName);
    if (!doc || !doc->dirty) return true;
    if (!SafeFileWrite(doc->path, encodeDocument(*doc))) return false;
    ++gRewrites;
    doc->dirty = false;
    doc->writeChecked = false;
    doc->stamp = statFile(doc->path);
    return true;
}

ProfileEncoding ProfileFileEncoding(WideStringView fileName) {
    std::lock_guard lock(gMutex);
    Document* doc = document(fileName);
    return doc ? doc->encoding : ProfileEncoding::Utf8Bom;
}

uint64_t ProfileRewriteCount() {
    return gRewrites.load();
}
