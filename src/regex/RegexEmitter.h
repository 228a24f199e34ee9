// Turns a parse tree into the matcher's program and its search hints.
#pragma once

#include "regex/RegexTree.h"

namespace regex {

// Where the emitted program's choices are, for the filters that spare trying them.
struct Choices {
    // A Split instruction whose first choice is the match of a tree node.
    struct Branch {
        int pc;
        int node;
    };
    std::vector<Branch> branches;
    // The Split instructions of each alternation, in order.
    std::vector<std::vector<int>> alternations;
};

void EmitProgram(const std::vector<Node>& nodes, int root, Program& program, Choices& choices);
// The search hints, the Split filters and the alternations' dispatch tables.
void SetSearchHints(const std::vector<Node>& nodes, int root, Program& program,
                    const Choices& choices);

} // namespace regex
