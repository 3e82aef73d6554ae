// The module's interpreter: runs a decoded program on the virtual machine
// state, with the serial line as its console. Runtime errors stop the
// program with one line on the serial line; a reset command or a stop
// request ends Run() wherever the program is, also inside a wait.
#pragma once

#include "DataMemory.h"
#include "IntegerCode.h"
#include "Machine.h"
#include "ModuleMessages.h"
#include "Program.h"
#include "SerialLine.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace velsim {

class CDebugger;

struct InterpreterLimits {
    int dataMemory = 1024; // bytes for variables
    int gosubDepth = 32; // GOSUBs that may be open at once
};

class CInterpreter {
public:
    enum class Outcome {
        kEnded, // END, or past the last line
        kError, // a runtime error; Error() and ErrorLine() tell which
        kReset, // the reset command arrived
        kQuit, // a stop request (signal, the other side gone with --once)
        kInputEnded, // waiting for input that can never come
    };

    CInterpreter(const CProgram &program, CMachine &machine, CSerialLine &line, const InterpreterLimits &limits);

    // Whether INPUT echoes what it receives (a module does; a terminal that
    // echoes itself does not need it).
    void SetEcho(bool echo)
    {
        m_echo = echo;
    }

    // Run() ends as by a stop request after this many steps (statements and
    // rounds of a wait); 0: no bound.
    void SetStepLimit(uint64_t steps)
    {
        m_stepLimit = steps;
    }

    Outcome Run();

    RunError Error() const
    {
        return m_error;
    }
    int ErrorLine() const
    {
        return m_errorLine;
    }
    uint64_t Executed() const
    {
        return m_executed;
    }
    // The program's variables, for the error report and the debugger.
    CDataMemory &Memory()
    {
        return m_vars;
    }
    // What the debugger sees while the program stands.
    void AttachDebugger(CDebugger *debugger)
    {
        m_debug = debugger;
    }
    size_t Pc() const
    {
        return m_pc;
    }
    const std::vector<int> &Gosubs() const // statements the open GOSUBs return to
    {
        return m_gosubs;
    }
    // An expression on the current variables; false on a runtime error.
    bool Evaluate(const Expr &e, Value &value);

    // Statements between two looks at the serial line while the program
    // computes.
    static constexpr int kCheckInterval = 4096;
    static constexpr size_t kMaxInputLine = 255;
    // A WAIT condition on the virtual hardware is tested this often.
    static constexpr int kConditionPollMs = 10;
    // Under the debugger a wait looks for a pause request this often.
    static constexpr int kDebugPollMs = 50;

private:
    struct Fault {
        RunError error;
    };
    struct Stop {
        Outcome outcome;
    };
    struct LoopState {
        Value limit;
        Value step;
        bool active = false;
    };
    using Device = std::optional<int32_t>; // an open file, or the serial line

    // Statements (Interpreter.cpp).
    void Execute(const Stmt &s);
    void Declare(const Stmt &s);
    void AssignText(const Stmt &s);
    void AssignList(const Stmt &s);
    void For(const Stmt &s);
    void Next(const Stmt &s);
    bool NextWhole(const VarRef &target, const LoopState &loop, size_t body);
    int Branch(int branch);
    int Target(const Stmt &s, size_t which) const;
    void Gosub(int target);
    void Return();
    void On(const Stmt &s);
    void CheckLine();
    void CountStep()
    {
        if (m_stepLimit != 0 && ++m_steps > m_stepLimit) [[unlikely]]
            throw Stop{Outcome::kQuit};
    }
    // One round of a wait: on the line for at most `timeoutMs` (-1: until
    // something happens), or at once on a stepped clock, which it advances.
    void WaitRound(int64_t timeoutMs);
    void ThrowIfInterrupted() const;
    // Waits until ready() or the deadline (ms of the clock, -1: none); false
    // on time-out. `needsInput`: only received bytes can make it ready.
    bool WaitFor(const std::function<bool()> &ready, int64_t deadline, int stepMs, bool needsInput);
    int64_t Deadline(const Arg *timeout);

    // Expressions and variables (InterpreterExpressions.cpp).
    Value Eval(const Expr &e);
    Value EvalGeneric(const Expr &e);
    // The whole-number fast path (InterpreterIntegers.cpp): false when a
    // variable read holds a FLOAT.
    bool EvalInteger(const Expr &e, int32_t &out);
    bool IntegerOperand(const Expr &e, int32_t &out);
    void Assign(const Stmt &s);
    void IncDec(const Stmt &s);
    // A condition of the statement `stmt` (an IF, ELSIF or WHILE).
    bool Holds(size_t stmt, const Expr &condition);
    // Runs a statement's translated steps: its value for a condition.
    int32_t RunSteps(const CodeStep *step);
    [[noreturn]] static void ThrowIndexOutOfRange();
    Value Arithmetic(Op op, const Value &a, const Value &b) const;
    Value Function(const Expr &e);
    Value TextFunction(const Expr &e);
    Value SystemValue(const Expr &e) const;
    const Variable &Var(int var) const
    {
        const Variable *v = m_vars.Find(var);
        if (!v) [[unlikely]]
            ThrowNotDeclared();
        return *v;
    }
    [[noreturn]] static void ThrowNotDeclared();
    [[noreturn]] static void ThrowDivisionByZero();
    static int32_t IntegerOp(Op op, int32_t x, int32_t y);
    // The element an index selects; 0 without one.
    int Element(const Variable &v, const Expr *index)
    {
        return index ? IndexedElement(v, *index) : 0;
    }
    int IndexedElement(const Variable &v, const Expr &index);
    Value Load(const VarRef &ref);
    void Store(const VarRef &ref, const Value &value);
    std::string TextOf(const VarRef &ref);
    void SetText(const VarRef &ref, const std::string &text);
    std::vector<uint8_t> BytesOf(const VarRef &ref);
    void SetBytes(const VarRef &ref, const std::vector<uint8_t> &bytes);

    // The serial line, files and data (InterpreterSerial.cpp).
    Device DeviceOf(const Stmt &s);
    void Output(const Device &device, const std::string &bytes);
    void Echo(const std::string &bytes);
    std::string Format(const PrintItem &item, int64_t column); // column: where TAB counts from
    std::string ReadLine(const Device &device);
    int ReadByte(const Device &device, int64_t deadline);
    void Assign(const VarRef &ref, const std::string &field);
    void Print(const Stmt &s);
    void Input(const Stmt &s);
    void Get(const Stmt &s);
    void Put(const Stmt &s);
    void Find(const Stmt &s);
    void Wait(const Stmt &s);
    void Pause(const Stmt &s);
    void Open(const Stmt &s);
    void Close(const Stmt &s);
    void Flush(const Stmt &s);
    void Read(const Stmt &s);
    void Restore(const Stmt &s);
    void JumpToLabel(const Arg &label);

    // The other devices (InterpreterDevices.cpp).
    void DeviceStatement(const Stmt &s);
    std::vector<int32_t> Numbers(const Stmt &s);
    int32_t Number(const Stmt &s, size_t arg, int32_t absent = 0);
    void Setting(const Stmt &s);
    void Sound(const Stmt &s);
    void LoadStore(const Stmt &s);
    void Poke(const Stmt &s);
    void I2c(const Stmt &s);
    void Spi(const Stmt &s);
    void Network(const Stmt &s);
    void Modem(const Stmt &s);
    void Display(const Stmt &s);
    void Graphics(const Stmt &s);
    void NotSimulated(const Stmt &s);

    const CProgram &m_program;
    CMachine &m_machine;
    CSerialLine &m_line;
    InterpreterLimits m_limits;
    CDataMemory m_vars;
    CIntegerCode m_code; // translated on the first run of each statement
    std::vector<LoopState> m_loops;
    std::vector<int> m_gosubs;
    size_t m_pc = 0;
    size_t m_next = 0;
    int m_budget = kCheckInterval;
    uint64_t m_executed = 0;
    uint64_t m_stepLimit = 0;
    uint64_t m_steps = 0;
    int m_dataPos = 0;
    int32_t m_err = 0;
    int64_t m_column = 0; // of the serial output, for TAB
    bool m_skipLf = false; // the last input line ended in CR
    bool m_echo = true;
    RunError m_error = RunError::kDivisionByZero;
    int m_errorLine = 0;
    CDebugger *m_debug = nullptr;
};

} // namespace velsim
