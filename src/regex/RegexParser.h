// Reads an expression into a parse tree, recording the first error with the
// parse position where it was found.
#pragma once

#include "regex/RegexOptions.h"
#include "regex/RegexTree.h"

namespace regex {

class Parser {
public:
    Parser(WideStringView pattern, const CompileOptions& options)
        : pat_(pattern), opt_(options), mods_(options.modifiers) {}

    int Parse() {
        int flags = 0;
        return Reg(false, flags);
    }
    const CompileError& Error() const { return error_; }
    // The tree read; call once, after Parse.
    Tree TakeTree() { return std::move(tree_); }

private:
    int Fail(int code) {
        if (!error_.code) error_ = {code, static_cast<int>(cur_)};
        return -1;
    }
    bool More() const { return cur_ < pat_.size(); }
    WideChar Peek() const { return pat_[cur_]; }
    int Add(Node n) {
        tree_.nodes.push_back(std::move(n));
        return static_cast<int>(tree_.nodes.size()) - 1;
    }
    int Leaf(Kind kind, bool neg = false) {
        Node n;
        n.kind = kind;
        n.neg = neg;
        return Add(std::move(n));
    }
    int AssertNode(Op op) {
        Node n;
        n.kind = Kind::Assert;
        n.assertOp = op;
        return Add(std::move(n));
    }
    int LitNode(WideString text) {
        Node n;
        n.kind = Kind::Lit;
        n.text = std::move(text);
        n.ci = mods_ & ModI;
        return Add(std::move(n));
    }

    int Reg(bool paren, int& flags);
    int Branch(int& flags);
    int Piece(int& flags);
    int Atom(int& flags);
    int Braces(int atom, int atomFlags, int& flags, bool& plain);
    int SetAtom(int& flags);
    int LiteralRun(int& flags);
    int ReadNumber(int32_t& value, bool& any);
    bool Escape(WideChar& out);
    void AddRange(CharSet& set, WideChar lo, WideChar hi);
    int Repeat(int atom, int atomFlags, int32_t min, int32_t max, bool counted);

    WideStringView pat_;
    const CompileOptions& opt_;
    int mods_;
    size_t cur_ = 0;
    int nextGroup_ = 1;
    bool lazy_ = false;
    Tree tree_;
    CompileError error_;
};

} // namespace regex
