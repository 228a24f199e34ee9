// Back-references inside repeated groups follow Perl and PCRE: such a reference is the text
// the group took in its previous pass (and fails before its first pass has closed). Random
// patterns over "a", "b", groups, alternatives, quantifiers and back-references are matched
// by the engine and by perl itself; the first match and every group must agree. Where perl
// has a quirk of its own (a group repeated zero times in a later pass forgets its text; a
// reference to a group from inside it can see a capture undone by backtracking), PCRE2 has
// the last word.
#include <gtest/gtest.h>

#define PCRE2_CODE_UNIT_WIDTH 16
#include <pcre2.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "RegexTestSupport.h"

namespace {

class PatternMaker {
public:
    explicit PatternMaker(uint32_t seed) : rng_(seed) {}

    int Pick(int n) { return static_cast<int>(rng_() % static_cast<uint32_t>(n)); }

    // A pattern; *backRefInLoop tells whether it holds a back-reference inside a repeated
    // group to a group that is open there or was opened before.
    std::string Pattern(int& groups, bool& backRefInLoop) {
        groups_ = 0;
        loops_ = 0;
        backRefInLoop_ = false;
        bool width = false;
        std::string p = Alternation(0, width);
        groups = groups_;
        backRefInLoop = backRefInLoop_;
        return p;
    }

    std::string Subject() {
        std::string s;
        for (int i = 0, n = Pick(9); i < n; ++i)
            s += "ab"[Pick(2)];
        return s;
    }

private:
    std::string Alternation(int depth, bool& width) {
        std::string s;
        width = true;
        for (int i = 0, n = Pick(3) == 0 ? 2 : 1; i < n; ++i) {
            bool w = false;
            s += (i ? "|" : "") + Sequence(depth, w);
            width = width && w;
        }
        return s;
    }

    std::string Sequence(int depth, bool& width) {
        std::string s;
        width = false;
        for (int i = 0, n = 1 + Pick(3); i < n; ++i) {
            bool w = false;
            s += Piece(depth, w);
            width = width || w;
        }
        return s;
    }

    std::string Piece(int depth, bool& width) {
        const bool quantified = Pick(2) == 0;
        if (quantified) ++loops_;
        std::string atom = Atom(depth, width);
        if (quantified) --loops_;
        if (!quantified) return atom;
        // The engine refuses "*" and "+" on what may match empty.
        static const char* withWidth[] = {"*", "+", "?", "{2}", "{1,2}", "{0,2}", "{2,}"};
        static const char* anyAtom[] = {"?", "{2}", "{1,2}", "{0,2}", "{2,}"};
        std::string q = width ? withWidth[Pick(7)] : anyAtom[Pick(5)];
        if (q == "*" || q == "?" || q == "{0,2}") width = false;
        if (Pick(3) == 0) q += "?";
        return atom + q;
    }

    std::string Atom(int depth, bool& width) {
        const int what = Pick(depth < 3 && groups_ < 6 ? 6 : 4);
        width = true;
        if (what < 2) return std::string(1, "ab"[what]);
        if (what < 4) {
            if (groups_ == 0) return "a";
            if (loops_ > 0) backRefInLoop_ = true;
            return "\\" + std::to_string(1 + Pick(groups_));
        }
        // Groups always take text, so no pass of a loop is empty: where an empty pass ends
        // a loop is a rule of each engine's own.
        const int number = ++groups_;
        std::string body;
        do {
            groups_ = number;
            body = Alternation(depth + 1, width);
        } while (!width);
        return "(" + body + ")";
    }

    std::mt19937 rng_;
    int groups_ = 0, loops_ = 0;
    bool backRefInLoop_ = false;
};

// "pos:len" and each group's "pos:len" or "-", as perl prints them.
std::string Describe(TRegExpr& re, const WideString& subject, int groups) {
    return re.Exec(subject) ? DescribeMatch(re, groups) : "none";
}

std::string DescribePcre2(const std::string& pattern, const std::string& subject, int groups) {
    int error = 0;
    PCRE2_SIZE offset = 0;
    const std::u16string p = U16(pattern), s = U16(subject);
    pcre2_code* code = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(p.data()), p.size(), 0, &error,
                                     &offset, nullptr);
    if (!code) return "does not compile";
    pcre2_match_data* data = pcre2_match_data_create_from_pattern(code, nullptr);
    std::ostringstream o;
    if (pcre2_match(code, reinterpret_cast<PCRE2_SPTR>(s.data()), s.size(), 0, 0, data, nullptr) <
        0) {
        o << "none";
    } else {
        const PCRE2_SIZE* v = pcre2_get_ovector_pointer(data);
        for (int g = 0; g <= groups; ++g) {
            if (g) o << " ";
            if (v[2 * g] == PCRE2_UNSET)
                o << "-";
            else
                o << v[2 * g] + 1 << ":" << v[2 * g + 1] - v[2 * g];
        }
    }
    pcre2_match_data_free(data);
    pcre2_code_free(code);
    return o.str();
}

// Runs every "pattern TAB subject TAB groups" line through perl; one result line each.
std::vector<std::string> PerlResults(const std::vector<std::string>& lines) {
    const std::filesystem::path input =
        std::filesystem::temp_directory_path() / ("regex-perl-" + std::to_string(getpid()));
    {
        std::ofstream out(input);
        for (const std::string& line : lines)
            out << line << "\n";
    }
    const std::string command =
        "perl -e 'while (my $l = <STDIN>) { chomp $l; my ($p, $s, $n) = split /\\t/, $l, -1;"
        " if ($s =~ /$p/) { my @o = (($-[0] + 1) . \":\" . ($+[0] - $-[0]));"
        " for my $g (1 .. $n) { push @o, defined $-[$g] ? (($-[$g] + 1) . \":\" . ($+[$g] - "
        "$-[$g])) : \"-\" } print join(\" \", @o), \"\\n\" } else { print \"none\\n\" } }' < " +
        input.string();
    std::vector<std::string> results;
    if (FILE* perl = popen(command.c_str(), "r")) {
        char buffer[4096];
        while (std::fgets(buffer, sizeof buffer, perl)) {
            std::string line(buffer);
            if (!line.empty() && line.back() == '\n') line.pop_back();
            results.push_back(line);
        }
        pclose(perl);
    }
    std::filesystem::remove(input);
    return results;
}

TEST(RegexPerl, BackReferencesInsideRepeatedGroupsAgreeWithPerl) {
    if (std::system("perl -e 1 2>/dev/null") != 0) GTEST_SKIP() << "no perl";
    RegexDefaultsGuard guard;
    PatternMaker maker(2026);
    std::vector<std::string> lines, ours;
    int inLoops = 0;
    while (inLoops < 1500) {
        int groups = 0;
        bool backRefInLoop = false;
        const std::string pattern = maker.Pattern(groups, backRefInLoop);
        if (!backRefInLoop && maker.Pick(4) != 0) continue;
        TRegExpr re;
        re.SetExpression(U16(pattern));
        if (!re.Compile()) continue;
        inLoops += backRefInLoop;
        for (int t = 0; t < 6; ++t) {
            const std::string subject = maker.Subject();
            lines.push_back(pattern + "\t" + subject + "\t" + std::to_string(groups));
            ours.push_back(Describe(re, U16(subject), groups));
        }
    }
    const std::vector<std::string> perl = PerlResults(lines);
    ASSERT_EQ(perl.size(), lines.size());
    int disagreements = 0, perlQuirks = 0;
    for (size_t i = 0; i < lines.size() && disagreements < 10; ++i) {
        if (perl[i] == ours[i]) continue;
        const size_t tab = lines[i].find('\t'), tab2 = lines[i].find('\t', tab + 1);
        const std::string pcre2 =
            DescribePcre2(lines[i].substr(0, tab), lines[i].substr(tab + 1, tab2 - tab - 1),
                          std::stoi(lines[i].substr(tab2 + 1)));
        if (pcre2 == ours[i]) {
            ++perlQuirks;
            continue;
        }
        ++disagreements;
        ADD_FAILURE() << lines[i] << "\nperl   " << perl[i] << "\npcre2  " << pcre2 << "\nengine "
                      << ours[i];
    }
    EXPECT_LT(perlQuirks, static_cast<int>(lines.size()) / 50);
}

} // namespace
