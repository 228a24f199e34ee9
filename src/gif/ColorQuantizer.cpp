#include "gif/ColorQuantizer.h"

#include <algorithm>
#include <functional>

namespace {

constexpr int MapLevels = 5;            // the map skips the first five levels of a walk
constexpr std::size_t ChunkSize = 1024; // nodes are made in chunks and reused

} // namespace

// Bit 7 - L of a channel moves to bit 3 (7 - L).
const std::array<std::uint32_t, 256> TColorQuantizer::Spread = [] {
    std::array<std::uint32_t, 256> spread{};
    for (std::uint32_t c = 0; c < 256; ++c)
        for (int bit = 0; bit < 8; ++bit)
            spread[c] |= ((c >> bit) & 1u) << (3 * bit);
    return spread;
}();

TColorQuantizer::TColorQuantizer(int MaxColors, int ColorBits)
    : FReducible(static_cast<std::size_t>(ColorBits + 1), nullptr), FMaxColors(MaxColors),
      FColorBits(ColorBits), FMapLevel(std::min(ColorBits, MapLevels)),
      FMapShift(3 * (8 - FMapLevel)), FMap(std::size_t{1} << (3 * FMapLevel), nullptr) {
    FRoot = NewNode(0, 0);
}

TColorQuantizer::~TColorQuantizer() = default; // the chunks hold every node

TOctreeNode* TColorQuantizer::NewNode(int Level, std::uint32_t Path) {
    TOctreeNode* node;
    if (!FFreeNodes.empty()) {
        node = FFreeNodes.back();
        FFreeNodes.pop_back();
    } else {
        if (FChunks.empty() || FChunkUsed == ChunkSize) {
            FChunks.push_back(std::make_unique<TOctreeNode[]>(ChunkSize));
            FChunkUsed = 0;
        }
        node = &FChunks.back()[FChunkUsed++];
    }
    *node = TOctreeNode();
    node->Level = static_cast<std::uint8_t>(Level);
    node->Path = Path;
    if (Level == FColorBits) {
        node->Leaf = true;
        ++FLeafCount;
    } else {
        node->Next = FReducible[static_cast<std::size_t>(Level)];
        FReducible[static_cast<std::size_t>(Level)] = node;
    }
    return node;
}

void TColorQuantizer::FreeNode(TOctreeNode* Node) {
    for (TOctreeNode* child : Node->Children)
        if (child) FreeNode(child);
    FFreeNodes.push_back(Node);
}

void TColorQuantizer::AddPixels(const std::uint8_t* Bgr, int Count) {
    // Most colours find a leaf in the map. The map's address and shift live in
    // locals: the sums written below could otherwise alias the members.
    TOctreeNode* const* const map = FMap.data();
    const int shift = FMapShift;
    // a run of one colour ends in one leaf while the tree keeps its shape
    std::uint32_t last = 0xFFFFFFFFu;
    TOctreeNode* lastLeaf = nullptr;
    for (const std::uint8_t* end = Bgr + 3 * static_cast<std::ptrdiff_t>(Count); Bgr != end;
         Bgr += 3) {
        const int blue = Bgr[0], green = Bgr[1], red = Bgr[2];
        const auto color = static_cast<std::uint32_t>(blue | (green << 8) | (red << 16));
        if (color == last) {
            AddToLeaf(*lastLeaf, red, green, blue);
            continue;
        }
        const std::uint32_t bits = Interleave(red, green, blue);
        TOctreeNode* const mapped = map[bits >> shift];
        if (mapped && mapped->Leaf) {
            AddToLeaf(*mapped, red, green, blue);
            lastLeaf = mapped;
        } else {
            lastLeaf = Add(bits, red, green, blue);
        }
        last = lastLeaf ? color : 0xFFFFFFFFu;
    }
}

TOctreeNode* TColorQuantizer::Grow(TOctreeNode* Node, std::uint32_t Bits, int Red, int Green,
                                   int Blue) {
    while (!Node->Leaf) {
        const int index = ChildIndex(Bits, Node->Level);
        TOctreeNode* child = NewNode(Node->Level + 1, (Node->Path << 3) | index);
        Node->Children[static_cast<std::size_t>(index)] = child;
        Node = child;
    }
    AddToLeaf(*Node, Red, Green, Blue);
    while (FLeafCount > FMaxColors)
        ReduceTree();
    return nullptr;
}

void TColorQuantizer::ReduceTree() {
    int level = FColorBits - 1;
    while (level > 0 && !FReducible[static_cast<std::size_t>(level)])
        --level;
    TOctreeNode* node = FReducible[static_cast<std::size_t>(level)];
    if (!node) return;
    FReducible[static_cast<std::size_t>(level)] = node->Next;
    int children = 0;
    for (TOctreeNode*& child : node->Children) {
        if (!child) continue;
        node->PixelCount += child->PixelCount;
        node->RedSum += child->RedSum;
        node->GreenSum += child->GreenSum;
        node->BlueSum += child->BlueSum;
        FreeNode(child);
        child = nullptr;
        ++children;
    }
    node->Leaf = true;
    FLeafCount -= children - 1;
    // every colour under the node now ends in it
    if (level <= FMapLevel) {
        const int below = 3 * (FMapLevel - level);
        const auto first = FMap.begin() + (static_cast<std::ptrdiff_t>(node->Path) << below);
        std::fill(first, first + (std::ptrdiff_t{1} << below), node);
    }
}

TPalette TColorQuantizer::ColorTable() const {
    TPalette table;
    const std::function<void(const TOctreeNode&)> walk = [&](const TOctreeNode& node) {
        if (node.Leaf) {
            if (node.PixelCount == 0)
                table.push_back({0, 0, 0, 0});
            else
                table.push_back({static_cast<std::uint8_t>(node.RedSum / node.PixelCount),
                                 static_cast<std::uint8_t>(node.GreenSum / node.PixelCount),
                                 static_cast<std::uint8_t>(node.BlueSum / node.PixelCount), 0});
            return;
        }
        for (const TOctreeNode* child : node.Children)
            if (child) walk(*child);
    };
    walk(*FRoot);
    return table;
}
