// The part of a canvas that pictures draw through: the bitmap it paints onto
// and its change notification. The class library's full canvas (pens, brushes,
// fonts, text) builds on it; graphics draw onto either.
#pragma once

#include <functional>

#include "graphics/Graphics.h"
#include "graphics/Lifetime.h"

class TBitmapCanvas {
public:
    explicit TBitmapCanvas(TBitmap* Target = nullptr) : FTarget(Target) {}
    virtual ~TBitmapCanvas() = default;
    TBitmapCanvas(const TBitmapCanvas&) = delete;
    TBitmapCanvas& operator=(const TBitmapCanvas&) = delete;

    void SetTarget(TBitmap* Target) { FTarget = Target; }
    TBitmap* Target() const { return FTarget; }

    // The target's pixels ready for a QPainter (indexed targets become 32-bit
    // first); null without a target or for an empty one.
    QImage* Surface();
    // Reports a drawing to OnChange.
    void Changed() {
        if (OnChange) OnChange();
    }
    std::function<void()> OnChange;

    // Expires when this canvas is destroyed.
    TLifetime::TWatcher Watch() const { return FLifetime.Watch(); }

protected:
    TBitmap* FTarget;

private:
    TLifetime FLifetime;
};
