#pragma once

// Checks that need other rights than the test program has: a user without
// root's rights (to whom file permissions apply), or a small file system that
// runs full. The check runs in a forked child that first sets itself up and
// then reports through a pipe; a child that cannot set itself up says why,
// and the test skips with that reason.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>

#include <cerrno>
#include <cstring>
#include <functional>
#include <grp.h>
#include <pwd.h>
#include <sched.h>
#include <string>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

struct TChildSetup {
    bool asNobody = false; // drop root's rights for those of "nobody"
    QStringList givenToNobody; // paths handed to "nobody" before dropping
    QString smallDisk; // a folder on which a file system of its own is mounted
    int smallDiskKiB = 0;
};

struct TChildResult {
    enum TStatus { Passed, Failed, Unavailable } status = Unavailable;
    std::string message; // the failure, or why the child could not set itself up
};

namespace ChildCheckDetail {

constexpr int kPassed = 0;
constexpr int kFailed = 1;
constexpr int kUnavailable = 77;

inline std::string SystemError(const char *what)
{
    return std::string(what) + ": " + std::strerror(errno);
}

// Returns an empty text, or why the child cannot run the check.
inline std::string SetUp(const TChildSetup &setup)
{
    if (!setup.smallDisk.isEmpty()) {
        if (::unshare(CLONE_NEWNS) != 0)
            return SystemError("cannot have mounts of its own");
        if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
            return SystemError("cannot keep its mounts private");
        const std::string options = "size=" + std::to_string(setup.smallDiskKiB) + "k,mode=0777";
        if (::mount("tmpfs", QFile::encodeName(setup.smallDisk).constData(), "tmpfs", 0, options.c_str()) != 0)
            return SystemError("cannot mount a small file system");
    }
    if (!setup.asNobody || ::geteuid() != 0)
        return {};
    const passwd *nobody = ::getpwnam("nobody");
    if (!nobody)
        return "there is no user \"nobody\"";
    for (const QString &path : setup.givenToNobody)
        if (::chown(QFile::encodeName(path).constData(), nobody->pw_uid, nobody->pw_gid) != 0)
            return SystemError("cannot hand a file to nobody");
    if (::setgroups(0, nullptr) != 0 || ::setgid(nobody->pw_gid) != 0 || ::setuid(nobody->pw_uid) != 0)
        return SystemError("cannot drop root's rights");
    return {};
}

inline void Report(int fd, const std::string &text)
{
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n <= 0)
            return;
        done += size_t(n);
    }
}

inline std::string ReadAll(int fd)
{
    std::string text;
    char buffer[4096];
    ssize_t n;
    while ((n = ::read(fd, buffer, sizeof buffer)) > 0 || (n < 0 && errno == EINTR))
        if (n > 0)
            text.append(buffer, size_t(n));
    return text;
}

} // namespace ChildCheckDetail

// Runs check (an empty text: passed; else what failed) in a child process
// set up as asked.
inline TChildResult RunInChild(const TChildSetup &setup, const std::function<std::string()> &check)
{
    using namespace ChildCheckDetail;
    int pipeFds[2];
    if (::pipe(pipeFds) != 0)
        return {TChildResult::Unavailable, SystemError("no pipe")};
    const pid_t pid = ::fork();
    if (pid < 0)
        return {TChildResult::Unavailable, SystemError("no child process")};
    if (pid == 0) {
        ::close(pipeFds[0]);
        std::string text = SetUp(setup);
        int code = kUnavailable;
        if (text.empty()) {
            text = check();
            code = text.empty() ? kPassed : kFailed;
        }
        Report(pipeFds[1], text);
        ::_exit(code);
    }
    ::close(pipeFds[1]);
    TChildResult result;
    result.message = ReadAll(pipeFds[0]);
    ::close(pipeFds[0]);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) { }
    const int code = WIFEXITED(status) ? WEXITSTATUS(status) : kFailed;
    result.status = code == kPassed ? TChildResult::Passed
        : code == kUnavailable      ? TChildResult::Unavailable
                                    : TChildResult::Failed;
    if (!WIFEXITED(status))
        result.message += " (the child ended by signal " + std::to_string(WTERMSIG(status)) + ")";
    return result;
}
