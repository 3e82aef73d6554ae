// The simulated module: its loader and its interpreter on one serial line.
// In any state the reset command stops what runs and enters the loader,
// which answers "OK", acknowledges each HEX record with "." and starts the
// program after the end-of-file record; a bad image gets one reply line.
#pragma once

#include "Interpreter.h"
#include "Machine.h"
#include "ModuleLoader.h"
#include "Program.h"
#include "SerialLine.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace velsim {

struct ModuleSettings {
    std::string target = "ZENTRA8";
    bool trace = false;
    bool echo = true; // INPUT echoes what it receives
};

class CModule {
public:
    // The module answers a reset after this long, as a module that restarts.
    static constexpr int kResetReplyDelayMs = 100;
    // An image may end up to this many bytes beyond the program memory: the
    // compiler checks the memory before a line's closing byte and the end
    // record are written.
    static constexpr int kImageSlack = 5;

    // False when the target is unknown.
    static bool Limits(const std::string &target, InterpreterLimits &limits, size_t &imageCapacity);

    CModule(CSerialLine &line, const ModuleSettings &settings);

    // The most image bytes the loader takes.
    size_t ImageCapacity() const
    {
        return m_imageCapacity;
    }

    // Starts an image directly, as after a download; false with the reason.
    bool Start(const std::vector<uint8_t> &image, std::string &error);

    enum class Exit {
        kStopped, // a stop request
        kProgramEnded,
        kProgramError, // LastError() and LastErrorLine() say which
        kInputEnded, // nothing more can arrive on the line
    };
    // Serves the line until a stop request; with `untilProgramEnds`, also
    // returns when a program ends.
    Exit Serve(bool untilProgramEnds);

    RunError LastError() const
    {
        return m_lastError;
    }
    int LastErrorLine() const
    {
        return m_lastErrorLine;
    }
    CMachine &Machine()
    {
        return m_machine;
    }
    // The program's interpreter and its decoded program; nullptr before an
    // image has started.
    CInterpreter *Interpreter()
    {
        return m_interpreter.get();
    }
    const CProgram *Program() const
    {
        return m_program.get();
    }

private:
    enum class State { kLoader, kRunning, kStopped };

    void EnterLoader();
    void ServeLoader();
    void TakeImage();
    bool RunProgram(bool untilProgramEnds, Exit &exit);

    CSerialLine &m_line;
    ModuleSettings m_settings;
    InterpreterLimits m_limits;
    size_t m_imageCapacity = 0;
    CMachine m_machine;
    CLoader m_loader;
    std::unique_ptr<CProgram> m_program;
    std::unique_ptr<CInterpreter> m_interpreter;
    State m_state = State::kLoader;
    int64_t m_replyDue = -1; // when "OK" is due (steady ms), -1 when none is
    RunError m_lastError = RunError::kDivisionByZero;
    int m_lastErrorLine = 0;
};

} // namespace velsim
