#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

// One child program started with its standard output going to a given file
// descriptor and with no standard input and no standard error. The child runs
// in the workbench's environment and current directory, in a process group of
// its own, so that stopping it stops whatever it started. Nothing here waits:
// the owner learns of the end from ExitDescriptor or by asking Ended.
class TChildProcess {
public:
    TChildProcess() = default;
    TChildProcess(const TChildProcess &) = delete;
    TChildProcess &operator=(const TChildProcess &) = delete;
    // A child still running is killed (with what it started) and reaped.
    ~TChildProcess();

    // Starts program with args; stdoutFd < 0 discards the output. Returns 0 or
    // the system error number of the failed start.
    int Start(const std::string &program, const std::vector<std::string> &args, int stdoutFd);

    // Whether the child has ended (it is reaped then); does not wait.
    bool Ended();

    // Sends the signal to the child's process group while the child runs.
    void Signal(int signal) const;

    // A descriptor that becomes readable when the child ends, or -1 when the
    // system offers none (the owner then asks Ended from time to time).
    int ExitDescriptor() const
    {
        return m_exitFd;
    }

    bool Running() const
    {
        return m_pid > 0;
    }

private:
    void Forget();

    pid_t m_pid = -1;
    int m_exitFd = -1;
};
