// The interpreter statement by statement: small programs compiled with velc
// and run on the simulated module, with what they send on the serial line
// compared byte for byte.
#include "SimTestSupport.h"

#include <gtest/gtest.h>

namespace {

using simtest::RunSource;

struct ProgramCase {
    const char *name;
    const char *source;
    const char *input; // everything that arrives on the serial line
    const char *output; // everything the module sends
    friend void PrintTo(const ProgramCase &c, std::ostream *os)
    {
        *os << c.name;
    }
};

class Statements : public testing::TestWithParam<ProgramCase> { };

TEST_P(Statements, SendWhatTheyMean)
{
    const simtest::RunResult run = RunSource(GetParam().source, GetParam().input);
    EXPECT_EQ(run.output, GetParam().output) << GetParam().source;
}

// Declarations, assignments, INC and DEC: every type keeps its own range.
const ProgramCase kAssignments[] = {
    {"ByteWraps", "BYTE b\nb = 255\nINC b\nPRINT b", "", "0\r\n"},
    {"IntegerWraps", "INTEGER n\nn = 32767\nINC n\nPRINT n", "", "-32768\r\n"},
    {"WordTakesNegativeAsUnsigned", "WORD w\nw = -1\nPRINT w", "", "65535\r\n"},
    {"LongWraps", "LONG l\nl = 2147483647\nl = l + 1\nPRINT l", "", "-2147483648\r\n"},
    {"CharIsSigned", "CHAR c\nc = 200\nPRINT c + 0", "", "-56\r\n"},
    {"FloatIsSinglePrecision", "FLOAT f\nf = 0.1\nPRINT f * 3, \" \", (f = 0.1)", "", "0.3 0\r\n"},
    {"FloatToIntegerTruncates", "INTEGER n\nn = -2.7\nPRINT n", "", "-2\r\n"},
    {"InitializerListFillsFromTheStart", "WORD a[4]\na[3] = 9\na = [10, 20, 30]\nPRINT a[0] + a[1] + a[2], \" \", a[3]",
     "", "60 9\r\n"},
    {"CharArrayHoldsAString", "CHAR s[6]\ns = \"hello\"\nPRINT s, LEN(s)", "", "hello5\r\n"},
    {"ByteArrayTakesAFullString", "BYTE s[3]\ns = \"abc\"\nPRINT s", "", "abc\r\n"},
    {"DecOnAnElement", "INTEGER a[3]\na[1] = 5\nDEC a[1]\nPRINT a[0], a[1], a[2]", "", "040\r\n"},
    {"DeclarationRunsOnce", "BYTE i\nFOR i = 1 TO 3\nBYTE x\nINC x\nNEXT\nPRINT x", "", "3\r\n"},
    {"IncKeepsAFloatsFraction", "FLOAT f\nf = 2.5\nINC f\nPRINT f", "", "3.5\r\n"},
    {"DecKeepsAFloatsFraction", "FLOAT f\nf = -0.25\nDEC f\nPRINT f", "", "-1.25\r\n"},
    {"IncDecOnFloatElements", "FLOAT a[2]\na[1] = 0.5\nINC a[1]\nINC a[1]\nDEC a[0]\nPRINT a[0], \" \", a[1]", "",
     "-1 2.5\r\n"},
    // A float stored into a whole-number type wraps like any other value
    // that does not fit, instead of sticking at the largest number.
    {"FloatToLongWraps", "LONG l\nl = 65536.0 * 65536\nPRINT l, \" \",\nl = 65536.0 * 65536 + 5.9\nPRINT l", "",
     "0 5\r\n"},
    {"FloatToLongWrapsToNegative", "LONG l\nl = 3000000000.0\nPRINT l, \" \",\nl = -3000000000.0\nPRINT l", "",
     "-1294967296 1294967296\r\n"},
    {"FloatToByteWrapsFromBeyondLong", "BYTE b\nb = 4294967296.0 + 258\nPRINT b", "", "2\r\n"},
};
INSTANTIATE_TEST_SUITE_P(Assignments, Statements, testing::ValuesIn(kAssignments), simtest::CaseName<ProgramCase>);

// Expressions: three precedence levels, unary operators, true is all bits
// set, functions and system variables.
const ProgramCase kExpressions[] = {
    {"Precedence", "PRINT 2 + 3 * 4 - 6 / 2, \" \", (2 + 3) * 4", "", "11 20\r\n"},
    {"RelationsGiveAllBitsOrNothing", "PRINT (1 < 2), \" \", (2 < 1), \" \", NOT (3 > 4)", "", "-1 0 -1\r\n"},
    {"CombinedConditions", "BYTE a\na = 5\nIF (a > 1) AND (a < 9) THEN PRINT \"in\"", "", "in\r\n"},
    {"BitOperators", "PRINT 12 AND 10, \" \", 12 OR 3, \" \", 6 XOR 3, \" \", 1 << 4, \" \", -16 >> 2", "",
     "8 15 5 16 -4\r\n"},
    {"IntegerDivisionTruncates", "PRINT 17 MOD 5, \" \", -7 / 2, \" \", -7 MOD 2, \" \", 7 / 2.0", "",
     "2 -3 -1 3.5\r\n"},
    {"UnaryOperatorsRepeat", "PRINT --5, \" \", -(2 + 3), \" \", ~0", "", "5 -5 -1\r\n"},
    {"HexBinaryAndCharConstants", "PRINT $FF + %101, \" \", (\"A\" + 1)", "", "260 66\r\n"},
    {"RealFunctions", "PRINT SQR(2) * SQR(2), \" \", DEG(PI), \" \", ROUND(-2.5), \" \", INT(-2.5), \" \", POW(2, 10)",
     "", "2 180 -3 -3 1024\r\n"},
    {"IntegerFunctions", "PRINT LO($1234), \" \", HI($1234), \" \", ABS(-7), \" \", MIN(4, 9), \" \", MAX(4, 9.5)", "",
     "52 18 7 4 9.5\r\n"},
    {"StringFunctionsCountFromZero",
     "CHAR s[20]\ns = \"ab,cd,12.5\"\nPRINT POS(s, \",\"), \" \", POS(s, \",\", 3), \" \", POS(s, \"x\"), \" \", "
     "VAL(s, "
     "6)",
     "", "2 5 -1 12.5\r\n"},
    {"CrAndNlAreValues", "PRINT (CR + NL)", "", "23\r\n"},
};
INSTANTIATE_TEST_SUITE_P(Expressions, Statements, testing::ValuesIn(kExpressions), simtest::CaseName<ProgramCase>);

// Expressions of whole-number variables take a faster way through the
// interpreter; a FLOAT anywhere in them sends the whole expression the
// general way. Both must give what the language's rules say.
const ProgramCase kWholeNumbers[] = {
    {"LongDivisionWrapsAtTheSmallest", "LONG a, b\na = -2147483647 - 1\nb = -1\nPRINT a / b, \" \", a MOD b", "",
     "-2147483648 0\r\n"},
    {"TruncatingDivisionOfVariables", "INTEGER a, b\na = -7\nb = 2\nPRINT a / b, \" \", a MOD b, \" \", -a / b", "",
     "-3 -1 3\r\n"},
    {"MultiplicationWraps", "LONG a\na = 65536\nPRINT a * a + 5, \" \", a * 32768", "", "5 -2147483648\r\n"},
    {"StoresWrapToTheTarget",
     "BYTE b\nWORD w\nINTEGER i\nCHAR c\nLONG l\nl = 70000\nb = l\nw = l\ni = l + 30000\nc = l - 69800\n"
     "PRINT b, \" \", w, \" \", i, \" \", c + 0",
     "", "112 4464 -31072 -56\r\n"},
    {"RelationsAndBitsOfVariables",
     "LONG a, b\na = 3\nb = 5\nPRINT a XOR b, \" \", b << a, \" \", -b >> 1\nIF (a < b) AND (b > a) THEN PRINT "
     "\"both\"\n"
     "IF a = b THEN PRINT \"same\"\nWHILE a < b\nINC a\nWEND\nPRINT a",
     "", "6 40 -3\r\nboth\r\n5\r\n"},
    {"FloatAtTheEndOfAWholeNumberExpression", "LONG a\nFLOAT f\na = 7\nf = 0.5\nPRINT (a * 3) + f, \" \", a / 2 + f",
     "", "21.5 3.5\r\n"},
    {"FloatVariableMakesDivisionExact", "LONG a\nFLOAT f\na = 7\nf = 2\nPRINT a / f", "", "3.5\r\n"},
    {"WholeNumberIntoFloat", "FLOAT f\nLONG a\na = 3\nf = a * 2 + 1\nf = f / 2\nPRINT f", "", "3.5\r\n"},
    {"ArrayElementsOfBothKinds",
     "LONG k[3]\nFLOAT g[2]\nBYTE i\ni = 1\nk[i] = 5\ng[i] = 1.5\nk[i + 1] = k[i] * 2\n"
     "PRINT k[2], \" \", k[i] * 2 + g[1]",
     "", "10 11.5\r\n"},
};
INSTANTIATE_TEST_SUITE_P(WholeNumbers, Statements, testing::ValuesIn(kWholeNumbers), simtest::CaseName<ProgramCase>);

// Blocks, jumps and subroutines.
const ProgramCase kControl[] = {
    {"IfElsifElse",
     "BYTE i\nFOR i = 1 TO 3\nIF i = 1 THEN\nPRINT \"a\",\nELSIF i = 2 THEN\nPRINT \"b\",\nELSE\nPRINT "
     "\"c\",\nENDIF\nNEXT",
     "", "abc"},
    {"OneLineIfSkipsTheRestOfItsLine", "BYTE i\nIF i THEN PRINT \"x\", : PRINT \"y\",\nPRINT \"z\"", "", "z\r\n"},
    {"IfGotoSkipsOnlyTheJump", "BYTE i\nIF i GOTO done : PRINT \"runs\"\ndone:\nPRINT \"end\"", "", "runs\r\nend\r\n"},
    {"ForWithNegativeStep", "INTEGER i\nFOR i = 3 TO -3 STEP -2\nPRINT i, \" \",\nNEXT\nPRINT i", "",
     "3 1 -1 -3 -5\r\n"},
    {"ForThatNeverRuns", "BYTE i\nFOR i = 5 TO 1\nPRINT \"never\"\nNEXT\nPRINT i", "", "5\r\n"},
    {"ForOnAByteEndsAt255", "BYTE i\nWORD n\nFOR i = 250 TO 255\nINC n\nNEXT\nPRINT n", "", "6\r\n"},
    {"ForOnOneLine", "BYTE i\nFOR i = 1 TO 3 : PRINT i, : NEXT : PRINT", "", "123\r\n"},
    {"WhileWend", "BYTE i\nWHILE i < 4\nINC i\nWEND\nPRINT i", "", "4\r\n"},
    {"ExitLeavesTheInnermostLoop",
     "BYTE i, j\nDO\nFOR j = 1 TO 10\nIF j = 3 THEN EXIT\nNEXT\nINC i\nIF i = 2 THEN EXIT\nLOOP\nPRINT i, j", "",
     "23\r\n"},
    {"GosubReturn", "PRINT \"a\",\nGOSUB s\nPRINT \"c\"\nEND\ns:\nPRINT \"b\",\nRETURN", "", "abc\r\n"},
    {"OnGosubChoosesOrFallsThrough",
     "BYTE k\nFOR k = 0 TO 3\nON k GOSUB one, two\nNEXT\nPRINT\nEND\none:\nPRINT \"1\",\nRETURN\ntwo:\nPRINT "
     "\"2\",\nRETURN",
     "", "12\r\n"},
    {"GotoBackwards", "BYTE i\nagain:\nINC i\nIF i < 5 THEN GOTO again\nPRINT i", "", "5\r\n"},
    {"EndStops", "PRINT \"a\"\nEND\nPRINT \"b\"", "", "a\r\n"},
};
INSTANTIATE_TEST_SUITE_P(Control, Statements, testing::ValuesIn(kControl), simtest::CaseName<ProgramCase>);

// The serial line: what PRINT sends, and INPUT, GET, FIND with what
// arrives.
const ProgramCase kSerial[] = {
    {"PrintItems", "PRINT \"x\", TAB(5), \"y\", SPC(2), \"z\", CHR(33), HEX(255), CR, NL", "", "x    y  z!FF\r\n\r\n"},
    {"PrintUsing", "PRINT USING(\"##.##\", 3.14159), \"|\", USING(\"000\", 7), \"|\", USING(\"#\", 123)", "",
     " 3.14|007|123\r\n"},
    {"TrailingCommaSendsNoLineEnd", "PRINT 1,\nPRINT 2", "", "12\r\n"},
    {"CharVariablePrintsItsCharacter", "CHAR c, s[4]\nc = \"Z\"\ns = \"ab\"\nPRINT c, s[1], s", "", "Zbab\r\n"},
    {"InputEchoesAndSplitsFields", "BYTE a, b\nINPUT \"? \", a, b\nPRINT a * b", "3,4\r\n", "? 3,4\r\n12\r\n"},
    {"InputTakesCrLfAsOneLineEnd", "CHAR s[10]\nINPUT s\nINPUT s\nPRINT s", "Ann\r\nBob\r\n", "Ann\r\nBob\r\nBob\r\n"},
    {"InputBackspace", "CHAR s[10]\nINPUT s\nPRINT s", "ab\x08x\r", "ab\b \bx\r\nax\r\n"},
    {"GetBytesThenTimesOut", "BYTE c[3]\nGET c, 2\nPRINT c[0], \",\", c[1], \",\", ERR\nGET c, 1, 10\nPRINT ERR", "xy",
     "120,121,0\r\n1\r\n"},
    {"PutSendsBytes", "BYTE a[3]\na = [65, 66, 67]\nPUT a\nPUT 68\nPUT $4645, 2", "", "ABCDEF"},
    {"FindSkipsToItsText", "CHAR s[10]\nFIND \"OK\", 1000\nINPUT s\nPRINT \"[\", s, \"]\"", "noise OK rest\r",
     " rest\r\n[ rest]\r\n"},
    {"FindTimesOutToItsLabel", "FIND \"OK\", 5, late\nPRINT \"found\"\nEND\nlate:\nPRINT \"late \", ERR", "",
     "late 1\r\n"},
    {"RxdCountsAndFlushDrops", "WAIT RXD = 3, 1000\nPRINT RXD,\nFLUSH\nPRINT RXD", "abc", "30\r\n"},
    {"DataReadRestore",
     "BYTE a\nCHAR s[8]\nDATA 1, \"two\", 3\nREAD a, s\nPRINT a, s,\nREAD a\nPRINT a,\nRESTORE here\nREAD a\nPRINT "
     "a\nhere:\nDATA 9",
     "", "1two39\r\n"},
    {"WaitOnATimer", "TIMER0 = 0\nWAIT TIMER0 >= 30\nPRINT (TIMER0 >= 30)", "", "-1\r\n"},
    {"PauseWaits", "TIMER1 = 0\nPAUSE 20\nPRINT (TIMER1 >= 20)", "", "-1\r\n"},
};
INSTANTIATE_TEST_SUITE_P(Serial, Statements, testing::ValuesIn(kSerial), simtest::CaseName<ProgramCase>);

// Files, EEPROM, memory, buses and ports keep what the program puts there.
const ProgramCase kMachine[] = {
    {"FileRoundTrip",
     "CHAR s[10]\nOPEN \"log\" FOR OUTPUT AS #3\nPRINT #3, \"first\"\nPRINT #3, 42\nCLOSE #3\nOPEN \"log\" FOR INPUT "
     "AS #3\nINPUT #3, s\nPRINT s, \"/\", EOF(3),\nINPUT #3, s\nPRINT \"/\", s, \"/\", EOF(3)\nCLOSE",
     "", "first/0/42/-1\r\n"},
    {"FileAppend",
     "CHAR s[10]\nOPEN \"f\" FOR OUTPUT AS #1\nPRINT #1, \"a\",\nCLOSE #1\nOPEN \"f\" FOR APPEND AS #1\nPRINT #1, "
     "\"b\"\nCLOSE #1\nOPEN \"f\" AS #1\nINPUT #1, s\nPRINT s",
     "", "ab\r\n"},
    // TAB in PRINT # counts from where the previous PRINT # to that file
    // left its line, as on the serial line.
    {"TabInAFileContinuesTheColumn",
     "CHAR s[30]\nOPEN \"t\" FOR OUTPUT AS #3\nPRINT #3, \"zzzzzzzz\",\nPRINT #3, TAB(10), \"y\"\nPRINT #3, TAB(3), "
     "\"w\"\nCLOSE #3\nOPEN \"t\" AS #3\nINPUT #3, s\nPRINT s, \"|\",\nINPUT #3, s\nPRINT s, \"|\"",
     "", "zzzzzzzz  y|   w|\r\n"},
    {"TabInAnAppendedFileStartsAtItsLastLine",
     "CHAR s[30]\nOPEN \"t\" FOR OUTPUT AS #3\nPRINT #3, \"ab\",\nCLOSE #3\nOPEN \"t\" FOR APPEND AS #3\nPRINT #3, "
     "TAB(4), \"c\"\nCLOSE #3\nOPEN \"t\" AS #3\nINPUT #3, s\nPRINT s",
     "", "ab  c\r\n"},
    {"MissingFileSetsErrAndKeepsTheLine", "OPEN \"none\" AS #2\nPRINT ERR\nPRINT #2, \"on the line\"", "",
     "2\r\non the line\r\n"},
    {"PortsKeepTheirBits", "PORT1 = 5\nPORT1.7 = 1\nPORT1.0 = 0\nPRINT PORT1, \" \", PORT1.7, \" \", PORT1.2", "",
     "132 1 1\r\n"},
    {"OutputsKeepTheirValues",
     "PWM3 = 300\nCOUNTER2 = 7\nSTEPPER1.SPEED = 9\nSTEPPER1 = 100\nMSG = 4\nPRINT PWM3, COUNTER2, STEPPER1.SPEED, "
     "STEPPER1, MSG",
     "", "300791004\r\n"},
    {"EepromLoadStore", "WORD a, b[2]\na = 1234\nSTORE 10, a, a\nLOAD 10, b\nPRINT b[0], \",\", b[1]", "",
     "1234,1234\r\n"},
    {"I2cChipAnswersWhatItGot", "BYTE x, y\nx = 77\nI2COUT $50, 3, x\nI2CIN $50, 3, y\nPRINT y", "", "77\r\n"},
    {"PeekPoke", "POKE 100, 300\nPRINT PEEK(100), \" \", PEEK(101)", "", "44 0\r\n"},
    {"ClockCanBeSet", "DATE.DAY = 1\nDATE.YEAR = 2030\nDATE.MONTH = 2\nPRINT DATE.YEAR, \"/\", DATE.MONTH", "",
     "2030/2\r\n"},
    {"PlotAndPoint", "PLOT 3, 4\nFRAME 10, 10, 4, 4, 1\nPRINT POINT(3, 4), POINT(4, 4), POINT(11, 11)", "", "101\r\n"},
    // Shapes that start off the display and are larger than it are clipped,
    // never shrunk: their far edges stay where the program put them.
    {"LargeFrameIsClipped", "FRAME -10, -10, 300, 200, 1\nPRINT POINT(239, 127), POINT(0, 0), POINT(5, 5)", "",
     "111\r\n"},
    {"LargeFrameKeepsItsFarEdges",
     "FRAME -10, -10, 300, 200\nFRAME -10, 0, 300, 90\nPRINT POINT(229, 50), "
     "POINT(50, 117), POINT(100, 89), POINT(100, 88)",
     "", "0010\r\n"},
    {"LargeBargraphIsClipped", "BARGRAPH -10, 0, 300, 10, 50, 0\nPRINT POINT(130, 5), POINT(145, 5)", "", "10\r\n"},
    {"LargeCircleIsClipped", "CIRCLE -500, 64, 600, 600, 1\nPRINT POINT(50, 64), POINT(99, 64), POINT(101, 64)", "",
     "110\r\n"},
    {"LineToAFarPointKeepsItsSlope",
     "DRAW 100000, 0\nPLOT 0, 10\nDRAW 100000, 10010\nPRINT POINT(239, 0), "
     "POINT(200, 30), POINT(200, 29)",
     "", "110\r\n"},
    {"CircleWithTheMostNegativeRadius", "CIRCLE 10, 10, -2147483648, 3, 1\nPRINT POINT(10, 10)", "", "1\r\n"},
    {"ClockMovedOftenStaysInItsCalendar",
     "BYTE i\nFOR i = 1 TO 200\nDATE.DAY = 100000\nNEXT\nPRINT DATE.YEAR, \"/\", DATE.MONTH, \"/\", DATE.DAY", "",
     "9999/12/31\r\n"},
    {"ModemSendsWhenReady", "SENDSMS \"1\", \"x\"\nPRINT ERR,\nINITGSM 1234\nSENDSMS \"1\", \"x\"\nPRINT ERR", "",
     "10\r\n"},
};
INSTANTIATE_TEST_SUITE_P(Machine, Statements, testing::ValuesIn(kMachine), simtest::CaseName<ProgramCase>);

// Runtime errors stop the program with one line naming the error and the
// image line number.
struct ErrorCase {
    const char *name;
    const char *source;
    const char *target;
    const char *output;
    friend void PrintTo(const ErrorCase &c, std::ostream *os)
    {
        *os << c.name;
    }
};

class RuntimeErrors : public testing::TestWithParam<ErrorCase> { };

TEST_P(RuntimeErrors, StopTheProgramWithOneLine)
{
    const simtest::RunResult run = RunSource(GetParam().source, "", GetParam().target);
    EXPECT_EQ(run.output, GetParam().output) << GetParam().source;
    EXPECT_EQ(run.exit, velsim::CModule::Exit::kProgramError);
}

const ErrorCase kErrors[] = {
    {"DivisionByZero", "BYTE a\nPRINT 1 / a", "ZENTRA8", "Error: Division by zero in line 2.\r\n"},
    {"ModuloByZero", "PRINT 1.5 MOD 0", "ZENTRA8", "Error: Division by zero in line 1.\r\n"},
    {"IndexPastTheEnd", "BYTE a[3]\na[3] = 1", "ZENTRA8", "Error: Index out of range in line 2.\r\n"},
    {"NegativeIndex", "BYTE a[3]\nPRINT a[-1]", "ZENTRA8", "Error: Index out of range in line 2.\r\n"},
    {"ReturnWithoutGosub", "RETURN", "ZENTRA8", "Error: RETURN without GOSUB in line 1.\r\n"},
    {"GosubStackOverflow", "s:\nGOSUB s", "ZENTRA8", "Error: GOSUB stack overflow in line 1.\r\n"},
    {"OutOfData", "BYTE a\nREAD a", "ZENTRA8", "Error: Out of DATA in line 2.\r\n"},
    {"VariableSkippedByAJump", "GOTO skip\nBYTE a\nskip:\na = 1", "ZENTRA8",
     "Error: Variable not declared in line 3.\r\n"},
    {"DataMemoryOfTheTarget", "#TARGET ZENTRA16\nBYTE a[1500]", "ZENTRA8",
     "Error: Not enough data memory in line 1.\r\n"},
    {"DivisionByZeroOfVariables", "LONG a, b\na = 1\nb = a + 2 * (a / (a - 1))", "ZENTRA8",
     "Error: Division by zero in line 3.\r\n"},
    {"IndexPastTheEndInAnExpression", "LONG k[2], i\ni = 2\nPRINT k[i] + 1", "ZENTRA8",
     "Error: Index out of range in line 3.\r\n"},
    {"ErrorAfterOutputStartsANewLine", "PRINT \"x\",\nPRINT 1 / 0", "ZENTRA8",
     "x\r\nError: Division by zero in line 2.\r\n"},
};
INSTANTIATE_TEST_SUITE_P(Errors, RuntimeErrors, testing::ValuesIn(kErrors), simtest::CaseName<ErrorCase>);

TEST(RuntimeErrors, LargerTargetHasTheMemory)
{
    const simtest::RunResult run = RunSource("#TARGET ZENTRA16\nBYTE a[1500]\nPRINT \"ok\"", "", "ZENTRA16");
    EXPECT_EQ(run.output, "ok\r\n");
    EXPECT_EQ(run.exit, velsim::CModule::Exit::kProgramEnded);
}

TEST(Input, WaitingForInputThatCannotComeEndsTheRun)
{
    const simtest::RunResult run = RunSource("BYTE c\nGET c\nPRINT \"never\"");
    EXPECT_EQ(run.output, "");
    EXPECT_EQ(run.exit, velsim::CModule::Exit::kInputEnded);
}

// The virtual hardware: each change once with --trace, notices once per
// kind, and neither on the serial line.
TEST(Trace, ReportsEachChangeOnce)
{
    const simtest::RunResult run =
        RunSource("PORT2 = 1\nPORT2 = 1\nPORT2.1 = 1\nPWM0 = 5\nSETCOM 1, 9600", "", "ZENTRA8", true);
    EXPECT_EQ(run.output, "");
    EXPECT_EQ(run.trace, "trace: PORT2 = 1\ntrace: PORT2.1 = 1\ntrace: PWM0 = 5\ntrace: SETCOM 1, 9600\n");
}

TEST(Trace, NotSimulatedStatementsGiveOneNoticeAndNothingOnTheLine)
{
    const simtest::RunResult run = RunSource("BYTE x\nSTANDBY\nSTANDBY\nSEND 1, x\nPRINT USR(1)", "", "ZENTRA8", false);
    EXPECT_EQ(run.output, "0\r\n");
    EXPECT_EQ(run.trace,
              "velsim: STANDBY is not simulated; it does nothing.\n"
              "velsim: SEND is not simulated; it does nothing.\n"
              "velsim: USR is not simulated; it does nothing.\n");
}

TEST(Trace, DisplayKeepsWhatIsPrintedOnIt)
{
    const simtest::RunResult run = RunSource("SETDISPLAY 1, 2\nMOVE 0, 8\nPRINT \"hi\",", "", "ZENTRA8", true);
    EXPECT_EQ(run.output, "hi");
    EXPECT_NE(run.trace.find("trace: display row 1: \"hi\"\n"), std::string::npos) << run.trace;
}

} // namespace
