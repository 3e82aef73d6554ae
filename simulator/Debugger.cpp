#include "Debugger.h"

#include "Interpreter.h"

#include "lang/CharClass.h"

#include <algorithm>
#include <chrono>

namespace velsim {

struct CDebugger::Breakpoint {
    int id = 0;
    int file = -1; // -1: a label breakpoint
    int stmt = 0;
    CompiledExpr condition;
    int hitCount = 0;
    int hits = 0;
};

struct CDebugger::Watch {
    int id = 0;
    std::string name;
    int var = -1;
    std::vector<uint8_t> last; // the bytes at the last look; empty while undeclared
};

CDebugger::CDebugger(const CProgram &program, CMachine &machine, const CSourceMap &map)
    : m_program(program)
    , m_machine(machine)
    , m_map(map)
    , m_stopAt(std::make_unique<std::atomic<uint8_t>[]>(program.m_stmts.size() + 1))
{
}

CDebugger::~CDebugger() = default;

void CDebugger::Attach(CInterpreter &interpreter)
{
    m_interpreter = &interpreter;
    interpreter.AttachDebugger(this);
}

// --- Breakpoints --------------------------------------------------------------

int CDebugger::StatementOf(int imageLine) const
{
    const int stmt = m_program.StmtOfLine(imageLine);
    return stmt >= 0 && static_cast<size_t>(stmt) < m_program.m_stmts.size() ? stmt : -1;
}

std::vector<BreakpointAnswer> CDebugger::SetBreakpoints(const std::string &file,
                                                        const std::vector<BreakpointRequest> &requests)
{
    const int fileIndex = m_map.Map().FileIndex(file);
    std::vector<BreakpointAnswer> answers;
    std::vector<Breakpoint> added;
    for (const BreakpointRequest &request : requests) {
        BreakpointAnswer answer{m_nextId++, false, request.line, ""};
        const velmo::lang::MapLine *line = m_map.Map().FirstLineAtOrAfter(fileIndex, request.line);
        const int stmt = line ? StatementOf(line->imageLine) : -1;
        Breakpoint bp{answer.id, fileIndex, stmt, {}, request.hitCount, 0};
        if (fileIndex < 0) {
            answer.message = "no statement of the program comes from " + file;
        } else if (stmt < 0) {
            answer.message = "no statement at or after line " + std::to_string(request.line);
        } else if (!request.condition.empty() &&
                   !(m_compiler && (bp.condition = m_compiler(request.condition, answer.message)).expr)) {
            answer.message = "condition: " + (m_compiler ? answer.message : std::string("not available"));
        } else {
            answer.verified = true;
            answer.line = line->sourceLine;
            if (line->sourceLine != request.line)
                answer.message =
                    "moved to line " + std::to_string(line->sourceLine) + ", the next line with a statement";
            added.push_back(std::move(bp));
        }
        answers.push_back(answer);
    }
    std::lock_guard lock(m_mutex);
    std::erase_if(m_breakpoints, [&](const Breakpoint &bp) { return bp.file == fileIndex && bp.file >= 0; });
    for (Breakpoint &bp : added)
        m_breakpoints.push_back(std::move(bp));
    MarkStatements();
    return answers;
}

std::vector<BreakpointAnswer> CDebugger::SetLabelBreakpoints(const std::vector<std::string> &labels)
{
    std::vector<BreakpointAnswer> answers;
    std::lock_guard lock(m_mutex);
    std::erase_if(m_breakpoints, [](const Breakpoint &bp) { return bp.file < 0; });
    for (const std::string &name : labels) {
        BreakpointAnswer answer{m_nextId++, false, 0, "no label " + name};
        for (const velmo::lang::MapLabel &label : m_map.Map().labels) {
            const int stmt = StatementOf(label.imageLine);
            if (velmo::lang::EqualNoCase(label.name, name) && stmt >= 0) {
                m_breakpoints.push_back({answer.id, -1, stmt, {}, 0, 0});
                answer = {answer.id, true, m_map.PlaceOf(label.imageLine).line, ""};
                break;
            }
        }
        answers.push_back(answer);
    }
    MarkStatements();
    return answers;
}

std::vector<BreakpointAnswer> CDebugger::SetWatchpoints(const std::vector<std::string> &names)
{
    std::vector<BreakpointAnswer> answers;
    std::lock_guard lock(m_mutex);
    m_watches.clear();
    for (const std::string &name : names) {
        const velmo::lang::MapVariable *var = m_map.Map().FindVariable(name);
        answers.push_back({m_nextId++, var != nullptr, 0, var ? "" : "no variable " + name});
        if (var)
            m_watches.push_back({answers.back().id, var->name, CSourceMap::VariableNumber(*var), {}});
    }
    UpdateAttention();
    return answers;
}

// With the lock held.
void CDebugger::MarkStatements()
{
    for (size_t i = 0; i <= m_program.m_stmts.size(); ++i)
        m_stopAt[i].store(0, std::memory_order_relaxed);
    for (const Breakpoint &bp : m_breakpoints)
        m_stopAt[static_cast<size_t>(bp.stmt)].store(1, std::memory_order_relaxed);
}

// With the lock held.
void CDebugger::UpdateAttention()
{
    const bool attention =
        m_mode != Mode::kRun || m_runTo >= 0 || !m_watches.empty() || m_pauseRequested.load() || m_terminate.load();
    m_attention.store(attention, std::memory_order_relaxed);
}

// --- Control ------------------------------------------------------------------

void CDebugger::Request(Mode mode)
{
    std::lock_guard lock(m_mutex);
    m_mode = mode;
    UpdateAttention();
}

void CDebugger::Resume(Mode mode)
{
    std::lock_guard lock(m_mutex);
    m_mode = mode;
    if (m_interpreter && mode != Mode::kRun) {
        m_stepLine = LineIndexOf(m_interpreter->Pc());
        m_stepDepth = Depth();
    }
    m_stopped = false;
    UpdateAttention();
    m_changed.notify_all();
}

void CDebugger::Continue()
{
    Resume(Mode::kRun);
}

void CDebugger::StepOver()
{
    Resume(Mode::kStepOver);
}

void CDebugger::StepIn()
{
    Resume(Mode::kStepIn);
}

void CDebugger::StepOut()
{
    Resume(Mode::kStepOut);
}

bool CDebugger::RunTo(const std::string &file, int line, std::string &error)
{
    const velmo::lang::MapLine *at = m_map.Map().FirstLineAtOrAfter(m_map.Map().FileIndex(file), line);
    const int stmt = at ? StatementOf(at->imageLine) : -1;
    if (stmt < 0) {
        error = "no statement at or after " + file + "(" + std::to_string(line) + ")";
        return false;
    }
    {
        std::lock_guard lock(m_mutex);
        m_runTo = stmt;
    }
    Resume(Mode::kRun);
    return true;
}

void CDebugger::Pause()
{
    std::lock_guard lock(m_mutex);
    m_pauseRequested = true;
    UpdateAttention();
}

void CDebugger::Terminate()
{
    std::lock_guard lock(m_mutex);
    m_terminate = true;
    m_stopped = false;
    UpdateAttention();
    m_changed.notify_all();
}

void CDebugger::Finished()
{
    std::lock_guard lock(m_mutex);
    m_finished = true;
    m_changed.notify_all();
}

bool CDebugger::Stopped() const
{
    std::lock_guard lock(m_mutex);
    return m_stopped;
}

bool CDebugger::WaitForStop(StopEvent &event, int timeoutMs)
{
    std::unique_lock lock(m_mutex);
    m_changed.wait_for(lock, std::chrono::milliseconds(timeoutMs), [this] { return m_pending || m_finished; });
    if (!m_pending)
        return false;
    event = *m_pending;
    m_pending.reset();
    return true;
}

// --- The interpreter's side -----------------------------------------------------

int CDebugger::LineIndexOf(size_t pc) const
{
    return pc < m_program.m_stmts.size() ? m_program.m_stmts[pc].line : -1;
}

int CDebugger::Depth() const
{
    return m_interpreter ? static_cast<int>(m_interpreter->Gosubs().size()) : 0;
}

bool CDebugger::StepDone(size_t pc) const
{
    const int line = LineIndexOf(pc);
    const int depth = Depth();
    switch (m_mode) {
    case Mode::kEntry:
        return true;
    case Mode::kStepIn:
        return line != m_stepLine || depth != m_stepDepth;
    case Mode::kStepOver:
        return depth < m_stepDepth || (depth == m_stepDepth && line != m_stepLine);
    case Mode::kStepOut:
        return depth < m_stepDepth;
    case Mode::kRun:
        break;
    }
    return false;
}

bool CDebugger::ConditionHolds(const CompiledExpr &condition) const
{
    Value value;
    return !condition.expr || (m_interpreter->Evaluate(*condition.expr, value) && value.IsTrue());
}

// With the lock held.
bool CDebugger::BreakpointsHit(size_t pc, StopEvent &event)
{
    bool label = false;
    for (Breakpoint &bp : m_breakpoints) {
        if (static_cast<size_t>(bp.stmt) != pc || !ConditionHolds(bp.condition))
            continue;
        if (++bp.hits < bp.hitCount)
            continue;
        event.breakpoints.push_back(bp.id);
        label = label || bp.file < 0;
    }
    event.reason = label ? StopReason::kLabel : StopReason::kBreakpoint;
    return !event.breakpoints.empty();
}

// With the lock held.
bool CDebugger::WatchChanged(StopEvent &event)
{
    bool changed = false;
    for (Watch &watch : m_watches) {
        const CDataMemory &memory = m_interpreter->Memory();
        const Variable *var = memory.Find(watch.var);
        std::vector<uint8_t> now;
        if (var)
            now.assign(memory.Bytes(*var), memory.Bytes(*var) + memory.Size(*var));
        if (now != watch.last && !watch.last.empty() && !changed) {
            changed = true;
            event.reason = StopReason::kWatch;
            event.breakpoints.push_back(watch.id);
            event.text = watch.name;
        }
        watch.last = std::move(now);
    }
    return changed;
}

// With the lock held.
bool CDebugger::ShouldStop(size_t pc, StopEvent &event)
{
    if (m_pauseRequested.exchange(false)) {
        event.reason = StopReason::kPause;
        return true;
    }
    if (WatchChanged(event))
        return true;
    if (m_stopAt[pc].load(std::memory_order_relaxed) && BreakpointsHit(pc, event))
        return true;
    if (m_runTo >= 0 && static_cast<size_t>(m_runTo) == pc) {
        event.reason = StopReason::kStep;
        return true;
    }
    if (StepDone(pc)) {
        event.reason = m_mode == Mode::kEntry ? StopReason::kEntry : StopReason::kStep;
        return true;
    }
    return false;
}

bool CDebugger::Examine(size_t pc)
{
    if (m_terminate)
        return false;
    StopEvent event;
    {
        std::lock_guard lock(m_mutex);
        if (!ShouldStop(pc, event))
            return true;
    }
    StopAt(pc, std::move(event));
    return !m_terminate;
}

bool CDebugger::InWait(size_t pc)
{
    if (m_terminate)
        return false;
    if (m_pauseRequested.exchange(false)) {
        StopAt(pc, StopEvent{StopReason::kPause, 0, {}, {}, {}});
    }
    return !m_terminate;
}

void CDebugger::OnError(const std::string &text, size_t pc)
{
    if (!m_terminate)
        StopAt(pc, StopEvent{StopReason::kException, 0, {}, {}, text});
}

// Reports the stop and waits until the controlling thread lets the program go.
void CDebugger::StopAt(size_t pc, StopEvent event)
{
    event.imageLine = pc < m_program.m_stmts.size() ? m_program.LineNumberOf(static_cast<int>(pc)) : 0;
    event.place = m_map.PlaceOf(event.imageLine);
    std::unique_lock lock(m_mutex);
    m_mode = Mode::kRun;
    m_runTo = -1;
    m_stopped = true;
    m_pending = event;
    UpdateAttention();
    m_changed.notify_all();
    if (m_listener) {
        lock.unlock();
        m_listener(event);
        lock.lock();
    }
    m_changed.wait(lock, [this] { return !m_stopped || m_terminate; });
}

} // namespace velsim
