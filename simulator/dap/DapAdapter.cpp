#include "DapAdapter.h"

#include <filesystem>
#include <unistd.h>

namespace velsim {

using nlohmann::json;

namespace {

constexpr int kThreadId = 1;
constexpr int kVariablesScope = 1;
constexpr int kHardwareScope = 2;
constexpr int kArrayBase = 1000; // variablesReference of the array at map index i: kArrayBase + i

using Handler = void (CDapAdapter::*)(const json &);

struct Command {
    const char *name;
    Handler handler;
};

constexpr Command kCommands[] = {
    {"initialize", &CDapAdapter::Initialize},
    {"launch", &CDapAdapter::Launch},
    {"setBreakpoints", &CDapAdapter::SetBreakpoints},
    {"setFunctionBreakpoints", &CDapAdapter::SetFunctionBreakpoints},
    {"dataBreakpointInfo", &CDapAdapter::DataBreakpointInfo},
    {"setDataBreakpoints", &CDapAdapter::SetDataBreakpoints},
    {"configurationDone", &CDapAdapter::ConfigurationDone},
    {"threads", &CDapAdapter::Threads},
    {"stackTrace", &CDapAdapter::StackTrace},
    {"scopes", &CDapAdapter::Scopes},
    {"variables", &CDapAdapter::Variables},
    {"setVariable", &CDapAdapter::SetVariable},
    {"evaluate", &CDapAdapter::Evaluate},
    {"continue", &CDapAdapter::Continue},
    {"next", &CDapAdapter::Next},
    {"stepIn", &CDapAdapter::StepIn},
    {"stepOut", &CDapAdapter::StepOut},
    {"pause", &CDapAdapter::Pause},
    {"disconnect", &CDapAdapter::Disconnect},
    {"terminate", &CDapAdapter::Terminate},
};

struct ReasonName {
    StopReason reason;
    const char *name;
};

constexpr ReasonName kReasons[] = {
    {StopReason::kEntry, "entry"},
    {StopReason::kBreakpoint, "breakpoint"},
    {StopReason::kStep, "step"},
    {StopReason::kPause, "pause"},
    {StopReason::kWatch, "data breakpoint"},
    {StopReason::kLabel, "function breakpoint"},
    {StopReason::kException, "exception"},
};

const char *NameOf(StopReason reason)
{
    for (const ReasonName &r : kReasons) {
        if (r.reason == reason)
            return r.name;
    }
    return "pause";
}

const json &Arguments(const json &request)
{
    static const json kNone = json::object();
    const auto it = request.find("arguments");
    return it != request.end() && it->is_object() ? *it : kNone;
}

// A hit condition as a count: "5", ">= 5" and "== 5" all stop from the fifth hit on.
int HitCount(const json &breakpoint)
{
    const std::string text = breakpoint.value("hitCondition", "");
    const size_t digit = text.find_first_of("0123456789");
    return digit == std::string::npos ? 0 : std::atoi(text.c_str() + digit);
}

} // namespace

int CDapAdapter::Serve()
{
    json request;
    while (!m_done && m_channel.Read(request)) {
        if (request.value("type", "") != "request")
            continue;
        const std::string command = request.value("command", "");
        const Command *found = nullptr;
        for (const Command &c : kCommands) {
            if (command == c.name)
                found = &c;
        }
        if (found)
            (this->*found->handler)(request);
        else
            m_channel.Fail(request, "velsim does not support " + command);
    }
    if (m_program)
        m_program->Stop();
    return 0;
}

void CDapAdapter::Initialize(const json &request)
{
    m_channel.Respond(request,
                      {{"supportsConfigurationDoneRequest", true},
                       {"supportsFunctionBreakpoints", true},
                       {"supportsConditionalBreakpoints", true},
                       {"supportsHitConditionalBreakpoints", true},
                       {"supportsDataBreakpoints", true},
                       {"supportsSetVariable", true},
                       {"supportsEvaluateForHovers", true},
                       {"supportsTerminateRequest", true}});
}

void CDapAdapter::Output(const std::string &category, const std::string &text)
{
    m_channel.Event("output", {{"category", category}, {"output", text}});
}

void CDapAdapter::Launch(const json &request)
{
    const json &args = Arguments(request);
    const std::string program = args.value("program", "");
    if (program.empty())
        return m_channel.Fail(request, "launch needs \"program\": a .hex file with its .map, or a .bas file");
    const std::string line = args.value("serialLine", "output");
    if (line != "output" && line != "pty")
        return m_channel.Fail(request, "\"serialLine\" is \"output\" or \"pty\", not \"" + line + "\"");
    m_program = std::make_unique<CDapProgram>();
    m_program->SetWholeLineOnTerminal(line == "pty");
    std::string error;
    auto console = [this](const std::string &text) { Output("console", text); };
    if (!m_program->Load(program, args.value("target", "ZENTRA8"), console, error)) {
        m_program.reset();
        return m_channel.Fail(request, program + ": " + error);
    }
    m_stopOnEntry = args.value("stopOnEntry", false);
    m_program->Debugger().SetStopListener([this](const StopEvent &event) { OnStop(event); });
    m_channel.Respond(request, {{"pty", m_program->InputPath()}});
    Output("console",
           (line == "pty" ? "velsim: the program's serial line is " : "velsim: the program reads its input from ") +
               m_program->InputPath() + "\n");
    m_channel.Event("initialized");
}

bool CDapAdapter::NeedsProgram(const json &request)
{
    if (!m_program)
        m_channel.Fail(request, "no program is launched");
    return m_program != nullptr;
}

bool CDapAdapter::NeedsStop(const json &request)
{
    if (!NeedsProgram(request))
        return false;
    if (!m_program->Debugger().Stopped())
        m_channel.Fail(request, "the program is running");
    return m_program->Debugger().Stopped();
}

std::string CDapAdapter::MapPath(const json &source) const
{
    const std::string path = source.value("path", source.value("name", ""));
    const velmo::lang::DebugMap &map = m_program->Map().Map();
    for (size_t i = 0; i < map.files.size(); ++i) {
        std::error_code ignored;
        if (std::filesystem::equivalent(m_program->Map().SourcePath(static_cast<int>(i)), path, ignored))
            return map.files[i];
    }
    return path;
}

json CDapAdapter::SourceOf(int file) const
{
    const std::string path = m_program->Map().SourcePath(file);
    if (path.empty())
        return json::object();
    std::error_code ignored;
    const std::string full = std::filesystem::weakly_canonical(path, ignored).string();
    return {{"name", std::filesystem::path(path).filename().string()}, {"path", full}};
}

json CDapAdapter::BreakpointJson(const BreakpointAnswer &answer, const json &source) const
{
    json bp = {{"id", answer.id}, {"verified", answer.verified}, {"line", answer.line}};
    if (!answer.message.empty())
        bp["message"] = answer.message;
    if (!source.is_null())
        bp["source"] = source;
    return bp;
}

void CDapAdapter::SetBreakpoints(const json &request)
{
    if (!NeedsProgram(request))
        return;
    const json &args = Arguments(request);
    const json source = args.value("source", json::object());
    std::vector<BreakpointRequest> requests;
    for (const json &bp : args.value("breakpoints", json::array()))
        requests.push_back({bp.value("line", 0), bp.value("condition", ""), HitCount(bp)});
    json list = json::array();
    for (const BreakpointAnswer &answer : m_program->Debugger().SetBreakpoints(MapPath(source), requests))
        list.push_back(BreakpointJson(answer, source));
    m_channel.Respond(request, {{"breakpoints", list}});
}

void CDapAdapter::SetFunctionBreakpoints(const json &request)
{
    if (!NeedsProgram(request))
        return;
    std::vector<std::string> labels;
    for (const json &bp : Arguments(request).value("breakpoints", json::array()))
        labels.push_back(bp.value("name", ""));
    json list = json::array();
    for (const BreakpointAnswer &answer : m_program->Debugger().SetLabelBreakpoints(labels))
        list.push_back(BreakpointJson(answer, json()));
    m_channel.Respond(request, {{"breakpoints", list}});
}

void CDapAdapter::DataBreakpointInfo(const json &request)
{
    if (!NeedsProgram(request))
        return;
    const std::string name = Arguments(request).value("name", "");
    if (!m_program->Map().Map().FindVariable(name))
        return m_channel.Respond(request, {{"dataId", nullptr}, {"description", "no variable " + name}});
    m_channel.Respond(request,
                      {{"dataId", name}, {"description", "when " + name + " changes"}, {"accessTypes", {"write"}}});
}

void CDapAdapter::SetDataBreakpoints(const json &request)
{
    if (!NeedsProgram(request))
        return;
    std::vector<std::string> names;
    for (const json &bp : Arguments(request).value("breakpoints", json::array()))
        names.push_back(bp.value("dataId", ""));
    json list = json::array();
    for (const BreakpointAnswer &answer : m_program->Debugger().SetWatchpoints(names))
        list.push_back(BreakpointJson(answer, json()));
    m_channel.Respond(request, {{"breakpoints", list}});
}

void CDapAdapter::ConfigurationDone(const json &request)
{
    if (!NeedsProgram(request))
        return;
    m_channel.Respond(request);
    if (m_started)
        return;
    m_started = true;
    m_program->Start(
        m_stopOnEntry, [this](const std::string &text) { Output("stdout", text); },
        [this](int status) {
            m_channel.Event("exited", {{"exitCode", status}});
            m_channel.Event("terminated");
        });
}

void CDapAdapter::OnStop(const StopEvent &event)
{
    m_program->SendPendingOutput(); // a stepped-over PRINT shows before the stop
    json body = {{"reason", NameOf(event.reason)}, {"threadId", kThreadId}, {"allThreadsStopped", true}};
    if (!event.breakpoints.empty())
        body["hitBreakpointIds"] = event.breakpoints;
    if (!event.text.empty()) {
        body["text"] = event.text;
        body["description"] = event.reason == StopReason::kException ? event.text : event.text + " changed";
    }
    m_channel.Event("stopped", body);
}

void CDapAdapter::Threads(const json &request)
{
    m_channel.Respond(request, {{"threads", {{{"id", kThreadId}, {"name", "module"}}}}});
}

void CDapAdapter::StackTrace(const json &request)
{
    if (!NeedsStop(request))
        return;
    json frames = json::array();
    int id = 0;
    for (const FrameInfo &frame : m_program->Debugger().Frames()) {
        frames.push_back({{"id", ++id},
                          {"name", frame.name},
                          {"line", frame.place.line},
                          {"column", 1},
                          {"source", SourceOf(frame.place.file)}});
    }
    m_channel.Respond(request, {{"stackFrames", frames}, {"totalFrames", frames.size()}});
}

void CDapAdapter::Scopes(const json &request)
{
    m_channel.Respond(request,
                      {{"scopes",
                        {{{"name", "Variables"}, {"variablesReference", kVariablesScope}, {"expensive", false}},
                         {{"name", "Hardware"}, {"variablesReference", kHardwareScope}, {"expensive", false}}}}});
}

void CDapAdapter::Variables(const json &request)
{
    if (!NeedsStop(request))
        return;
    const int ref = Arguments(request).value("variablesReference", 0);
    json list = json::array();
    const std::vector<VariableInfo> vars = m_program->Debugger().Variables();
    if (ref == kHardwareScope) {
        for (const HardwareInfo &item : m_program->Debugger().Hardware())
            list.push_back({{"name", item.name}, {"value", item.value}, {"variablesReference", 0}});
    } else if (ref == kVariablesScope) {
        for (size_t i = 0; i < vars.size(); ++i) {
            const bool expandable = !vars[i].elements.empty();
            json var = {{"name", vars[i].name},
                        {"value", vars[i].value},
                        {"type", vars[i].type + (vars[i].length ? "[" + std::to_string(vars[i].length) + "]" : "")},
                        {"variablesReference", expandable ? kArrayBase + static_cast<int>(i) : 0},
                        {"evaluateName", vars[i].name}};
            if (expandable)
                var["indexedVariables"] = vars[i].elements.size();
            list.push_back(var);
        }
    } else if (ref >= kArrayBase && static_cast<size_t>(ref - kArrayBase) < vars.size()) {
        const VariableInfo &var = vars[static_cast<size_t>(ref - kArrayBase)];
        for (size_t i = 0; i < var.elements.size(); ++i)
            list.push_back(
                {{"name", "[" + std::to_string(i) + "]"}, {"value", var.elements[i]}, {"variablesReference", 0}});
    }
    m_channel.Respond(request, {{"variables", list}});
}

void CDapAdapter::SetVariable(const json &request)
{
    if (!NeedsStop(request))
        return;
    const json &args = Arguments(request);
    const int ref = args.value("variablesReference", 0);
    std::string name = args.value("name", "");
    int element = -1;
    const std::vector<VariableInfo> vars = m_program->Debugger().Variables();
    if (ref >= kArrayBase && static_cast<size_t>(ref - kArrayBase) < vars.size()) {
        element = std::atoi(name.c_str() + (name.empty() ? 0 : 1)); // "[3]"
        name = vars[static_cast<size_t>(ref - kArrayBase)].name;
    } else if (ref != kVariablesScope) {
        return m_channel.Fail(request, "only variables can be changed");
    }
    std::string error;
    if (!m_program->Debugger().SetVariable(name, element, args.value("value", ""), error))
        return m_channel.Fail(request, error);
    std::string value;
    m_program->Debugger().Evaluate(element < 0 ? name : name + "[" + std::to_string(element) + "]", value, error);
    m_channel.Respond(request, {{"value", value}, {"variablesReference", 0}});
}

void CDapAdapter::Evaluate(const json &request)
{
    if (!NeedsStop(request))
        return;
    std::string value, error;
    if (!m_program->Debugger().Evaluate(Arguments(request).value("expression", ""), value, error))
        return m_channel.Fail(request, error);
    m_channel.Respond(request, {{"result", value}, {"variablesReference", 0}});
}

void CDapAdapter::Continue(const json &request)
{
    if (!NeedsProgram(request))
        return;
    m_channel.Respond(request, {{"allThreadsContinued", true}});
    m_program->Debugger().Continue();
}

void CDapAdapter::Next(const json &request)
{
    if (!NeedsStop(request))
        return;
    m_channel.Respond(request);
    m_program->Debugger().StepOver();
}

void CDapAdapter::StepIn(const json &request)
{
    if (!NeedsStop(request))
        return;
    m_channel.Respond(request);
    m_program->Debugger().StepIn();
}

void CDapAdapter::StepOut(const json &request)
{
    if (!NeedsStop(request))
        return;
    m_channel.Respond(request);
    m_program->Debugger().StepOut();
}

void CDapAdapter::Pause(const json &request)
{
    if (!NeedsProgram(request))
        return;
    m_channel.Respond(request);
    m_program->Debugger().Pause();
}

void CDapAdapter::Terminate(const json &request)
{
    if (m_program)
        m_program->Stop();
    m_channel.Respond(request);
    m_channel.Event("terminated");
}

void CDapAdapter::Disconnect(const json &request)
{
    if (m_program)
        m_program->Stop();
    m_channel.Respond(request);
    m_done = true;
}

int RunDapMode()
{
    CDapChannel channel(STDIN_FILENO, STDOUT_FILENO);
    CDapAdapter adapter(channel);
    return adapter.Serve();
}

} // namespace velsim
