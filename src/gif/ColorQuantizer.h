// The octree colour quantiser: at most a given number of colours that stand
// for all the colours fed to it.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "graphics/Graphics.h"

struct TOctreeNode {
    bool Leaf = false;
    std::uint32_t PixelCount = 0;
    std::uint32_t RedSum = 0;
    std::uint32_t GreenSum = 0;
    std::uint32_t BlueSum = 0;
    TOctreeNode* Next = nullptr; // next reducible node of the same level
    std::array<std::unique_ptr<TOctreeNode>, 8> Children;
};

class TColorQuantizer {
public:
    TColorQuantizer(int MaxColors, int ColorBits);
    void AddColor(int Red, int Green, int Blue);
    // One entry per leaf, children visited 0 to 7: the mean of its colours.
    TPalette ColorTable() const;
    int LeafCount() const { return FLeafCount; }

private:
    std::unique_ptr<TOctreeNode> NewNode(int Level);
    void ReduceTree();

    std::unique_ptr<TOctreeNode> FRoot;
    int FLeafCount = 0;
    std::vector<TOctreeNode*> FReducible; // list heads per level
    int FMaxColors;
    int FColorBits;
};
