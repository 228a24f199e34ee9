// Compilation: parse the expression into a tree, then emit the program.
#include "regex/RegexCompiler.h"

#include "regex/RegexEmitter.h"
#include "regex/RegexParser.h"

namespace regex {

namespace {

void SetUpProgram(const CompileOptions& opt, Program& prog) {
    prog.hook = opt.hook;
    prog.hookIsOwn = opt.hookIsOwn;
    for (unsigned c = 0; c < 256; ++c)
        prog.invLow[c] = opt.Invert(static_cast<WideChar>(c));
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
    Parser parser(expression, options);
    const int root = parser.Parse();
    if (root < 0 || parser.Error().code) {
        program = Program();
        return parser.Error();
    }
    Tree tree = parser.TakeTree();
    program.sets = std::move(tree.sets);
    Choices choices;
    EmitProgram(tree.nodes, root, program, choices);
    SetSearchHints(tree.nodes, root, program, choices);
    return {};
}

} // namespace regex
