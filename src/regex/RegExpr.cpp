#include "regex/RegExpr.h"

#include <algorithm>

#include "regex/RegexScan.h"

using regex::CompileExpression;
using regex::CompileOptions;
using regex::Program;
using regex::SearchResult;

namespace {

constexpr int kModifierBits[] = {regex::ModI, regex::ModR, regex::ModS,
                                 regex::ModG, regex::ModM, regex::ModX};
constexpr int kLastGroup = regex::kMaxGroups;

} // namespace

TRegExprDefaults::TRegExprDefaults()
    : SpaceChars(u" \t\n\r\f"),
      WordChars(U16("0123456789aäbcdefghijklmnoöpqrsßtuüvwxyzAÄBCDEFGHIJKLMNOÖPQRSTUÜVWXYZ_")),
      LineSeparators(u"\r\n\v\f\u2028\u2029\u0085"), LinePairedSeparator(u"\r\n"),
      CaseInvert(&TRegExpr::CaseInvert) {}

TRegExprDefaults RegExprDefaults;

TRegExpr::TRegExpr() : matcher_([this](int code) { Error(code); }) {
    std::fill(std::begin(caps_), std::end(caps_), -1);
    const TRegExprDefaults& d = RegExprDefaults;
    const bool on[] = {d.ModifierI, d.ModifierR, d.ModifierS,
                       d.ModifierG, d.ModifierM, d.ModifierX};
    for (int id = 1; id <= 6; ++id)
        SetModifierById(id, on[id - 1]);
    spaceChars_ = d.SpaceChars;
    wordChars_ = d.WordChars;
    caseInvert_ = d.CaseInvert ? d.CaseInvert : &TRegExpr::CaseInvert;
    lineSeparators_ = d.LineSeparators;
    SetLinePair(d.LinePairedSeparator);
}

TRegExpr::~TRegExpr() = default;

void TRegExpr::SetExpression(const WideString& expression) {
    if (expression == expression_ && program_) return;
    program_.reset();
    expression_ = expression;
}

void TRegExpr::SetModifierById(int id, bool on) {
    if (id < 1 || id > 6) {
        Error(1013);
        return;
    }
    if (on)
        modifiers_ |= kModifierBits[id - 1];
    else
        modifiers_ &= ~kModifierBits[id - 1];
}

void TRegExpr::SetLinePair(const WideString& pair) {
    if (pair.size() == 2 && pair[0] != pair[1]) {
        if (!(hasPair_ && pairHead_ == pair[0] && pairTail_ == pair[1])) {
            pairHead_ = pair[0];
            pairTail_ = pair[1];
            hasPair_ = true;
            program_.reset();
        }
    } else if (pair.empty()) {
        if (hasPair_) {
            hasPair_ = false;
            program_.reset();
        }
    } else {
        Error(128);
    }
}

bool TRegExpr::Compile() {
    program_.reset();
    if (expression_.empty()) {
        Error(1003);
        return false;
    }
    programModifiers_ = modifiers_;
    CompileOptions options;
    options.modifiers = modifiers_;
    options.spaceChars = spaceChars_;
    options.wordChars = wordChars_;
    options.lineSeparators = lineSeparators_;
    options.hasPair = hasPair_;
    options.pairHead = pairHead_;
    options.pairTail = pairTail_;
    options.hook = caseInvert_;
    options.hookIsOwn = caseInvert_ == &TRegExpr::CaseInvert;
    auto program = std::make_unique<Program>();
    const regex::CompileError error = CompileExpression(expression_, options, *program);
    if (error.code) {
        compiling_ = true;
        errorPosition_ = error.position;
        Error(error.code);
        compiling_ = false;
        return false;
    }
    program_ = std::move(program);
    return true;
}

bool TRegExpr::ProgramReady() {
    if (program_ && modifiers_ != programModifiers_) program_.reset();
    if (!program_) Compile();
    return program_ != nullptr;
}

void TRegExpr::Error(int code) {
    RegExFehlerStatus.Ok = false;
    RegExFehlerStatus.Message = ErrorMsg(code);
    RegExFehlerStatus.Position = ErrorPosition();
}

WideString TRegExpr::ErrorMsg(int code) {
    const bool english = RegExLanguageCode && RegExLanguageCode() == u"en";
    return RegExErrorText(code, english);
}

WideChar TRegExpr::CaseInvert(WideChar c) {
    if (c >= 128) return c;
    const WideChar upper = WideUpperChar(c);
    return upper != c ? upper : WideLowerChar(c);
}

void TRegExpr::SetInput(const WideString& input) {
    input_ = input;
    SetInputShared(input_);
}

void TRegExpr::SetInputShared(const WideString& input) {
    std::fill(std::begin(caps_), std::end(caps_), -1);
    subject_ = &input;
    hasInput_ = true;
    // Where the first U+0000 is, is looked up when a search needs it.
    inputEnd_ = -1;
    nulFreeUpTo_ = 0;
}

int TRegExpr::InputEnd() {
    if (inputEnd_ < 0) {
        const WideChar nul = 0;
        inputEnd_ = regex::FindUnits(subject_->data(), nulFreeUpTo_,
                                     static_cast<int>(subject_->size()), &nul, 1);
    }
    return inputEnd_;
}

bool TRegExpr::Exec(const WideString& input) {
    SetInput(input);
    budgetDue_ = true;
    return Search(1);
}

bool TRegExpr::ExecShared(const WideString& input) {
    SetInputShared(input);
    budgetDue_ = true;
    return Search(1);
}

bool TRegExpr::ExecPos(int position) {
    budgetDue_ = true;
    return Search(position);
}

bool TRegExpr::ExecNext() {
    if (caps_[0] < 0 || caps_[1] < 0) {
        Error(1007);
        return false;
    }
    // An empty match is stepped over so that it is not found twice.
    const int next = caps_[1] + 1 + (caps_[1] == caps_[0] ? 1 : 0);
    return Search(next);
}

bool TRegExpr::Search(int position) {
    std::fill(std::begin(caps_), std::end(caps_), -1);
    gaveUp_ = false;
    if (!ProgramReady()) return false;
    if (!hasInput_) {
        Error(1005);
        return false;
    }
    if (position < 1) {
        Error(1006);
        return false;
    }
    if (program_->IsLiteral()) return SearchLiteral(position - 1);
    if (budgetDue_) {
        matcher_.StartBudget(InputEnd());
        budgetDue_ = false;
    }
    // Nothing lies beyond the end, nor beyond a U+0000 that ends the input early.
    const int end = InputEnd();
    if (position - 1 > end) return false;
    const SearchResult result =
        matcher_.Search(*program_, subject_->data(), end, position - 1, caps_);
    gaveUp_ = result == SearchResult::GaveUp;
    return result == SearchResult::Found;
}

// A literal is looked for in the whole text; only the units up to the end of an
// occurrence are then checked for the U+0000 that would end the input before it, so the
// text is read once (the units just read are still at hand).
bool TRegExpr::SearchLiteral(int from) {
    const WideString& text = *subject_;
    const int end = inputEnd_ >= 0 ? inputEnd_ : static_cast<int>(text.size());
    if (from > end) return false;
    const WideString& literal = program_->prefix;
    const int at = regex::FindText(text.data(), from, end, literal);
    if (at < 0) return false;
    const int stop = at + static_cast<int>(literal.size());
    if (inputEnd_ < 0 && stop > nulFreeUpTo_) {
        const WideChar nul = 0;
        const int nulAt = regex::FindUnits(text.data(), nulFreeUpTo_, stop, &nul, 1);
        if (nulAt < stop) {
            // The input ends before this occurrence, and no other lies before it.
            inputEnd_ = nulAt;
            return false;
        }
        nulFreeUpTo_ = stop;
    }
    caps_[0] = at;
    caps_[1] = stop;
    return true;
}

int TRegExpr::GetMatchPos(int group) const {
    if (group < 0 || group > kLastGroup || !hasInput_) return -1;
    if (caps_[2 * group] < 0 || caps_[2 * group + 1] < 0) return -1;
    return caps_[2 * group] + 1;
}

int TRegExpr::GetMatchLen(int group) const {
    if (group < 0 || group > kLastGroup || !hasInput_) return -1;
    if (caps_[2 * group] < 0 || caps_[2 * group + 1] < 0) return -1;
    return caps_[2 * group + 1] - caps_[2 * group];
}

WideString TRegExpr::Substitute(const WideString& pattern) {
    WideString result;
    AppendSubstitution(pattern, result);
    return result;
}

void TRegExpr::AppendSubstitution(const WideString& pattern, WideString& result) {
    if (!ProgramReady()) return;
    if (!hasInput_) {
        Error(1005);
        return;
    }
    auto isDigit = [](WideChar c) { return c >= '0' && c <= '9'; };
    auto appendGroup = [&](long long group) {
        if (group > kLastGroup) return;
        const int pos = GetMatchPos(static_cast<int>(group));
        if (pos > 0) result.append(*subject_, pos - 1, GetMatchLen(static_cast<int>(group)));
    };
    // Reads decimal digits from i; returns the index after them.
    auto readNumber = [&](size_t i, long long& value) {
        value = 0;
        for (; i < pattern.size() && isDigit(pattern[i]); ++i)
            value = std::min<long long>(value * 10 + (pattern[i] - '0'), 1'000'000);
        return i;
    };
    const size_t n = pattern.size();
    size_t i = 0;
    while (i < n) {
        const WideChar c = pattern[i];
        if (c == '\\' && i + 1 < n) {
            result += pattern[i + 1];
            i += 2;
            continue;
        }
        if (c == '$' && i + 1 < n) {
            const WideChar d = pattern[i + 1];
            long long group = 0;
            if (d == '&') {
                appendGroup(0);
                i += 2;
                continue;
            }
            if (isDigit(d)) {
                i = readNumber(i + 1, group);
                appendGroup(group);
                continue;
            }
            if (d == '{') {
                if (i + 3 < n && pattern[i + 2] == '&' && pattern[i + 3] == '}') {
                    appendGroup(0);
                    i += 4;
                    continue;
                }
                const size_t after = readNumber(i + 2, group);
                if (after > i + 2 && after < n && pattern[after] == '}') {
                    appendGroup(group);
                    i = after + 1;
                    continue;
                }
            }
        }
        result += c;
        ++i;
    }
}
