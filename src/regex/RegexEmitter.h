// Turns a parse tree into the matcher's program and its search hints.
#pragma once

#include "regex/RegexTree.h"

namespace regex {

void EmitProgram(const std::vector<Node>& nodes, int root, Program& program);
void SetSearchHints(const std::vector<Node>& nodes, int root, Program& program);

} // namespace regex
