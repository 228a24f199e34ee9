// The painter that animates a GIF picture of several frames, in a thread of
// its own or in the caller's thread.
//
// Each pass fires OnStartPaint, then for every frame: the frame is composed
// into the painter's work bitmap by the disposal of the frame before it, the
// work bitmap is copied onto the target, OnPaint fires, the frame's wait
// passes, OnAfterPaint fires; after the last frame OnLoop fires. OnEndPaint
// fires once when the painter ends. A thread painter draws and fires its
// events on the main thread (Synchronize); it stops when told to, when the
// picture is cleared or freed, and when its canvas or the canvas's bitmap is
// destroyed.
#pragma once

#include <QImage>

#include <chrono>
#include <cstdint>

#include "gif/GIFImage.h"
#include "graphics/Threads.h"

class TGIFPainter : public TThread {
public:
    // Paints Image onto Rect of Canvas (goDirectDraw), or onto the picture's
    // rendered bitmap. Created suspended; Draw starts it or runs it.
    TGIFPainter(TGIFImage& Image, TBitmapCanvas& Canvas, const TRect& Rect, std::uint16_t Options);
    ~TGIFPainter() override;

    TGIFImage& Image() const { return FImage; }
    TBitmapCanvas* Canvas() const { return FCanvas; }
    // The rectangle the picture was drawn into; the painter paints onto it
    // (goDirectDraw) or onto the rendered bitmap.
    const TRect& DrawRect() const { return FDrawRect; }
    std::uint16_t Options() const { return FOptions; }
    // The frame being shown (0-based).
    int ActiveImage() const { return FActiveImage; }
    bool Painted() const { return FPainted.load(); }
    bool InThread() const { return FOptions & goAsync; }

    // Runs the animation in the calling (main) thread; returns when it ends.
    void RunInCallersThread();

    // The wait after a frame in milliseconds (-1: without end), from the
    // frame's delay (0 = none), the animation speed in percent and the time
    // spent drawing it.
    static int FrameWait(int Delay, bool InThread, int AnimationSpeed, int DrawingMs);

protected:
    void Execute() override;
    void TerminatedSet() override;

private:
    void Animate();
    bool TargetAlive() const;
    void Fire(const TGIFPaintEvent& Event);
    // On the main thread: takes the background, the loop count and the events' start.
    void Prepare();
    // On the main thread: shows frame FActiveImage; false when the painter must stop.
    bool ShowFrame();
    void DisposeFrame();
    void RestoreBackground(const QRect& Area);
    void CopyWorkToTarget();
    // Waits Ms milliseconds (-1: until stopped); false when told to stop.
    bool Wait(int Ms);
    template <class F> void OnMainThread(F&& Step);

    TGIFImage& FImage;
    TBitmapCanvas* FCanvas;
    TBitmapCanvas FRenderCanvas; // onto the rendered bitmap
    TBitmapCanvas* FTarget;      // FCanvas or FRenderCanvas
    TRect FDrawRect;
    TRect FRect; // on the target
    std::uint16_t FOptions;
    int FSpeed;
    TGIFPaintEvent FOnStartPaint, FOnPaint, FOnAfterPaint, FOnLoop, FOnEndPaint;

    TLifetime::TWatcher FCanvasAlive;
    TLifetime::TWatcher FBitmapAlive;
    TBitmap* FCanvasBitmap;

    QImage FWork;       // the picture as shown, picture size
    QImage FBackground; // what lay under the picture at the start
    QImage FPrevious;   // the area under a frame of disposal 3
    QColor FBackgroundColor;
    int FActiveImage = 0;
    int FLoops = 0; // 0: without end
    int FDrawingMs = 0;
    TSimpleEvent FEvent;
    std::atomic<bool> FPainted{false};
};
