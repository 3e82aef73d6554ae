#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

// One child program started with its standard output going to a given file
// descriptor and with no standard input and no standard error. The child runs
// in the workbench's environment and current directory, in a process group of
// its own, so that stopping it stops whatever it started.
class TChildProcess {
public:
    TChildProcess() = default;
    TChildProcess(const TChildProcess &) = delete;
    TChildProcess &operator=(const TChildProcess &) = delete;
    ~TChildProcess();

    // Starts program with args; stdoutFd < 0 discards the output. Returns 0 or
    // the system error number of the failed start.
    int Start(const std::string &program, const std::vector<std::string> &args, int stdoutFd);

    // Waits at most timeoutMs for the child to end; true once it has ended.
    bool WaitFor(int timeoutMs);

    // Ends the child: asks it to terminate, and kills it when it has not
    // ended within graceMs. Returns once it has ended.
    void Stop(int graceMs);

    bool Running() const
    {
        return m_pid > 0;
    }

private:
    pid_t m_pid = -1;
};
