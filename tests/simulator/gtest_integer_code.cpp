// Whole-number statements the interpreter translates into steps on their
// first run: every width, operator and form of operand, the runtime errors
// they raise with their line, the general way for FLOAT, and jumps and loops
// that come back to translated statements. PRINT evaluates without the
// translation, so a program that prints what a translated assignment stored
// next to the same expression compares the two ways.
#include "Decoder.h"
#include "Interpreter.h"
#include "Module.h"
#include "SimTestSupport.h"

#include <gtest/gtest.h>

namespace {

using simtest::RunSource;

struct ProgramCase {
    const char *name;
    const char *source;
    const char *output; // everything the module sends
    friend void PrintTo(const ProgramCase &c, std::ostream *os)
    {
        *os << c.name;
    }
};

class Translated : public testing::TestWithParam<ProgramCase> { };

TEST_P(Translated, GivesWhatTheLanguageSays)
{
    const simtest::RunResult run = RunSource(GetParam().source);
    EXPECT_EQ(run.output, GetParam().output) << GetParam().source;
    EXPECT_EQ(run.exit, velsim::CModule::Exit::kProgramEnded) << GetParam().source;
}

const ProgramCase kWidths[] = {
    {"StoresWrapAtEachWidth",
     "CHAR c\nBYTE b\nWORD w\nINTEGER n\nLONG k, r\nk = 300\nc = k - 100\nb = k + 1\nw = k * 300\nn = k * 120\n"
     "r = c\nPRINT r, \" \",\nr = b\nPRINT r, \" \",\nr = w\nPRINT r, \" \",\nr = n\nPRINT r",
     "-56 45 24464 -29536\r\n"},
    {"LongWrapsOnAddMultiplyAndNegate",
     "LONG a, b, r\na = 2147483647\nb = 65536\nr = a + 1\nPRINT r, \" \",\nr = b * b + 7\nPRINT r, \" \",\n"
     "r = b * 32768\nPRINT r, \" \",\nr = -(a + 1)\nPRINT r, \" \", NOT r",
     "-2147483648 7 -2147483648 -2147483648 2147483647\r\n"},
    {"ElementsOfEachWidth",
     "CHAR c[2]\nBYTE b[2]\nWORD w[2]\nINTEGER n[2]\nLONG l[2], i, r\ni = 1\nc[i] = 130\nb[i] = 256 + 7\n"
     "w[i] = -2\nn[i] = 40000\nl[i] = l[i - 1] - 5\nr = c[i] + b[i] + w[i] + n[i] + l[i]\n"
     "PRINT c[i] + 0, \" \", b[i], \" \", w[i], \" \", n[i], \" \", l[i], \" \", r",
     "-126 7 65534 -25536 -5 39874\r\n"},
    {"IncAndDecWrapAtTheirWidth",
     "BYTE b\nINTEGER n[2]\nWORD w\nLONG i\ni = 1\nb = 255\nINC b\nn[i] = -32768\nDEC n[i]\nDEC w\n"
     "PRINT b, \" \", n[i], \" \", w",
     "0 32767 65535\r\n"},
    {"AWholeArrayReadsAsItsFirstElement", "LONG k[3], r\nk[0] = 41\nr = k + 1\nPRINT r", "42\r\n"},
};
INSTANTIATE_TEST_SUITE_P(Widths, Translated, testing::ValuesIn(kWidths), simtest::CaseName<ProgramCase>);

// Division truncates toward zero; a divisor of 0 or -1 is checked when the
// statement runs, also when it is a constant.
const ProgramCase kDivision[] = {
    {"NegativeByConstants",
     "LONG a, r\na = -7\nr = a / 2\nPRINT r, \" \",\nr = a MOD 2\nPRINT r, \" \",\nr = a / -2\nPRINT r, \" \",\n"
     "r = a MOD -2\nPRINT r, \" \",\nr = 7 / -2\nPRINT r",
     "-3 -1 3 -1 -3\r\n"},
    {"NegativeByVariables",
     "LONG a, b, m, r\nINTEGER s\na = -7\nb = 2\nm = -2\ns = 2\nr = a / b\nPRINT r, \" \",\nr = a MOD m\n"
     "PRINT r, \" \",\nr = (a * 3) / (b + 1)\nPRINT r, \" \",\nr = (a * 3) MOD (b + 3)\nPRINT r, \" \",\nr = a / s\n"
     "PRINT r",
     "-3 -1 -7 -1 -3\r\n"},
    {"ByMinusOne",
     "LONG a, b, r\na = -2147483647 - 1\nb = -1\nr = a / -1\nPRINT r, \" \",\nr = a MOD -1\nPRINT r, \" \",\n"
     "r = a / b\nPRINT r, \" \",\nr = 9 MOD b\nPRINT r, \" \",\nr = 9 / -1\nPRINT r",
     "-2147483648 0 -2147483648 0 -9\r\n"},
};
INSTANTIATE_TEST_SUITE_P(Division, Translated, testing::ValuesIn(kDivision), simtest::CaseName<ProgramCase>);

// Loops, jumps and subroutines coming back to statements translated before.
const ProgramCase kControl[] = {
    {"WhileCondition", "LONG i, s\nWHILE i < 10\ni = i + 1\ns = s + i * i\nWEND\nPRINT s", "385\r\n"},
    {"GosubFromALoop", "LONG i, s\nFOR i = 1 TO 5\nGOSUB add\nNEXT\nPRINT s\nEND\nadd:\ns = s * 2 + i\nRETURN",
     "57\r\n"},
    {"GotoBackToAnIfJump", "LONG n\nagain:\nn = n + 3\nIF n < 20 GOTO again\nPRINT n", "21\r\n"},
    {"ElsifConditions",
     "LONG i\nFOR i = 1 TO 4\nIF i MOD 2 = 0 THEN\nPRINT \"e\",\nELSIF i = 3 THEN\nPRINT \"t\",\nELSE\nPRINT "
     "\"o\",\nENDIF\nNEXT\nPRINT",
     "oete\r\n"},
    {"DoLoopWithExit", "BYTE b\nDO\nINC b\nIF b > 250 THEN EXIT\nLOOP\nPRINT b", "251\r\n"},
    {"NestedForOnElements",
     "BYTE i, j\nWORD t[4]\nFOR i = 0 TO 3\nFOR j = 0 TO i\nt[i] = t[i] + j\nNEXT\nNEXT\n"
     "PRINT t[0], \" \", t[1], \" \", t[2], \" \", t[3]",
     "0 1 3 6\r\n"},
};
INSTANTIATE_TEST_SUITE_P(Control, Translated, testing::ValuesIn(kControl), simtest::CaseName<ProgramCase>);

// A FLOAT anywhere sends the statement the general way for good.
const ProgramCase kGeneral[] = {
    {"FloatVariableInAnExpression", "FLOAT f\nLONG a\nf = 1.5\na = 3\na = a * f + 1\nPRINT a", "5\r\n"},
    {"FloatConstantInAnExpression", "LONG a\na = 7\na = a * 0.5 + a / 2\nPRINT a", "6\r\n"},
    {"WholeNumbersIntoAFloat", "FLOAT f\nLONG a\na = 5\nf = a / 2\nPRINT f, \" \",\nf = f / 4\nPRINT f", "2 0.5\r\n"},
    {"FloatIndex", "LONG k[3]\nFLOAT f\nf = 1.7\nk[f] = 5\nPRINT k[1]", "5\r\n"},
    {"FloatCondition", "FLOAT f\nf = 0.5\nIF f THEN PRINT \"t\",\nWHILE f < 3\nf = f + 1\nWEND\nPRINT f", "t3.5\r\n"},
    {"FunctionInAnExpression", "LONG a\na = -9\na = ABS(a) * 2 + LO(a)\nPRINT a", "265\r\n"},
};
INSTANTIATE_TEST_SUITE_P(General, Translated, testing::ValuesIn(kGeneral), simtest::CaseName<ProgramCase>);

// Each binary operator with its right operand as a LONG variable, a
// constant, an expression and an INTEGER variable, and as a condition.
struct OperatorCase {
    const char *name;
    const char *op;
    int32_t expected; // of -13 op 3
    friend void PrintTo(const OperatorCase &c, std::ostream *os)
    {
        *os << c.name;
    }
};

class Operators : public testing::TestWithParam<OperatorCase> { };

TEST_P(Operators, AgreeInEveryForm)
{
    const std::string op = GetParam().op;
    std::string source = "LONG x, y, r\nINTEGER z\nx = -13\ny = 3\nz = 3\n";
    for (const char *right : {"y", "3", "(y + 0)", "z"})
        source += "r = (x " + op + " " + right + ")\nPRINT r, \" \",\n";
    source += "IF x " + op + " y THEN PRINT \"t\",\nPRINT";
    const std::string v = std::to_string(GetParam().expected);
    const std::string expected = v + " " + v + " " + v + " " + v + " " + (GetParam().expected ? "t" : "") + "\r\n";
    EXPECT_EQ(RunSource(source).output, expected) << source;
}

const OperatorCase kOperators[] = {
    {"Add", "+", -10},   {"Sub", "-", -16}, {"Or", "OR", -13},  {"Xor", "XOR", -16},
    {"Mul", "*", -39},   {"Div", "/", -4},  {"Mod", "MOD", -1}, {"And", "AND", 3},
    {"Shl", "<<", -104}, {"Shr", ">>", -2}, {"Eq", "=", 0},     {"Ne", "<>", -1},
    {"Lt", "<", -1},     {"Gt", ">", 0},    {"Le", "<=", -1},   {"Ge", ">=", 0},
};
INSTANTIATE_TEST_SUITE_P(Binary, Operators, testing::ValuesIn(kOperators), simtest::CaseName<OperatorCase>);

// Runtime errors of translated statements name the line they stop in, also
// when the statement ran without one before.
struct ErrorCase {
    const char *name;
    const char *source;
    const char *output;
    friend void PrintTo(const ErrorCase &c, std::ostream *os)
    {
        *os << c.name;
    }
};

class TranslatedErrors : public testing::TestWithParam<ErrorCase> { };

TEST_P(TranslatedErrors, StopTheProgramInTheirLine)
{
    const simtest::RunResult run = RunSource(GetParam().source);
    EXPECT_EQ(run.output, GetParam().output) << GetParam().source;
    EXPECT_EQ(run.exit, velsim::CModule::Exit::kProgramError);
}

const ErrorCase kErrors[] = {
    {"DivisionByALongVariable", "LONG a, b\na = 1\nb = a / b", "Error: Division by zero in line 3.\r\n"},
    {"ModByAConstantZero", "LONG a\na = 5\na = a MOD 0", "Error: Division by zero in line 3.\r\n"},
    {"DivisionInACondition", "LONG a, b\na = 1\nIF a / b > 0 THEN PRINT \"x\"",
     "Error: Division by zero in line 3.\r\n"},
    {"DivisorReachesZeroInALoop", "LONG a, i\nFOR i = 2 TO 0 STEP -1\na = 10 / i\nPRINT a,\nNEXT",
     "510\r\nError: Division by zero in line 3.\r\n"},
    {"StorePastTheEnd", "LONG k[2], i\nFOR i = 0 TO 2\nk[i] = i\nNEXT", "Error: Index out of range in line 3.\r\n"},
    {"LoadPastTheEnd", "BYTE b[3]\nLONG i, s\nFOR i = 0 TO 3\ns = s + b[i]\nNEXT",
     "Error: Index out of range in line 4.\r\n"},
    {"NegativeIndexInACondition", "WORD w[2]\nLONG i\ni = -1\nWHILE w[i] < 3\nWEND",
     "Error: Index out of range in line 4.\r\n"},
    {"IncPastTheEnd", "INTEGER n[2]\nLONG i\ni = 2\nINC n[i]", "Error: Index out of range in line 4.\r\n"},
    {"DivisionBeforeTheIndexOfTheTarget", "LONG k[2], i\ni = 5\nk[i] = 1 / (i - 5)",
     "Error: Division by zero in line 3.\r\n"},
};
INSTANTIATE_TEST_SUITE_P(Errors, TranslatedErrors, testing::ValuesIn(kErrors), simtest::CaseName<ErrorCase>);

// A program that runs again may lay out its variables differently: nothing
// translated in the first run is used in the second.
TEST(TranslatedRuns, StartAgainWithTheNewLayout)
{
    simtest::ScratchDir dir;
    const std::vector<uint8_t> image =
        simtest::CompileImage(dir, "LONG k\nINPUT k\nIF k = 1 THEN\nLONG x\nENDIF\nLONG y\ny = k * 10\nPRINT y");
    std::string error;
    const std::unique_ptr<velsim::CProgram> program = velsim::DecodeProgram(image, error);
    ASSERT_TRUE(program) << error;
    simtest::WriteAll(dir / "line.in", "1\r2\r");
    const int in = ::open((dir / "line.in").c_str(), O_RDONLY | O_CLOEXEC);
    const int out = ::open((dir / "line.out").c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    {
        velsim::InterpreterLimits limits;
        velsim::CFdDevice device(in, out);
        velsim::CSerialLine line(device);
        velsim::CMachine machine;
        velsim::CInterpreter interpreter(*program, machine, line, limits);
        interpreter.SetEcho(false);
        EXPECT_EQ(interpreter.Run(), velsim::CInterpreter::Outcome::kEnded);
        EXPECT_EQ(interpreter.Run(), velsim::CInterpreter::Outcome::kEnded);
        line.Drain();
    }
    ::close(in);
    ::close(out);
    EXPECT_EQ(simtest::ReadAll(dir / "line.out"), "10\r\n20\r\n");
}

} // namespace
