#include "ChildProcess.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char **environ;

namespace {

constexpr int kPollSliceMs = 5;

// Sets up the child's standard handles: nothing to read, output to the given
// descriptor (or nowhere), no error channel.
int PrepareHandles(posix_spawn_file_actions_t &actions, int stdoutFd)
{
    int rc = posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    if (rc == 0 && stdoutFd >= 0)
        rc = posix_spawn_file_actions_adddup2(&actions, stdoutFd, STDOUT_FILENO);
    if (rc == 0 && stdoutFd < 0)
        rc = posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    if (rc == 0)
        rc = posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    return rc;
}

} // namespace

TChildProcess::~TChildProcess()
{
    // A child still running when its owner goes is left to finish; reaping it
    // here keeps it from lingering as a zombie once it has ended.
    if (m_pid > 0)
        waitpid(m_pid, nullptr, WNOHANG);
}

int TChildProcess::Start(const std::string &program, const std::vector<std::string> &args, int stdoutFd)
{
    std::vector<char *> argv;
    argv.push_back(const_cast<char *>(program.c_str()));
    for (const std::string &arg : args)
        argv.push_back(const_cast<char *>(arg.c_str()));
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    int rc = PrepareHandles(actions, stdoutFd);
    if (rc == 0)
        rc = posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    pid_t pid = -1;
    if (rc == 0)
        rc = posix_spawn(&pid, program.c_str(), &actions, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    if (rc == 0)
        m_pid = pid;
    return rc;
}

bool TChildProcess::WaitFor(int timeoutMs)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (m_pid > 0) {
        const pid_t rc = waitpid(m_pid, nullptr, WNOHANG);
        if (rc == m_pid || (rc < 0 && errno != EINTR)) {
            m_pid = -1;
            break;
        }
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(kPollSliceMs));
    }
    return true;
}

void TChildProcess::Stop(int graceMs)
{
    if (m_pid <= 0)
        return;
    ::kill(-m_pid, SIGTERM);
    if (WaitFor(graceMs))
        return;
    ::kill(-m_pid, SIGKILL);
    while (waitpid(m_pid, nullptr, 0) < 0 && errno == EINTR) { }
    m_pid = -1;
}
