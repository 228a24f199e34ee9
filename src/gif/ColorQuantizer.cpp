#include "gif/ColorQuantizer.h"

#include <functional>

TColorQuantizer::TColorQuantizer(int MaxColors, int ColorBits)
    : FReducible(static_cast<std::size_t>(ColorBits + 1), nullptr), FMaxColors(MaxColors),
      FColorBits(ColorBits) {
    FRoot = NewNode(0);
}

std::unique_ptr<TOctreeNode> TColorQuantizer::NewNode(int Level) {
    auto node = std::make_unique<TOctreeNode>();
    if (Level == FColorBits) {
        node->Leaf = true;
        ++FLeafCount;
    } else {
        node->Next = FReducible[static_cast<std::size_t>(Level)];
        FReducible[static_cast<std::size_t>(Level)] = node.get();
    }
    return node;
}

void TColorQuantizer::AddColor(int Red, int Green, int Blue) {
    TOctreeNode* node = FRoot.get();
    for (int level = 0; !node->Leaf; ++level) {
        const int shift = 7 - level;
        const int index =
            (((Red >> shift) & 1) << 2) | (((Green >> shift) & 1) << 1) | ((Blue >> shift) & 1);
        auto& child = node->Children[static_cast<std::size_t>(index)];
        if (!child) child = NewNode(level + 1);
        node = child.get();
    }
    ++node->PixelCount;
    node->RedSum += static_cast<std::uint32_t>(Red);
    node->GreenSum += static_cast<std::uint32_t>(Green);
    node->BlueSum += static_cast<std::uint32_t>(Blue);
    while (FLeafCount > FMaxColors)
        ReduceTree();
}

void TColorQuantizer::ReduceTree() {
    int level = FColorBits - 1;
    while (level > 0 && !FReducible[static_cast<std::size_t>(level)])
        --level;
    TOctreeNode* node = FReducible[static_cast<std::size_t>(level)];
    if (!node) return;
    FReducible[static_cast<std::size_t>(level)] = node->Next;
    int children = 0;
    for (auto& child : node->Children) {
        if (!child) continue;
        node->PixelCount += child->PixelCount;
        node->RedSum += child->RedSum;
        node->GreenSum += child->GreenSum;
        node->BlueSum += child->BlueSum;
        child.reset();
        ++children;
    }
    node->Leaf = true;
    FLeafCount -= children - 1;
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
        for (const auto& child : node.Children)
            if (child) walk(*child);
    };
    walk(*FRoot);
    return table;
}
