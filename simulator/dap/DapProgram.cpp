#include "DapProgram.h"

#include "DebugExpressions.h"
#include "HexFileReader.h"

#include <cstdio>
#include <filesystem>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace velsim {

namespace {

// velc is installed beside velsim.
std::string CompilerPath()
{
    std::error_code ignored;
    return (std::filesystem::read_symlink("/proc/self/exe", ignored).parent_path() / "velc").string();
}

std::string Quoted(const std::string &text)
{
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

} // namespace

CDapProgram::~CDapProgram()
{
    Stop();
    if (m_line.m_outputFd >= 0)
        ::close(m_line.m_outputFd);
    if (m_outputRead >= 0)
        ::close(m_outputRead);
}

bool CDapProgram::Compile(const std::string &source, std::string &hex, const OutputSink &output, std::string &error)
{
    const std::string command = Quoted(CompilerPath()) + " " + Quoted(source) + " 2>&1";
    FILE *pipe = ::popen(command.c_str(), "r");
    if (!pipe) {
        error = "cannot start " + CompilerPath();
        return false;
    }
    std::string text;
    char chunk[4096];
    while (const size_t n = std::fread(chunk, 1, sizeof chunk, pipe))
        text.append(chunk, n);
    const int status = ::pclose(pipe);
    output(text);
    if (status != 0 || text.find("\n0 - Error(s).") == std::string::npos) {
        error = "the program did not compile";
        return false;
    }
    hex = std::filesystem::path(source).replace_extension(".hex").string();
    return true;
}

bool CDapProgram::Load(const std::string &path, const std::string &target, const OutputSink &output, std::string &error)
{
    std::string hex = path;
    if (std::filesystem::path(path).extension() == ".bas" && !Compile(path, hex, output, error))
        return false;
    InterpreterLimits limits;
    size_t capacity = 0;
    if (!CModule::Limits(target, limits, capacity)) {
        error = "unknown target: " + target;
        return false;
    }
    std::vector<uint8_t> image;
    if (!ReadHexFile(hex, capacity, image, error) || !m_map.LoadBeside(hex, error) || !m_line.Open(error))
        return false;
    if (!m_line.m_onTerminal && !OpenOutputPipe(error))
        return false;
    m_serial = std::make_unique<CSerialLine>(m_line);
    ModuleSettings settings;
    settings.target = target;
    m_module = std::make_unique<CModule>(*m_serial, settings);
    if (!m_module->Start(image, error))
        return false;
    m_debugger = std::make_unique<CDebugger>(*m_module->Program(), m_module->Machine(), m_map);
    m_debugger->SetExprCompiler(DebugExpressionCompiler(m_map.Map()));
    m_debugger->Attach(*m_module->Interpreter());
    return true;
}

bool CDapProgram::OpenOutputPipe(std::string &error)
{
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) {
        error = "no pipe for the program's output";
        return false;
    }
    m_outputRead = fds[0];
    m_line.m_outputFd = fds[1];
    return true;
}

// A client that opened the terminal before the start hears the program's
// first words: its open is known before the program runs.
void CDapProgram::CatchUpWithTerminal()
{
    pollfd events{m_line.EventFd(), POLLIN, 0};
    if (events.fd >= 0 && ::poll(&events, 1, 0) > 0)
        m_line.HandleEvent();
}

void CDapProgram::Start(bool stopOnEntry, OutputSink output, std::function<void(int)> ended)
{
    if (stopOnEntry)
        m_debugger->StopOnEntry();
    if (m_line.m_onTerminal)
        CatchUpWithTerminal();
    if (m_outputRead >= 0)
        m_reader = std::thread([this, output] {
            char chunk[4096];
            ssize_t n;
            while ((n = ::read(m_outputRead, chunk, sizeof chunk)) > 0)
                output(std::string(chunk, static_cast<size_t>(n)));
        });
    m_runner = std::thread([this, ended] {
        const CModule::Exit exit = m_module->Serve(true);
        m_serial->Drain();
        if (m_line.m_outputFd >= 0)
            ::close(m_line.m_outputFd); // the reader sees the end
        m_line.m_outputFd = -1;
        m_debugger->Finished();
        if (exit != CModule::Exit::kStopped)
            ended(exit == CModule::Exit::kProgramError ? 1 : 0);
    });
}

void CDapProgram::Stop()
{
    if (m_debugger)
        m_debugger->Terminate();
    if (m_runner.joinable())
        m_runner.join();
    if (m_reader.joinable())
        m_reader.join();
}

void CDapProgram::SendPendingOutput()
{
    if (m_serial)
        m_serial->Drain();
}

} // namespace velsim
