// Parses an expression and builds the matcher's program.
#pragma once

#include "regex/RegexOptions.h"

namespace regex {

CompileError CompileExpression(WideStringView expression, const CompileOptions& options,
                               Program& program);

} // namespace regex
