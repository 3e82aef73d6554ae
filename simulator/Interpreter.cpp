#include "Interpreter.h"

#include "Debugger.h"
#include "TokenTable.h"

#include <algorithm>
#include <climits>

namespace velsim {

CInterpreter::CInterpreter(const CProgram &program, CMachine &machine, CSerialLine &line,
                           const InterpreterLimits &limits)
    : m_program(program)
    , m_machine(machine)
    , m_line(line)
    , m_limits(limits)
    , m_vars(limits.dataMemory)
{
}

CInterpreter::Outcome CInterpreter::Run()
{
    m_vars.Reset(m_program.m_varCount);
    m_code.Reset(m_program.m_stmts.size());
    m_loops.assign(static_cast<size_t>(m_program.m_loopSlots), LoopState());
    m_gosubs.clear();
    m_pc = 0;
    m_dataPos = 0;
    m_err = 0;
    m_column = 0;
    m_skipLf = false;
    m_budget = kCheckInterval;
    m_steps = 0;
    const std::vector<Stmt> &stmts = m_program.m_stmts;
    const size_t count = stmts.size();
    try {
        while (m_pc < count) {
            CountStep();
            if (--m_budget == 0)
                CheckLine();
            if (m_debug && !m_debug->BeforeStatement(m_pc))
                throw Stop{Outcome::kQuit};
            m_next = m_pc + 1;
            ++m_executed;
            if (const CodeStep *steps = m_code.Statement(m_pc))
                RunSteps(steps); // a translated assignment, INC or DEC
            else
                Execute(stmts[m_pc]);
            m_pc = m_next;
        }
        return Outcome::kEnded;
    } catch (const Fault &fault) {
        m_error = fault.error;
        m_errorLine = m_program.LineNumberOf(static_cast<int>(m_pc));
        const std::string lead = m_column > 0 ? "\r\n" : "";
        m_line.Write(lead + RunErrorLine(m_error, m_errorLine));
        if (m_debug)
            m_debug->OnError(RunErrorText(m_error), m_pc);
        return Outcome::kError;
    } catch (const Stop &stop) {
        return stop.outcome;
    }
}

bool CInterpreter::Evaluate(const Expr &e, Value &value)
{
    try {
        value = Eval(e);
        return true;
    } catch (const Fault &) {
        return false;
    }
}

void CInterpreter::CheckLine()
{
    m_budget = kCheckInterval;
    m_line.Pump(0);
    ThrowIfInterrupted();
}

void CInterpreter::WaitRound(int64_t timeoutMs)
{
    CountStep();
    if (!m_machine.m_clock.Stepped()) {
        m_line.Pump(static_cast<int>(std::min<int64_t>(timeoutMs, INT_MAX)));
        return;
    }
    m_line.Pump(0);
    m_machine.m_clock.Advance(timeoutMs < 0 ? kConditionPollMs : timeoutMs);
}

void CInterpreter::ThrowIfInterrupted() const
{
    if (m_line.ResetRequested())
        throw Stop{Outcome::kReset};
    if (m_line.QuitRequested())
        throw Stop{Outcome::kQuit};
}

bool CInterpreter::WaitFor(const std::function<bool()> &ready, int64_t deadline, int stepMs, bool needsInput)
{
    for (;;) {
        ThrowIfInterrupted();
        if (m_debug && !m_debug->InWait(m_pc))
            throw Stop{Outcome::kQuit};
        if (ready())
            return true;
        const int64_t now = m_machine.m_clock.Millis();
        if (deadline >= 0 && now >= deadline)
            return false;
        if (needsInput && deadline < 0 && m_line.InputClosed())
            throw Stop{Outcome::kInputEnded};
        int64_t timeout = stepMs;
        if (deadline >= 0 && (timeout < 0 || deadline - now < timeout))
            timeout = deadline - now;
        if (m_debug && (timeout < 0 || timeout > kDebugPollMs))
            timeout = kDebugPollMs; // a pause must not wait for the input
        WaitRound(timeout);
    }
}

int64_t CInterpreter::Deadline(const Arg *timeout)
{
    if (!timeout || timeout->kind != ArgKind::kExpr)
        return -1;
    const int64_t ms = std::max<int32_t>(0, Eval(*timeout->expr).AsInt());
    return m_machine.m_clock.Millis() + ms;
}

void CInterpreter::Execute(const Stmt &s)
{
    switch (s.kind) {
    case StmtKind::kAssign:
        Assign(s);
        break;
    case StmtKind::kDeclare:
        Declare(s);
        break;
    case StmtKind::kAssignText:
        AssignText(s);
        break;
    case StmtKind::kAssignList:
        AssignList(s);
        break;
    case StmtKind::kIncDec:
        IncDec(s);
        break;
    case StmtKind::kSysAssign:
        if (s.sys.sym == symERR)
            m_err = Eval(*s.e1).AsInt();
        else
            m_machine.m_hardware.Write(s.sys.sym, s.sys.suffix, Eval(*s.e1).AsInt());
        break;
    case StmtKind::kIfBlock:
        if (!Holds(m_pc, *s.e1))
            m_next = static_cast<size_t>(Branch(s.jump));
        break;
    case StmtKind::kIfLine:
    case StmtKind::kIfJump:
        if (!Holds(m_pc, *s.e1))
            m_next = static_cast<size_t>(s.jump);
        break;
    case StmtKind::kElsif:
    case StmtKind::kElse:
        m_next = static_cast<size_t>(s.jump2) + 1; // a branch has run: leave the block
        break;
    case StmtKind::kFor:
        For(s);
        break;
    case StmtKind::kNext:
        Next(s);
        break;
    case StmtKind::kWhile:
        if (!Holds(m_pc, *s.e1))
            m_next = static_cast<size_t>(s.jump) + 1;
        break;
    case StmtKind::kWend:
        m_next = static_cast<size_t>(s.jump);
        break;
    case StmtKind::kLoop: // back to the statement after DO
    case StmtKind::kExit: // on after the loop's end
        m_next = static_cast<size_t>(s.jump) + 1;
        break;
    case StmtKind::kOn:
        On(s);
        break;
    case StmtKind::kGoto:
        m_next = static_cast<size_t>(Target(s, 0));
        break;
    case StmtKind::kGosub:
        Gosub(Target(s, 0));
        break;
    case StmtKind::kReturn:
        Return();
        break;
    case StmtKind::kEnd:
        m_next = m_program.m_stmts.size();
        break;
    case StmtKind::kDevice:
        DeviceStatement(s);
        break;
    case StmtKind::kEndif:
    case StmtKind::kDo:
        break;
    }
}

void CInterpreter::Declare(const Stmt &s)
{
    const VarType type = TypeOfKeyword(s.sym);
    for (const VarDeclaration &decl : s.decls) {
        if (!m_vars.Declare(decl.var, type, decl.length))
            throw Fault{RunError::kDataMemory};
    }
}

void CInterpreter::AssignText(const Stmt &s)
{
    const Variable &v = Var(s.target.var);
    if (v.type == VarType::kChar || v.type == VarType::kByte) {
        m_vars.SetText(v, s.text);
        return;
    }
    for (size_t i = 0; i < s.text.size() && i < static_cast<size_t>(v.Elements()); ++i)
        m_vars.Store(v, static_cast<int>(i), Value::Int(static_cast<uint8_t>(s.text[i])));
}

void CInterpreter::AssignList(const Stmt &s)
{
    const Variable &v = Var(s.target.var);
    if (s.list.size() > static_cast<size_t>(v.Elements()))
        throw Fault{RunError::kIndexOutOfRange};
    for (size_t i = 0; i < s.list.size(); ++i)
        m_vars.Store(v, static_cast<int>(i), Eval(*s.list[i]));
}

namespace {

// Whether a counter has passed the limit of its loop.
bool Past(const Value &counter, const Value &limit, const Value &step)
{
    if (!counter.real && !limit.real && !step.real)
        return step.i >= 0 ? counter.i > limit.i : counter.i < limit.i;
    return step.AsReal() >= 0 ? counter.AsReal() > limit.AsReal() : counter.AsReal() < limit.AsReal();
}

} // namespace

void CInterpreter::For(const Stmt &s)
{
    Store(s.target, Eval(*s.e1));
    LoopState &loop = m_loops[static_cast<size_t>(s.slot)];
    loop.limit = Eval(*s.e2);
    loop.step = s.e3 ? Eval(*s.e3) : Value::Int(1);
    loop.active = true;
    if (Past(Load(s.target), loop.limit, loop.step))
        m_next = static_cast<size_t>(s.jump) + 1;
}

void CInterpreter::Next(const Stmt &s)
{
    const Stmt &loopStmt = m_program.m_stmts[static_cast<size_t>(s.jump)];
    const LoopState &loop = m_loops[static_cast<size_t>(loopStmt.slot)];
    if (!loop.active)
        throw Fault{RunError::kNoFor};
    if (!loop.step.real && !loop.limit.real && NextWhole(loopStmt.target, loop, static_cast<size_t>(s.jump) + 1))
        return;
    const Value next = Value::Real(Load(loopStmt.target).AsReal() + loop.step.AsReal());
    const bool past = Past(next, loop.limit, loop.step);
    Store(loopStmt.target, next);
    if (!past)
        m_next = static_cast<size_t>(s.jump) + 1;
}

// NEXT on a whole-number counter with a whole-number limit and step; false
// (and nothing done) for a FLOAT counter. Compared before the counter
// wraps, so FOR b = 1 TO 255 ends on a BYTE.
bool CInterpreter::NextWhole(const VarRef &target, const LoopState &loop, size_t body)
{
    const int32_t step = loop.step.i;
    const Variable &v = Var(target.var);
    const int element = Element(v, target.index);
    int32_t counter;
    if (!m_vars.LoadInteger(v, element, counter))
        return false;
    const int64_t next = static_cast<int64_t>(counter) + step;
    m_vars.StoreInteger(v, element, WrapAdd(counter, step));
    if (step >= 0 ? next <= loop.limit.i : next >= loop.limit.i)
        m_next = body;
    return true;
}

int CInterpreter::Branch(int branch)
{
    for (;;) {
        const Stmt &s = m_program.m_stmts[static_cast<size_t>(branch)];
        if (s.kind != StmtKind::kElsif || Holds(static_cast<size_t>(branch), *s.e1))
            return branch + 1;
        branch = s.jump;
    }
}

int CInterpreter::Target(const Stmt &s, size_t which) const
{
    const int target = s.targets[which];
    if (target < 0)
        throw Fault{RunError::kMissingLine};
    return target;
}

void CInterpreter::Gosub(int target)
{
    if (m_gosubs.size() >= static_cast<size_t>(m_limits.gosubDepth))
        throw Fault{RunError::kGosubOverflow};
    m_gosubs.push_back(static_cast<int>(m_pc + 1));
    m_next = static_cast<size_t>(target);
}

void CInterpreter::Return()
{
    if (m_gosubs.empty())
        throw Fault{RunError::kReturnWithoutGosub};
    m_next = static_cast<size_t>(m_gosubs.back());
    m_gosubs.pop_back();
}

void CInterpreter::On(const Stmt &s)
{
    const int32_t choice = Eval(*s.e1).AsInt();
    if (choice < 1 || static_cast<size_t>(choice) > s.targets.size())
        return; // no label for this value: go on with the next statement
    const int target = Target(s, static_cast<size_t>(choice) - 1);
    if (s.sym == symGOSUB)
        Gosub(target);
    else
        m_next = static_cast<size_t>(target);
}

} // namespace velsim
