// Compilation: parse the expression into a tree, then emit the program.
#include "regex/RegexCompiler.h"

#include "regex/RegexEmitter.h"
#include "regex/RegexParser.h"

namespace regex {

bool ParseModifiers(WideStringView text, int& modifiers) {
    bool clear = false;
    for (WideChar c : text) {
        int bit = 0;
        switch (c) {
        case '-':
            clear = true;
            continue;
        case 'i':
        case 'I':
            bit = ModI;
            break;
        case 'r':
        case 'R':
            bit = ModR;
            break;
        case 's':
        case 'S':
            bit = ModS;
            break;
        case 'g':
        case 'G':
            bit = ModG;
            break;
        case 'm':
        case 'M':
            bit = ModM;
            break;
        case 'x':
        case 'X':
            bit = ModX;
            break;
        default:
            return false;
        }
        if (clear)
            modifiers &= ~bit;
        else
            modifiers |= bit;
    }
    return true;
}

namespace {

void SetUpProgram(const CompileOptions& opt, Program& prog) {
    prog.hook = opt.hook;
    prog.hookIsOwn = opt.hookIsOwn;
    for (unsigned c = 0; c < 256; ++c)
        prog.invLow[c] = opt.hook ? opt.hook(static_cast<WideChar>(c)) : static_cast<WideChar>(c);
    prog.word.AddAll(opt.wordChars);
    prog.word.Finish();
    prog.space.AddAll(opt.spaceChars);
    prog.space.Finish();
    prog.lineSep.AddAll(opt.lineSeparators);
    prog.lineSep.Finish();
    prog.hasPair = opt.hasPair;
    prog.pairHead = opt.pairHead;
    prog.pairTail = opt.pairTail;
}

} // namespace

CompileError CompileExpression(WideStringView expression, const CompileOptions& options,
                               Program& program) {
    program = Program();
    SetUpProgram(options, program);
    Parser parser(expression, options, program);
    const int root = parser.Parse();
    if (root < 0 || parser.Error().code) {
        program = Program();
        return parser.Error();
    }
    EmitProgram(parser.Nodes(), root, program);
    SetSearchHints(parser.Nodes(), root, program);
    return {};
}

} // namespace regex
