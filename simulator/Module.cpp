#include "Module.h"

#include "Decoder.h"
#include "lang/Target.h"

#include <chrono>
#include <climits>

#include <strings.h>

namespace velsim {

namespace {

// GOSUBs that may be open at once on each target.
struct GosubDepth {
    const char *target;
    int depth;
};

constexpr GosubDepth kGosubDepths[] = {{"ZENTRA8", 32}, {"ZENTRA16", 64}, {"ZENTRAVIEW", 64}};

int64_t NowMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace

bool CModule::Limits(const std::string &target, InterpreterLimits &limits, size_t &imageCapacity)
{
    velmo::lang::TargetProfile profile;
    if (!profile.SetTarget(target))
        return false;
    limits.dataMemory = profile.dataMemory;
    for (const GosubDepth &entry : kGosubDepths) {
        if (::strcasecmp(entry.target, target.c_str()) == 0)
            limits.gosubDepth = entry.depth;
    }
    imageCapacity = static_cast<size_t>(profile.programMemory) + kImageSlack;
    return true;
}

CModule::CModule(CSerialLine &line, const ModuleSettings &settings)
    : m_line(line)
    , m_settings(settings)
    , m_loader(0)
{
    if (!Limits(settings.target, m_limits, m_imageCapacity))
        Limits("ZENTRA8", m_limits, m_imageCapacity);
    m_loader = CLoader(m_imageCapacity);
    m_machine.m_trace.Enable(settings.trace);
}

bool CModule::Start(const std::vector<uint8_t> &image, std::string &error)
{
    if (image.size() > m_imageCapacity) {
        error = ImageFaultText(ImageFault::kTooLarge, static_cast<long>(m_imageCapacity));
        return false;
    }
    std::unique_ptr<CProgram> program = DecodeProgram(image, error);
    if (!program)
        return false;
    m_interpreter.reset();
    m_program = std::move(program);
    m_machine.Restart();
    m_interpreter = std::make_unique<CInterpreter>(*m_program, m_machine, m_line, m_limits);
    m_interpreter->SetEcho(m_settings.echo);
    m_state = State::kRunning;
    return true;
}

CModule::Exit CModule::Serve(bool untilProgramEnds)
{
    for (;;) {
        if (m_line.QuitRequested())
            return Exit::kStopped;
        if (m_line.ResetRequested())
            EnterLoader();
        if (m_state == State::kRunning) {
            Exit exit = Exit::kStopped;
            if (RunProgram(untilProgramEnds, exit))
                return exit;
            continue;
        }
        if (m_line.InputClosed() && m_line.Available() == 0 && m_replyDue < 0)
            return Exit::kInputEnded;
        if (m_state == State::kLoader) {
            ServeLoader();
        } else {
            m_line.Pump(-1);
            if (!m_line.ResetRequested())
                m_line.DiscardInput(); // a stopped module ignores everything but a reset
        }
    }
}

// Runs the program until it stops; true when Serve() should return.
bool CModule::RunProgram(bool untilProgramEnds, Exit &exit)
{
    switch (m_interpreter->Run()) {
    case CInterpreter::Outcome::kReset:
        return false;
    case CInterpreter::Outcome::kQuit:
        exit = Exit::kStopped;
        return true;
    case CInterpreter::Outcome::kEnded:
        exit = Exit::kProgramEnded;
        break;
    case CInterpreter::Outcome::kError:
        m_lastError = m_interpreter->Error();
        m_lastErrorLine = m_interpreter->ErrorLine();
        exit = Exit::kProgramError;
        break;
    case CInterpreter::Outcome::kInputEnded:
        exit = Exit::kInputEnded;
        break;
    }
    m_state = State::kStopped;
    if (!m_line.Drain())
        return false; // a reset or a stop request cut the output short
    return untilProgramEnds;
}

void CModule::EnterLoader()
{
    m_line.ClearReset();
    m_loader.Start();
    m_state = State::kLoader;
    m_replyDue = NowMs() + kResetReplyDelayMs;
}

void CModule::ServeLoader()
{
    if (m_replyDue >= 0) {
        const int64_t wait = m_replyDue - NowMs();
        if (wait > 0) {
            m_line.Pump(static_cast<int>(wait < INT_MAX ? wait : INT_MAX));
            return;
        }
        m_replyDue = -1;
        m_line.Write(kResetReply);
    }
    while (m_line.Available() > 0 && !m_line.Interrupted()) {
        switch (m_loader.Take(static_cast<uint8_t>(m_line.Read()))) {
        case CLoader::Event::kAcknowledge:
            m_line.Write(std::string_view(&kRecordAck, 1));
            break;
        case CLoader::Event::kComplete:
            TakeImage();
            if (m_state == State::kRunning)
                return; // what follows belongs to the program
            break;
        case CLoader::Event::kRefuse:
            m_line.Write(BadImageLine(m_loader.ImageError()));
            break;
        case CLoader::Event::kNone:
        case CLoader::Event::kReject:
            break;
        }
    }
    if (!m_line.Interrupted())
        m_line.Pump(-1);
}

void CModule::TakeImage()
{
    std::string error = m_loader.ImageError();
    if (error.empty() && Start(m_loader.Image(), error))
        return;
    m_line.Write(BadImageLine(error));
    m_loader.Start();
}

} // namespace velsim
