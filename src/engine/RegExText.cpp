#include "engine/RegExText.h"

#include "regex/RegExRoutines.h"
#include "regex/RegExpr.h"

WideString RegExReplaced(const WideString& text, const WideString& expression,
                         const WideString& replacement) {
    WideString result;
    ReplaceAllRegEx(text, replacement, expression, result);
    return result;
}

WideString RegExTemplated(const WideString& text, const WideString& expression,
                          const WideString& templ) {
    WideString result;
    ReplaceRegExTemplate(text, expression, templ, result);
    return result;
}

bool LineMatchesRegEx(const WideString& line, const WideString& expression) {
    return RegExReplaced(line, expression, u"") != line;
}

bool RegExCompiles(const WideString& expression) {
    TRegExpr re;
    re.SetExpression(expression);
    if (re.Compile()) return true;
    // Reported through the replace routine, so that it is marked in the memo the
    // conversion came from like a bad expression of any other action.
    RegExReplaced(WideString(), expression, WideString());
    return false;
}
