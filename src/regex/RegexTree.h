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
    Op assertOp = Op::Match;
    bool neg = false, ci = false, greedy = true, counted = false;
    WideString text;
    int index = 0; // set index or group number
    std::vector<int> kids;
    int32_t min = 0, max = 0;
};

} // namespace regex
