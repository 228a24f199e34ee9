#include "gif/GIFImage.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <istream>
#include <ostream>
#include <sstream>
#include <utility>

#include "gif/GIFDecoder.h"
#include "gif/GIFStreamIO.h"

using namespace GIFStreamIO;

bool GIFImageRenderOnLoad = false;

// ---------------------------------------------------------------- item

void TGIFItem::ReportWarning(TGIFSeverity Severity, const std::string& Message) {
    if (FImage) FImage->ReportWarning(this, Severity, Message);
}

TGIFWarningSink TGIFItem::WarningSink() {
    return [this](TGIFSeverity Severity, const std::string& Message) {
        ReportWarning(Severity, Message);
    };
}

void TGIFItem::SaveToFile(const std::string& FileName) {
    std::ostringstream bytes;
    SaveToStream(bytes);
    SaveBytesToFile(FileName, bytes.str());
}

void TGIFItem::LoadFromFile(const std::string& FileName) {
    std::ifstream file = OpenInputFile(FileName);
    LoadFromStream(file);
}

// ---------------------------------------------------------------- header

void TGIFHeader::Clear() {
    FColorMap.Clear();
    FWidth = FHeight = 0;
    FBackground = FAspect = 0;
    Prepare();
}

void TGIFHeader::Assign(const TGIFHeader& Source) {
    FWidth = Source.FWidth;
    FHeight = Source.FHeight;
    FPacked = Source.FPacked;
    FBackground = Source.FBackground;
    FAspect = Source.FAspect;
    FColorMap.Assign(Source.FColorMap);
}

void TGIFHeader::Prepare() {
    const int globalBits = FColorMap.BitsPerPixel();
    int resolution = globalBits - 1;
    int bits = globalBits;
    if (FImage) {
        const TGIFImageList& frames = FImage->Images();
        for (int i = 0; i < frames.Count(); ++i) {
            const int local = frames[i]->ColorMap().BitsPerPixel();
            resolution = std::max(resolution, local - 1);
            bits = std::max(bits, local);
        }
    }
    int packed = 0;
    if (FColorMap.Count() > 0) {
        packed |= 0x80;
        if (FColorMap.Optimized()) packed |= 0x08;
        // The size field tells how many entries of the global map follow: its own size,
        // whatever the local maps hold.
        bits = globalBits;
    }
    packed |= (resolution & 0x07) << 4;
    packed |= (bits - 1) & 0x07;
    FPacked = static_cast<std::uint8_t>(packed);
}

void TGIFHeader::SaveToStream(std::ostream& Stream) {
    const TGIFVersion version = FImage ? FImage->Version() : gv87a;
    if (version == gvUnknown) throw GIFException(GIFMessages::UnsupportedVersion);
    if (FWidth > 0xFFFF || FHeight > 0xFFFF) throw GIFException(GIFMessages::InvalidDimensions);
    WriteBytes(Stream, version == gv89a ? "GIF89a" : "GIF87a", 6);
    Prepare();
    WriteWord(Stream, static_cast<std::uint16_t>(FWidth));
    WriteWord(Stream, static_cast<std::uint16_t>(FHeight));
    WriteByte(Stream, FPacked);
    WriteByte(Stream, FBackground);
    WriteByte(Stream, FAspect);
    if (FPacked & 0x80) FColorMap.SaveToStream(Stream);
}

void TGIFHeader::LoadFromStream(std::istream& Stream) {
    const auto start = Stream.tellg();
    char signature[6] = {};
    std::size_t got = ReadSome(Stream, signature, sizeof signature);
    if (got < 3 || std::memcmp(signature, "GIF", 3) != 0) {
        // a few bytes of junk (a Macintosh resource header, say) may come first
        Stream.clear();
        Stream.seekg(start);
        Skip(Stream, 4);
        got = ReadSome(Stream, signature, sizeof signature);
        if (got < 3 || std::memcmp(signature, "GIF", 3) != 0)
            throw GIFException(GIFMessages::BadSignature);
    }
    if (got < sizeof signature) throw GIFException(GIFMessages::PrematureEnd);
    std::uint8_t screen[7];
    ReadExact(Stream, screen, sizeof screen);
    FWidth = Word(screen);
    FHeight = Word(screen + 2);
    FPacked = screen[4];
    FBackground = screen[5];
    FAspect = screen[6];
    if (FPacked & 0x80) {
        const int count = 2 << (FPacked & 0x07);
        if (count < 2 || count > 256) throw GIFException(GIFMessages::ScreenColors);
        FColorMap.LoadFromStream(Stream, count);
    } else {
        FColorMap.Clear();
    }
}

// ---------------------------------------------------------------- trailer and frame list

void TGIFTrailer::SaveToStream(std::ostream& Stream) {
    WriteByte(Stream, 0x3B);
}

void TGIFTrailer::LoadFromStream(std::istream& Stream) {
    if (ReadByte(Stream) != 0x3B) ReportWarning(TGIFSeverity::gsWarning, GIFMessages::BadTrailer);
}

void TGIFImageList::LoadFromStream(std::istream& Stream) {
    const auto skipZeros = [&] {
        while (PeekByte(Stream) == 0)
            ReadByte(Stream);
    };
    const std::uint64_t size =
        Remaining(Stream) + static_cast<std::uint64_t>(std::max<std::streamoff>(0, Stream.tellg()));
    // all frames together, too, hold no more pixels than the file could code:
    // many large frames of a few bytes each must not add up to gigabytes
    std::uint64_t pixels = 0;
    skipZeros();
    for (;;) {
        const int next = PeekByte(Stream);
        if (next < 0 || next == 0x3B) break;
        if (next != 0x21 && next != 0x2C) {
            FImage->ReportWarning(this, TGIFSeverity::gsWarning, GIFMessages::UnknownBlock);
            break;
        }
        auto frame = std::make_unique<TGIFSubImage>(FImage);
        frame->LoadFromStream(Stream);
        pixels += std::as_const(*frame).Data().size(); // (the bitmap built while reading stays)
        if (pixels > MostDecodablePixels(size)) throw GIFException(GIFMessages::InvalidDimensions);
        Add(std::move(frame));
        const auto position = Stream.tellg();
        if (size > 0 && position >= 0)
            FImage->Progress(TProgressStage::psRunning,
                             static_cast<int>(static_cast<std::uint64_t>(position) * 100 / size),
                             GIFMessages::Loading);
        skipZeros();
    }
}

// ---------------------------------------------------------------- picture

namespace {

// The picture layer loads ".gif" files and "GIF Image" clipboard data through
// this class from the start of the program to its end.
struct TGIFRegistration {
    TGIFRegistration() {
        PictureFormats::RegisterFileFormat("GIF", "GIF Image", &TGIFImage::Create);
        PictureFormats::RegisterClipboardFormat(CF_GIF(), &TGIFImage::Create);
    }
    ~TGIFRegistration() { PictureFormats::UnregisterGraphicClass(&TGIFImage::Create); }
};
const TGIFRegistration Registration;

} // namespace

TGIFImage::TGIFImage() : FImages(this), FHeader(this) {
    ClearPicture();
}

TGIFImage::~TGIFImage() {
    StopPainters();
    FImages.Clear();
}

std::unique_ptr<TGraphic> TGIFImage::Create() {
    return std::make_unique<TGIFImage>();
}

void TGIFImage::ClearPicture() {
    StopPainters();
    FImages.Clear();
    FHeader.Clear();
    FPalette.clear();
}

void TGIFImage::SetWidth(int Value) {
    StopPainters();
    for (int i = 0; i < FImages.Count(); ++i)
        if (FImages[i]->Left() + FImages[i]->Width() > Value)
            throw GIFException(GIFMessages::ImageWidth);
    FHeader.SetWidth(Value);
    Changed();
}

void TGIFImage::SetHeight(int Value) {
    StopPainters();
    for (int i = 0; i < FImages.Count(); ++i)
        if (FImages[i]->Top() + FImages[i]->Height() > Value)
            throw GIFException(GIFMessages::ImageHeight);
    FHeader.SetHeight(Value);
    Changed();
}

void TGIFImage::CopySettings(const TGIFImage& Source) {
    ReductionMethod = Source.ReductionMethod;
    QuantizeBits = Source.QuantizeBits;
    DitherMethod = Source.DitherMethod;
    PixelCoding = Source.PixelCoding;
    PaintOptions = Source.PaintOptions;
    ThreadPriority = Source.ThreadPriority;
    AnimationSpeed = Source.AnimationSpeed;
    DrawFrame = Source.DrawFrame;
    DrawBackgroundColor = Source.DrawBackgroundColor;
}

void TGIFImage::Assign(const TGIFImage* Source) {
    if (Source == this) return;
    if (!Source) {
        ClearPicture();
        return;
    }
    ClearPicture();
    FHeader.Assign(Source->FHeader);
    CopySettings(*Source);
    const int count = Source->FImages.Count();
    for (int i = 0; i < count; ++i) {
        auto frame = std::make_unique<TGIFSubImage>(this);
        frame->Assign(*Source->FImages[i]);
        FImages.Add(std::move(frame));
        Progress(TProgressStage::psRunning, (i + 1) * 100 / count, GIFMessages::Copying);
    }
    FitScreenToFrames();
    Changed();
}

void TGIFImage::Assign(TBitmap* Source) {
    if (!Source) {
        ClearPicture();
        return;
    }
    ClearPicture();
    AddFrame(*Source);
}

void TGIFImage::Assign(TGraphic* Source) {
    if (const auto* gif = dynamic_cast<const TGIFImage*>(Source)) return Assign(gif);
    ClearPicture();
    if (!Source) return;
    auto frame = std::make_unique<TGIFSubImage>(this);
    frame->Assign(*Source);
    AddFrame(std::move(frame));
}

int TGIFImage::AddFrame(TBitmap& Source) {
    auto frame = std::make_unique<TGIFSubImage>(this);
    frame->Assign(Source);
    return AddFrame(std::move(frame));
}

int TGIFImage::AddFrame(std::unique_ptr<TGIFSubImage> Frame) {
    if (!Frame) throw GIFException(GIFMessages::UnsupportedClass);
    StopPainters();
    const int index = FImages.Add(std::move(Frame));
    Changed();
    return index;
}

TGIFVersion TGIFImage::Version() const {
    TGIFVersion version = gvUnknown;
    for (int i = 0; i < FImages.Count() && version != gv89a; ++i)
        version = std::max(version, FImages[i]->FormatVersion());
    return version;
}

int TGIFImage::BitsPerPixel() const {
    int bits = FHeader.ColorMap().BitsPerPixel();
    for (int i = 0; i < FImages.Count(); ++i)
        bits = std::max(bits, FImages[i]->ColorMap().BitsPerPixel());
    return bits;
}

void TGIFImage::FitScreenToFrames() {
    // A frame may reach past the largest screen a file can state (left 65,535, say): the
    // screen stops there, and the frame is kept as read, so that the picture saves again.
    constexpr int LargestScreen = 0xFFFF;
    for (int i = 0; i < FImages.Count(); ++i) {
        const TGIFSubImage& frame = *FImages[i];
        FHeader.SetWidth(std::clamp(frame.Left() + frame.Width(), FHeader.Width(), LargestScreen));
        FHeader.SetHeight(
            std::clamp(frame.Top() + frame.Height(), FHeader.Height(), LargestScreen));
    }
}

void TGIFImage::SaveToStream(std::ostream& Stream) {
    Progress(TProgressStage::psStarting, 0, GIFMessages::Saving);
    try {
        FHeader.SaveToStream(Stream);
        const int count = FImages.Count();
        for (int i = 0; i < count; ++i) {
            FImages[i]->SaveToStream(Stream);
            Progress(TProgressStage::psRunning, (i + 1) * 100 / count, GIFMessages::Saving);
        }
        TGIFTrailer(this).SaveToStream(Stream);
    } catch (...) {
        Progress(TProgressStage::psEnding, 0, GIFMessages::Saving);
        throw;
    }
    Progress(TProgressStage::psEnding, 100, GIFMessages::Saving);
}

void TGIFImage::SaveToFile(const std::string& FileName) {
    std::ostringstream bytes;
    SaveToStream(bytes);
    SaveBytesToFile(FileName, bytes.str());
}

void TGIFImage::LoadFromStream(std::istream& Stream) {
    Progress(TProgressStage::psStarting, 0, GIFMessages::Loading);
    try {
        ClearPicture();
        FHeader.LoadFromStream(Stream);
        FImages.LoadFromStream(Stream);
        FitScreenToFrames();
        TGIFTrailer(this).LoadFromStream(Stream);
    } catch (...) {
        Progress(TProgressStage::psEnding, 0, GIFMessages::Loading);
        throw;
    }
    Progress(TProgressStage::psEnding, 100, GIFMessages::Loading);
    Changed();
}

void TGIFImage::LoadFromFile(const std::string& FileName) {
    std::ifstream file = OpenInputFile(FileName);
    LoadFromStream(file);
}

void TGIFImage::ReportWarning(const void* Sender, TGIFSeverity Severity,
                              const std::string& Message) {
    if (OnProblem) OnProblem(Sender, Severity, Message);
}

void TGIFImage::Progress(TProgressStage Stage, int Percent, const std::string& Message) {
    if (OnProgress) OnProgress(*this, Stage, Percent, Message);
}

void TGIFImage::Changed() {
    if (OnChange) OnChange(*this);
    NotifyChange();
}
