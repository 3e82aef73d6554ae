// The program a debug session runs: its image and line map (read beside a
// .hex, or made by compiling a .bas with the velc beside velsim), the
// simulated module with the debugger attached, a pseudo-terminal the
// program reads from and a pipe its serial output goes to; or, with the
// whole serial line on the pseudo-terminal, no pipe: what the program sends
// goes to whoever opened the terminal, as on `velsim --pty`.
#pragma once

#include "Debugger.h"
#include "Module.h"
#include "PseudoTerminal.h"
#include "SourceMap.h"

#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace velsim {

class CDapProgram {
public:
    using OutputSink = std::function<void(const std::string &text)>;

    CDapProgram() = default;
    ~CDapProgram();
    CDapProgram(const CDapProgram &) = delete;
    CDapProgram &operator=(const CDapProgram &) = delete;

    // Reads or compiles the program and sets up the module; compiler output
    // goes to `output`. False with the reason.
    bool Load(const std::string &path, const std::string &target, const OutputSink &output, std::string &error);
    // Before Load: the program's output goes to the pseudo-terminal too.
    void SetWholeLineOnTerminal(bool onTerminal)
    {
        m_line.m_onTerminal = onTerminal;
    }
    // Runs the program on its own thread; `ended` gets the exit status (0 at
    // the end, 1 after a runtime error) unless the session terminated it.
    void Start(bool stopOnEntry, OutputSink output, std::function<void(int)> ended);
    // Ends the program wherever it is and waits for its threads.
    void Stop();
    // On the program's thread, at a stop: what it sent so far leaves the
    // serial line before the client hears of the stop.
    void SendPendingOutput();

    CDebugger &Debugger()
    {
        return *m_debugger;
    }
    const CSourceMap &Map() const
    {
        return m_map;
    }
    const std::string &InputPath() const
    {
        return m_line.Path();
    }

private:
    // The pseudo-terminal for what the program reads, a pipe for what it sends.
    class CLine : public CPseudoTerminal {
    public:
        int OutputFd() const override
        {
            return m_onTerminal ? CPseudoTerminal::OutputFd() : m_outputFd;
        }
        bool Listening() const override // the client always reads the pipe
        {
            return m_onTerminal ? CPseudoTerminal::Listening() : true;
        }
        bool Gone() const override // a terminal closed on the input ends nothing
        {
            return false;
        }
        int m_outputFd = -1;
        bool m_onTerminal = false;
    };

    bool Compile(const std::string &source, std::string &hex, const OutputSink &output, std::string &error);
    bool OpenOutputPipe(std::string &error);
    void CatchUpWithTerminal();

    CSourceMap m_map;
    CLine m_line;
    int m_outputRead = -1;
    std::unique_ptr<CSerialLine> m_serial;
    std::unique_ptr<CModule> m_module;
    std::unique_ptr<CDebugger> m_debugger;
    std::thread m_runner;
    std::thread m_reader;
};

} // namespace velsim
