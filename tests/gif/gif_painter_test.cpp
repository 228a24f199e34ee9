// Drawing and animating GIF pictures: still frames, painters in the caller's
// thread and in threads of their own (dead-locks, freed targets), checked
// against Qt's GIF reader. These tests also run under ThreadSanitizer.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QImageReader>
#include <QPainter>

#include <sys/resource.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <climits>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <sstream>
#include <thread>

#include "gif/GIFPainter.h"
#include "gif_oracle.h"

namespace {

using namespace std::chrono_literals;

// Aborts the program when a test does not finish in time (a dead-lock).
class Watchdog {
public:
    explicit Watchdog(std::chrono::seconds Limit)
        : FThread([this, Limit] {
              std::unique_lock lock(FMutex);
              if (!FDone.wait_for(lock, Limit, [this] { return FFinished; })) {
                  std::fputs("dead-lock: the test did not finish in time\n", stderr);
                  std::abort();
              }
          }) {}
    ~Watchdog() {
        {
            std::lock_guard lock(FMutex);
            FFinished = true;
        }
        FDone.notify_all();
        FThread.join();
    }

private:
    std::mutex FMutex;
    std::condition_variable FDone;
    bool FFinished = false;
    std::thread FThread;
};

TGIFSubImage& AddFrame(TGIFImage& gif, int left, int top, int w, int h,
                       const std::vector<std::uint8_t>& pixels, int disposal, int transparent,
                       int delay = 1) {
    auto frame = MakeFrame(gif, w, h, {{255, 0, 0}, {0, 0, 255}, {0, 200, 0}, {9, 9, 9}}, pixels);
    frame->SetBounds(left, top, w, h);
    auto control = std::make_unique<TGIFGraphicControlExtension>(frame.get());
    control->SetDisposal(disposal);
    control->SetDelay(delay);
    if (transparent >= 0) {
        control->SetTransparent(true);
        control->SetTransparentColorIndex(transparent);
    }
    frame->Extensions().Add(std::move(control));
    TGIFSubImage& added = *frame;
    gif.AddFrame(std::move(frame));
    return added;
}

std::vector<std::uint8_t> Pattern(int w, int h, int seed) {
    std::vector<std::uint8_t> p(static_cast<std::size_t>(w * h));
    for (std::size_t i = 0; i < p.size(); ++i)
        p[i] = static_cast<std::uint8_t>((i * 7 + seed + i / 3) % 4);
    return p;
}

// 8 x 6 picture: four frames of disposals 1, 2, 3 and 0, index 3 transparent.
void BuildAnimation(TGIFImage& gif) {
    gif.Header().SetWidth(8);
    gif.Header().SetHeight(6);
    AddFrame(gif, 0, 0, 8, 6, Pattern(8, 6, 0), 1, 3);
    AddFrame(gif, 2, 1, 4, 3, Pattern(4, 3, 1), 2, 3);
    AddFrame(gif, 1, 2, 5, 3, Pattern(5, 3, 2), 3, 3);
    AddFrame(gif, 0, 3, 3, 3, Pattern(3, 3, 3), 0, 3);
}

TBitmap Checkerboard(int w, int h) {
    TBitmap b;
    b.SetPixelFormat(TPixelFormat::pf32bit);
    b.SetSize(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            b.SetPixel(x, y, (x + y) % 2 ? RGB(250, 240, 10) : RGB(30, 160, 170));
    return b;
}

// Qt's frames of the picture, each laid on the background.
std::vector<QImage> QtFramesOn(const std::string& bytes, const QImage& background) {
    QByteArray data(bytes.data(), static_cast<qsizetype>(bytes.size()));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "gif");
    std::vector<QImage> frames;
    for (QImage frame = reader.read(); !frame.isNull(); frame = reader.read()) {
        QImage laid = background.convertToFormat(QImage::Format_RGB32);
        QPainter(&laid).drawImage(0, 0, frame);
        frames.push_back(laid);
    }
    return frames;
}

QImage Area(const TBitmap& b, const TRect& r) {
    return b.ToImage()
        .convertToFormat(QImage::Format_RGB32)
        .copy(r.Left, r.Top, r.Width(), r.Height());
}

TEST(GifPainter, StillFrameIsStretchedAndStartsNoThread) {
    TGIFImage gif;
    AddFrame(gif, 0, 0, 3, 2, {0, 1, 3, 2, 3, 1}, 0, 3);
    for (bool transparent : {false, true}) {
        gif.PaintOptions = transparent ? 0x068F : 0x068D;
        TBitmap target = Checkerboard(8, 6);
        TBitmapCanvas canvas(&target);
        gif.Draw(canvas, Rect(1, 1, 7, 5));
        EXPECT_EQ(gif.Painters().Count(), 0);
        const QRgb colors[] = {qRgb(255, 0, 0), qRgb(0, 0, 255), qRgb(0, 200, 0), qRgb(9, 9, 9)};
        const TBitmap background = Checkerboard(8, 6);
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 8; ++x) {
                const bool inside = x >= 1 && x < 7 && y >= 1 && y < 5;
                const int index = inside ? gif.Images()[0]->Pixels((x - 1) / 2, (y - 1) / 2) : -1;
                const TColor expected =
                    index < 0 || (transparent && index == 3)
                        ? background.Pixel(x, y)
                        : RGB(qRed(colors[index]), qGreen(colors[index]), qBlue(colors[index]));
                EXPECT_EQ(target.Pixel(x, y), expected) << x << "," << y << " " << transparent;
            }
    }
}

// The target after each paint event equals Qt's frame laid on the same background.
TEST(GifPainter, PaintEventsShowQtsFramesInEitherThread) {
    Watchdog watchdog(20s);
    for (bool async : {false, true}) {
        TGIFImage gif;
        BuildAnimation(gif);
        gif.AnimationSpeed = 1000;
        gif.PaintOptions = goAnimate | goTransparent | goDirectDraw | (async ? goAsync : 0);
        TBitmap target = Checkerboard(12, 9);
        const TRect rect = Bounds(3, 2, 8, 6);
        const std::vector<QImage> expected =
            QtFramesOn(SaveToBytes(gif), Area(Checkerboard(12, 9), rect));
        ASSERT_EQ(expected.size(), 4u);
        std::vector<QImage> seen;
        std::vector<std::string> events;
        gif.OnStartPaint = [&](TGIFPainter&) { events.push_back("start"); };
        gif.OnPaint = [&](TGIFPainter& p) {
            EXPECT_TRUE(IsMainThread());
            events.push_back("paint" + std::to_string(p.ActiveImage()));
            seen.push_back(Area(target, rect));
        };
        gif.OnAfterPaint = [&](TGIFPainter&) { events.push_back("after"); };
        gif.OnLoop = [&](TGIFPainter&) { events.push_back("loop"); };
        gif.OnEndPaint = [&](TGIFPainter&) { events.push_back("end"); };
        TBitmapCanvas canvas(&target);
        gif.Draw(canvas, rect);
        ServeSynchronizeWhileNot([&] { return gif.Painters().Count() == 0; });
        ASSERT_EQ(seen.size(), 4u) << async;
        for (std::size_t i = 0; i < 4; ++i)
            EXPECT_EQ(seen[i], expected[i]) << "frame " << i << " async " << async;
        const std::vector<std::string> order = {"start", "paint0", "after", "paint1",
                                                "after", "paint2", "after", "paint3",
                                                "after", "loop",   "end"};
        EXPECT_EQ(events, order);
    }
}

TEST(GifPainter, SameCanvasAndRectangleKeepsThePainterAnotherStopsIt) {
    Watchdog watchdog(20s);
    TGIFImage gif;
    BuildAnimation(gif);
    gif.PaintOptions = goAsync | goAnimate | goLoop | goTransparent | goDirectDraw;
    TBitmap target = Checkerboard(20, 20);
    TBitmapCanvas canvas(&target);
    gif.Draw(canvas, Bounds(0, 0, 8, 6));
    gif.Draw(canvas, Bounds(0, 0, 8, 6));
    {
        auto list = gif.Painters().LockList();
        ASSERT_EQ(list->size(), 1u);
    }
    gif.Draw(canvas, Bounds(4, 4, 16, 12));
    ServeSynchronizeWhileNot([&] { return gif.Painters().Count() == 1; });
    {
        auto list = gif.Painters().LockList();
        EXPECT_EQ(list->front()->DrawRect(), Bounds(4, 4, 16, 12));
    }
    gif.StopPainters();
    EXPECT_EQ(gif.Painters().Count(), 0);
}

TEST(GifPainter, ClearWhileThePainterWaitsForTheMainThreadDoesNotDeadLock) {
    Watchdog watchdog(5s);
    std::atomic<int> requests{0};
    SetWakeMainThread([&] { ++requests; });
    TGIFImage gif;
    BuildAnimation(gif);
    gif.PaintOptions = goAsync | goAnimate | goLoop | goTransparent | goDirectDraw;
    TBitmap target = Checkerboard(8, 6);
    TBitmapCanvas canvas(&target);
    gif.Draw(canvas, Bounds(0, 0, 8, 6));
    while (requests.load() == 0)
        std::this_thread::sleep_for(1ms); // the painter now waits in Synchronize
    const auto start = std::chrono::steady_clock::now();
    gif.ClearPicture();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
    EXPECT_EQ(gif.Painters().Count(), 0);
    EXPECT_TRUE(gif.Empty());
    SetWakeMainThread(nullptr);
}

TEST(GifPainter, FreeingTheTargetStopsThePainter) {
    Watchdog watchdog(10s);
    for (bool freeCanvas : {false, true})
        for (bool async : {false, true}) {
            TGIFImage gif;
            BuildAnimation(gif);
            gif.AnimationSpeed = 1000;
            gif.PaintOptions = goAnimate | goLoop | goDirectDraw | (async ? goAsync : 0);
            auto target = std::make_unique<TBitmap>(Checkerboard(8, 6));
            auto canvas = std::make_unique<TBitmapCanvas>(target.get());
            int paints = 0;
            gif.OnPaint = [&](TGIFPainter&) {
                if (++paints == 2) (freeCanvas ? canvas.reset() : target.reset());
            };
            gif.Draw(*canvas, Bounds(0, 0, 8, 6)); // the caller's painter returns here
            ServeSynchronizeWhileNot([&] { return gif.Painters().Count() == 0; });
            EXPECT_EQ(paints, 2) << freeCanvas << async;
        }
}

TEST(GifPainter, FrameWaits) {
    struct Case {
        int delay, speed;
        bool thread;
        int ms;
    } cases[] = {{0, 100, false, 120},     {1, 100, false, 36},  {5000, 100, false, 12000},
                 {5000, 100, true, 60000}, {0, 200, false, 60},  {1, 200, true, 18},
                 {5000, 200, false, 6000}, {0, 0, false, 12000}, {0, 0, true, -1},
                 {7, -5, true, -1}};
    for (const Case& c : cases)
        EXPECT_EQ(TGIFPainter::FrameWait(c.delay, c.thread, c.speed, 0), c.ms)
            << c.delay << " " << c.speed << " " << c.thread;
    EXPECT_EQ(TGIFPainter::FrameWait(10, false, 100, 50), 70); // less the drawing time
}

TEST(GifPainter, LoopCountZeroRunsUntilStoppedInAThreadOnceInTheCaller) {
    Watchdog watchdog(20s);
    for (bool async : {false, true}) {
        TGIFImage gif;
        BuildAnimation(gif);
        auto loop = std::make_unique<TGIFAppExtNSLoop>(gif.Images()[0]);
        loop->SetLoops(0);
        gif.Images()[0]->Extensions().Add(std::move(loop));
        gif.AnimationSpeed = 2000;
        gif.PaintOptions = goAnimate | goLoop | goDirectDraw | (async ? goAsync : 0);
        int loops = 0;
        gif.OnLoop = [&](TGIFPainter&) { ++loops; };
        TBitmap target = Checkerboard(8, 6);
        TBitmapCanvas canvas(&target);
        gif.Draw(canvas, Bounds(0, 0, 8, 6));
        if (!async) {
            EXPECT_EQ(loops, 1);
            EXPECT_EQ(gif.Painters().Count(), 0);
            continue;
        }
        ServeSynchronizeWhileNot([&] { return loops >= 3; });
        EXPECT_EQ(gif.Painters().Count(), 1);
        gif.StopPainters();
        EXPECT_EQ(gif.Painters().Count(), 0);
    }
}

TEST(GifPainter, RenderedBitmapAnimatesBehindTheCanvas) {
    Watchdog watchdog(10s);
    TGIFImage gif;
    BuildAnimation(gif);
    gif.PaintOptions = goAsync | goAnimate | goLoop | goTransparent;
    TBitmap target = Checkerboard(16, 12);
    target.Image().fill(qRgb(40, 50, 60));
    TBitmapCanvas canvas(&target);
    int redraws = 0;
    gif.OnRedrawNeeded = [&] { ++redraws; };
    gif.Draw(canvas, Bounds(0, 0, 16, 12));
    ASSERT_NE(gif.RenderedBitmap(), nullptr);
    QImage background(8, 6, QImage::Format_RGB32);
    background.fill(qRgb(40, 50, 60));
    const QImage expected = QtFramesOn(SaveToBytes(gif), background)[0];
    EXPECT_EQ(Area(target, Bounds(0, 0, 16, 12)), expected.scaled(16, 12));
    ServeSynchronizeWhileNot([&] { return redraws >= 3; });
    gif.ClearPicture();
    EXPECT_EQ(gif.RenderedBitmap(), nullptr);
}

// The nice value of a thread of this process as the system lists it.
int NiceOf(int ThreadId) {
    std::ifstream file("/proc/self/task/" + std::to_string(ThreadId) + "/stat");
    std::string stat((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    const std::size_t name = stat.rfind(')');
    if (name == std::string::npos) return INT_MIN;
    std::istringstream fields(stat.substr(name + 1));
    std::string field;
    for (int i = 3; i <= 19 && fields >> field; ++i) {
    } // the 19th field is the nice value
    return std::stoi(field);
}

// Whether a thread of this process may take back a nice value it gave up.
bool MayLowerNice() {
    bool may = false;
    std::thread probe([&] {
        const int own = NiceOf(static_cast<int>(gettid()));
        setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), std::min(own + 1, 19));
        may = setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), own) == 0;
    });
    probe.join();
    return may;
}

TEST(GifPainter, APainterThreadRunsAtThePicturesPriorityUntilItIsStopped) {
    Watchdog watchdog(20s);
    const int normal = NiceOf(static_cast<int>(gettid()));
    ASSERT_NE(normal, INT_MIN);
    for (int priority : {tpIdle, tpLower, tpNormal, tpHighest}) {
        TGIFImage gif;
        BuildAnimation(gif);
        gif.ThreadPriority = priority;
        gif.PaintOptions = goAsync | goAnimate | goLoop | goLoopContinously | goDirectDraw;
        int painting = INT_MIN, ending = INT_MIN;
        gif.OnPaint = [&](TGIFPainter& p) {
            if (painting == INT_MIN) painting = NiceOf(p.ThreadID());
        };
        gif.OnEndPaint = [&](TGIFPainter& p) { ending = NiceOf(p.ThreadID()); };
        TBitmap target = Checkerboard(8, 6);
        TBitmapCanvas canvas(&target);
        gif.Draw(canvas, Bounds(0, 0, 8, 6));
        ServeSynchronizeWhileNot([&] { return painting != INT_MIN; });
        gif.StopPainters();
        ASSERT_NE(ending, INT_MIN) << priority;
        if (priority < tpNormal)
            EXPECT_GT(painting, normal) << priority;
        else if (priority == tpNormal)
            EXPECT_EQ(painting, normal);
        else
            EXPECT_LE(painting, normal) << "refused without the privilege, else raised";
        if (MayLowerNice()) {
            EXPECT_EQ(ending, normal) << priority;
        }
    }
}

TEST(GifPainter, PaletteWithoutAnyColourMapRaises) {
    TGIFImage gif;
    auto frame = std::make_unique<TGIFSubImage>(&gif);
    frame->SetBounds(0, 0, 2, 2);
    gif.AddFrame(std::move(frame));
    EXPECT_THROW(
        {
            try {
                gif.GetPalette();
            } catch (const GIFException& e) {
                EXPECT_STREQ(e.what(), "No global or local color table defined");
                throw;
            }
        },
        GIFException);
}

TEST(GifPainter, ClipboardWithoutAnApplicationRefuses) {
    TGIFImage gif;
    AddFrame(gif, 0, 0, 2, 2, {0, 1, 2, 3}, 0, -1);
    unsigned format = 0;
    TClipboardData data;
    TPalette palette;
    try {
        gif.SaveToClipboardFormat(format, data, palette);
        FAIL();
    } catch (const GIFException& e) {
        EXPECT_STREQ(e.what(), "Failed to store GIF on clipboard");
    }
    EXPECT_THROW(gif.LoadFromClipboardFormat(1, &data, palette), EInvalidGraphic);
}

} // namespace
