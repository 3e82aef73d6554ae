// The start-up every program shares: a write to a pipe whose reader went away
// must come back as EPIPE, not end the program.

#include "Globals.h"

#include <QCoreApplication>
#include <cerrno>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Runs in a child of its own: the signal's default would end it.
int WriteToAPipeWithoutReader()
{
    std::signal(SIGPIPE, SIG_DFL);
    int argc = 1;
    char name[] = "gtest_globals";
    char *argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    InitGlobals();
    int ends[2];
    if (::pipe(ends) != 0)
        return 2;
    ::close(ends[0]);
    const ssize_t n = ::write(ends[1], "x", 1);
    return n < 0 && errno == EPIPE ? 0 : 1;
}

TEST(InitGlobals, AWriteToAPipeWithoutReaderFailsWithEPIPE)
{
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0)
        ::_exit(WriteToAPipeWithoutReader());
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_FALSE(WIFSIGNALED(status)) << "ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

} // namespace
