// The order in which a GIF frame's rows are stored: top to bottom, or the four
// interlace passes (every 8th row from 0, every 8th from 4, every 4th from 2,
// every 2nd from 1). A pass whose first row lies at or beyond the height is
// skipped, so short frames never visit a row outside the frame.
#pragma once

class TInterlaceWalk {
public:
    TInterlaceWalk(int Height, bool Interlaced) : FHeight(Height), FInterlaced(Interlaced) {
        FDone = Height <= 0;
    }

    bool Done() const { return FDone; }
    int Row() const { return FRow; }

    void Next() {
        if (FDone) return;
        if (!FInterlaced) {
            FDone = ++FRow >= FHeight;
            return;
        }
        FRow += Steps[FPass];
        while (FRow >= FHeight) {
            if (++FPass == 4) {
                FDone = true;
                return;
            }
            FRow = Starts[FPass];
        }
    }

private:
    static constexpr int Starts[4] = {0, 4, 2, 1};
    static constexpr int Steps[4] = {8, 8, 4, 2};
    int FHeight;
    bool FInterlaced;
    bool FDone;
    int FRow = 0;
    int FPass = 0;
};
