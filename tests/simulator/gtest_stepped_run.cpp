// A program on a stepped clock with a step bound, as the fuzz run executes
// images: no wait takes real time, the clock moves by exactly what the waits
// ask for, and a program that never ends stops at the bound.
#include "Decoder.h"
#include "Interpreter.h"
#include "Module.h"
#include "SimTestSupport.h"

#include <chrono>
#include <gtest/gtest.h>

namespace {

using Outcome = velsim::CInterpreter::Outcome;

struct SteppedCase {
    const char *name;
    const char *source;
    const char *input; // everything that arrives on the serial line
    uint64_t steps; // the step bound
    Outcome outcome;
    const char *output;
    friend void PrintTo(const SteppedCase &c, std::ostream *os)
    {
        *os << c.name;
    }
};

struct SteppedRun {
    Outcome outcome = Outcome::kEnded;
    std::string output;
    int64_t realMs = 0;
};

SteppedRun RunStepped(const SteppedCase &c)
{
    simtest::ScratchDir dir;
    const std::vector<uint8_t> image = simtest::CompileImage(dir, c.source);
    std::string error;
    const std::unique_ptr<velsim::CProgram> program = velsim::DecodeProgram(image, error);
    EXPECT_TRUE(program) << error;
    SteppedRun run;
    if (!program)
        return run;
    simtest::WriteAll(dir / "line.in", c.input);
    const int in = ::open((dir / "line.in").c_str(), O_RDONLY | O_CLOEXEC);
    const int out = ::open((dir / "line.out").c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    {
        velsim::InterpreterLimits limits;
        size_t capacity = 0;
        velsim::CModule::Limits("ZENTRA8", limits, capacity);
        velsim::CFdDevice device(in, out);
        velsim::CSerialLine line(device);
        velsim::CMachine machine;
        machine.m_clock.SetStepped(true);
        velsim::CInterpreter interpreter(*program, machine, line, limits);
        interpreter.SetStepLimit(c.steps);
        const auto start = std::chrono::steady_clock::now();
        run.outcome = interpreter.Run();
        line.Drain();
        run.realMs =
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
    }
    ::close(in);
    ::close(out);
    run.output = simtest::ReadAll(dir / "line.out");
    return run;
}

class SteppedClock : public testing::TestWithParam<SteppedCase> { };

TEST_P(SteppedClock, WaitsTakeNoRealTimeAndTheBoundStopsTheRun)
{
    const SteppedCase &c = GetParam();
    const SteppedRun run = RunStepped(c);
    EXPECT_EQ(run.outcome, c.outcome);
    EXPECT_EQ(run.output, c.output);
    EXPECT_LT(run.realMs, 2000);
}

const SteppedCase kStepped[] = {
    {"PauseMovesTheTimersByItsLength", "TIMER1 = 0\nPAUSE 60000\nPRINT TIMER1", "", 0, Outcome::kEnded, "60000\r\n"},
    {"PausesAddUp", "TIMER2 = 5\nPAUSE 1000\nPAUSE 250\nPRINT TIMER2", "", 0, Outcome::kEnded, "1255\r\n"},
    {"WaitOnATimerEndsWhenItIsReached", "TIMER0 = 0\nWAIT TIMER0 >= 90000\nPRINT (TIMER0 >= 90000)", "", 0,
     Outcome::kEnded, "-1\r\n"},
    {"WaitTimesOutAtItsDeadline", "TIMER3 = 0\nWAIT RXD = 3, 45000\nPRINT (ERR <> 0), \" \", TIMER3", "", 0,
     Outcome::kEnded, "-1 45000\r\n"},
    {"InputReadsTheLineFromTheInput", "CHAR s[10]\nINPUT s\nPRINT \"<\", s, \">\"", "abc\r", 0, Outcome::kEnded,
     "abc\r\n<abc>\r\n"},
    {"AnEndlessLoopStopsAtTheBound", "DO\nLOOP", "", 10000, Outcome::kQuit, ""},
    {"AnEndlessWaitStopsAtTheBound", "WAIT 0", "", 10000, Outcome::kQuit, ""},
    {"StepsBeforeTheBoundRun", "BYTE i\nFOR i = 1 TO 3\nPRINT i,\nNEXT", "", 10000, Outcome::kEnded, "123"},
};
INSTANTIATE_TEST_SUITE_P(Runs, SteppedClock, testing::ValuesIn(kStepped), simtest::CaseName<SteppedCase>);

} // namespace
