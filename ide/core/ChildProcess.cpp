#include "ChildProcess.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {

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

// A descriptor (closed on exec) that turns readable when the process ends;
// -1 on systems without one.
int OpenExitDescriptor(pid_t pid)
{
#ifdef SYS_pidfd_open
    return int(::syscall(SYS_pidfd_open, pid, 0));
#else
    (void)pid;
    return -1;
#endif
}

} // namespace

TChildProcess::~TChildProcess()
{
    if (m_pid <= 0)
        return;
    Signal(SIGKILL);
    while (::waitpid(m_pid, nullptr, 0) < 0 && errno == EINTR) { }
    Forget();
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
    if (rc == 0) {
        m_pid = pid;
        m_exitFd = OpenExitDescriptor(pid);
    }
    return rc;
}

bool TChildProcess::Ended()
{
    if (m_pid <= 0)
        return true;
    pid_t rc;
    while ((rc = ::waitpid(m_pid, nullptr, WNOHANG)) < 0 && errno == EINTR) { }
    if (rc == 0)
        return false;
    Forget();
    return true;
}

void TChildProcess::Signal(int signal) const
{
    if (m_pid > 0)
        ::kill(-m_pid, signal);
}

void TChildProcess::Forget()
{
    if (m_exitFd >= 0)
        ::close(m_exitFd);
    m_exitFd = -1;
    m_pid = -1;
}
