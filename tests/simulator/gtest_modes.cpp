// velsim with a program image: standard input and output are the serial
// line, the exit code tells how the program ended, and a runtime error
// points into the listing beside the image. Also the command line.
#include "SimTestSupport.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

namespace {

using simtest::ScratchDir;

struct ProcessResult {
    std::string out;
    std::string err;
    int code = -1;
};

// How the input reaches velsim's standard input.
enum class InputFrom { kFile, kPipe };

// Runs velsim in `dir` with the arguments (shell words) and `input` on its
// standard input, from a file or through a pipe.
ProcessResult RunVelsim(const ScratchDir &dir, const std::string &args, const std::string &input = "",
                        InputFrom from = InputFrom::kFile)
{
    simtest::WriteAll(dir / "stdin", input);
    const std::string velsim = "'" + simtest::BinDir() + "/velsim' " + args;
    const std::string run = from == InputFrom::kPipe ? "cat stdin | " + velsim : velsim + " < stdin";
    const std::string command = "cd '" + dir.Path().string() + "' && " + run + " > stdout 2> stderr";
    const int status = std::system(command.c_str());
    ProcessResult result;
    result.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.out = simtest::ReadAll(dir / "stdout");
    result.err = simtest::ReadAll(dir / "stderr");
    return result;
}

TEST(ImageMode, HelloPrintsItsGreeting)
{
    ScratchDir dir;
    const std::string source = simtest::ReadAll(simtest::fs::path(VELMO_EXAMPLES) / "hello.bas");
    ASSERT_FALSE(simtest::CompileProgram(dir, source, "hello").empty());
    const ProcessResult run = RunVelsim(dir, "hello.hex");
    std::string greeting;
    for (int i = 1; i <= 10; ++i)
        greeting += "Hello from Velmo! " + std::to_string(i) + "\r\n";
    EXPECT_EQ(run.out, greeting);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.code, 0);
}

TEST(ImageMode, RuntimeErrorPointsIntoTheListingWithoutALineMap)
{
    ScratchDir dir;
    ASSERT_FALSE(simtest::CompileProgram(dir, "BYTE a, b\na = 5\nPRINT \"start\"\nPRINT a / b").empty());
    simtest::fs::remove(dir / "prog.map");
    const ProcessResult run = RunVelsim(dir, "prog.hex");
    EXPECT_EQ(run.out, "start\r\nError: Division by zero in line 4.\r\n");
    EXPECT_EQ(run.err, (dir / "prog.lst").string() + "(8): Division by zero in line 4: PRINT a/b\n");
    EXPECT_EQ(run.code, 1);

    simtest::fs::remove(dir / "prog.lst");
    const ProcessResult without = RunVelsim(dir, "prog.hex");
    EXPECT_EQ(without.err, "");
    EXPECT_EQ(without.code, 1);
}

// With the line map the error names the source file and line (an included
// file too), the line as written and the values of its variables.
struct SourceError {
    const char *name;
    const char *main;
    const char *include; // lib/part.bas, "" for none
    const char *where; // file and line
    const char *message;
};

const SourceError kSourceErrors[] = {
    {"MainFile", "' totals\nINTEGER total, count\n\ntotal = 10\nPRINT total / count ' average\n", "", "prog.bas(5)",
     "Division by zero in line 3: PRINT total / count ' average [total = 10, count = 0]"},
    {"IncludeFile", "BYTE Vals[3], i\n#INCLUDE \"lib/part.bas\"\nGOSUB fill\n",
     "' part\nfill:\n  FOR i = 0 TO 3\n    Vals[i] = i\n  NEXT\nRETURN\n", "lib/part.bas(4)",
     "Index out of range in line 3: Vals[i] = i [Vals = [0, 1, 2], i = 3]"},
    {"CharArrayAsText", "CHAR Name[8]\nBYTE n\nName = \"Velmo\"\nn = 7 / (n - n)\n", "", "prog.bas(4)",
     "Division by zero in line 4: n = 7 / (n - n) [n = 0]"},
    {"NameInAStringIsNoVariable", "BYTE n\nPRINT \"n\", 1 / n\n", "", "prog.bas(2)",
     "Division by zero in line 2: PRINT \"n\", 1 / n [n = 0]"},
};

class RuntimeErrorInSource : public testing::TestWithParam<SourceError> { };

TEST_P(RuntimeErrorInSource, NamesTheSourcePlaceAndTheVariables)
{
    const SourceError &c = GetParam();
    ScratchDir dir;
    if (*c.include) {
        simtest::fs::create_directories(dir / "lib");
        simtest::WriteAll(dir / "lib/part.bas", c.include);
    }
    ASSERT_FALSE(simtest::CompileProgram(dir, c.main).empty());
    const ProcessResult run = RunVelsim(dir, "prog.hex");
    EXPECT_EQ(run.err, (dir / c.where).string() + ": " + c.message + "\n");
    EXPECT_EQ(run.code, 1);
}

INSTANTIATE_TEST_SUITE_P(ImageMode, RuntimeErrorInSource, testing::ValuesIn(kSourceErrors),
                         [](const testing::TestParamInfo<SourceError> &info) { return info.param.name; });

TEST(ImageMode, TheResetCommandOnTheInputEntersTheLoader)
{
    ScratchDir dir;
    ASSERT_FALSE(simtest::CompileProgram(dir, "DO\nLOOP").empty());
    const ProcessResult run = RunVelsim(dir, "prog.hex", "\x01\x30\x81\x1B");
    EXPECT_EQ(run.out, "OK");
    EXPECT_EQ(run.err, "velsim: the serial line's input has ended.\n");
    EXPECT_EQ(run.code, 3);
}

// A program that waits for a line after standard input has ended stops
// with its own exit status, so a script can tell it from a program that ran
// to its end.
TEST(ImageMode, InputAfterTheEndOfStandardInputEndsWithStatusThree)
{
    ScratchDir dir;
    ASSERT_FALSE(simtest::CompileProgram(dir, "BYTE a\nINPUT a\nPRINT a\nINPUT a\nPRINT \"never\"").empty());
    const ProcessResult run = RunVelsim(dir, "prog.hex", "7\n");
    EXPECT_EQ(run.out, "7\r\n7\r\n");
    EXPECT_EQ(run.err, "velsim: the serial line's input has ended.\n");
    EXPECT_EQ(run.code, 3);
}

// Standard input from a file or a pipe is read only as fast as the program
// takes it: a program reading as fast as it can gets every line and byte,
// far more than the receive buffer holds.
TEST(ImageMode, PipedInputIsNeverLost)
{
    ScratchDir dir;
    ASSERT_FALSE(simtest::CompileProgram(dir,
                                         "LONG i, sum\nWORD v\nBYTE c\nFOR i = 1 TO 3000\nINPUT v\nsum = sum + "
                                         "v\nNEXT\nFOR i = 1 TO 30000\nGET c\nsum = sum + c\nNEXT\nPRINT "
                                         "\"sum \", sum")
                     .empty());
    std::string input;
    for (int i = 1; i <= 3000; ++i)
        input += std::to_string(i) + "\n";
    input += std::string(30000, 'A');
    for (const InputFrom from : {InputFrom::kFile, InputFrom::kPipe}) {
        const ProcessResult run = RunVelsim(dir, "prog.hex", input, from);
        const bool piped = from == InputFrom::kPipe;
        EXPECT_EQ(run.code, 0) << "piped: " << piped;
        const std::string last = run.out.substr(run.out.rfind("sum "));
        EXPECT_EQ(last, "sum " + std::to_string(3000 * 3001 / 2 + 30000 * 65) + "\r\n") << "piped: " << piped;
    }
}

TEST(ImageMode, ATraceGoesToStandardError)
{
    ScratchDir dir;
    ASSERT_FALSE(simtest::CompileProgram(dir, "PORT1.3 = 1\nPRINT PORT1").empty());
    const ProcessResult run = RunVelsim(dir, "--trace prog.hex");
    EXPECT_EQ(run.out, "8\r\n");
    EXPECT_EQ(run.err, "trace: PORT1.3 = 1\n");
}

struct CannotRunCase {
    const char *name;
    const char *hex;
    const char *message;
    friend void PrintTo(const CannotRunCase &c, std::ostream *os)
    {
        *os << c.name;
    }
};

class ImagesThatCannotRun : public testing::TestWithParam<CannotRunCase> { };

TEST_P(ImagesThatCannotRun, ExitWithTwoAndSayWhy)
{
    ScratchDir dir;
    simtest::WriteAll(dir / "bad.hex", GetParam().hex);
    const ProcessResult run = RunVelsim(dir, "bad.hex");
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, std::string("velsim: ") + GetParam().message + "\n");
    EXPECT_EQ(run.code, 2);
}

const CannotRunCase kCannotRun[] = {
    {"NotHex", "hello\r\n", "bad.hex: no end-of-file record"},
    {"BadChecksum", ":0400000000010203F5\r\n:00000001FF\r\n", "bad.hex: malformed record in line 1"},
    {"BadChecksumAfterCrLf", ":0100000001FE\r\n:0400000000010203F5\r\n:00000001FF\r\n",
     "bad.hex: malformed record in line 2"},
    {"BadChecksumAfterLf", ":0100000001FE\n:0400000000010203F5\n:00000001FF\n", "bad.hex: malformed record in line 2"},
    {"BeyondTheMemory", ":0100000001FE\n:01F00000010E\n:00000001FF\n",
     "bad.hex: too large (max. 16353 bytes) in line 2"},
    {"Undecodable", ":09000000000103FF0A00020203E3\r\n:00000001FF\r\n",
     "bad.hex: bad program image: line 1 cannot be decoded."},
};
INSTANTIATE_TEST_SUITE_P(Files, ImagesThatCannotRun, testing::ValuesIn(kCannotRun), simtest::CaseName<CannotRunCase>);

TEST(ImageMode, AMissingFileCannotRun)
{
    ScratchDir dir;
    const ProcessResult run = RunVelsim(dir, "none.hex");
    EXPECT_EQ(run.err, "velsim: cannot open none.hex: No such file or directory\n");
    EXPECT_EQ(run.code, 2);
}

// A file that never ends is no HEX file: velsim stops reading at a bound.
TEST(ImageMode, AnEndlessFileIsRefusedAtItsBound)
{
    ScratchDir dir;
    const ProcessResult run = RunVelsim(dir, "/dev/zero");
    EXPECT_EQ(run.err, "velsim: /dev/zero: too large for a HEX file (more than 4 MiB)\n");
    EXPECT_EQ(run.code, 2);
}

// Waiting for a FIFO whose writer stays open, velsim still ends on Ctrl+C
// (timeout's SIGINT) instead of being killed by timeout's second signal.
TEST(ImageMode, AStopEndsTheWaitForTheFile)
{
    ScratchDir dir;
    simtest::WriteAll(dir / "stop.sh",
                      "mkfifo fifo && { sleep 20 > fifo & }\ntimeout --preserve-status -k 5 -s INT 0.3 '" +
                          simtest::BinDir() + "/velsim' fifo 2> stderr\necho $? > code\nkill %1\n");
    ASSERT_EQ(std::system(("cd '" + dir.Path().string() + "' && bash stop.sh").c_str()), 0);
    EXPECT_EQ(simtest::ReadAll(dir / "code"), "2\n");
    EXPECT_EQ(simtest::ReadAll(dir / "stderr"), "velsim: fifo: stopped\n");
}

struct CommandLineCase {
    const char *name;
    const char *args;
    int code;
    const char *firstLine; // of standard error, or of standard output for --help
    friend void PrintTo(const CommandLineCase &c, std::ostream *os)
    {
        *os << c.name;
    }
};

class CommandLine : public testing::TestWithParam<CommandLineCase> { };

TEST_P(CommandLine, IsCheckedBeforeAnythingRuns)
{
    ScratchDir dir;
    const ProcessResult run = RunVelsim(dir, GetParam().args);
    const std::string &text = run.code == 0 ? run.out : run.err;
    EXPECT_EQ(text.substr(0, text.find('\n')), GetParam().firstLine);
    EXPECT_EQ(run.code, GetParam().code);
}

const CommandLineCase kCommandLines[] = {
    {"Help", "--help", 0, "Usage: velsim [--target NAME] [--trace] program.hex"},
    {"NoImage", "", 2, "velsim: no program image given"},
    {"PtyWithImage", "--pty x.hex", 2, "velsim: --pty takes no program image"},
    {"UnknownTarget", "--target ZENTRA99 x.hex", 2, "velsim: unknown target: ZENTRA99"},
    {"LinkWithoutPath", "--pty --link", 2, "velsim: --link needs a value"},
    {"OnceWithoutPty", "--once x.hex", 2, "velsim: --link and --once need --pty"},
    {"TwoImages", "a.hex b.hex", 2, "velsim: only one program image can run: b.hex"},
    {"UnknownOption", "--fast x.hex", 2, "velsim: unknown option: --fast"},
    {"DapWithImage", "--dap x.hex", 2, "velsim: --dap takes no program image and no --pty"},
    {"DapWithPty", "--pty --dap", 2, "velsim: --dap takes no program image and no --pty"},
};
INSTANTIATE_TEST_SUITE_P(Arguments, CommandLine, testing::ValuesIn(kCommandLines), simtest::CaseName<CommandLineCase>);

} // namespace
