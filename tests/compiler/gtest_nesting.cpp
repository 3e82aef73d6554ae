// Hostile lines: nesting that recursive descent would follow into a stack
// overflow is bounded, reported once per line, and the next line compiles.
#include "Compiler.h"
#include "Parser.h"

#include <gtest/gtest.h>

#include <climits>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Outcome {
    std::string output;
    std::string image; // the whole image as characters
};

// Compiles the lines as one program (after "BYTE a, b[2]") and returns what
// was said. Long lines are the point here, so program memory is unbounded
// unless a test asks for a bound.
Outcome Compile(const std::vector<std::string> &lines, int programMemory = INT_MAX)
{
    std::ostringstream out;
    CCompiler compiler(out);
    compiler.m_files.FindOrAdd("/p.bas");
    compiler.m_target.programMemory = programMemory;
    CParser parser(compiler);
    CLine line;
    line.m_text = "BYTE a, b[2]";
    line.m_lineNumber = 1;
    parser.CompileLine(0, line);
    for (size_t i = 0; i < lines.size(); ++i) {
        line.m_text = lines[i];
        line.m_lineNumber = static_cast<int>(i) + 2;
        parser.CompileLine(static_cast<int>(i) + 1, line);
    }
    parser.Finish(static_cast<int>(lines.size()) + 1);
    const auto &bytes = compiler.m_code.Bytes();
    return {out.str(), std::string(bytes.begin(), bytes.end())};
}

// The output without the record-length messages: a line nested this deep
// holds far more code than one record can take, which is reported as well.
std::string NestingMessages(const std::string &output)
{
    std::istringstream lines(output);
    std::string line, kept;
    while (std::getline(lines, line)) {
        if (line.find("Line too long") == std::string::npos)
            kept += line + "\n";
    }
    return kept;
}

std::string Repeat(const std::string &s, int n)
{
    std::string text;
    for (int i = 0; i < n; ++i)
        text += s;
    return text;
}

const std::string kTooDeep = "/p.bas(2): Expression or IF nested too deeply (max. 200 levels).\n";

struct DeepCase {
    const char *name;
    std::string line;
    std::string output; // what the compiler says about line 2
};

class DeepLine : public testing::TestWithParam<DeepCase> { };

TEST_P(DeepLine, IsReportedOnceAndTheNextLineCompiles)
{
    const Outcome run = Compile({GetParam().line, "a = (1)"});
    EXPECT_EQ(NestingMessages(run.output), GetParam().output);
    EXPECT_NE(run.image.find("a=(1)\n"), std::string::npos) << "the line after it compiles normally";
}

// An assignment's expression is level 1 and each "(" or function adds one, so
// 199 parentheses are the deepest accepted nesting.
INSTANTIATE_TEST_SUITE_P(
    Nesting, DeepLine,
    testing::Values(DeepCase{"Parens199", "a = " + Repeat("(", 199) + "1" + Repeat(")", 199), ""},
                    DeepCase{"Parens200", "a = " + Repeat("(", 200) + "1" + Repeat(")", 200), kTooDeep},
                    DeepCase{"Parens100000", "a = " + Repeat("(", 100000), kTooDeep},
                    DeepCase{"Functions100000", "a = " + Repeat("SIN(", 100000) + "1", kTooDeep},
                    DeepCase{"Indexes100000", "a = " + Repeat("b[", 100000), kTooDeep},
                    DeepCase{"IfThen100000", Repeat("IF 1 THEN ", 100000) + "END", kTooDeep},
                    // The statement goes on at the end of the given-up line; what it
                    // misses there (its other arguments, a "]", GOTO) is not reported.
                    DeepCase{"StatementArguments", "SETPWM " + Repeat("(", 200) + "1" + Repeat(")", 200) + ", 2, 3",
                             kTooDeep},
                    DeepCase{"PrintItems", "PRINT " + Repeat("SIN(", 300) + "1, 2", kTooDeep},
                    DeepCase{"Initializers", "b = [" + Repeat("(", 300) + "1, 2]", kTooDeep},
                    DeepCase{"OnJumps", "ON " + Repeat("(", 300) + " GOTO x", kTooDeep}),
    [](const testing::TestParamInfo<DeepCase> &info) { return std::string(info.param.name); });

// The program memory is still checked on a given-up line: its message is
// printed once per run, so dropping it there would lose it for good.
TEST(DeepLine, ProgramMemoryIsReportedOnTheGivenUpLine)
{
    const Outcome run = Compile({"a = " + Repeat("(", 300), "a = (1)"}, 100);
    EXPECT_EQ(NestingMessages(run.output), kTooDeep + "/p.bas(2): Not enough program memory (max. 100 Bytes).\n");
}

// Unary operators repeat without nesting: any number of them is accepted and
// written one character each.
TEST(DeepLine, RepeatedNotNeedsNoNesting)
{
    const Outcome run = Compile({"a = " + Repeat("NOT ", 100000) + "1", "a = " + Repeat("-~", 50000) + "1"});
    EXPECT_EQ(NestingMessages(run.output), "");
    EXPECT_NE(run.image.find("a=" + Repeat("~", 100000) + "1\n"), std::string::npos);
    EXPECT_NE(run.image.find("a=" + Repeat("-~", 50000) + "1\n"), std::string::npos);
}

} // namespace
