// Streams and string lists of the Unicode library: a byte stream over a file named by a
// wide path, an in-memory stream, the abstract wide-string list with its text rules and
// its files (byte order marks), the concrete sortable list, and the 8-bit view of a wide
// list in a code page.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "text/Exception.h"
#include "text/WideTypes.h"

// ---- Exceptions ----

class EStreamError : public Exception {
public:
    using Exception::Exception;
};
// "Cannot create file "%s". %s"
class EFCreateError : public EStreamError {
public:
    using EStreamError::EStreamError;
};
// "Cannot open file "%s". %s"
class EFOpenError : public EStreamError {
public:
    using EStreamError::EStreamError;
};
// "Stream read error" / "Stream write error"
class EReadError : public EStreamError {
public:
    using EStreamError::EStreamError;
};
class EWriteError : public EStreamError {
public:
    using EStreamError::EStreamError;
};
// "List index out of bounds (%d)", "Operation not allowed on sorted list",
// "String list does not allow duplicates"
class EStringListError : public Exception {
public:
    using Exception::Exception;
};

// Raises EFCreateError "Cannot create file "<absolute path>". <SystemMessage>".
[[noreturn]] void RaiseFileCreateError(const std::string& NativeName,
                                       const std::string& SystemMessage);

// ---- Streams ----

enum TSeekOrigin { soBeginning, soCurrent, soEnd };

class TStream {
public:
    virtual ~TStream() = default;
    // Read and Write move up to Count bytes and return how many they moved.
    virtual std::size_t Read(void* Buffer, std::size_t Count) = 0;
    virtual std::size_t Write(const void* Buffer, std::size_t Count) = 0;
    virtual int64_t Seek(int64_t Offset, TSeekOrigin Origin) = 0;
    virtual void SetSize(int64_t NewSize) = 0;
    virtual int64_t Size();

    int64_t Position() { return Seek(0, soCurrent); }
    void SetPosition(int64_t Pos) { Seek(Pos, soBeginning); }
    // All or nothing: EReadError / EWriteError when fewer bytes move.
    void ReadBuffer(void* Buffer, std::size_t Count);
    void WriteBuffer(const void* Buffer, std::size_t Count);
};

// The bytes from the position to the end, read in one go.
std::string ReadStreamRest(TStream& Stream);
// The bytes from the position to the end as UTF-16 units (an odd last byte is ignored),
// read straight into the result; BigEndian swaps the bytes of every unit.
WideString ReadStreamRestUTF16(TStream& Stream, bool BigEndian);

// A stream over an operating-system file descriptor (not owned).
class THandleStream : public TStream {
public:
    explicit THandleStream(int AHandle) : FHandle(AHandle) {}
    int Handle() const { return FHandle; }
    std::size_t Read(void* Buffer, std::size_t Count) override;
    std::size_t Write(const void* Buffer, std::size_t Count) override;
    int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
    void SetSize(int64_t NewSize) override;
    int64_t Size() override;

protected:
    int FHandle;
};

// File modes: fmCreate, or an access mode combined with a sharing mode. Linux has no
// sharing modes: they are accepted and ignored.
constexpr uint16_t fmCreate = 0xFFFF;
constexpr uint16_t fmOpenRead = 0x0000;
constexpr uint16_t fmOpenWrite = 0x0001;
constexpr uint16_t fmOpenReadWrite = 0x0002;
constexpr uint16_t fmShareExclusive = 0x0010;
constexpr uint16_t fmShareDenyWrite = 0x0020;
constexpr uint16_t fmShareDenyRead = 0x0030;
constexpr uint16_t fmShareDenyNone = 0x0040;

// Opens a file by mode as the file stream does: fmCreate creates it (an existing file is
// emptied), any other mode opens an existing file with the access of Mode AND 3. Only data
// files are opened (OpenDataFile, WideFileSystem.h): a folder, a named pipe, a device or a
// file of /proc is refused. Returns the descriptor, or -1 with errno set.
int UCodeFileOpen(const std::string& NativeName, uint16_t Mode);

// A file stream on a wide file name; raises EFCreateError / EFOpenError with the file's
// absolute path and the system's message.
class TUCodeFileStream : public THandleStream {
public:
    TUCodeFileStream(const WideString& FileName, uint16_t Mode);
    ~TUCodeFileStream() override;
    TUCodeFileStream(const TUCodeFileStream&) = delete;
    TUCodeFileStream& operator=(const TUCodeFileStream&) = delete;
};

// A stream over bytes in memory.
class TMemoryStream : public TStream {
public:
    std::size_t Read(void* Buffer, std::size_t Count) override;
    std::size_t Write(const void* Buffer, std::size_t Count) override;
    int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
    void SetSize(int64_t NewSize) override;
    int64_t Size() override { return static_cast<int64_t>(FData.size()); }
    void Clear();
    const std::string& Bytes() const { return FData; }

private:
    std::string FData;
    std::size_t FPosition = 0;
};

// ---- String lists ----

class TUCodeStrings;

// The abstract 8-bit string list: lines of bytes in a code page, text joined by CR LF.
class TAnsiStrings {
public:
    virtual ~TAnsiStrings() = default;

    virtual int Count() const = 0;
    virtual AnsiString Get(int Index) const = 0;
    virtual void Put(int Index, const AnsiString& S) = 0;
    virtual void* GetObject(int Index) const = 0;
    virtual void PutObject(int Index, void* AObject) = 0;
    virtual void InsertObject(int Index, const AnsiString& S, void* AObject) = 0;
    virtual void Delete(int Index) = 0;
    virtual void Clear() = 0;
    virtual AnsiString GetTextStr() const;
    virtual void SetTextStr(std::string_view Value);
    virtual void LoadFromStreamEx(TStream& Stream, uint32_t CodePage) = 0;
    virtual void SaveToStreamEx(TStream& Stream, uint32_t CodePage) = 0;

    virtual int AddObject(const AnsiString& S, void* AObject);
    int Add(const AnsiString& S) { return AddObject(S, nullptr); }
    void Insert(int Index, const AnsiString& S) { InsertObject(Index, S, nullptr); }
    void AddStrings(const TAnsiStrings& Strings);
    void Assign(const TAnsiStrings& Source);
    AnsiString Text() const { return GetTextStr(); }
    void SetText(std::string_view Value) { SetTextStr(Value); }
    void LoadFromStream(TStream& Stream) { LoadFromStreamEx(Stream, 0); }
    void SaveToStream(TStream& Stream) { SaveToStreamEx(Stream, 0); }

    void BeginUpdate();
    void EndUpdate();

protected:
    virtual void SetUpdateState(bool) {}

private:
    int FUpdateCount = 0;
};

// The 8-bit view of a wide list: every operation works on the wide list, converting each
// line between UTF-16 and AdapterCodePage (0: the ANSI code page; 65000 UTF-7; 65001 UTF-8).
class TAnsiStringsForWideStringsAdapter : public TAnsiStrings {
public:
    TAnsiStringsForWideStringsAdapter(TUCodeStrings* AWideStrings, uint32_t AAdapterCodePage = 0)
        : FWideStrings(AWideStrings), FAdapterCodePage(AAdapterCodePage) {}

    uint32_t AdapterCodePage() const { return FAdapterCodePage; }

    int Count() const override;
    AnsiString Get(int Index) const override;
    void Put(int Index, const AnsiString& S) override;
    void* GetObject(int Index) const override;
    void PutObject(int Index, void* AObject) override;
    void InsertObject(int Index, const AnsiString& S, void* AObject) override;
    int AddObject(const AnsiString& S, void* AObject) override;
    void Delete(int Index) override;
    void Clear() override;
    AnsiString GetTextStr() const override;
    void SetTextStr(std::string_view Value) override;
    // The bytes from the position to the end, converted from CodePage, become the wide
    // list's text; no byte order mark is looked for or written.
    void LoadFromStreamEx(TStream& Stream, uint32_t CodePage) override;
    void SaveToStreamEx(TStream& Stream, uint32_t CodePage) override;

protected:
    void SetUpdateState(bool Updating) override;

private:
    TUCodeStrings* FWideStrings;
    uint32_t FAdapterCodePage;
};

// The byte order mark found by the last LoadFromFile.
enum TUCodeStreamEncoding : uint8_t {
    seAnsi = 0,    // none: 8-bit text in the ANSI code page
    seUTF16LE = 1, // FF FE
    seUTF16BE = 2, // FE FF
    seUTF8 = 3,    // EF BB BF
};

// Reads a byte order mark at the stream's position: FF FE, FE FF or EF BB BF. With a mark
// the stream stands after it; without one it stays where it was and the result is seAnsi.
TUCodeStreamEncoding ReadByteOrderMark(TStream& Stream);

// The abstract wide-string list. Text rules: setting Text splits at CR LF, a lone CR and a
// lone LF (a final break adds no empty line; U+0000 is an ordinary character); getting Text
// ends every line with CR LF. Names and values are split at the first "=".
class TUCodeStrings {
public:
    static constexpr WideChar NameValueSeparator = u'=';

    TUCodeStrings();
    virtual ~TUCodeStrings();
    TUCodeStrings(const TUCodeStrings&) = delete;
    TUCodeStrings& operator=(const TUCodeStrings&) = delete;

    virtual WideString Get(int Index) const = 0;
    virtual int GetCount() const = 0;
    virtual void* GetObject(int Index) const;
    virtual void Put(int Index, const WideString& S);
    virtual void PutObject(int Index, void* AObject);
    virtual void InsertObject(int Index, const WideString& S, void* AObject) = 0;
    virtual void Delete(int Index) = 0;
    virtual void Clear() = 0;
    virtual int AddObject(const WideString& S, void* AObject);
    virtual void Exchange(int Index1, int Index2);
    virtual void Move(int CurIndex, int NewIndex);
    virtual int IndexOf(const WideString& S) const;
    virtual int IndexOfName(const WideString& Name) const;
    virtual int IndexOfObject(const void* AObject) const;
    virtual void AddStrings(const TUCodeStrings& Strings);
    virtual void AddStrings(const TAnsiStrings& Strings);
    virtual void Assign(const TUCodeStrings& Source);
    virtual WideString GetTextStr() const;
    virtual void SetTextStr(WideStringView Value);
    // 0 when equal; case-insensitive here, the concrete list chooses.
    virtual int CompareStrings(WideStringView S1, WideStringView S2) const;

    int Count() const { return GetCount(); }
    int Add(const WideString& S) { return AddObject(S, nullptr); }
    void Insert(int Index, const WideString& S) { InsertObject(Index, S, nullptr); }
    // The lines of an 8-bit list, converted from the ANSI code page, replace the lines.
    void Assign(const TAnsiStrings& Source);
    WideString Text() const { return GetTextStr(); }
    void SetText(WideStringView Value) { SetTextStr(Value); }

    // Name=Value lines.
    WideString Names(int Index) const;
    WideString ValueFromIndex(int Index) const;
    WideString Values(const WideString& Name) const;
    // Sets the value of Name; an empty Value deletes the line, a new Name is added.
    void SetValue(const WideString& Name, const WideString& Value);

    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return FUpdateCount; }

    // Files and streams. Loading detects a byte order mark (FF FE, FE FF, EF BB BF; none
    // is 8-bit text in the ANSI code page); saving writes UTF-16 LE.
    virtual void LoadFromFile(const WideString& FileName);
    void LoadFromStream(TStream& Stream) { LoadFromStream(Stream, true); }
    virtual void LoadFromStream(TStream& Stream, bool DetectBOM);
    virtual void SaveToFile(const WideString& FileName);
    void SaveToStream(TStream& Stream) { SaveToStream(Stream, true); }
    virtual void SaveToStream(TStream& Stream, bool WithBOM);

    TUCodeStreamEncoding LastEncoding = seUTF16LE;

    // The 8-bit view of this list in the ANSI code page.
    TAnsiStrings& AnsiStrings() { return *FAnsiStrings; }
    void SetAnsiStrings(const TAnsiStrings& Value) { FAnsiStrings->Assign(Value); }

protected:
    virtual void SetUpdateState(bool) {}
    [[noreturn]] void Error(const char* Message) const;
    [[noreturn]] void IndexError(int Index) const;

private:
    int FUpdateCount = 0;
    std::unique_ptr<TAnsiStringsForWideStringsAdapter> FAnsiStrings;
};

enum TDuplicates : uint8_t { dupIgnore = 0, dupAccept = 1, dupError = 2 };

class TUCodeStringList;
using TStringListNotifyEvent = std::function<void(TUCodeStringList& Sender)>;
// Negative, 0 or positive as the item at Index1 sorts before, with or after the one at Index2.
using TUCodeStringListSortCompare =
    std::function<int(TUCodeStringList& List, int Index1, int Index2)>;

// The wide-string list: items with an attached object (not owned), optionally sorted
// (binary search, duplicates rule), case-sensitive or not, with change events.
class TUCodeStringList : public TUCodeStrings {
public:
    TUCodeStringList() = default;
    ~TUCodeStringList() override;

    WideString Get(int Index) const override;
    // The item itself, without a copy, valid until the list changes (for hot loops such as
    // comparisons while sorting).
    const WideString& ItemRef(int Index) const;
    int GetCount() const override { return static_cast<int>(FList.size()); }
    void* GetObject(int Index) const override;
    void Put(int Index, const WideString& S) override;
    void PutObject(int Index, void* AObject) override;
    void InsertObject(int Index, const WideString& S, void* AObject) override;
    void Delete(int Index) override;
    void Clear() override;
    int AddObject(const WideString& S, void* AObject) override;
    void Exchange(int Index1, int Index2) override;
    void Move(int CurIndex, int NewIndex) override;
    int IndexOf(const WideString& S) const override;
    int IndexOfName(const WideString& Name) const override;
    int CompareStrings(WideStringView S1, WideStringView S2) const override;

    // Binary search over a sorted list: true on a hit; Index is the hit (with dupAccept the
    // first equal item) or the place where S would be inserted.
    virtual bool Find(const WideString& S, int& Index) const;
    virtual void Sort();
    virtual void CustomSort(const TUCodeStringListSortCompare& Compare);

    int Capacity() const { return FCapacity; }
    void SetCapacity(int NewCapacity);
    bool Sorted() const { return FSorted; }
    void SetSorted(bool Value);
    TDuplicates Duplicates() const { return FDuplicates; }
    void SetDuplicates(TDuplicates Value) { FDuplicates = Value; }
    bool CaseSensitive() const { return FCaseSensitive; }
    void SetCaseSensitive(bool Value);

    TStringListNotifyEvent OnChange;
    TStringListNotifyEvent OnChanging;

protected:
    void SetUpdateState(bool Updating) override;
    virtual void Changed();
    virtual void Changing();
    void InsertItem(int Index, const WideString& S, void* AObject);

private:
    struct TStringItem {
        WideString FString;
        void* FObject = nullptr;
    };
    void Grow();
    void CheckIndex(int Index) const;
    void QuickSort(int L, int R, const TUCodeStringListSortCompare& Compare);

    bool FUpdating = false;
    std::vector<TStringItem> FList;
    int FCapacity = 0;
    bool FSorted = false;
    TDuplicates FDuplicates = dupIgnore;
    bool FCaseSensitive = false;
};
