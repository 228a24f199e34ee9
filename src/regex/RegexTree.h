// The parse tree the compiler builds before it emits the program.
#pragma once

#include <vector>

#include "regex/RegexProgram.h"

namespace regex {

enum class Kind {
    Empty,
    Lit,
    Any,
    AnyNL,
    Set,
    Digit,
    Word,
    Space,
    Assert,
    BackRef,
    Group,
    Alt,
    Concat,
    Repeat
};

struct Node {
    Kind kind = Kind::Empty;
    Op assertOp = Op::Match;  // Assert: which one
    bool neg = false;         // Set and classes: the complement
    bool ci = false;          // Lit, BackRef: case-insensitive
    bool greedy = true;       // Repeat
    bool counted = false;     // Repeat: a counted loop (these nest at most ten deep)
    WideString text;          // Lit
    int index = 0;            // Set: index in the tree's sets; Group, BackRef: group number
    std::vector<int> kids;    // Group, Alt, Concat, Repeat: indexes of the children
    int32_t min = 0, max = 0; // Repeat
};

// The nodes (children by index) and the character sets their Set nodes refer to.
struct Tree {
    std::vector<Node> nodes;
    std::vector<CharSet> sets;
};

} // namespace regex
