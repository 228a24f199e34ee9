// The octree colour quantiser: at most a given number of colours that stand
// for all the colours fed to it.
//
// A colour walks down the tree one bit of each channel per level (red, green,
// blue give the child index 4 r + 2 g + b). Feeding every pixel of a picture is
// the costly part of a reduction, so beside the tree the quantiser keeps a map
// from a colour's high bits to the node it reaches at the map's level (or the
// leaf it meets above it): most colours start their walk there. Folding a node
// at or above that level points its whole part of the map at it, so the map
// never holds a freed node.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "graphics/Graphics.h"

struct TOctreeNode {
    bool Leaf = false;
    std::uint8_t Level = 0;
    std::uint32_t Path = 0; // child indices from the root, three bits per level
    std::uint32_t PixelCount = 0;
    // 64 bits: a picture may hold more than 2^24 pixels of one colour
    std::uint64_t RedSum = 0;
    std::uint64_t GreenSum = 0;
    std::uint64_t BlueSum = 0;
    TOctreeNode* Next = nullptr; // next reducible node of the same level
    std::array<TOctreeNode*, 8> Children{};
};

class TColorQuantizer {
public:
    TColorQuantizer(int MaxColors, int ColorBits);
    ~TColorQuantizer();
    TColorQuantizer(const TColorQuantizer&) = delete;
    TColorQuantizer& operator=(const TColorQuantizer&) = delete;

    void AddColor(int Red, int Green, int Blue) {
        Add(Interleave(Red, Green, Blue), Red, Green, Blue);
    }
    // Feeds Count pixels of blue, green and red bytes, in order.
    void AddPixels(const std::uint8_t* Bgr, int Count);
    // One entry per leaf, children visited 0 to 7: the mean of its colours.
    TPalette ColorTable() const;
    int LeafCount() const { return FLeafCount; }

private:
    // The channels' bits interleaved, level 0 highest: the child index at
    // level L is bits 3 (7 - L) .. 3 (7 - L) + 2.
    static std::uint32_t Interleave(int Red, int Green, int Blue) {
        return (Spread[Red] << 2) | (Spread[Green] << 1) | Spread[Blue];
    }
    static int ChildIndex(std::uint32_t Bits, int Level) { return (Bits >> (21 - 3 * Level)) & 7; }
    static const std::array<std::uint32_t, 256> Spread;

    // The leaf the colour was added to, or null when nodes were made for it
    // (the tree changed its shape).
    TOctreeNode* Add(std::uint32_t Bits, int Red, int Green, int Blue) {
        TOctreeNode*& mapped = FMap[Bits >> FMapShift];
        TOctreeNode* node = mapped;
        if (!node) {
            node = FRoot;
            while (!node->Leaf && node->Level < FMapLevel) {
                TOctreeNode* child = node->Children[ChildIndex(Bits, node->Level)];
                if (!child) return Grow(node, Bits, Red, Green, Blue);
                node = child;
            }
            mapped = node;
        }
        while (!node->Leaf) {
            TOctreeNode* child = node->Children[ChildIndex(Bits, node->Level)];
            if (!child) return Grow(node, Bits, Red, Green, Blue);
            node = child;
        }
        AddToLeaf(*node, Red, Green, Blue);
        return node;
    }
    static void AddToLeaf(TOctreeNode& Leaf, int Red, int Green, int Blue) {
        ++Leaf.PixelCount;
        Leaf.RedSum += static_cast<std::uint32_t>(Red);
        Leaf.GreenSum += static_cast<std::uint32_t>(Green);
        Leaf.BlueSum += static_cast<std::uint32_t>(Blue);
    }
    // Makes the missing nodes below Node down to a leaf, adds the colour and
    // folds until the colours fit; null.
    TOctreeNode* Grow(TOctreeNode* Node, std::uint32_t Bits, int Red, int Green, int Blue);
    TOctreeNode* NewNode(int Level, std::uint32_t Path);
    void FreeNode(TOctreeNode* Node);
    void ReduceTree();

    TOctreeNode* FRoot = nullptr;
    int FLeafCount = 0;
    std::vector<TOctreeNode*> FReducible; // list heads per level
    int FMaxColors;
    int FColorBits;
    int FMapLevel;
    int FMapShift;
    std::vector<TOctreeNode*> FMap;
    std::vector<std::unique_ptr<TOctreeNode[]>> FChunks;
    std::size_t FChunkUsed = 0;
    std::vector<TOctreeNode*> FFreeNodes;
};
