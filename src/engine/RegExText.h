// The regular-expression routines as the engine's steps use them: results as values.
#pragma once

#include "text/WideTypes.h"

// Every match of expression replaced by the fixed text replacement.
WideString RegExReplaced(const WideString& text, const WideString& expression,
                         const WideString& replacement);
// Every match of expression replaced through the "$n" template.
WideString RegExTemplated(const WideString& text, const WideString& expression,
                          const WideString& templ);
// A line matches an expression when removing every match changes it.
bool LineMatchesRegEx(const WideString& line, const WideString& expression);
// True when expression compiles (an empty one does not); a bad expression is reported as
// the replace routines report it.
bool RegExCompiles(const WideString& expression);
