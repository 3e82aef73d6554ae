// What the debugger shows of a program that stands: its GOSUB stack, its
// variables under their source names and the virtual hardware.
#include "Debugger.h"

#include "Interpreter.h"
#include "Machine.h"
#include "VariableText.h"

#include "TokenTable.h"

namespace velsim {

namespace {

// The hardware group: a family of system variables and how many members it has.
struct HardwareFamily {
    const char *name;
    int first;
    int count;
};

constexpr HardwareFamily kHardware[] = {
    {"PORT", symPORT0, CVirtualHardware::kPorts},
    {"PWM", symPWM0, CVirtualHardware::kPwms},
    {"ADC", symADC0, CVirtualHardware::kAdcs},
    {"TIMER", symTIMER0, 4},
    {"COUNTER", symCOUNTER0, CVirtualHardware::kCounters},
};

} // namespace

FrameInfo CDebugger::FrameAt(size_t pc) const
{
    FrameInfo frame;
    frame.imageLine = pc < m_program.m_stmts.size() ? m_program.LineNumberOf(static_cast<int>(pc)) : 0;
    frame.place = m_map.PlaceOf(frame.imageLine);
    frame.name = "main";
    for (const velmo::lang::MapLabel &label : m_map.Map().labels) {
        if (label.imageLine <= frame.imageLine)
            frame.name = label.name;
    }
    return frame;
}

// The innermost frame first; a frame below it stands at its GOSUB.
std::vector<FrameInfo> CDebugger::Frames() const
{
    std::vector<FrameInfo> frames;
    if (!m_interpreter)
        return frames;
    frames.push_back(FrameAt(m_interpreter->Pc()));
    const std::vector<int> &gosubs = m_interpreter->Gosubs();
    for (auto it = gosubs.rbegin(); it != gosubs.rend(); ++it)
        frames.push_back(FrameAt(static_cast<size_t>(*it - 1)));
    frames.back().name = "main";
    return frames;
}

std::vector<VariableInfo> CDebugger::Variables() const
{
    std::vector<VariableInfo> vars;
    if (!m_interpreter)
        return vars;
    const CDataMemory &memory = m_interpreter->Memory();
    for (const velmo::lang::MapVariable &mapVar : m_map.Map().variables) {
        const Variable *var = memory.Find(CSourceMap::VariableNumber(mapVar));
        VariableInfo info{mapVar.name, mapVar.type, mapVar.length, VariableText(memory, var), var != nullptr, {}};
        for (int i = 0; var && i < var->length; ++i)
            info.elements.push_back(ElementText(memory, *var, i));
        vars.push_back(std::move(info));
    }
    return vars;
}

std::vector<HardwareInfo> CDebugger::Hardware() const
{
    std::vector<HardwareInfo> items;
    const CVirtualHardware &hardware = m_machine.m_hardware;
    for (const HardwareFamily &family : kHardware) {
        for (int i = 0; i < family.count; ++i)
            items.push_back({family.name + std::to_string(i), std::to_string(hardware.Read(family.first + i, -1))});
    }
    items.push_back({"TIME (ms)", std::to_string(m_machine.m_clock.Millis())});
    for (int row = 0; row < CVirtualDisplay::kRows; ++row)
        items.push_back({"DISPLAY row " + std::to_string(row), "\"" + m_machine.m_display.Row(row) + "\""});
    return items;
}

bool CDebugger::SetVariable(const std::string &name, int element, const std::string &value, std::string &error)
{
    const velmo::lang::MapVariable *mapVar = m_map.Map().FindVariable(name);
    if (!mapVar || !m_interpreter) {
        error = "no variable " + name;
        return false;
    }
    CDataMemory &memory = m_interpreter->Memory();
    const Variable *var = memory.Find(CSourceMap::VariableNumber(*mapVar));
    if (!var) {
        error = name + " is not declared yet";
        return false;
    }
    return SetVariableText(memory, *var, element, value, error);
}

bool CDebugger::Evaluate(const std::string &text, std::string &value, std::string &error)
{
    if (const velmo::lang::MapVariable *mapVar = m_map.Map().FindVariable(text); mapVar && m_interpreter) {
        const CDataMemory &memory = m_interpreter->Memory();
        value = VariableText(memory, memory.Find(CSourceMap::VariableNumber(*mapVar)));
        return true;
    }
    if (!m_compiler || !m_interpreter) {
        error = "expressions cannot be compiled here";
        return false;
    }
    const CompiledExpr expr = m_compiler(text, error);
    Value result;
    if (!expr.expr)
        return false;
    if (!m_interpreter->Evaluate(*expr.expr, result)) {
        error = "runtime error in the expression";
        return false;
    }
    value = FormatValue(result);
    return true;
}

} // namespace velsim
