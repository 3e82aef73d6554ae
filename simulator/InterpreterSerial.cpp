// The statements of the serial line, the file store and the data list:
// PRINT, INPUT, GET, PUT, FIND, WAIT, PAUSE, OPEN, CLOSE, FLUSH, READ,
// RESTORE. A device number that names an open file means that file; any
// other device number, and no device at all, means the serial line.
#include "Interpreter.h"

#include "TokenTable.h"

#include <algorithm>
#include <cstdio>

namespace velsim {

namespace {

constexpr int32_t kMaxPad = 255; // TAB and SPC move at most this far
constexpr int32_t kErrTimeout = 1; // ERR after a device operation that timed out
constexpr int32_t kErrFile = 2; // ERR after a file that could not be used

std::vector<std::string> Fields(const std::string &line, size_t count)
{
    std::vector<std::string> fields;
    if (count <= 1)
        return {line};
    size_t start = 0;
    while (fields.size() + 1 < count) {
        const size_t comma = line.find(',', start);
        if (comma == std::string::npos)
            break;
        fields.push_back(line.substr(start, comma - start));
        start = comma + 1;
    }
    fields.push_back(line.substr(std::min(start, line.size())));
    return fields;
}

} // namespace

CInterpreter::Device CInterpreter::DeviceOf(const Stmt &s)
{
    if (!s.device)
        return std::nullopt;
    const int32_t number = Eval(*s.device).AsInt();
    return m_machine.m_files.IsOpen(number) ? Device(number) : std::nullopt;
}

void CInterpreter::Output(const Device &device, const std::string &bytes)
{
    if (device) {
        m_err = m_machine.m_files.Write(*device, bytes) ? 0 : kErrFile;
        return;
    }
    for (const char c : bytes)
        m_column = c == '\r' || c == '\n' ? 0 : m_column + 1;
    if (m_machine.m_display.Active())
        m_machine.m_display.Write(bytes);
    if (!m_line.Write(bytes))
        ThrowIfInterrupted();
}

void CInterpreter::Echo(const std::string &bytes)
{
    if (m_echo && !m_line.Write(bytes))
        ThrowIfInterrupted();
}

std::string CInterpreter::Format(const PrintItem &item, int64_t column)
{
    switch (item.kind) {
    case ItemKind::kText:
        return item.text;
    case ItemKind::kCr:
        return "\r";
    case ItemKind::kNl:
        return "\n";
    case ItemKind::kTab:
    case ItemKind::kSpc: {
        const int32_t n = std::clamp(Eval(*item.expr).AsInt(), 0, kMaxPad);
        const int64_t pad = item.kind == ItemKind::kSpc ? n : std::max<int64_t>(0, n - column);
        return std::string(static_cast<size_t>(pad), ' ');
    }
    case ItemKind::kChr:
        return std::string(1, static_cast<char>(Eval(*item.expr).AsInt()));
    case ItemKind::kHex: {
        char text[16];
        std::snprintf(text, sizeof text, "%X", static_cast<uint32_t>(Eval(*item.expr).AsInt()));
        return text;
    }
    case ItemKind::kUsing:
        return FormatUsing(item.text, Eval(*item.expr));
    case ItemKind::kExpr:
        break;
    }
    const Expr &e = *item.expr;
    if (e.op == Op::kVar || e.op == Op::kElement) {
        // Text variables print as text, and a CHAR as its character.
        const Variable &v = Var(e.var);
        if (e.op == Op::kVar && v.length > 0 && (v.type == VarType::kChar || v.type == VarType::kByte))
            return m_vars.Text(v);
        if (v.type == VarType::kChar)
            return std::string(1, static_cast<char>(Eval(e).AsInt()));
    }
    return FormatValue(Eval(e));
}

void CInterpreter::Print(const Stmt &s)
{
    const Device device = DeviceOf(s);
    std::string text;
    int64_t column = device ? m_machine.m_files.Column(*device) : m_column;
    for (const PrintItem &item : s.items) {
        const std::string part = Format(item, column);
        for (const char c : part)
            column = c == '\r' || c == '\n' ? 0 : column + 1;
        text += part;
    }
    if (s.newline)
        text += "\r\n";
    Output(device, text);
}

std::string CInterpreter::ReadLine(const Device &device)
{
    std::string line;
    if (device) {
        for (int c; (c = m_machine.m_files.Read(*device)) >= 0 && c != '\n';) {
            if (c != '\r' && line.size() < kMaxInputLine)
                line += static_cast<char>(c);
        }
        return line;
    }
    for (;;) {
        const bool got = WaitFor([this] { return m_line.Available() > 0 || m_line.InputClosed(); }, -1, -1, true);
        if (!got || m_line.Available() == 0) {
            if (line.empty())
                throw Stop{Outcome::kInputEnded};
            return line; // the last line, without its end
        }
        const int c = m_line.Read();
        const bool skip = c == '\n' && m_skipLf;
        m_skipLf = false;
        if (skip)
            continue;
        if (c == '\r' || c == '\n') {
            m_skipLf = c == '\r';
            Echo("\r\n");
            m_column = 0;
            return line;
        }
        if (c == 0x08 || c == 0x7F) {
            if (!line.empty()) {
                line.pop_back();
                Echo("\b \b");
            }
        } else if (line.size() < kMaxInputLine) {
            line += static_cast<char>(c);
            Echo(std::string(1, static_cast<char>(c)));
        }
    }
}

void CInterpreter::Input(const Stmt &s)
{
    const Device device = DeviceOf(s);
    if (s.args[0].kind == ArgKind::kText)
        Output(device, s.args[0].text);
    const std::vector<VarRef> &vars = s.args[1].vars;
    const std::vector<std::string> fields = Fields(ReadLine(device), vars.size());
    for (size_t i = 0; i < vars.size(); ++i)
        SetText(vars[i], i < fields.size() ? fields[i] : std::string());
    m_err = 0;
}

int CInterpreter::ReadByte(const Device &device, int64_t deadline)
{
    if (device)
        return m_machine.m_files.Read(*device);
    if (!WaitFor([this] { return m_line.Available() > 0; }, deadline, -1, true))
        return -1;
    return m_line.Read();
}

void CInterpreter::Get(const Stmt &s)
{
    const Device device = DeviceOf(s);
    const VarRef &target = s.args[0].var;
    const int32_t count = s.args.size() > 1 ? std::max<int32_t>(0, Eval(*s.args[1].expr).AsInt()) : 1;
    const int64_t deadline = Deadline(s.args.size() > 2 ? &s.args[2] : nullptr);
    const Variable &v = Var(target.var);
    const bool whole = !target.index && v.length > 0;
    m_err = 0;
    for (int32_t i = 0; i < count; ++i) {
        const int byte = ReadByte(device, deadline);
        if (byte < 0) {
            m_err = kErrTimeout;
            return;
        }
        if (!whole)
            Store(target, Value::Int(byte));
        else if (i < v.Elements())
            m_vars.Store(v, i, Value::Int(byte));
    }
}

// PUT sends a whole array as the bytes of its memory (the first `count` of
// them), a value as its low byte, or as its `count` low bytes, least
// significant first.
void CInterpreter::Put(const Stmt &s)
{
    const Device device = DeviceOf(s);
    const Expr &e = *s.args[0].expr;
    const bool hasCount = s.args.size() > 1;
    const int32_t count = hasCount ? std::max<int32_t>(0, Eval(*s.args[1].expr).AsInt()) : -1;
    std::string bytes;
    if (e.op == Op::kVar && Var(e.var).length > 0) {
        const std::vector<uint8_t> memory = BytesOf(VarRef{e.var, nullptr});
        const size_t n = count < 0 ? memory.size() : std::min(memory.size(), static_cast<size_t>(count));
        bytes.assign(memory.begin(), memory.begin() + static_cast<std::ptrdiff_t>(n));
    } else {
        const uint32_t value = static_cast<uint32_t>(Eval(e).AsInt());
        const int32_t n = count < 0 ? 1 : std::min(count, 4);
        for (int32_t i = 0; i < n; ++i)
            bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
    }
    Output(device, bytes);
}

void CInterpreter::JumpToLabel(const Arg &label)
{
    const int target = m_program.StmtOfLine(label.label);
    if (target < 0)
        throw Fault{RunError::kMissingLine};
    m_next = static_cast<size_t>(target);
}

// FIND waits until the text has arrived; WAIT until its condition holds.
// After the time-out ERR is 1 and the program goes on at the label if one
// is given.
void CInterpreter::Find(const Stmt &s)
{
    const Device device = DeviceOf(s);
    const std::string &wanted = s.args[0].text;
    const int64_t deadline = Deadline(s.args.size() > 1 ? &s.args[1] : nullptr);
    std::string seen;
    m_err = 0;
    while (seen.size() < wanted.size() || seen.compare(seen.size() - wanted.size(), wanted.size(), wanted) != 0) {
        const int byte = ReadByte(device, deadline);
        if (byte < 0) {
            m_err = kErrTimeout;
            if (s.args.size() > 2)
                JumpToLabel(s.args[2]);
            return;
        }
        seen += static_cast<char>(byte);
        if (seen.size() > wanted.size())
            seen.erase(0, seen.size() - wanted.size());
    }
}

void CInterpreter::Wait(const Stmt &s)
{
    const Expr &condition = *s.args[0].expr;
    const int64_t deadline = Deadline(s.args.size() > 1 ? &s.args[1] : nullptr);
    m_err = 0;
    if (WaitFor([&] { return Eval(condition).IsTrue(); }, deadline, kConditionPollMs, false))
        return;
    m_err = kErrTimeout;
    if (s.args.size() > 2)
        JumpToLabel(s.args[2]);
}

void CInterpreter::Pause(const Stmt &s)
{
    const int64_t ms = std::max<int32_t>(0, Eval(*s.args[0].expr).AsInt());
    WaitFor([] { return false; }, m_machine.m_clock.Millis() + ms, -1, false);
}

void CInterpreter::Open(const Stmt &s)
{
    const int32_t device = Eval(*s.args[0].expr).AsInt();
    const int32_t mode = s.args.size() > 2 ? Eval(*s.args[2].expr).AsInt() : 0;
    m_err = m_machine.m_files.Open(device, s.args[1].text, mode) ? 0 : kErrFile;
}

void CInterpreter::Close(const Stmt &s)
{
    if (s.device)
        m_machine.m_files.Close(Eval(*s.device).AsInt());
    else
        m_machine.m_files.CloseAll();
}

// FLUSH on the serial line drops what has been received and not read.
void CInterpreter::Flush(const Stmt &s)
{
    if (!DeviceOf(s))
        m_line.DiscardInput();
}

void CInterpreter::Read(const Stmt &s)
{
    for (const VarRef &ref : s.args[0].vars) {
        if (static_cast<size_t>(m_dataPos) >= m_program.m_data.size())
            throw Fault{RunError::kOutOfData};
        const DataItem &item = m_program.m_data[static_cast<size_t>(m_dataPos++)];
        if (item.expr)
            Store(ref, Eval(*item.expr));
        else
            SetText(ref, item.text);
    }
}

void CInterpreter::Restore(const Stmt &s)
{
    m_dataPos = m_program.DataOfLine(s.args[0].label);
}

} // namespace velsim
