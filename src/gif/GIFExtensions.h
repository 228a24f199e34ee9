// GIF89a extension blocks and the registries that map labels and application
// identifiers to their classes.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "gif/GIFItem.h"

class TGIFSubImage;

class TGIFExtension : public TGIFItem {
public:
    explicit TGIFExtension(TGIFSubImage* SubImage);
    TGIFVersion FormatVersion() const override { return gv89a; }
    virtual std::uint8_t Label() const = 0;
    TGIFSubImage* SubImage() const { return FSubImage; }

    // "!", the label, then the body.
    void SaveToStream(std::ostream& Stream) override;
    void LoadFromStream(std::istream& Stream) override;

protected:
    virtual void SaveBody(std::ostream& Stream) = 0;
    virtual void LoadBody(std::istream& Stream) = 0;

    TGIFSubImage* FSubImage;
};

class TGIFGraphicControlExtension : public TGIFExtension {
public:
    explicit TGIFGraphicControlExtension(TGIFSubImage* SubImage);
    ~TGIFGraphicControlExtension() override;
    std::uint8_t Label() const override { return 0xF9; }

    bool Transparent() const { return FPacked & 0x01; }
    void SetTransparent(bool Value);
    bool UserInput() const { return FPacked & 0x02; }
    void SetUserInput(bool Value);
    int Disposal() const { return (FPacked >> 2) & 0x07; }
    void SetDisposal(int Value);
    int Delay() const { return FDelay; }
    void SetDelay(int Value) { FDelay = static_cast<std::uint16_t>(Value); }
    int TransparentColorIndex() const { return FTransparentIndex; }
    // An index not below the frame's active colour map's count warns
    // "Invalid color index" and stores 0.
    void SetTransparentColorIndex(int Value);

protected:
    void SaveBody(std::ostream& Stream) override;
    void LoadBody(std::istream& Stream) override;

private:
    std::uint8_t FPacked = 0;
    std::uint16_t FDelay = 0;
    std::uint8_t FTransparentIndex = 0;
};

// Comment lines, one per data sub-block.
class TGIFCommentExtension : public TGIFExtension {
public:
    using TGIFExtension::TGIFExtension;
    std::uint8_t Label() const override { return 0xFE; }
    std::vector<std::string>& Text() { return FText; }

protected:
    void SaveBody(std::ostream& Stream) override;
    void LoadBody(std::istream& Stream) override;
    std::vector<std::string> FText;
};

// Plain text: the 12-byte text header kept as it is, then the text lines.
class TGIFTextExtension : public TGIFCommentExtension {
public:
    explicit TGIFTextExtension(TGIFSubImage* SubImage);
    std::uint8_t Label() const override { return 0x01; }
    std::array<std::uint8_t, 12>& Header() { return FHeader; }

protected:
    void SaveBody(std::ostream& Stream) override;
    void LoadBody(std::istream& Stream) override;

private:
    std::array<std::uint8_t, 12> FHeader{};
};

class TGIFApplicationExtension : public TGIFExtension {
public:
    using TGIFExtension::TGIFExtension;
    std::uint8_t Label() const override { return 0xFF; }
    // 8 identifier bytes followed by 3 authentication bytes.
    std::string Identifier() const { return std::string(FIdent.begin(), FIdent.end()); }
    void SetIdentifier(const std::string& Value);

protected:
    void SaveBody(std::ostream& Stream) override;
    void LoadBody(std::istream& Stream) override;
    virtual void SaveData(std::ostream& Stream) = 0;
    virtual void LoadData(std::istream& Stream) = 0;

private:
    std::array<char, 11> FIdent{};
};

// The animation loop of "NETSCAPE2.0" and "ANIMEXTS1.0".
class TGIFAppExtNSLoop : public TGIFApplicationExtension {
public:
    explicit TGIFAppExtNSLoop(TGIFSubImage* SubImage);
    int Loops() const { return FLoops; }
    void SetLoops(int Value) { FLoops = static_cast<std::uint16_t>(Value); }
    std::uint32_t BufferSize() const { return FBufferSize; }
    void SetBufferSize(std::uint32_t Value) { FBufferSize = Value; }

protected:
    void SaveData(std::ostream& Stream) override;
    void LoadData(std::istream& Stream) override;

private:
    std::uint16_t FLoops = 0;
    std::uint32_t FBufferSize = 0;
};

// Any other application: its sub-blocks are kept and written back unchanged.
class TGIFUnknownAppExtension : public TGIFApplicationExtension {
public:
    using TGIFApplicationExtension::TGIFApplicationExtension;
    std::vector<std::string>& Blocks() { return FBlocks; }

protected:
    void SaveData(std::ostream& Stream) override;
    void LoadData(std::istream& Stream) override;

private:
    std::vector<std::string> FBlocks;
};

// Registries, searched from the last registration backwards (a later
// registration of the same key wins).
using TGIFExtensionClass = std::unique_ptr<TGIFExtension> (*)(TGIFSubImage* SubImage);
void RegisterExtension(std::uint8_t Label, TGIFExtensionClass Class);
TGIFExtensionClass FindExtension(std::uint8_t Label);
// Ident: the 8-byte identifier and the 3-byte authentication code.
void RegisterAppExtension(const std::string& Ident, TGIFExtensionClass Class);
TGIFExtensionClass FindAppExtension(const std::string& Ident);

// Reads the extension that starts at the stream's position ("!" and label):
// picks its class, lets it read itself and answers it.
std::unique_ptr<TGIFExtension> ReadExtension(std::istream& Stream, TGIFSubImage* SubImage);
