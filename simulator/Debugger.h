// The debugger of the simulated module: breakpoints on source lines (with a
// hit count and a condition), pausing, stepping by source line over, into
// and out of GOSUBs, watchpoints on variables, and a look at variables, the
// GOSUB stack and the virtual hardware while the program stands.
//
// The interpreter runs on its own thread and asks BeforeStatement() before
// each statement; when it is to stop, that call waits until a controlling
// thread (the debug adapter, a test) says how to go on. With nothing set the
// question is two loads and a test.
#pragma once

#include "Program.h"
#include "SourceMap.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace velsim {

class CInterpreter;
struct CMachine;

// An expression compiled against the program's variables, with the program
// that owns its nodes.
struct CompiledExpr {
    std::shared_ptr<const CProgram> owner;
    const Expr *expr = nullptr;
};
// Compiles a condition or expression text; an empty result with the reason.
using ExprCompiler = std::function<CompiledExpr(const std::string &text, std::string &error)>;

enum class StopReason { kEntry, kBreakpoint, kStep, kPause, kWatch, kLabel, kException };

struct StopEvent {
    StopReason reason = StopReason::kPause;
    int imageLine = 0;
    SourcePlace place;
    std::vector<int> breakpoints; // ids of the breakpoints hit
    std::string text; // an exception's message; a watchpoint's variable
};

struct BreakpointRequest {
    int line = 0; // source line asked for
    std::string condition; // "" for none
    int hitCount = 0; // stop from this hit on; 0 or 1: every hit
};

struct BreakpointAnswer {
    int id = 0;
    bool verified = false;
    int line = 0; // where it stands: the asked line, or the next line with a statement
    std::string message; // why it moved or was refused
};

struct VariableInfo {
    std::string name; // as written
    std::string type;
    int length = 0;
    std::string value; // VariableText()
    bool declared = false;
    std::vector<std::string> elements; // of an array
};

struct FrameInfo {
    std::string name; // "main" or the label the frame runs in
    int imageLine = 0;
    SourcePlace place;
};

struct HardwareInfo {
    std::string name;
    std::string value;
};

class CDebugger {
public:
    CDebugger(const CProgram &program, CMachine &machine, const CSourceMap &map);
    ~CDebugger();
    CDebugger(const CDebugger &) = delete;
    CDebugger &operator=(const CDebugger &) = delete;

    void SetExprCompiler(ExprCompiler compiler)
    {
        m_compiler = std::move(compiler);
    }
    // Called on every stop (on the interpreter's thread) before it waits.
    void SetStopListener(std::function<void(const StopEvent &)> listener)
    {
        m_listener = std::move(listener);
    }
    void Attach(CInterpreter &interpreter);
    void StopOnEntry()
    {
        Request(Mode::kEntry);
    }

    // --- Set-up (any time) ---------------------------------------------------
    std::vector<BreakpointAnswer> SetBreakpoints(const std::string &file,
                                                 const std::vector<BreakpointRequest> &requests);
    std::vector<BreakpointAnswer> SetLabelBreakpoints(const std::vector<std::string> &labels);
    // Watchpoints by source name; the answers say which were taken.
    std::vector<BreakpointAnswer> SetWatchpoints(const std::vector<std::string> &names);

    // --- Control (from the controlling thread) --------------------------------
    void Continue();
    void StepOver();
    void StepIn();
    void StepOut();
    bool RunTo(const std::string &file, int line, std::string &error);
    void Pause();
    void Terminate(); // the program stops at its next statement or wait
    bool Stopped() const;
    // Waits for the next stop; false after the time-out (ms) or at the end.
    bool WaitForStop(StopEvent &event, int timeoutMs);
    // The program ended, stopped on an error and was let go, or was terminated.
    void Finished();

    // --- The program that stands (only while Stopped()) ------------------------
    std::vector<FrameInfo> Frames() const;
    std::vector<VariableInfo> Variables() const;
    std::vector<HardwareInfo> Hardware() const;
    bool SetVariable(const std::string &name, int element, const std::string &value, std::string &error);
    // A variable's value by name, or a simple expression over the variables.
    bool Evaluate(const std::string &text, std::string &value, std::string &error);

    // --- The interpreter's side ---------------------------------------------------
    bool BeforeStatement(size_t pc)
    {
        if (!m_attention.load(std::memory_order_relaxed) && !m_stopAt[pc].load(std::memory_order_relaxed))
            return true;
        return Examine(pc);
    }
    // Inside a wait (PAUSE, WAIT, INPUT, ...): a pause stops here.
    bool InWait(size_t pc);
    // A runtime error: stops with an exception until the program is let go.
    void OnError(const std::string &text, size_t pc);

private:
    enum class Mode { kRun, kEntry, kStepIn, kStepOver, kStepOut };
    struct Breakpoint;
    struct Watch;

    bool Examine(size_t pc);
    bool ShouldStop(size_t pc, StopEvent &event);
    bool BreakpointsHit(size_t pc, StopEvent &event);
    bool StepDone(size_t pc) const;
    bool WatchChanged(StopEvent &event);
    void StopAt(size_t pc, StopEvent event);
    void Request(Mode mode);
    void Resume(Mode mode);
    void UpdateAttention();
    void MarkStatements();
    int StatementOf(int imageLine) const;
    int Depth() const;
    int LineIndexOf(size_t pc) const;
    FrameInfo FrameAt(size_t pc) const;
    bool ConditionHolds(const CompiledExpr &condition) const;

    const CProgram &m_program;
    CMachine &m_machine;
    const CSourceMap &m_map;
    CInterpreter *m_interpreter = nullptr;
    ExprCompiler m_compiler;
    std::function<void(const StopEvent &)> m_listener;

    std::unique_ptr<std::atomic<uint8_t>[]> m_stopAt; // per statement: a breakpoint is set
    std::atomic<bool> m_attention{false}; // a mode, a pause, a watch or the end asks for Examine
    std::atomic<bool> m_pauseRequested{false};
    std::atomic<bool> m_terminate{false};

    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<Breakpoint> m_breakpoints;
    std::vector<Watch> m_watches;
    Mode m_mode = Mode::kRun;
    int m_stepLine = -1; // line index where the step began
    int m_stepDepth = 0;
    int m_runTo = -1; // statement of a run-to, -1 for none
    int m_nextId = 1;
    bool m_stopped = false;
    bool m_finished = false;
    std::optional<StopEvent> m_pending; // a stop not yet taken by WaitForStop
};

} // namespace velsim
