#include "gif/GIFPainter.h"

#include <QPainter>

#include <algorithm>

#include "gif/GIFRender.h"

namespace {

// Delays are in hundredths of a second by the format; this system counts
// 12 ms a unit, honours no delay below 3 units, gives a frame without a
// delay 10, and in the caller's thread waits no longer than 1000 units.
constexpr int DefaultDelay = 10;
constexpr int MinimumDelay = 3;
constexpr int MaximumCallerDelay = 1000;
constexpr int MsPerDelayUnit = 12;
constexpr int CallerWaitWithoutSpeed = 12000;
constexpr int CallerWaitSlice = 100;

int LoopCountOf(const TGIFImage& Image) {
    const TGIFImageList& frames = Image.Images();
    for (int i = 0; i < frames.Count(); ++i) {
        TGIFExtensionList& extensions = frames[i]->Extensions();
        for (int e = 0; e < extensions.Count(); ++e)
            if (auto* loop = dynamic_cast<TGIFAppExtNSLoop*>(extensions[e])) return loop->Loops();
    }
    return 0;
}

} // namespace

TGIFPainter::TGIFPainter(TGIFImage& Image, TBitmapCanvas& Canvas, const TRect& Rect,
                         std::uint16_t Options)
    : TThread(true), FImage(Image), FCanvas(&Canvas), FRenderCanvas(Image.FBitmap.get()),
      FTarget((Options & goDirectDraw) || !Image.FBitmap ? &Canvas : &FRenderCanvas),
      FDrawRect(Rect), FRect(Rect), FOptions(Options), FSpeed(Image.AnimationSpeed),
      FOnStartPaint(Image.OnStartPaint), FOnPaint(Image.OnPaint), FOnAfterPaint(Image.OnAfterPaint),
      FOnLoop(Image.OnLoop), FOnEndPaint(Image.OnEndPaint), FCanvasAlive(Canvas.Watch()),
      FCanvasBitmap(Canvas.Target()) {
    if (FCanvasBitmap) FBitmapAlive = FCanvasBitmap->Watch();
    if (FTarget == &FRenderCanvas) FRect = Bounds(0, 0, Image.Width(), Image.Height());
    SetPriority(static_cast<TThreadPriority>(std::clamp(Image.ThreadPriority, 0, 6)));
    FreeOnTerminate = InThread();
}

TGIFPainter::~TGIFPainter() {
    {
        auto list = FImage.FPainters.LockList();
        std::erase(*list, this);
        if (FImage.FPainter == this) FImage.FPainter = nullptr;
    }
    SignalMainThread();
}

int TGIFPainter::FrameWait(int Delay, bool InThread, int AnimationSpeed, int DrawingMs) {
    if (AnimationSpeed <= 0) return InThread ? -1 : CallerWaitWithoutSpeed;
    int delay = Delay != 0 ? std::max(Delay, MinimumDelay) : DefaultDelay;
    if (!InThread) delay = std::min(delay, MaximumCallerDelay);
    const long long ms = std::max(0LL, static_cast<long long>(delay) * MsPerDelayUnit - DrawingMs);
    return static_cast<int>(ms * 100 / AnimationSpeed);
}

void TGIFPainter::Execute() {
    Animate();
}

void TGIFPainter::RunInCallersThread() {
    Animate();
}

void TGIFPainter::TerminatedSet() {
    FEvent.SetEvent();
}

template <class F> void TGIFPainter::OnMainThread(F&& Step) {
    if (InThread())
        Synchronize(Step);
    else
        Step();
}

bool TGIFPainter::TargetAlive() const {
    if (FCanvasAlive.expired()) return false;
    if (FCanvasBitmap && FBitmapAlive.expired()) return false;
    if ((FOptions & goValidateCanvas) && FCanvas->Target() != FCanvasBitmap) return false;
    return FTarget != &FRenderCanvas || FImage.FBitmap.get() == FRenderCanvas.Target();
}

void TGIFPainter::Fire(const TGIFPaintEvent& Event) {
    if (Event) Event(*this);
}

void TGIFPainter::Animate() {
    OnMainThread([this] { Prepare(); });
    int pass = 0;
    while (!Terminated()) {
        OnMainThread([&] {
            if (pass > 0 && (FOptions & goClearOnLoop))
                RestoreBackground(QRect(0, 0, FWork.width(), FWork.height()));
            Fire(FOnStartPaint);
        });
        for (FActiveImage = 0; !Terminated(); ++FActiveImage) {
            bool shown = false;
            int delay = 0;
            OnMainThread([&] {
                shown = ShowFrame();
                if (shown) {
                    const TGIFGraphicControlExtension* control =
                        FImage.Images()[FActiveImage]->GraphicControlExtension();
                    delay = control ? control->Delay() : 0;
                }
            });
            if (!shown) break;
            if (!Wait(FrameWait(delay, InThread(), FSpeed, FDrawingMs))) break;
            OnMainThread([this] {
                if (Terminated() || !TargetAlive()) return Terminate();
                Fire(FOnAfterPaint);
                DisposeFrame();
            });
        }
        if (Terminated()) break;
        OnMainThread([this] { Fire(FOnLoop); });
        ++pass;
        const bool repeat = (FOptions & goAnimate) && (FOptions & goLoop);
        const bool endless = InThread() && (FLoops == 0 || (FOptions & goLoopContinously));
        if (!repeat || (!endless && pass >= std::max(FLoops, 1))) break;
    }
    OnMainThread([this] { Fire(FOnEndPaint); });
}

void TGIFPainter::Prepare() {
    QImage* surface = FTarget->Surface();
    if (!TargetAlive() || !surface) return Terminate();
    const int width = FImage.Width(), height = FImage.Height();
    FLoops = LoopCountOf(FImage);
    FBackgroundColor = ColorToQColor(FImage.BackgroundColor());
    if (FOptions & goTransparent) {
        FBackground = CaptureUnder(*surface, FRect, width, height, FOptions & goTile);
    } else {
        FBackground = QImage(width, height, QImage::Format_RGB32);
        FBackground.fill(FBackgroundColor);
    }
    FWork = FBackground.copy();
}

bool TGIFPainter::ShowFrame() {
    if (Terminated()) return false;
    if (!TargetAlive()) {
        Terminate();
        return false;
    }
    if (FActiveImage >= FImage.Images().Count()) return false;
    TGIFSubImage& frame = *FImage.Images()[FActiveImage];
    if (frame.Empty()) return false;
    const auto start = std::chrono::steady_clock::now();
    const QRect area(frame.Left(), frame.Top(), frame.Width(), frame.Height());
    const TGIFGraphicControlExtension* control = frame.GraphicControlExtension();
    if (control && control->Disposal() == 3) FPrevious = FWork.copy(area);
    {
        QPainter p(&FWork);
        p.drawImage(area.topLeft(), frame.Layer(FOptions & goTransparent));
    }
    CopyWorkToTarget();
    FPainted.store(true);
    Fire(FOnPaint);
    FDrawingMs = static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                      std::chrono::steady_clock::now() - start)
                                      .count());
    return true;
}

void TGIFPainter::DisposeFrame() {
    TGIFSubImage& frame = *FImage.Images()[FActiveImage];
    const TGIFGraphicControlExtension* control = frame.GraphicControlExtension();
    const QRect area(frame.Left(), frame.Top(), frame.Width(), frame.Height());
    const int disposal = control ? control->Disposal() : 0;
    if (disposal == 2) {
        RestoreBackground(area);
    } else if (disposal == 3 && !FPrevious.isNull()) {
        QPainter p(&FWork);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.drawImage(area.topLeft(), FPrevious);
    }
}

void TGIFPainter::RestoreBackground(const QRect& Area) {
    QPainter p(&FWork);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    if (FOptions & goTransparent)
        p.drawImage(Area.topLeft(), FBackground, Area);
    else
        p.fillRect(Area, FBackgroundColor);
}

void TGIFPainter::CopyWorkToTarget() {
    QImage* surface = FTarget->Surface();
    if (!surface) return;
    {
        QPainter p(surface);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        LayPicture(p, FWork, FRect, (FOptions & goTile) && FTarget == FCanvas);
    }
    FTarget->Changed();
    FImage.NotifyRedraw();
}

bool TGIFPainter::Wait(int Ms) {
    if (InThread()) {
        if (Ms < 0)
            FEvent.WaitForever();
        else
            FEvent.WaitFor(std::chrono::milliseconds(Ms));
        return !Terminated();
    }
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(Ms);
    for (;;) {
        if (Terminated()) return false;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            end - std::chrono::steady_clock::now());
        if (left.count() <= 0) return true;
        FEvent.WaitFor(std::min(left, std::chrono::milliseconds(CallerWaitSlice)));
        if (!ProcessMessages()) {
            Terminate();
            return false;
        }
    }
}
