// Optimising a GIF picture: smaller files that show the same frames.
#include <algorithm>
#include <array>
#include <numeric>

#include "gif/ColorReduction.h"
#include "gif/GIFImage.h"

namespace {

enum : int {
    ooCrop = 1,
    ooMerge = 2,
    ooCleanup = 4,
    ooColorMap = 8,
    ooReduceColors = 16,
};

constexpr int ReductionGivenPalette = 9;
constexpr int MinimumHonouredDelay = 3;

int DisposalOf(const TGIFSubImage& Frame) {
    const TGIFGraphicControlExtension* control = Frame.GraphicControlExtension();
    return control ? control->Disposal() : 0;
}

int TransparentIndexOf(const TGIFSubImage& Frame) {
    return Frame.Transparent() ? Frame.GraphicControlExtension()->TransparentColorIndex() : -1;
}

// The colour a pixel shows (an index outside the map shows entry 0).
TGIFColor ColorOf(const TGIFColorMap& Map, int Index) {
    const std::vector<TGIFColor>& entries = Map.Entries();
    if (entries.empty()) return {};
    return entries[static_cast<std::size_t>(Index < Map.Count() ? Index : 0)];
}

std::array<bool, 256> UsedIndices(const TGIFSubImage& Frame) {
    std::array<bool, 256> used{};
    for (std::uint8_t p : Frame.Data())
        used[p] = true;
    return used;
}

// The "Optimizing..." progress: six phases of one step for each frame the
// picture had at the start. A phase that skips frames, or removes them, has
// its remaining steps counted when it ends; the last step reports 100 %.
class TOptimizeSteps {
public:
    TOptimizeSteps(TGIFImage& Image, int Frames) : FImage(Image), FFrames(Frames) {}
    void Start() { Report(TProgressStage::psStarting, 0); }
    // One frame of the current phase is done.
    void Frame() {
        if (FDone == FPhaseEnd) return;
        ++FDone;
        const int total = Phases * FFrames;
        if (FDone == total)
            Report(TProgressStage::psEnding, 100);
        else
            Report(TProgressStage::psRunning, FDone * 100 / total);
    }
    void EndPhase() {
        while (FDone < FPhaseEnd)
            Frame();
        FPhaseEnd += FFrames;
    }

private:
    static constexpr int Phases = 6;
    void Report(TProgressStage Stage, int Percent) {
        FImage.Progress(Stage, Percent, GIFMessages::Optimizing);
    }
    TGIFImage& FImage;
    int FFrames;
    int FDone = 0;
    int FPhaseEnd = FFrames;
};

TGIFGraphicControlExtension& ControlOf(TGIFSubImage& Frame) {
    if (TGIFGraphicControlExtension* control = Frame.GraphicControlExtension()) return *control;
    auto control = std::make_unique<TGIFGraphicControlExtension>(&Frame);
    TGIFGraphicControlExtension& made = *control;
    Frame.Extensions().Add(std::move(control));
    return made;
}

} // namespace

// ---------------------------------------------------------------- colour maps

// Sorts the map's entries by falling use among the frames that draw with it,
// drops the entries nothing uses (the transparent and background entries are
// kept) and remaps those frames.
static void OptimizeColorMap(TGIFImage& Image, TGIFColorMap& Map, bool Global) {
    if (Map.Count() <= 1) return;
    std::vector<TGIFSubImage*> users;
    for (int i = 0; i < Image.Images().Count(); ++i) {
        TGIFSubImage* frame = Image.Images()[i];
        if (Global ? frame->ColorMap().Count() == 0 : &frame->ColorMap() == &Map)
            users.push_back(frame);
    }
    if (users.empty()) return;
    const int count = Map.Count();
    std::vector<long long> uses(static_cast<std::size_t>(count), 0);
    std::vector<bool> keep(static_cast<std::size_t>(count), false);
    for (TGIFSubImage* frame : users) {
        for (std::uint8_t p : frame->Data()) {
            const int index = p < count ? p : 0; // shows entry 0
            ++uses[static_cast<std::size_t>(index)];
            keep[static_cast<std::size_t>(index)] = true;
        }
        const int transparent = TransparentIndexOf(*frame);
        if (transparent >= 0 && transparent < count)
            keep[static_cast<std::size_t>(transparent)] = true;
    }
    if (Global && Image.Header().BackgroundColorIndex() < count)
        keep[static_cast<std::size_t>(Image.Header().BackgroundColorIndex())] = true;
    std::vector<int> order(static_cast<std::size_t>(count));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return uses[static_cast<std::size_t>(a)] > uses[static_cast<std::size_t>(b)];
    });
    while (!order.empty() && !keep[static_cast<std::size_t>(order.back())])
        order.pop_back();
    std::vector<int> newIndex(256, 0);
    for (std::size_t i = 0; i < order.size(); ++i)
        newIndex[static_cast<std::size_t>(order[i])] = static_cast<int>(i);
    for (int old = count; old < 256; ++old)
        newIndex[static_cast<std::size_t>(old)] = newIndex[0];
    const std::vector<TGIFColor> entries = Map.Entries();
    const bool unchanged =
        static_cast<int>(order.size()) == count && std::is_sorted(order.begin(), order.end());
    if (!unchanged) {
        Map.Clear();
        for (int old : order)
            Map.Add(entries[static_cast<std::size_t>(old)]);
        for (TGIFSubImage* frame : users) {
            const int transparent = TransparentIndexOf(*frame);
            for (std::uint8_t& p : frame->Data())
                p = static_cast<std::uint8_t>(newIndex[p]);
            if (transparent >= 0)
                frame->GraphicControlExtension()->SetTransparentColorIndex(
                    newIndex[static_cast<std::size_t>(transparent)]);
        }
        if (Global)
            Image.Header().SetBackgroundColorIndex(
                newIndex[static_cast<std::size_t>(Image.Header().BackgroundColorIndex())]);
    }
    Map.SetOptimized(true);
}

// ---------------------------------------------------------------- frames

namespace {

// Option 4: transparency no pixel uses goes; a frame whose area the next,
// opaque frame covers entirely keeps its pixels (its disposal is never seen),
// unless the next frame restores to what lay under it.
void FitTransparencyAndDisposal(TGIFImageList& Frames, TOptimizeSteps& Steps) {
    // (readers take the first frame's transparency for the whole screen
    // before it: the first frame keeps its flag)
    for (int i = 1; i < Frames.Count(); ++i) {
        Steps.Frame();
        TGIFSubImage& frame = *Frames[i];
        const int transparent = TransparentIndexOf(frame);
        // (decoders differ in what a frame restoring to the background leaves
        // when it is transparent or not: such frames keep their flag)
        if (transparent >= 0 && DisposalOf(frame) != 2 &&
            !UsedIndices(frame)[static_cast<std::size_t>(transparent)])
            frame.GraphicControlExtension()->SetTransparent(false);
    }
    for (int i = 0; i + 1 < Frames.Count(); ++i) {
        TGIFSubImage& frame = *Frames[i];
        const TGIFSubImage& next = *Frames[i + 1];
        if (DisposalOf(frame) < 2 || next.Transparent() || DisposalOf(next) == 3 || next.Empty())
            continue;
        if (next.Left() <= frame.Left() && next.Top() <= frame.Top() &&
            next.Left() + next.Width() >= frame.Left() + frame.Width() &&
            next.Top() + next.Height() >= frame.Top() + frame.Height())
            frame.GraphicControlExtension()->SetDisposal(1);
    }
}

// An index for the frame's transparent pixels that no other pixel of it uses:
// its own transparent index, another frame's, an unused entry, or a black one
// appended; -1 when there is none.
int FreeTransparentIndex(TGIFImage& Image, TGIFSubImage& Frame, const std::array<bool, 256>& Used) {
    const int own = TransparentIndexOf(Frame);
    if (own >= 0) return own;
    TGIFColorMap& map = Frame.ColorMap().Count() > 0 ? static_cast<TGIFColorMap&>(Frame.ColorMap())
                                                     : Image.GlobalColorMap();
    for (int i = 0; i < Image.Images().Count(); ++i) {
        const int other = TransparentIndexOf(*Image.Images()[i]);
        if (other >= 0 && other < map.Count() && !Used[static_cast<std::size_t>(other)])
            return other;
    }
    for (int index = 0; index < map.Count(); ++index)
        if (!Used[static_cast<std::size_t>(index)]) return index;
    if (map.Count() < 256) return map.Add({0, 0, 0});
    return -1;
}

// Option 2: pixels that show what the earlier frame left there become transparent.
void MergeWithEarlierFrames(TGIFImage& Image, TOptimizeSteps& Steps) {
    TGIFImageList& frames = Image.Images();
    for (int i = frames.Count() - 1; i >= 1; --i) {
        Steps.Frame();
        TGIFSubImage& frame = *frames[i];
        int e = i - 1;
        while (e >= 0 && DisposalOf(*frames[e]) == 3)
            --e;
        if (e < 0 || frame.Empty() || frames[e]->Empty() || DisposalOf(*frames[e]) == 2) continue;
        if (DisposalOf(frame) == 2 && !frame.Transparent()) continue; // as above
        const TGIFSubImage& earlier = *frames[e];
        const int left = std::max(frame.Left(), earlier.Left());
        const int top = std::max(frame.Top(), earlier.Top());
        const int right = std::min(frame.Left() + frame.Width(), earlier.Left() + earlier.Width());
        const int bottom = std::min(frame.Top() + frame.Height(), earlier.Top() + earlier.Height());
        if (left >= right || top >= bottom) continue;
        const TGIFColorMap& map = frame.ActiveColorMap();
        const TGIFColorMap& earlierMap = earlier.ActiveColorMap();
        const int ownTransparent = TransparentIndexOf(frame);
        const int earlierTransparent = TransparentIndexOf(earlier);
        // the pixels that repeat the earlier frame, and what the rest uses
        std::vector<std::size_t> repeated;
        std::array<bool, 256> used{};
        const std::vector<std::uint8_t>& data = frame.Data();
        for (int y = 0; y < frame.Height(); ++y)
            for (int x = 0; x < frame.Width(); ++x) {
                const std::size_t at = static_cast<std::size_t>(y) * frame.Width() + x;
                const int p = data[at];
                const int ax = frame.Left() + x, ay = frame.Top() + y;
                bool repeats = false;
                if (p != ownTransparent && ax >= left && ax < right && ay >= top && ay < bottom) {
                    const int q = earlier.Pixels(ax - earlier.Left(), ay - earlier.Top());
                    repeats =
                        q != earlierTransparent && ((p == q && &map == &earlierMap) ||
                                                    ColorOf(map, p) == ColorOf(earlierMap, q));
                }
                if (repeats)
                    repeated.push_back(at);
                else
                    used[static_cast<std::size_t>(p)] = true;
            }
        if (repeated.empty()) continue;
        const int transparent = FreeTransparentIndex(Image, frame, used);
        if (transparent < 0) continue; // no index to spare: the frame stays as it is
        std::vector<std::uint8_t>& pixels = frame.Data();
        for (std::size_t at : repeated)
            pixels[at] = static_cast<std::uint8_t>(transparent);
        TGIFGraphicControlExtension& control = ControlOf(frame);
        control.SetTransparent(true);
        control.SetTransparentColorIndex(transparent);
    }
}

// Option 1: transparent frames shrink to their visible pixels; a frame with
// none goes, its delay added to the frame before it (the first frame stays).
// A frame that restores its area to the background keeps its area.
void CropTransparentFrames(TGIFImage& Image, TOptimizeSteps& Steps) {
    TGIFImageList& frames = Image.Images();
    for (int i = frames.Count() - 1; i >= 0; --i) {
        Steps.Frame();
        TGIFSubImage& frame = *frames[i];
        const int transparent = TransparentIndexOf(frame);
        if (transparent < 0 || frame.Empty() || DisposalOf(frame) == 2) continue;
        int left = frame.Width(), top = frame.Height(), right = -1, bottom = -1;
        for (int y = 0; y < frame.Height(); ++y)
            for (int x = 0; x < frame.Width(); ++x)
                if (frame.Pixels(x, y) != transparent) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                    top = std::min(top, y);
                    bottom = std::max(bottom, y);
                }
        if (right < 0) {
            // nothing visible: the frame shows what the frame before it left
            // (the next frame must keep the control it reads: its own). Readers
            // show short delays longer than written (this one 10 units for 0,
            // browsers 10 for 0 or 1): only delays every reader honours as
            // written can be added up.
            const int delay = frame.GraphicControlExtension()->Delay();
            const bool nextHasControl =
                i + 1 == frames.Count() || frames[i + 1]->GraphicControlExtension();
            const TGIFGraphicControlExtension* previous =
                i > 0 ? frames[i - 1]->GraphicControlExtension() : nullptr;
            if (i == 0 || DisposalOf(*frames[i - 1]) >= 2 || frame.Extensions().Count() > 1 ||
                !nextHasControl || !previous || delay < MinimumHonouredDelay ||
                previous->Delay() < MinimumHonouredDelay || previous->Delay() + delay > 0xFFFF)
                continue;
            TGIFGraphicControlExtension& before = ControlOf(*frames[i - 1]);
            before.SetDelay(before.Delay() + delay);
            frames.Delete(i);
            continue;
        }
        if (left == 0 && top == 0 && right == frame.Width() - 1 && bottom == frame.Height() - 1)
            continue;
        std::vector<std::uint8_t> cropped;
        for (int y = top; y <= bottom; ++y)
            for (int x = left; x <= right; ++x)
                cropped.push_back(frame.Pixels(x, y));
        frame.SetBounds(frame.Left() + left, frame.Top() + top, right - left + 1, bottom - top + 1);
        frame.Data() = std::move(cropped);
    }
}

bool CarriesNothing(const TGIFGraphicControlExtension& Control) {
    return Control.Delay() == 0 && !Control.Transparent() && !Control.UserInput() &&
           Control.Disposal() < 2;
}

// Option 4, afterwards: controls that carry nothing and frames left empty go.
// Some readers (Qt's) let a frame without a control take the last control
// read, so a control goes only when the control before it carries nothing too.
void RemoveEmptyControlsAndFrames(TGIFImage& Image, TOptimizeSteps& Steps) {
    TGIFImageList& frames = Image.Images();
    bool lastCarries = false;
    for (int i = 0; i < frames.Count(); ++i) {
        Steps.Frame();
        TGIFSubImage& frame = *frames[i];
        TGIFExtensionList& extensions = frame.Extensions();
        for (int e = 0; e < extensions.Count(); ++e) {
            auto* control = dynamic_cast<TGIFGraphicControlExtension*>(extensions[e]);
            if (!control) continue;
            if (!CarriesNothing(*control)) {
                lastCarries = true;
            } else if (lastCarries) {
                lastCarries = false; // kept: it ends what the one before carried
            } else {
                extensions.Delete(e);
                --e;
            }
        }
    }
    for (int i = frames.Count() - 1; i >= 0 && frames.Count() > 1; --i)
        if (frames[i]->Empty() && frames[i]->Extensions().Count() == 0) frames.Delete(i);
}

// Option 16: every frame's colours are reduced by the given method; a frame
// whose transparent pixels would find no free entry stays as it is.
void ReduceFrameColors(TGIFImage& Image, int Reduction, int Dither, int Bits,
                       TOptimizeSteps& Steps) {
    TGIFImageList& frames = Image.Images();
    for (int i = 0; i < frames.Count(); ++i) {
        Steps.Frame();
        TGIFSubImage& frame = *frames[i];
        if (frame.Empty()) continue;
        TBitmap rgb;
        rgb.SetPixelFormat(TPixelFormat::pf24bit);
        rgb.SetSize(frame.Width(), frame.Height());
        const TGIFColorMap& map = frame.ActiveColorMap();
        for (int y = 0; y < frame.Height(); ++y) {
            std::uint8_t* row = rgb.ScanLine(y);
            for (int x = 0; x < frame.Width(); ++x) {
                const TGIFColor c = ColorOf(map, frame.Pixels(x, y));
                row[3 * x] = c.Blue;
                row[3 * x + 1] = c.Green;
                row[3 * x + 2] = c.Red;
            }
        }
        std::unique_ptr<TBitmap> reduced =
            ReduceBitmapColors(rgb, Reduction, Dither, Bits, nullptr);
        if (!reduced || reduced->Empty() || reduced->PixelFormat() != TPixelFormat::pf8bit)
            continue;
        TPalette palette = reduced->Palette();
        int highest = 0;
        for (int y = 0; y < frame.Height(); ++y)
            for (int x = 0; x < frame.Width(); ++x)
                highest = std::max<int>(highest, reduced->ScanLine(y)[x]);
        palette.resize(static_cast<std::size_t>(highest) + 1); // the table's unused tail goes
        const int transparent = TransparentIndexOf(frame);
        int newTransparent = -1;
        if (transparent >= 0) {
            if (palette.size() >= 256) continue;
            newTransparent = static_cast<int>(palette.size());
            palette.push_back({0, 0, 0, 0});
        }
        std::vector<std::uint8_t> pixels(frame.Data().size());
        for (int y = 0; y < frame.Height(); ++y) {
            const std::uint8_t* row = reduced->ScanLine(y);
            for (int x = 0; x < frame.Width(); ++x) {
                const std::size_t at = static_cast<std::size_t>(y) * frame.Width() + x;
                pixels[at] = frame.Data()[at] == transparent
                                 ? static_cast<std::uint8_t>(newTransparent)
                                 : row[x];
            }
        }
        frame.ColorMap().Clear();
        frame.ColorMap().ImportPalette(palette);
        frame.Data() = std::move(pixels);
        if (newTransparent >= 0)
            frame.GraphicControlExtension()->SetTransparentColorIndex(newTransparent);
    }
}

} // namespace

void TGIFImage::OptimizePicture(int Options, int Reduction, int Dither, int Bits) {
    if (Empty()) return;
    if ((Options & ooReduceColors) && !(Options & ooCleanup) && Reduction == ReductionGivenPalette)
        throw GIFException(GIFMessages::InvalidReduction);
    StopPainters();
    TOptimizeSteps steps(*this, FImages.Count());
    steps.Start();
    if ((Options & ooReduceColors) && Reduction != ReductionGivenPalette)
        ReduceFrameColors(*this, Reduction, Dither, Bits, steps);
    steps.EndPhase();
    if (Options & ooCleanup) FitTransparencyAndDisposal(FImages, steps);
    steps.EndPhase();
    if (Options & ooMerge) MergeWithEarlierFrames(*this, steps);
    steps.EndPhase();
    if (Options & ooCrop) CropTransparentFrames(*this, steps);
    steps.EndPhase();
    if (Options & ooCleanup) RemoveEmptyControlsAndFrames(*this, steps);
    steps.EndPhase();
    for (int i = 0; i < FImages.Count(); ++i)
        FImages[i]->FreeBitmap();
    if (Options & ooColorMap) {
        OptimizeColorMap(*this, FHeader.ColorMap(), true);
        for (int i = 0; i < FImages.Count(); ++i) {
            OptimizeColorMap(*this, FImages[i]->ColorMap(), false);
            steps.Frame();
        }
    }
    steps.EndPhase();
    Changed();
}
