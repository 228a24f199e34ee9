// Parses an expression and builds the matcher's program.
#pragma once

#include "regex/RegexProgram.h"

namespace regex {

// Modifier bits of an expression.
enum Modifier : int { ModI = 1, ModR = 2, ModS = 4, ModG = 8, ModM = 16, ModX = 32 };

// The unbounded maximum of "*" and "+", and of "{n,}".
constexpr int32_t kStarMax = 2147483647;
constexpr int32_t kBracesUnbounded = 2147483646;
// Counted loops may nest this deep; a deeper one fails at run time.
constexpr int kMaxLoopNesting = 10;
constexpr int kMaxGroups = 14;

struct CompileOptions {
    int modifiers = 0;
    WideStringView spaceChars, wordChars, lineSeparators;
    bool hasPair = false;
    WideChar pairHead = 0, pairTail = 0;
    CaseInvertHook hook = nullptr;
    bool hookIsOwn = true;
};

struct CompileError {
    int code = 0;     // 0: none
    int position = 0; // zero-based index in the expression
};

// Inline modifier letters "imsxgr" with "-" switching to clearing; false at the
// first other character (bits changed before it stay changed).
bool ParseModifiers(WideStringView text, int& modifiers);

CompileError CompileExpression(WideStringView expression, const CompileOptions& options,
                               Program& program);

} // namespace regex
