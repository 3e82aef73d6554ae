// The debugger on programs compiled by the fresh velc: breakpoints (include
// files, moved lines, labels, hit counts, conditions), stepping over, into
// and out of GOSUBs, watchpoints, pausing inside a wait, variables of every
// type, changing them, evaluating expressions and stopping on an error.
#include "DebugExpressions.h"
#include "Debugger.h"
#include "LineDevice.h"
#include "Module.h"
#include "SimTestSupport.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

using namespace velsim;
using simtest::ScratchDir;

const char kMain[] = "' debugger test program\n" // 1
                     "INTEGER count, total\n" // 2
                     "CHAR Name[8]\n" // 3
                     "FLOAT ratio\n" // 4
                     "BYTE Vals[3]\n" // 5
                     "WORD w\n" // 6
                     "LONG big\n" // 7
                     "Name = \"Velmo\" : PWM3 = 77 : big = -70000 : w = 65535\n" // 8
                     "FOR count = 1 TO 5\n" // 9
                     "  GOSUB AddUp\n" // 10
                     "NEXT\n" // 11
                     "ratio = total / 4.0\n" // 12
                     "PRINT total\n" // 13
                     "END\n" // 14
                     "#INCLUDE \"lib/sub.bas\"\n"; // 15

const char kSub[] = "' subroutines\n" // 1
                    "AddUp:\n" // 2
                    "  total = total + count\n" // 3
                    "  Vals[0] = count\n" // 4
                    "RETURN\n"; // 5

// One program under the debugger: compiled, started on its own thread with
// a pipe as its input (held open, so INPUT waits) and a file as its output.
class Session {
public:
    explicit Session(const std::string &main = kMain)
    {
        simtest::fs::create_directories(m_dir / "lib");
        simtest::WriteAll(m_dir / "lib/sub.bas", kSub);
        const std::vector<uint8_t> image = simtest::CompileImage(m_dir, main);
        std::string error;
        EXPECT_TRUE(m_map.LoadBeside((m_dir / "prog.hex").string(), error)) << error;
        EXPECT_EQ(::pipe(m_input), 0);
        m_output = ::open((m_dir / "line.out").c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        m_device = std::make_unique<CFdDevice>(m_input[0], m_output);
        m_line = std::make_unique<CSerialLine>(*m_device);
        m_module = std::make_unique<CModule>(*m_line, ModuleSettings());
        EXPECT_TRUE(m_module->Start(image, error)) << error;
        m_debugger = std::make_unique<CDebugger>(*m_module->Program(), m_module->Machine(), m_map);
        m_debugger->SetExprCompiler(DebugExpressionCompiler(m_map.Map()));
        m_debugger->Attach(*m_module->Interpreter());
    }
    ~Session()
    {
        m_debugger->Terminate();
        if (m_runner.joinable())
            m_runner.join();
        ::close(m_input[1]);
        ::close(m_input[0]);
        ::close(m_output);
    }
    void Start(bool stopOnEntry = false)
    {
        if (stopOnEntry)
            m_debugger->StopOnEntry();
        m_runner = std::thread([this] {
            m_exit = m_module->Serve(true);
            m_debugger->Finished();
        });
    }
    StopEvent Stop()
    {
        StopEvent event;
        EXPECT_TRUE(m_debugger->WaitForStop(event, 5000)) << "no stop";
        return event;
    }
    std::string Value(const std::string &name)
    {
        std::string value, error;
        EXPECT_TRUE(m_debugger->Evaluate(name, value, error)) << error;
        return value;
    }
    std::string Output()
    {
        if (m_runner.joinable())
            m_runner.join();
        return simtest::ReadAll(m_dir / "line.out");
    }
    CDebugger &Debugger()
    {
        return *m_debugger;
    }
    const CSourceMap &Map() const
    {
        return m_map;
    }

private:
    ScratchDir m_dir;
    CSourceMap m_map;
    int m_input[2] = {-1, -1};
    int m_output = -1;
    std::unique_ptr<CFdDevice> m_device;
    std::unique_ptr<CSerialLine> m_line;
    std::unique_ptr<CModule> m_module;
    std::unique_ptr<CDebugger> m_debugger;
    std::thread m_runner;
    CModule::Exit m_exit = CModule::Exit::kStopped;
};

std::string Where(const Session &s, const StopEvent &e)
{
    return s.Map().Map().files.at(static_cast<size_t>(std::max(0, e.place.file))) + "(" + std::to_string(e.place.line) +
        ")";
}

// --- Stepping and breakpoints: one table --------------------------------------

enum class Cmd { kWait, kContinue, kOver, kIn, kOut };

struct Step {
    Cmd cmd;
    const char *where; // expected stop
    StopReason reason;
    const char *count; // value of count there, "" for no check
};

struct Breakpoint {
    const char *file;
    int line;
    const char *condition;
    int hitCount;
};

struct StepCase {
    const char *name;
    std::vector<Breakpoint> breakpoints;
    std::vector<const char *> labels;
    std::vector<const char *> watches;
    std::vector<Step> steps;
};

const StepCase kStepCases[] = {
    {"BreakpointInIncludeFile",
     {{"lib/sub.bas", 3, "", 0}},
     {},
     {},
     {{Cmd::kWait, "lib/sub.bas(3)", StopReason::kBreakpoint, "1"},
      {Cmd::kContinue, "lib/sub.bas(3)", StopReason::kBreakpoint, "2"}}},
    {"StepOverGosubIsOneStep",
     {{"prog.bas", 10, "", 0}},
     {},
     {},
     {{Cmd::kWait, "prog.bas(10)", StopReason::kBreakpoint, "1"},
      {Cmd::kOver, "prog.bas(11)", StopReason::kStep, "1"},
      {Cmd::kOver, "prog.bas(10)", StopReason::kBreakpoint, "2"},
      {Cmd::kOver, "prog.bas(11)", StopReason::kStep, "2"}}},
    {"StepIntoAndOutOfGosub",
     {{"prog.bas", 10, "", 0}},
     {},
     {},
     {{Cmd::kWait, "prog.bas(10)", StopReason::kBreakpoint, "1"},
      {Cmd::kIn, "lib/sub.bas(3)", StopReason::kStep, "1"},
      {Cmd::kIn, "lib/sub.bas(4)", StopReason::kStep, "1"},
      {Cmd::kOut, "prog.bas(11)", StopReason::kStep, "1"}}},
    {"StepOutRunsUntilTheReturn",
     {{"lib/sub.bas", 3, "", 0}},
     {},
     {},
     {{Cmd::kWait, "lib/sub.bas(3)", StopReason::kBreakpoint, "1"},
      {Cmd::kOut, "prog.bas(11)", StopReason::kStep, "1"}}},
    {"HitCount",
     {{"lib/sub.bas", 3, "", 3}},
     {},
     {},
     {{Cmd::kWait, "lib/sub.bas(3)", StopReason::kBreakpoint, "3"},
      {Cmd::kContinue, "lib/sub.bas(3)", StopReason::kBreakpoint, "4"}}},
    {"Condition",
     {{"lib/sub.bas", 3, "(count > 3) AND (total < 100)", 0}},
     {},
     {},
     {{Cmd::kWait, "lib/sub.bas(3)", StopReason::kBreakpoint, "4"},
      {Cmd::kContinue, "lib/sub.bas(3)", StopReason::kBreakpoint, "5"}}},
    {"LineWithoutStatementMovesOn",
     {{"lib/sub.bas", 2, "", 0}},
     {},
     {},
     {{Cmd::kWait, "lib/sub.bas(3)", StopReason::kBreakpoint, "1"}}},
    {"LabelBreakpoint",
     {},
     {"addup"},
     {},
     {{Cmd::kWait, "lib/sub.bas(3)", StopReason::kLabel, "1"},
      {Cmd::kContinue, "lib/sub.bas(3)", StopReason::kLabel, "2"}}},
    {"WatchpointStopsAfterTheChange",
     {},
     {},
     {"TOTAL"},
     {{Cmd::kWait, "lib/sub.bas(4)", StopReason::kWatch, "1"},
      {Cmd::kContinue, "lib/sub.bas(4)", StopReason::kWatch, "2"}}},
};

class Stepping : public testing::TestWithParam<StepCase> { };

TEST_P(Stepping, StopsWhereExpected)
{
    const StepCase &c = GetParam();
    Session s;
    for (const Breakpoint &bp : c.breakpoints) {
        const auto answers = s.Debugger().SetBreakpoints(bp.file, {{bp.line, bp.condition, bp.hitCount}});
        ASSERT_TRUE(answers.at(0).verified) << answers[0].message;
    }
    std::vector<std::string> labels(c.labels.begin(), c.labels.end());
    for (const BreakpointAnswer &a : s.Debugger().SetLabelBreakpoints(labels))
        ASSERT_TRUE(a.verified) << a.message;
    std::vector<std::string> watches(c.watches.begin(), c.watches.end());
    for (const BreakpointAnswer &a : s.Debugger().SetWatchpoints(watches))
        ASSERT_TRUE(a.verified) << a.message;
    s.Start();
    for (const Step &step : c.steps) {
        switch (step.cmd) {
        case Cmd::kWait:
            break;
        case Cmd::kContinue:
            s.Debugger().Continue();
            break;
        case Cmd::kOver:
            s.Debugger().StepOver();
            break;
        case Cmd::kIn:
            s.Debugger().StepIn();
            break;
        case Cmd::kOut:
            s.Debugger().StepOut();
            break;
        }
        const StopEvent e = s.Stop();
        EXPECT_EQ(Where(s, e), step.where);
        EXPECT_EQ(static_cast<int>(e.reason), static_cast<int>(step.reason)) << step.where;
        if (*step.count) {
            EXPECT_EQ(s.Value("count"), step.count) << step.where;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Debugger, Stepping, testing::ValuesIn(kStepCases), simtest::CaseName<StepCase>);

// --- Breakpoint answers ---------------------------------------------------------

struct AnswerCase {
    const char *name;
    const char *file;
    int line;
    const char *condition;
    bool verified;
    int at;
    const char *message;
};

const AnswerCase kAnswers[] = {
    {"OnAStatement", "prog.bas", 9, "", true, 9, ""},
    {"CommentLineMoves", "prog.bas", 1, "", true, 2, "moved to line 2, the next line with a statement"},
    {"IncludeLineMoves", "lib/sub.bas", 1, "", true, 3, "moved to line 3, the next line with a statement"},
    {"PastTheEnd", "lib/sub.bas", 6, "", false, 6, "no statement at or after line 6"},
    {"UnknownFile", "other.bas", 3, "", false, 3, "no statement of the program comes from other.bas"},
    {"BadCondition", "prog.bas", 9, "count >", false, 9, "condition: Factor expected."},
    {"UnknownVariableInCondition", "prog.bas", 9, "nothing = 1", false, 9,
     "condition: Variable 'nothing' was not declared."},
};

class BreakpointAnswers : public testing::TestWithParam<AnswerCase> { };

TEST_P(BreakpointAnswers, SayWhereTheBreakpointStands)
{
    const AnswerCase &c = GetParam();
    Session s;
    const auto answers = s.Debugger().SetBreakpoints(c.file, {{c.line, c.condition, 0}});
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(answers[0].verified, c.verified);
    EXPECT_EQ(answers[0].line, c.at);
    EXPECT_EQ(answers[0].message, c.message);
}

INSTANTIATE_TEST_SUITE_P(Debugger, BreakpointAnswers, testing::ValuesIn(kAnswers), simtest::CaseName<AnswerCase>);

// --- Variables, frames, hardware ------------------------------------------------

struct VariableCase {
    const char *name;
    const char *type;
    int length;
    const char *value;
};

const VariableCase kVariables[] = {
    {"count", "integer", 0, "6"},  {"total", "integer", 0, "15"},    {"Name", "char", 8, "\"Velmo\""},
    {"ratio", "float", 0, "3.75"}, {"Vals", "byte", 3, "[5, 0, 0]"}, {"w", "word", 0, "65535"},
    {"big", "long", 0, "-70000"},
};

TEST(Debugger, VariablesOfEveryTypeUnderTheirSourceNames)
{
    Session s;
    s.Debugger().SetBreakpoints("prog.bas", {{14, "", 0}});
    s.Start();
    s.Stop();
    const std::vector<VariableInfo> vars = s.Debugger().Variables();
    ASSERT_EQ(vars.size(), std::size(kVariables));
    for (size_t i = 0; i < vars.size(); ++i) {
        EXPECT_EQ(vars[i].name, kVariables[i].name);
        EXPECT_EQ(vars[i].type, kVariables[i].type) << vars[i].name;
        EXPECT_EQ(vars[i].length, kVariables[i].length) << vars[i].name;
        EXPECT_EQ(vars[i].value, kVariables[i].value) << vars[i].name;
        EXPECT_EQ(vars[i].elements.size(), static_cast<size_t>(kVariables[i].length)) << vars[i].name;
    }
    EXPECT_EQ(vars[4].elements.at(0), "5");
}

TEST(Debugger, VariablesBeforeTheirDeclarationRunAreShownAsSuch)
{
    Session s;
    s.Start(true);
    EXPECT_EQ(static_cast<int>(s.Stop().reason), static_cast<int>(StopReason::kEntry));
    const std::vector<VariableInfo> vars = s.Debugger().Variables();
    ASSERT_FALSE(vars.empty());
    EXPECT_FALSE(vars[0].declared);
    EXPECT_EQ(vars[0].value, "(not declared)");
}

TEST(Debugger, GosubStackAsFrames)
{
    Session s;
    s.Debugger().SetBreakpoints("lib/sub.bas", {{4, "", 0}});
    s.Start();
    s.Stop();
    const std::vector<FrameInfo> frames = s.Debugger().Frames();
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0].name, "ADDUP");
    EXPECT_EQ(frames[0].place.line, 4);
    EXPECT_EQ(frames[1].name, "main");
    EXPECT_EQ(frames[1].place.line, 10);
    EXPECT_EQ(frames[1].place.file, 0);
}

TEST(Debugger, HardwareGroupShowsWhatTheProgramSet)
{
    Session s;
    s.Debugger().SetBreakpoints("prog.bas", {{9, "", 0}});
    s.Start();
    s.Stop();
    bool found = false;
    for (const HardwareInfo &item : s.Debugger().Hardware()) {
        if (item.name == "PWM3") {
            EXPECT_EQ(item.value, "77");
            found = true;
        }
    }
    EXPECT_TRUE(found);
}

struct SetCase {
    const char *name;
    const char *variable;
    int element;
    const char *value;
    bool ok;
    const char *after; // the variable's value afterwards, or the message
};

const SetCase kSets[] = {
    {"Integer", "total", -1, "100", true, "100"},
    {"Float", "ratio", -1, "0.5", true, "0.5"},
    {"CharArrayAsText", "name", -1, "\"Hi\"", true, "\"Hi\""},
    {"ArrayElement", "Vals", 2, "9", true, "[0, 0, 9]"},
    {"ByteWraps", "Vals", 0, "257", true, "[1, 0, 0]"},
    {"WholeArrayTakesNoNumber", "Vals", -1, "3", false, "an array takes a value per element"},
    {"ElementPastTheEnd", "Vals", 3, "3", false, "no such element"},
    {"TextIntoANumber", "total", -1, "\"x\"", false, "only a CHAR or BYTE array takes a text"},
    {"NotANumber", "total", -1, "12abc", false, "not a number: 12abc"},
    {"UnknownVariable", "nothing", -1, "1", false, "no variable nothing"},
};

class SetVariable : public testing::TestWithParam<SetCase> { };

TEST_P(SetVariable, ChangesTheValueOrSaysWhyNot)
{
    const SetCase &c = GetParam();
    Session s;
    s.Debugger().SetBreakpoints("prog.bas", {{9, "", 0}});
    s.Start();
    s.Stop();
    std::string error;
    EXPECT_EQ(s.Debugger().SetVariable(c.variable, c.element, c.value, error), c.ok);
    EXPECT_EQ(c.ok ? s.Value(c.variable) : error, c.after);
}

INSTANTIATE_TEST_SUITE_P(Debugger, SetVariable, testing::ValuesIn(kSets), simtest::CaseName<SetCase>);

TEST(Debugger, AChangedVariableIsWhatTheProgramGoesOnWith)
{
    Session s;
    s.Debugger().SetBreakpoints("prog.bas", {{12, "", 0}});
    s.Start();
    s.Stop();
    std::string error;
    ASSERT_TRUE(s.Debugger().SetVariable("total", -1, "1000", error)) << error;
    s.Debugger().Continue();
    EXPECT_EQ(s.Output(), "1000\r\n");
}

struct EvalCase {
    const char *text;
    bool ok;
    const char *result;
};

const EvalCase kEvals[] = {
    {"total", true, "15"},
    {"TOTAL * 2 + 1", true, "31"},
    {"count = 6", true, "-1"},
    {"Name", true, "\"Velmo\""},
    {"total / 0", false, "runtime error in the expression"},
    {"total +", false, "Factor expected."},
    {"a : b", false, "one expression only"},
};

TEST(Debugger, EvaluatesNamesAndExpressions)
{
    Session s;
    s.Debugger().SetBreakpoints("prog.bas", {{14, "", 0}});
    s.Start();
    s.Stop();
    for (const EvalCase &c : kEvals) {
        std::string value, error;
        EXPECT_EQ(s.Debugger().Evaluate(c.text, value, error), c.ok) << c.text;
        EXPECT_EQ(c.ok ? value : error, c.result) << c.text;
    }
}

// --- Pausing, running to a line, errors ------------------------------------------

TEST(Debugger, PauseStopsAProgramWaitingForInput)
{
    Session s("BYTE a\nPRINT \"go\"\nINPUT a\nPRINT a\n");
    s.Start();
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    s.Debugger().Pause();
    const StopEvent e = s.Stop();
    EXPECT_EQ(static_cast<int>(e.reason), static_cast<int>(StopReason::kPause));
    EXPECT_EQ(Where(s, e), "prog.bas(3)");
}

TEST(Debugger, PauseStopsAComputingProgram)
{
    Session s("LONG n\nDO\n  n = n + 1\nLOOP\n");
    s.Start();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    s.Debugger().Pause();
    const StopEvent e = s.Stop();
    EXPECT_EQ(static_cast<int>(e.reason), static_cast<int>(StopReason::kPause));
    EXPECT_TRUE(Where(s, e) == "prog.bas(3)" || Where(s, e) == "prog.bas(4)") << Where(s, e);
    EXPECT_NE(s.Value("n"), "0");
}

TEST(Debugger, RunToALine)
{
    Session s;
    s.Start(true);
    s.Stop();
    std::string error;
    ASSERT_TRUE(s.Debugger().RunTo("prog.bas", 12, error)) << error;
    EXPECT_EQ(Where(s, s.Stop()), "prog.bas(12)");
    EXPECT_EQ(s.Value("total"), "15");
    EXPECT_FALSE(s.Debugger().RunTo("prog.bas", 40, error));
}

TEST(Debugger, RuntimeErrorStopsWithItsTextAtItsSourceLine)
{
    Session s("' error\nBYTE a, b\na = 1\nGOSUB AddUp\nPRINT a / b\nEND\nAddUp:\nRETURN\n");
    s.Start();
    const StopEvent e = s.Stop();
    EXPECT_EQ(static_cast<int>(e.reason), static_cast<int>(StopReason::kException));
    EXPECT_EQ(e.text, "Division by zero");
    EXPECT_EQ(Where(s, e), "prog.bas(5)");
    EXPECT_EQ(s.Value("a"), "1");
    s.Debugger().Continue();
    EXPECT_EQ(s.Output(), "Error: Division by zero in line 4.\r\n");
}

TEST(Debugger, TerminateEndsAStoppedProgram)
{
    Session s;
    s.Debugger().SetBreakpoints("prog.bas", {{9, "", 0}});
    s.Start();
    s.Stop();
    s.Debugger().Terminate();
    EXPECT_EQ(s.Output(), "");
}

} // namespace
