#include "gif/GIFExtensions.h"

#include <cstring>
#include <istream>
#include <ostream>
#include <utility>

#include "gif/GIFImage.h"
#include "gif/GIFStreamIO.h"

using namespace GIFStreamIO;

// ---------------------------------------------------------------- base

TGIFExtension::TGIFExtension(TGIFSubImage* SubImage)
    : TGIFItem(SubImage ? SubImage->Image() : nullptr), FSubImage(SubImage) {}

void TGIFExtension::SaveToStream(std::ostream& Stream) {
    WriteByte(Stream, 0x21);
    WriteByte(Stream, Label());
    SaveBody(Stream);
}

void TGIFExtension::LoadFromStream(std::istream& Stream) {
    std::uint8_t head[2];
    ReadExact(Stream, head, 2);
    if (head[0] != 0x21 || head[1] != Label()) throw GIFException(GIFMessages::ExtensionMismatch);
    LoadBody(Stream);
}

// ---------------------------------------------------------------- graphic control

TGIFGraphicControlExtension::TGIFGraphicControlExtension(TGIFSubImage* SubImage)
    : TGIFExtension(SubImage) {
    if (FSubImage && !FSubImage->FGCE) FSubImage->FGCE = this;
}

TGIFGraphicControlExtension::~TGIFGraphicControlExtension() {
    if (FSubImage && FSubImage->FGCE == this) FSubImage->FGCE = nullptr;
}

void TGIFGraphicControlExtension::SetTransparent(bool Value) {
    FPacked = static_cast<std::uint8_t>(Value ? (FPacked | 0x01) : (FPacked & ~0x01));
}

void TGIFGraphicControlExtension::SetUserInput(bool Value) {
    FPacked = static_cast<std::uint8_t>(Value ? (FPacked | 0x02) : (FPacked & ~0x02));
}

void TGIFGraphicControlExtension::SetDisposal(int Value) {
    FPacked = static_cast<std::uint8_t>((FPacked & ~0x1C) | ((Value & 0x07) << 2));
}

void TGIFGraphicControlExtension::SetTransparentColorIndex(int Value) {
    const int count = FSubImage ? FSubImage->ActiveColorMap().Count() : 256;
    if (Value < 0 || Value >= count) {
        ReportWarning(TGIFSeverity::gsWarning, GIFMessages::BadColorIndex);
        Value = 0;
    }
    FTransparentIndex = static_cast<std::uint8_t>(Value);
}

void TGIFGraphicControlExtension::SaveBody(std::ostream& Stream) {
    const std::uint8_t body[6] = {4,
                                  FPacked,
                                  static_cast<std::uint8_t>(FDelay & 0xFF),
                                  static_cast<std::uint8_t>(FDelay >> 8),
                                  FTransparentIndex,
                                  0};
    WriteBytes(Stream, body, sizeof body);
}

void TGIFGraphicControlExtension::LoadBody(std::istream& Stream) {
    std::uint8_t body[6] = {};
    if (ReadSome(Stream, body, sizeof body) < sizeof body)
        ReportWarning(TGIFSeverity::gsWarning, GIFMessages::PrematureEnd);
    FPacked = body[1];
    FDelay = Word(body + 2);
    FTransparentIndex = body[4];
}

// ---------------------------------------------------------------- comment and text

void TGIFCommentExtension::SaveBody(std::ostream& Stream) {
    WriteSubBlocks(Stream, FText);
}

void TGIFCommentExtension::LoadBody(std::istream& Stream) {
    FText = ReadSubBlocks(Stream, WarningSink());
}

TGIFTextExtension::TGIFTextExtension(TGIFSubImage* SubImage) : TGIFCommentExtension(SubImage) {}

void TGIFTextExtension::SaveBody(std::ostream& Stream) {
    WriteByte(Stream, 12);
    WriteBytes(Stream, FHeader.data(), FHeader.size());
    TGIFCommentExtension::SaveBody(Stream);
}

void TGIFTextExtension::LoadBody(std::istream& Stream) {
    std::uint8_t size[1];
    ReadExact(Stream, size, 1);
    ReadExact(Stream, FHeader.data(), FHeader.size());
    TGIFCommentExtension::LoadBody(Stream);
}

// ---------------------------------------------------------------- application

void TGIFApplicationExtension::SetIdentifier(const std::string& Value) {
    FIdent.fill(' ');
    std::memcpy(FIdent.data(), Value.data(), std::min(Value.size(), FIdent.size()));
}

void TGIFApplicationExtension::SaveBody(std::ostream& Stream) {
    WriteByte(Stream, 11);
    WriteBytes(Stream, FIdent.data(), FIdent.size());
    SaveData(Stream);
}

void TGIFApplicationExtension::LoadBody(std::istream& Stream) {
    const int size = ReadByte(Stream);
    if (size < 0) throw GIFException(GIFMessages::PrematureEnd);
    if (size < 10) throw GIFException(GIFMessages::AppBlockSize);
    ReadExact(Stream, FIdent.data(), FIdent.size());
    if (size == 10)
        Skip(Stream, -1);
    else if (size > 11)
        Skip(Stream, size - 11);
    LoadData(Stream);
}

TGIFAppExtNSLoop::TGIFAppExtNSLoop(TGIFSubImage* SubImage) : TGIFApplicationExtension(SubImage) {
    SetIdentifier("NETSCAPE2.0");
}

void TGIFAppExtNSLoop::SaveData(std::ostream& Stream) {
    const std::uint8_t loop[4] = {3, 1, static_cast<std::uint8_t>(FLoops & 0xFF),
                                  static_cast<std::uint8_t>(FLoops >> 8)};
    WriteBytes(Stream, loop, sizeof loop);
    if (FBufferSize != 0) {
        const std::uint8_t buffer[6] = {5,
                                        2,
                                        static_cast<std::uint8_t>(FBufferSize & 0xFF),
                                        static_cast<std::uint8_t>((FBufferSize >> 8) & 0xFF),
                                        static_cast<std::uint8_t>((FBufferSize >> 16) & 0xFF),
                                        static_cast<std::uint8_t>(FBufferSize >> 24)};
        WriteBytes(Stream, buffer, sizeof buffer);
    }
    WriteByte(Stream, 0);
}

void TGIFAppExtNSLoop::LoadData(std::istream& Stream) {
    for (const std::string& block : ReadSubBlocks(Stream, WarningSink())) {
        const auto* b = reinterpret_cast<const std::uint8_t*>(block.data());
        if (b[0] == 1) {
            if (block.size() < 3) throw GIFException(GIFMessages::InvalidData);
            FLoops = Word(b + 1);
        } else if (b[0] == 2) {
            if (block.size() < 5) throw GIFException(GIFMessages::InvalidData);
            FBufferSize = Word(b + 1) | (static_cast<std::uint32_t>(Word(b + 3)) << 16);
        }
    }
}

void TGIFUnknownAppExtension::SaveData(std::ostream& Stream) {
    for (const std::string& block : FBlocks) {
        WriteByte(Stream, static_cast<std::uint8_t>(block.size()));
        WriteBytes(Stream, block.data(), block.size());
    }
    WriteByte(Stream, 0);
}

void TGIFUnknownAppExtension::LoadData(std::istream& Stream) {
    FBlocks = ReadSubBlocks(Stream, WarningSink());
}

// ---------------------------------------------------------------- registries

namespace {

template <class T> std::unique_ptr<TGIFExtension> Make(TGIFSubImage* SubImage) {
    return std::make_unique<T>(SubImage);
}

std::vector<std::pair<std::uint8_t, TGIFExtensionClass>>& ExtensionRegistry() {
    static std::vector<std::pair<std::uint8_t, TGIFExtensionClass>> registry = {
        {0x01, &Make<TGIFTextExtension>},
        {0xF9, &Make<TGIFGraphicControlExtension>},
        {0xFE, &Make<TGIFCommentExtension>},
        {0xFF, &Make<TGIFUnknownAppExtension>}};
    return registry;
}

std::vector<std::pair<std::string, TGIFExtensionClass>>& AppExtensionRegistry() {
    static std::vector<std::pair<std::string, TGIFExtensionClass>> registry = {
        {"NETSCAPE2.0", &Make<TGIFAppExtNSLoop>}, {"ANIMEXTS1.0", &Make<TGIFAppExtNSLoop>}};
    return registry;
}

template <class Key>
TGIFExtensionClass Find(const std::vector<std::pair<Key, TGIFExtensionClass>>& registry,
                        const Key& key) {
    for (auto it = registry.rbegin(); it != registry.rend(); ++it)
        if (it->first == key) return it->second;
    return nullptr;
}

} // namespace

void RegisterExtension(std::uint8_t Label, TGIFExtensionClass Class) {
    ExtensionRegistry().emplace_back(Label, Class);
}

TGIFExtensionClass FindExtension(std::uint8_t Label) {
    return Find(ExtensionRegistry(), Label);
}

void RegisterAppExtension(const std::string& Ident, TGIFExtensionClass Class) {
    AppExtensionRegistry().emplace_back(Ident, Class);
}

TGIFExtensionClass FindAppExtension(const std::string& Ident) {
    return Find(AppExtensionRegistry(), Ident);
}

std::unique_ptr<TGIFExtension> ReadExtension(std::istream& Stream, TGIFSubImage* SubImage) {
    std::uint8_t head[2];
    ReadExact(Stream, head, 2);
    TGIFExtensionClass make = FindExtension(head[1]);
    if (head[1] == 0xFF) {
        // the block size and the identifier pick the application's class
        std::uint8_t ident[12] = {};
        const std::size_t got = ReadSome(Stream, ident, sizeof ident);
        Skip(Stream, -static_cast<std::streamoff>(got));
        if (got == sizeof ident && ident[0] >= 10)
            if (TGIFExtensionClass app =
                    FindAppExtension(std::string(reinterpret_cast<char*>(ident + 1), 11)))
                make = app;
    }
    if (!make) throw GIFException(GIFMessages::UnknownExtension);
    std::unique_ptr<TGIFExtension> extension = make(SubImage);
    Skip(Stream, -2);
    extension->LoadFromStream(Stream);
    return extension;
}
