// Turns a parse tree into the matcher's program and its search hints.
#pragma once

#include "regex/RegexTree.h"

namespace regex {

// A Split instruction whose first choice is the match of a tree node.
struct BranchStart {
    int pc;
    int node;
};

void EmitProgram(const std::vector<Node>& nodes, int root, Program& program,
                 std::vector<BranchStart>& branches);
// The search hints and the Split filters (of `branches`).
void SetSearchHints(const std::vector<Node>& nodes, int root, Program& program,
                    const std::vector<BranchStart>& branches);

} // namespace regex
