// The INI store: sections of Key=Value lines with wide names and values, typed values
// stored as text. Every configuration file, profile and dialog setting goes through it.
#pragma once

#include <cstdint>

#include "text/Exception.h"
#include "text/WideTypes.h"

class TStream;
class TUCodeStrings;

// Days since 1899-12-30; the fraction is the time of day.
using TDateTime = double;

// "Unable to write to <file>".
class EIniFileException : public Exception {
public:
    using Exception::Exception;
};

// The operations of an INI store. The typed ones are built on ReadString and WriteString:
// integers in decimal (read also "$" and "0x" hexadecimal), Booleans as "0"/"1", bytes as
// upper-case hexadecimal pairs, dates as yyyy-mm-dd, times as hh:nn:ss, date-times as both
// joined by a blank, numbers in their shortest decimal form with a "." point.
class TUCodeCustomIniFile {
public:
    explicit TUCodeCustomIniFile(WideStringView FileName) : FFileName(FileName) {}
    virtual ~TUCodeCustomIniFile() = default;
    TUCodeCustomIniFile(const TUCodeCustomIniFile&) = delete;
    TUCodeCustomIniFile& operator=(const TUCodeCustomIniFile&) = delete;

    const WideString& FileName() const { return FFileName; }

    virtual WideString ReadString(WideStringView Section, WideStringView Ident,
                                  WideStringView Default) = 0;
    virtual void WriteString(WideStringView Section, WideStringView Ident,
                             WideStringView Value) = 0;
    virtual int32_t ReadInteger(WideStringView Section, WideStringView Ident, int32_t Default);
    virtual void WriteInteger(WideStringView Section, WideStringView Ident, int32_t Value);
    virtual bool ReadBool(WideStringView Section, WideStringView Ident, bool Default);
    virtual void WriteBool(WideStringView Section, WideStringView Ident, bool Value);
    // Decodes the stored bytes into Stream at its position, leaves the position there and
    // returns the number of bytes from it to the end; 0 and Stream untouched when empty.
    virtual int64_t ReadBinaryStream(WideStringView Section, WideStringView Ident, TStream& Stream);
    virtual TDateTime ReadDate(WideStringView Section, WideStringView Ident, TDateTime Default);
    virtual TDateTime ReadDateTime(WideStringView Section, WideStringView Ident, TDateTime Default);
    virtual double ReadFloat(WideStringView Section, WideStringView Ident, double Default);
    virtual TDateTime ReadTime(WideStringView Section, WideStringView Ident, TDateTime Default);
    // Stores the bytes of Stream from its position to its end (the position is kept).
    virtual void WriteBinaryStream(WideStringView Section, WideStringView Ident, TStream& Stream);
    virtual void WriteDate(WideStringView Section, WideStringView Ident, TDateTime Value);
    virtual void WriteDateTime(WideStringView Section, WideStringView Ident, TDateTime Value);
    virtual void WriteFloat(WideStringView Section, WideStringView Ident, double Value);
    virtual void WriteTime(WideStringView Section, WideStringView Ident, TDateTime Value);
    virtual void ReadSection(WideStringView Section, TUCodeStrings& Strings) = 0;
    virtual void ReadSections(TUCodeStrings& Strings) = 0;
    virtual void ReadSectionValues(WideStringView Section, TUCodeStrings& Strings) = 0;
    virtual void EraseSection(WideStringView Section) = 0;
    virtual void DeleteKey(WideStringView Section, WideStringView Ident) = 0;
    virtual void UpdateFile() = 0;

private:
    WideString FFileName;
};

// The INI store on a file, through the profile-file engine: reads see the writes made
// before them, the file is written once by UpdateFile or by the destructor.
//
// WriteString stores a value inside double quotes when trimming would change it, and
// every line break in it (CR LF, CR or LF) as U+001F, so a value is always one line.
// Writing raises EIniFileException "Unable to write to <file>" when the file cannot be
// written (checked at the first change) or a section or key name cannot be stored.
class TUCodeIniFile : public TUCodeCustomIniFile {
public:
    using TUCodeCustomIniFile::TUCodeCustomIniFile;
    // Flushes the file; a failure here is not raised (UpdateFile reports it).
    ~TUCodeIniFile() override;

    WideString ReadString(WideStringView Section, WideStringView Ident,
                          WideStringView Default) override;
    void WriteString(WideStringView Section, WideStringView Ident, WideStringView Value) override;
    void ReadSection(WideStringView Section, TUCodeStrings& Strings) override;
    void ReadSections(TUCodeStrings& Strings) override;
    void ReadSectionValues(WideStringView Section, TUCodeStrings& Strings) override;
    void EraseSection(WideStringView Section) override;
    // A failure to delete is ignored.
    void DeleteKey(WideStringView Section, WideStringView Ident) override;
    void UpdateFile() override;

private:
    [[noreturn]] void RaiseWriteError() const;
};

// The fixed text forms of the typed values (exposed for tests and other stores).
WideString IniDateToStr(TDateTime Value);
WideString IniTimeToStr(TDateTime Value);
WideString IniDateTimeToStr(TDateTime Value);
WideString IniFloatToStr(double Value);
bool IniTryStrToDate(WideStringView Text, TDateTime& Value);
bool IniTryStrToTime(WideStringView Text, TDateTime& Value);
bool IniTryStrToDateTime(WideStringView Text, TDateTime& Value);
bool IniTryStrToFloat(WideStringView Text, double& Value);
