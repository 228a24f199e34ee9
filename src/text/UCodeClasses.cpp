#include "text/UCodeClasses.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include "text/Prefault.h"
#include "text/SafeFileWrite.h"
#include "text/TextFiles.h"
#include "text/UCodeSysUtils.h"
#include "text/WideFileSystem.h"

namespace {

constexpr bool HostIsBigEndian = std::endian::native == std::endian::big;

// Keeps a list in its update state for a scope, also when an exception passes.
template <class List> class UpdateScope {
public:
    explicit UpdateScope(List& list) : FList(list) { FList.BeginUpdate(); }
    ~UpdateScope() { FList.EndUpdate(); }
    UpdateScope(const UpdateScope&) = delete;
    UpdateScope& operator=(const UpdateScope&) = delete;

private:
    List& FList;
};

// Calls add(line) for every line of text: lines end at CR LF, a lone CR or a lone LF; a
// break at the very end adds no empty line.
template <class View, class AddLine> void ForEachLine(View text, AddLine add) {
    const std::size_t n = text.size();
    std::size_t start = 0;
    while (start < n) {
        std::size_t i = start;
        while (i < n && text[i] != '\r' && text[i] != '\n')
            ++i;
        add(text.substr(start, i - start));
        if (i == n) break;
        start = (text[i] == '\r' && i + 1 < n && text[i + 1] == '\n') ? i + 2 : i + 1;
    }
}

// Every line followed by CR LF, built in one allocation.
template <class String, class GetLine> String JoinLines(int count, GetLine get) {
    std::size_t total = 0;
    for (int i = 0; i < count; ++i)
        total += get(i).size() + 2;
    String result;
    result.reserve(total);
    for (int i = 0; i < count; ++i) {
        result += get(i);
        result += '\r';
        result += '\n';
    }
    return result;
}

// The absolute form of a file name for messages, as the system would complete it.
std::string AbsoluteNative(const std::string& native) {
    std::error_code error;
    std::filesystem::path path = std::filesystem::absolute(native, error);
    return error ? native : path.lexically_normal().string();
}

// Wide comparison of the lists. Case-insensitive: the per-unit upper-case forms compared
// ordinally. Case-sensitive: the same order, and texts that differ only in case put the
// lower-case form first (so "apple" < "Apple" < "banana"); 0 only for identical texts.
int CompareWide(WideStringView a, WideStringView b, bool caseSensitive) {
    if (const int r = WideCompareText(a, b); r != 0) return r;
    const std::size_t n = a.size();
    if (caseSensitive)
        for (std::size_t i = 0; i < n; ++i)
            if (a[i] != b[i]) return a[i] > b[i] ? -1 : 1;
    return 0;
}

} // namespace

void RaiseFileCreateError(const std::string& NativeName, const std::string& SystemMessage) {
    throw EFCreateError("Cannot create file \"" + AbsoluteNative(NativeName) + "\". " +
                        SystemMessage);
}

// ---- Streams ----

int64_t TStream::Size() {
    int64_t pos = Seek(0, soCurrent);
    int64_t size = Seek(0, soEnd);
    Seek(pos, soBeginning);
    return size;
}

void TStream::ReadBuffer(void* Buffer, std::size_t Count) {
    if (Count != 0 && Read(Buffer, Count) != Count) throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* Buffer, std::size_t Count) {
    if (Count != 0 && Write(Buffer, Count) != Count) throw EWriteError("Stream write error");
}

std::string ReadStreamRest(TStream& Stream) {
    int64_t left = Stream.Size() - Stream.Position();
    std::string bytes(left > 0 ? static_cast<std::size_t>(left) : 0, '\0');
    bytes.resize(Stream.Read(bytes.data(), bytes.size()));
    return bytes;
}

WideString ReadStreamRestUTF16(TStream& Stream, bool BigEndian) {
    int64_t left = Stream.Size() - Stream.Position();
    const std::size_t units = left > 1 ? static_cast<std::size_t>(left / 2) : 0;
    WideString text;
    text.reserve(units);
    PrefaultForWriting(text.data(), units * sizeof(WideChar));
    text.resize(units);
    std::size_t got = Stream.Read(text.data(), text.size() * sizeof(WideChar));
    text.resize(got / sizeof(WideChar));
    if (BigEndian != HostIsBigEndian) SwapUTF16ByteOrder(text.data(), text.size());
    return text;
}

// Moves Count bytes with a system call that may move fewer at a time; stops at the end of the
// file or an error and returns the bytes moved.
template <class Byte, class Call> std::size_t TransferAll(Byte* p, std::size_t Count, Call call) {
    std::size_t done = 0;
    while (done < Count) {
        ssize_t n = call(p + done, Count - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += static_cast<std::size_t>(n);
    }
    return done;
}

std::size_t THandleStream::Read(void* Buffer, std::size_t Count) {
    return TransferAll(static_cast<char*>(Buffer), Count,
                       [this](char* p, std::size_t n) { return ::read(FHandle, p, n); });
}

std::size_t THandleStream::Write(const void* Buffer, std::size_t Count) {
    return TransferAll(static_cast<const char*>(Buffer), Count,
                       [this](const char* p, std::size_t n) { return ::write(FHandle, p, n); });
}

int64_t THandleStream::Seek(int64_t Offset, TSeekOrigin Origin) {
    int whence = Origin == soBeginning ? SEEK_SET : Origin == soCurrent ? SEEK_CUR : SEEK_END;
    return lseek(FHandle, Offset, whence);
}

void THandleStream::SetSize(int64_t NewSize) {
    if (ftruncate(FHandle, NewSize) != 0) throw EWriteError(std::string(std::strerror(errno)));
    if (Position() > NewSize) SetPosition(NewSize);
}

int64_t THandleStream::Size() {
    struct stat st;
    if (fstat(FHandle, &st) == 0 && S_ISREG(st.st_mode)) return st.st_size;
    return TStream::Size();
}

int UCodeFileOpen(const std::string& NativeName, uint16_t Mode) {
    int flags;
    if (Mode == fmCreate) {
        flags = O_RDWR | O_CREAT | O_TRUNC;
    } else {
        switch (Mode & 3) {
        case fmOpenRead:
            flags = O_RDONLY;
            break;
        case fmOpenWrite:
            flags = O_WRONLY;
            break;
        case fmOpenReadWrite:
            flags = O_RDWR;
            break;
        default:
            errno = EINVAL;
            return -1;
        }
    }
    // Data files only: a named pipe would block until a writer comes, a device or a
    // file of /proc may never end.
    return OpenDataFile(NativeName, flags);
}

TUCodeFileStream::TUCodeFileStream(const WideString& FileName, uint16_t Mode) : THandleStream(-1) {
    std::string native = NativePath(FileName);
    FHandle = UCodeFileOpen(native, Mode);
    if (FHandle < 0) {
        std::string reason = std::strerror(errno);
        if (Mode == fmCreate) RaiseFileCreateError(native, reason);
        throw EFOpenError("Cannot open file \"" + AbsoluteNative(native) + "\". " + reason);
    }
}

TUCodeFileStream::~TUCodeFileStream() {
    if (FHandle >= 0) ::close(FHandle);
}

std::size_t TMemoryStream::Read(void* Buffer, std::size_t Count) {
    if (FPosition >= FData.size()) return 0;
    std::size_t n = std::min(Count, FData.size() - FPosition);
    std::memcpy(Buffer, FData.data() + FPosition, n);
    FPosition += n;
    return n;
}

std::size_t TMemoryStream::Write(const void* Buffer, std::size_t Count) {
    if (Count == 0) return 0;
    if (FData.size() < FPosition + Count) FData.resize(FPosition + Count);
    std::memcpy(FData.data() + FPosition, Buffer, Count);
    FPosition += Count;
    return Count;
}

int64_t TMemoryStream::Seek(int64_t Offset, TSeekOrigin Origin) {
    int64_t base = Origin == soBeginning ? 0
                   : Origin == soCurrent ? static_cast<int64_t>(FPosition)
                                         : static_cast<int64_t>(FData.size());
    if (base + Offset < 0) return -1;
    FPosition = static_cast<std::size_t>(base + Offset);
    return base + Offset;
}

void TMemoryStream::SetSize(int64_t NewSize) {
    FData.resize(static_cast<std::size_t>(std::max<int64_t>(NewSize, 0)));
    FPosition = std::min(FPosition, FData.size());
}

void TMemoryStream::Clear() {
    FData.clear();
    FPosition = 0;
}

// ---- 8-bit lists ----

AnsiString TAnsiStrings::GetTextStr() const {
    return JoinLines<AnsiString>(Count(), [this](int i) { return Get(i); });
}

void TAnsiStrings::SetTextStr(std::string_view Value) {
    UpdateScope scope(*this);
    Clear();
    ForEachLine(Value, [this](std::string_view line) { Add(AnsiString(line)); });
}

int TAnsiStrings::AddObject(const AnsiString& S, void* AObject) {
    int index = Count();
    InsertObject(index, S, AObject);
    return index;
}

void TAnsiStrings::AddStrings(const TAnsiStrings& Strings) {
    UpdateScope scope(*this);
    const int n = Strings.Count();
    for (int i = 0; i < n; ++i)
        AddObject(Strings.Get(i), Strings.GetObject(i));
}

void TAnsiStrings::Assign(const TAnsiStrings& Source) {
    if (&Source == this) return;
    UpdateScope scope(*this);
    Clear();
    AddStrings(Source);
}

void TAnsiStrings::BeginUpdate() {
    if (FUpdateCount++ == 0) SetUpdateState(true);
}

void TAnsiStrings::EndUpdate() {
    if (FUpdateCount > 0 && --FUpdateCount == 0) SetUpdateState(false);
}

int TAnsiStringsForWideStringsAdapter::Count() const {
    return FWideStrings->Count();
}

AnsiString TAnsiStringsForWideStringsAdapter::Get(int Index) const {
    return WideToAnsiCP(FWideStrings->Get(Index), FAdapterCodePage);
}

void TAnsiStringsForWideStringsAdapter::Put(int Index, const AnsiString& S) {
    FWideStrings->Put(Index, AnsiToWideCP(S, FAdapterCodePage));
}

void* TAnsiStringsForWideStringsAdapter::GetObject(int Index) const {
    return FWideStrings->GetObject(Index);
}

void TAnsiStringsForWideStringsAdapter::PutObject(int Index, void* AObject) {
    FWideStrings->PutObject(Index, AObject);
}

void TAnsiStringsForWideStringsAdapter::InsertObject(int Index, const AnsiString& S,
                                                     void* AObject) {
    FWideStrings->InsertObject(Index, AnsiToWideCP(S, FAdapterCodePage), AObject);
}

int TAnsiStringsForWideStringsAdapter::AddObject(const AnsiString& S, void* AObject) {
    return FWideStrings->AddObject(AnsiToWideCP(S, FAdapterCodePage), AObject);
}

void TAnsiStringsForWideStringsAdapter::Delete(int Index) {
    FWideStrings->Delete(Index);
}

void TAnsiStringsForWideStringsAdapter::Clear() {
    FWideStrings->Clear();
}

AnsiString TAnsiStringsForWideStringsAdapter::GetTextStr() const {
    return WideToAnsiCP(FWideStrings->GetTextStr(), FAdapterCodePage);
}

void TAnsiStringsForWideStringsAdapter::SetTextStr(std::string_view Value) {
    FWideStrings->SetTextStr(AnsiToWideCP(Value, FAdapterCodePage));
}

void TAnsiStringsForWideStringsAdapter::LoadFromStreamEx(TStream& Stream, uint32_t CodePage) {
    UpdateScope scope(*FWideStrings);
    FWideStrings->SetTextStr(AnsiToWideCP(ReadStreamRest(Stream), CodePage));
}

void TAnsiStringsForWideStringsAdapter::SaveToStreamEx(TStream& Stream, uint32_t CodePage) {
    AnsiString bytes = WideToAnsiCP(FWideStrings->GetTextStr(), CodePage);
    Stream.WriteBuffer(bytes.data(), bytes.size());
}

void TAnsiStringsForWideStringsAdapter::SetUpdateState(bool Updating) {
    if (Updating)
        FWideStrings->BeginUpdate();
    else
        FWideStrings->EndUpdate();
}

// ---- Wide lists ----

TUCodeStreamEncoding ReadByteOrderMark(TStream& Stream) {
    const int64_t start = Stream.Position();
    const int64_t left = Stream.Size() - start;
    unsigned char b[3] = {0, 0, 0};
    if (left >= 2 && Stream.Read(b, 2) == 2) {
        if (b[0] == 0xFF && b[1] == 0xFE) return seUTF16LE;
        if (b[0] == 0xFE && b[1] == 0xFF) return seUTF16BE;
        Stream.SetPosition(start);
    }
    if (left >= 3 && Stream.Read(b, 3) == 3) {
        if (b[0] == 0xEF && b[1] == 0xBB && b[2] == 0xBF) return seUTF8;
        Stream.SetPosition(start);
    }
    return seAnsi;
}

TUCodeStrings::TUCodeStrings()
    : FAnsiStrings(std::make_unique<TAnsiStringsForWideStringsAdapter>(this, 0)) {}

TUCodeStrings::~TUCodeStrings() = default;

void TUCodeStrings::Error(const char* Message) const {
    throw EStringListError(Message);
}

void TUCodeStrings::IndexError(int Index) const {
    throw EStringListError("List index out of bounds (" + std::to_string(Index) + ")");
}

void* TUCodeStrings::GetObject(int) const {
    return nullptr;
}

void TUCodeStrings::PutObject(int, void*) {}

void TUCodeStrings::Put(int Index, const WideString& S) {
    void* object = GetObject(Index);
    UpdateScope scope(*this);
    Delete(Index);
    InsertObject(Index, S, object);
}

int TUCodeStrings::AddObject(const WideString& S, void* AObject) {
    int index = GetCount();
    InsertObject(index, S, AObject);
    return index;
}

void TUCodeStrings::Exchange(int Index1, int Index2) {
    UpdateScope scope(*this);
    WideString s1 = Get(Index1);
    void* o1 = GetObject(Index1);
    Put(Index1, Get(Index2));
    PutObject(Index1, GetObject(Index2));
    Put(Index2, s1);
    PutObject(Index2, o1);
}

void TUCodeStrings::Move(int CurIndex, int NewIndex) {
    if (CurIndex == NewIndex) return;
    UpdateScope scope(*this);
    WideString s = Get(CurIndex);
    void* object = GetObject(CurIndex);
    if (NewIndex < 0 || NewIndex >= GetCount()) IndexError(NewIndex);
    Delete(CurIndex);
    InsertObject(NewIndex, s, object);
}

int TUCodeStrings::IndexOf(const WideString& S) const {
    const int n = GetCount();
    for (int i = 0; i < n; ++i)
        if (CompareStrings(Get(i), S) == 0) return i;
    return -1;
}

int TUCodeStrings::IndexOfName(const WideString& Name) const {
    const int n = GetCount();
    for (int i = 0; i < n; ++i) {
        WideString s = Get(i);
        std::size_t p = s.find(NameValueSeparator);
        if (p != WideString::npos && CompareStrings(WideStringView(s).substr(0, p), Name) == 0)
            return i;
    }
    return -1;
}

int TUCodeStrings::IndexOfObject(const void* AObject) const {
    const int n = GetCount();
    for (int i = 0; i < n; ++i)
        if (GetObject(i) == AObject) return i;
    return -1;
}

void TUCodeStrings::AddStrings(const TUCodeStrings& Strings) {
    UpdateScope scope(*this);
    const int n = Strings.GetCount();
    for (int i = 0; i < n; ++i)
        AddObject(Strings.Get(i), Strings.GetObject(i));
}

void TUCodeStrings::AddStrings(const TAnsiStrings& Strings) {
    UpdateScope scope(*this);
    const int n = Strings.Count();
    for (int i = 0; i < n; ++i)
        AddObject(AnsiToWideCP(Strings.Get(i), 0), Strings.GetObject(i));
}

void TUCodeStrings::Assign(const TUCodeStrings& Source) {
    if (&Source == this) return;
    UpdateScope scope(*this);
    Clear();
    AddStrings(Source);
}

void TUCodeStrings::Assign(const TAnsiStrings& Source) {
    if (&Source == FAnsiStrings.get()) return;
    UpdateScope scope(*this);
    Clear();
    AddStrings(Source);
}

WideString TUCodeStrings::GetTextStr() const {
    return JoinLines<WideString>(GetCount(), [this](int i) { return Get(i); });
}

void TUCodeStrings::SetTextStr(WideStringView Value) {
    UpdateScope scope(*this);
    Clear();
    ForEachLine(Value, [this](WideStringView line) { Add(WideString(line)); });
}

int TUCodeStrings::CompareStrings(WideStringView S1, WideStringView S2) const {
    return CompareWide(S1, S2, false);
}

WideString TUCodeStrings::Names(int Index) const {
    WideString s = Get(Index);
    std::size_t p = s.find(NameValueSeparator);
    return p == WideString::npos ? WideString() : s.substr(0, p);
}

WideString TUCodeStrings::ValueFromIndex(int Index) const {
    WideString s = Get(Index);
    std::size_t p = s.find(NameValueSeparator);
    return p == WideString::npos ? WideString() : s.substr(p + 1);
}

WideString TUCodeStrings::Values(const WideString& Name) const {
    int i = IndexOfName(Name);
    return i < 0 ? WideString() : ValueFromIndex(i);
}

void TUCodeStrings::SetValue(const WideString& Name, const WideString& Value) {
    int i = IndexOfName(Name);
    if (Value.empty()) {
        if (i >= 0) Delete(i);
        return;
    }
    WideString line = Name + NameValueSeparator + Value;
    if (i < 0)
        Add(line);
    else
        Put(i, line);
}

void TUCodeStrings::BeginUpdate() {
    if (FUpdateCount++ == 0) SetUpdateState(true);
}

void TUCodeStrings::EndUpdate() {
    if (FUpdateCount > 0 && --FUpdateCount == 0) SetUpdateState(false);
}

void TUCodeStrings::LoadFromFile(const WideString& FileName) {
    TUCodeFileStream stream(FileName, fmOpenRead | fmShareDenyWrite);
    LastEncoding = ReadByteOrderMark(stream);
    stream.SetPosition(0);
    LoadFromStream(stream);
}

void TUCodeStrings::LoadFromStream(TStream& Stream, bool DetectBOM) {
    UpdateScope scope(*this);
    TUCodeStreamEncoding encoding = DetectBOM ? ReadByteOrderMark(Stream) : seUTF16LE;
    switch (encoding) {
    case seUTF16LE:
        SetTextStr(ReadStreamRestUTF16(Stream, false));
        break;
    case seUTF16BE:
        SetTextStr(ReadStreamRestUTF16(Stream, true));
        break;
    // A marked UTF-8 file keeps its text even where a byte is malformed.
    case seUTF8:
        SetTextStr(UTF8ToWideLenient(ReadStreamRest(Stream)));
        break;
    case seAnsi:
        SetTextStr(AnsiToWideCP(ReadStreamRest(Stream), 0));
        break;
    }
}

void TUCodeStrings::SaveToFile(const WideString& FileName) {
    // The whole file is built first and then replaces the old one, so a failure leaves the
    // old file as it was instead of a truncated one.
    TMemoryStream buffer;
    SaveToStream(buffer);
    std::string error;
    std::string native = NativePath(FileName);
    if (!SafeFileWrite(native, buffer.Bytes(), &error)) RaiseFileCreateError(native, error);
}

void TUCodeStrings::SaveToStream(TStream& Stream, bool WithBOM) {
    if (WithBOM) {
        const unsigned char mark[2] = {0xFF, 0xFE};
        Stream.WriteBuffer(mark, 2);
    }
    WideString text = GetTextStr();
    if (HostIsBigEndian) SwapUTF16ByteOrder(text.data(), text.size());
    Stream.WriteBuffer(text.data(), text.size() * sizeof(WideChar));
}

// ---- The concrete list ----

TUCodeStringList::~TUCodeStringList() {
    OnChange = nullptr;
    OnChanging = nullptr;
}

void TUCodeStringList::CheckIndex(int Index) const {
    if (Index < 0 || Index >= GetCount()) IndexError(Index);
}

WideString TUCodeStringList::Get(int Index) const {
    return ItemRef(Index);
}

const WideString& TUCodeStringList::ItemRef(int Index) const {
    CheckIndex(Index);
    return FList[static_cast<std::size_t>(Index)].FString;
}

void* TUCodeStringList::GetObject(int Index) const {
    CheckIndex(Index);
    return FList[static_cast<std::size_t>(Index)].FObject;
}

void TUCodeStringList::Put(int Index, const WideString& S) {
    if (FSorted) Error("Operation not allowed on sorted list");
    CheckIndex(Index);
    Changing();
    FList[static_cast<std::size_t>(Index)].FString = S;
    Changed();
}

void TUCodeStringList::PutObject(int Index, void* AObject) {
    CheckIndex(Index);
    Changing();
    FList[static_cast<std::size_t>(Index)].FObject = AObject;
    Changed();
}

void TUCodeStringList::InsertObject(int Index, const WideString& S, void* AObject) {
    if (FSorted) Error("Operation not allowed on sorted list");
    if (Index < 0 || Index > GetCount()) IndexError(Index);
    InsertItem(Index, S, AObject);
}

void TUCodeStringList::InsertItem(int Index, const WideString& S, void* AObject) {
    Changing();
    if (GetCount() == FCapacity) Grow();
    FList.insert(FList.begin() + Index, TStringItem{S, AObject});
    Changed();
}

void TUCodeStringList::Grow() {
    int delta = FCapacity > 64 ? FCapacity / 4 : FCapacity > 8 ? 16 : 4;
    SetCapacity(FCapacity + delta);
}

void TUCodeStringList::SetCapacity(int NewCapacity) {
    NewCapacity = std::max(NewCapacity, GetCount());
    if (static_cast<std::size_t>(NewCapacity) < FList.capacity()) {
        std::vector<TStringItem> smaller;
        smaller.reserve(static_cast<std::size_t>(NewCapacity));
        std::move(FList.begin(), FList.end(), std::back_inserter(smaller));
        FList.swap(smaller);
    } else {
        FList.reserve(static_cast<std::size_t>(NewCapacity));
    }
    FCapacity = NewCapacity;
}

void TUCodeStringList::Delete(int Index) {
    CheckIndex(Index);
    Changing();
    FList.erase(FList.begin() + Index);
    Changed();
}

void TUCodeStringList::Clear() {
    if (FList.empty()) return;
    Changing();
    std::vector<TStringItem>().swap(FList);
    FCapacity = 0;
    Changed();
}

int TUCodeStringList::AddObject(const WideString& S, void* AObject) {
    int index = GetCount();
    if (FSorted && Find(S, index)) {
        if (FDuplicates == dupIgnore) return index;
        if (FDuplicates == dupError) Error("String list does not allow duplicates");
    }
    InsertItem(index, S, AObject);
    return index;
}

void TUCodeStringList::Exchange(int Index1, int Index2) {
    CheckIndex(Index1);
    CheckIndex(Index2);
    Changing();
    std::swap(FList[static_cast<std::size_t>(Index1)], FList[static_cast<std::size_t>(Index2)]);
    Changed();
}

void TUCodeStringList::Move(int CurIndex, int NewIndex) {
    // Moving would delete the item and then fail to insert it: refuse before touching it.
    if (FSorted && CurIndex != NewIndex) Error("Operation not allowed on sorted list");
    TUCodeStrings::Move(CurIndex, NewIndex);
}

int TUCodeStringList::IndexOf(const WideString& S) const {
    if (!FSorted) return TUCodeStrings::IndexOf(S);
    int index;
    return Find(S, index) ? index : -1;
}

int TUCodeStringList::IndexOfName(const WideString& Name) const {
    if (!FSorted) return TUCodeStrings::IndexOfName(Name);
    const WideString key = Name + NameValueSeparator;
    int index;
    Find(key, index);
    // Items that begin with the key in any case follow one another from the found place;
    // the first that begins with it by the list's own comparison is the one.
    for (int i = index; i < GetCount(); ++i) {
        WideStringView head = WideStringView(FList[static_cast<std::size_t>(i)].FString);
        if (head.size() < key.size()) break;
        head = head.substr(0, key.size());
        if (CompareWide(head, key, false) != 0) break;
        if (CompareStrings(head, key) == 0) return i;
    }
    return -1;
}

int TUCodeStringList::CompareStrings(WideStringView S1, WideStringView S2) const {
    return CompareWide(S1, S2, FCaseSensitive);
}

bool TUCodeStringList::Find(const WideString& S, int& Index) const {
    bool found = false;
    int low = 0, high = GetCount() - 1;
    while (low <= high) {
        int i = (low + high) >> 1;
        int c = CompareStrings(FList[static_cast<std::size_t>(i)].FString, S);
        if (c < 0) {
            low = i + 1;
        } else {
            high = i - 1;
            if (c == 0) {
                found = true;
                if (FDuplicates != dupAccept) low = i;
            }
        }
    }
    Index = low;
    return found;
}

void TUCodeStringList::Sort() {
    CustomSort([](TUCodeStringList& list, int i, int j) {
        return list.CompareStrings(list.FList[static_cast<std::size_t>(i)].FString,
                                   list.FList[static_cast<std::size_t>(j)].FString);
    });
}

void TUCodeStringList::CustomSort(const TUCodeStringListSortCompare& Compare) {
    if (FSorted || GetCount() < 2) return;
    Changing();
    QuickSort(0, GetCount() - 1, Compare);
    Changed();
}

void TUCodeStringList::QuickSort(int L, int R, const TUCodeStringListSortCompare& Compare) {
    int i;
    do {
        i = L;
        int j = R;
        int p = (L + R) >> 1;
        do {
            while (Compare(*this, i, p) < 0)
                ++i;
            while (Compare(*this, j, p) > 0)
                --j;
            if (i <= j) {
                if (i != j)
                    std::swap(FList[static_cast<std::size_t>(i)],
                              FList[static_cast<std::size_t>(j)]);
                if (p == i)
                    p = j;
                else if (p == j)
                    p = i;
                ++i;
                --j;
            }
        } while (i <= j);
        if (L < j) QuickSort(L, j, Compare);
        L = i;
    } while (i < R);
}

void TUCodeStringList::SetSorted(bool Value) {
    if (FSorted == Value) return;
    if (Value) Sort();
    FSorted = Value;
}

void TUCodeStringList::SetCaseSensitive(bool Value) {
    if (FCaseSensitive == Value) return;
    FCaseSensitive = Value;
    // A sorted list must stay in the order of its new comparison.
    if (FSorted) {
        FSorted = false;
        Sort();
        FSorted = true;
    }
}

void TUCodeStringList::SetUpdateState(bool Updating) {
    if (Updating) {
        Changing();
        FUpdating = true;
    } else {
        FUpdating = false;
        Changed();
    }
}

void TUCodeStringList::Changed() {
    if (!FUpdating && OnChange) OnChange(*this);
}

void TUCodeStringList::Changing() {
    if (!FUpdating && OnChanging) OnChanging(*this);
}
