// velsim --dap: the Debug Adapter Protocol on standard input and output. One
// session debugs one program on the simulated module (thread id 1).
#pragma once

#include "DapChannel.h"
#include "DapProgram.h"

#include <memory>
#include <string>

namespace velsim {

class CDapAdapter {
public:
    explicit CDapAdapter(CDapChannel &channel)
        : m_channel(channel)
    {
    }

    // Serves requests until disconnect or the end of the input; the exit status.
    int Serve();

    // The requests, one handler each (DapAdapter.cpp holds the table).
    void Initialize(const nlohmann::json &request);
    void Launch(const nlohmann::json &request);
    void SetBreakpoints(const nlohmann::json &request);
    void SetFunctionBreakpoints(const nlohmann::json &request);
    void DataBreakpointInfo(const nlohmann::json &request);
    void SetDataBreakpoints(const nlohmann::json &request);
    void ConfigurationDone(const nlohmann::json &request);
    void Threads(const nlohmann::json &request);
    void StackTrace(const nlohmann::json &request);
    void Scopes(const nlohmann::json &request);
    void Variables(const nlohmann::json &request);
    void SetVariable(const nlohmann::json &request);
    void Evaluate(const nlohmann::json &request);
    void Continue(const nlohmann::json &request);
    void Next(const nlohmann::json &request);
    void StepIn(const nlohmann::json &request);
    void StepOut(const nlohmann::json &request);
    void Pause(const nlohmann::json &request);
    void Disconnect(const nlohmann::json &request);
    void Terminate(const nlohmann::json &request);

private:
    bool NeedsProgram(const nlohmann::json &request);
    bool NeedsStop(const nlohmann::json &request);
    std::string MapPath(const nlohmann::json &source) const; // a client's path as the map names it
    nlohmann::json SourceOf(int file) const;
    nlohmann::json BreakpointJson(const BreakpointAnswer &answer, const nlohmann::json &source) const;
    void Output(const std::string &category, const std::string &text);
    void OnStop(const StopEvent &event);

    CDapChannel &m_channel;
    std::unique_ptr<CDapProgram> m_program;
    bool m_stopOnEntry = false;
    bool m_started = false;
    bool m_done = false;
};

// Runs the adapter on standard input and output.
int RunDapMode();

} // namespace velsim
