// Replace, template-replace and split at a regular expression: the way the
// conversion uses the engine. A bad expression leaves the text unchanged (or
// whole), with the error in RegExFehlerStatus; the caller reports it (the
// conversion engine tells the window that started the conversion).
#pragma once

#include <functional>

#include "regex/RegExErrors.h"

// Every match replaced by `replacement` as it stands ("$" means nothing here). `result`
// may be `text` itself: where no replacement ends beyond the match it stands for, the
// text is then rewritten where it lies, without a second copy.
void ReplaceAllRegEx(const WideString& text, const WideString& replacement,
                     const WideString& expression, WideString& result);

// Every match replaced by `templ` with "$n", "${n}", "$&" and "\" quoting.
void ReplaceRegExTemplate(const WideString& text, const WideString& expression,
                          const WideString& templ, WideString& result);

// Cuts `text` at every match; with keepAtEnd a piece keeps the match at its end,
// with keepAtNext the next piece starts with it. Returns the number of pieces.
int SplitRegEx(TWideStrArray& pieces, const WideString& expression, const WideString& text,
               bool keepAtEnd, bool keepAtNext);
