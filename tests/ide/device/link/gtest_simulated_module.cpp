// The simulated module as the workbench starts it: velsim from the program
// directory serving a pseudo-terminal that answers the reset command,
// stopped with nothing left behind (also when the starting process dies),
// the reasons it cannot start, and the port opening it by its device name.

#include "../../support/CaseNames.h"
#include "../../support/ChildCheck.h"
#include "../../support/ChildProcesses.h"
#include "../../support/PtyPeer.h"
#include "../../support/TestPaths.h"
#include "Globals.h"
#include "ProgramPort.h"
#include "Serial.h"
#include "Settings.h"
#include "SimulatedModule.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <csignal>
#include <gtest/gtest.h>
#include <optional>
#include <sys/wait.h>

namespace {

const QByteArray kReset("\x01\x30\x81\x1B", 4);

QString BinDir()
{
    return qEnvironmentVariable("VELMO_BIN_DIR");
}

bool VelsimBuilt()
{
    return QFile::exists(TSimulatedModule::ProgramPath(BinDir()));
}

// Waits without an event loop until the condition holds or the time is up.
bool WaitUntil(const std::function<bool()> &condition, int timeoutMs = 5000)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        ::poll(nullptr, 0, 5);
    }
    return true;
}

QList<qint64> RunningSimulators()
{
    return RunningChildren("velsim");
}

// Sends bytes to a device as a workbench would and reads up to count bytes.
QByteArray Exchange(const QString &device, const QByteArray &send, qsizetype count)
{
    const int fd = ::open(QFile::encodeName(device).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return "<cannot open>";
    termios raw{};
    ::tcgetattr(fd, &raw);
    ::cfmakeraw(&raw);
    ::tcsetattr(fd, TCSANOW, &raw);
    QByteArray got;
    if (::write(fd, send.constData(), size_t(send.size())) == send.size()) {
        QElapsedTimer timer;
        timer.start();
        while (got.size() < count && timer.elapsed() < 5000) {
            pollfd p = {fd, POLLIN, 0};
            char buffer[64];
            if (::poll(&p, 1, 50) > 0) {
                const ssize_t n = ::read(fd, buffer, sizeof buffer);
                if (n > 0)
                    got.append(buffer, n);
            }
        }
    }
    ::close(fd);
    return got;
}

class SimulatedModuleTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        EnsureCoreApplication();
        ASSERT_TRUE(VelsimBuilt()) << "velsim is not built in " << BinDir().toStdString();
    }
};

} // namespace

TEST_F(SimulatedModuleTest, ServesADeviceThatAnswersTheResetAndStopsWithoutATrace)
{
    TSimulatedModule module(BinDir());
    QString error;
    ASSERT_TRUE(module.Start(&error)) << error.toStdString();
    EXPECT_TRUE(module.Running());
    EXPECT_TRUE(module.DevicePath().startsWith("/dev/")) << module.DevicePath().toStdString();
    EXPECT_EQ(Exchange(module.DevicePath(), kReset, 2), "OK");
    const qint64 pid = module.ProcessId();
    ASSERT_GT(pid, 0);
    module.Stop();
    EXPECT_FALSE(module.Running());
    EXPECT_TRUE(module.DevicePath().isEmpty());
    EXPECT_EQ(ProcessInfo(pid).state, 0) << "velsim is left behind";
    module.Stop(); // a second stop does nothing

    qint64 second = 0;
    {
        TSimulatedModule scoped(BinDir());
        ASSERT_TRUE(scoped.Start(&error)) << error.toStdString();
        second = scoped.ProcessId();
    }
    EXPECT_EQ(ProcessInfo(second).state, 0) << "velsim outlives its module object";
}

TEST_F(SimulatedModuleTest, NeverOutlivesTheProcessThatStartedIt)
{
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::close(fds[0]);
        TSimulatedModule module(BinDir());
        QString error;
        const qint64 pid = module.Start(&error) ? module.ProcessId() : 0;
        if (::write(fds[1], &pid, sizeof pid) != sizeof pid)
            ::_exit(1);
        for (;;)
            ::pause(); // until the test kills this process
    }
    ::close(fds[1]);
    qint64 simulator = 0;
    const bool reported = ::read(fds[0], &simulator, sizeof simulator) == sizeof simulator;
    ::close(fds[0]);
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    ASSERT_TRUE(reported && simulator > 0) << "the child could not start velsim";
    EXPECT_TRUE(WaitUntil([simulator] { return ProcessGone(simulator); })) << "velsim outlived its parent";
}

struct TStartFailure {
    const char *name;
    const char *script; // the program placed as velsim; nullptr: none
    const char *reason; // part of the error text
};

class StartFailureTest : public ::testing::TestWithParam<TStartFailure> {
protected:
    void SetUp() override
    {
        EnsureCoreApplication();
    }
};

TEST_P(StartFailureTest, GivesAClearErrorAndLeavesNothingRunning)
{
    const TStartFailure &c = GetParam();
    QTemporaryDir dir;
    const QString program = TSimulatedModule::ProgramPath(dir.path());
    if (c.script) {
        QFile file(program);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(c.script);
        file.close();
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    TSimulatedModule module(dir.path());
    module.SetAnswerTimeout(300);
    QString error;
    EXPECT_FALSE(module.Start(&error));
    EXPECT_TRUE(error.contains(c.reason)) << error.toStdString();
    EXPECT_TRUE(error.contains(program)) << error.toStdString();
    EXPECT_FALSE(module.Running());
    EXPECT_TRUE(module.DevicePath().isEmpty());
    EXPECT_TRUE(RunningSimulators().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Table, StartFailureTest,
    ::testing::Values(TStartFailure{"missing", nullptr, "is missing"},
                      TStartFailure{"ends at once", "#!/bin/sh\nexit 3\n", "ended at once (exit code 3)"},
                      TStartFailure{"prints no device", "#!/bin/sh\necho ready\nexec sleep 60\n",
                                    "did not report its device"},
                      TStartFailure{"stays silent", "#!/bin/sh\nexec sleep 60\n", "did not report its device"}),
    NameByField(&TStartFailure::name));

// --- The port opening the simulated module by its device name --------------

class SimulatedPortTest : public SimulatedModuleTest {
protected:
    void SetUp() override
    {
        SimulatedModuleTest::SetUp();
        if (IsSkipped())
            return;
        paths.emplace(BinDir());
        port.SetComPort("simulated MODULE");
        port.OnWarning = [this](const QString &message, const QString &detail) {
            warnings << message + " | " + detail;
        };
    }
    void TearDown() override
    {
        while (port.Requests() > 0)
            port.ClosePort();
    }
    // The reset as a transfer sends it, with the event thread held.
    bool AnswersTheReset()
    {
        port.SetPolling(true);
        const bool answered = SendsTheReset();
        port.SetPolling(false);
        return answered;
    }
    bool SendsTheReset()
    {
        return port.WriteString(kReset) && port.WaitForString("OK", 3000);
    }
    // A transfer thread takes the port, opens it, runs `use` and closes.
    void RunTransferThread(const std::function<void()> &use = {})
    {
        std::unique_ptr<QThread> transfer(QThread::create([&] {
            port.SetPolling(true);
            if (port.OpenPort(true) && use)
                use();
            port.ClosePort();
            port.SetPolling(false);
        }));
        transfer->start();
        ASSERT_TRUE(WaitFor([&] { return transfer->isFinished(); }, 10000));
    }

    std::optional<TTestPaths> paths; // in force until the port has gone
    TMcuComPort port;
    QStringList warnings;
};

TEST_F(SimulatedPortTest, OpeningStartsTheSimulatorAndTheLastCloseEndsIt)
{
    ASSERT_TRUE(port.OpenPort(false)) << warnings.join('\n').toStdString();
    const QList<qint64> running = RunningSimulators();
    ASSERT_EQ(running.size(), 1);
    EXPECT_TRUE(port.OpenPort(false)); // a second request shares the simulator
    EXPECT_EQ(RunningSimulators(), running);
    EXPECT_TRUE(AnswersTheReset());
    EXPECT_FALSE(port.ClosePort());
    EXPECT_EQ(RunningSimulators(), running);
    EXPECT_TRUE(port.ClosePort());
    EXPECT_TRUE(RunningSimulators().isEmpty());
    EXPECT_EQ(ProcessInfo(running.first()).state, 0);
    EXPECT_TRUE(warnings.isEmpty());
}

// A transfer opens and closes the port on its own thread; the module keeps
// its program for the terminal that connects afterwards.
TEST_F(SimulatedPortTest, ATransferThreadsCloseLeavesTheModuleRunning)
{
    bool answered = false;
    RunTransferThread([&] { answered = SendsTheReset(); });
    EXPECT_TRUE(answered);
    EXPECT_FALSE(port.Open());
    const QList<qint64> running = RunningSimulators();
    ASSERT_EQ(running.size(), 1);
    ASSERT_TRUE(port.OpenPort(false));
    EXPECT_EQ(RunningSimulators(), running);
    port.ClosePort();
    EXPECT_TRUE(RunningSimulators().isEmpty());
}

TEST_F(SimulatedPortTest, ChoosingAnotherDeviceEndsASimulatorLeftRunning)
{
    RunTransferThread();
    ASSERT_EQ(RunningSimulators().size(), 1);
    port.SetComPort("COM1");
    EXPECT_TRUE(RunningSimulators().isEmpty());
}

TEST_F(SimulatedPortTest, ThePortEndsTheSimulatorWhenItIsDestroyedOpen)
{
    auto owned = std::make_unique<TMcuComPort>();
    owned->SetComPort(Settings::kSimulatedModule);
    ASSERT_TRUE(owned->OpenPort(false));
    const QList<qint64> running = RunningSimulators();
    ASSERT_EQ(running.size(), 1);
    owned.reset(); // as the application object does when the workbench quits
    EXPECT_EQ(ProcessInfo(running.first()).state, 0);
}

// Quitting: the application object ends and takes the program's port with
// it. While it lives, its port is the one SerialPort() returns.
TEST_F(SimulatedPortTest, QuittingTheApplicationEndsTheSimulator)
{
    QList<qint64> running;
    {
        TProgramPort application;
        TMcuComPort &program = SerialPort();
        ASSERT_EQ(&program, &application.Port());
        program.SetComPort(Settings::kSimulatedModule);
        ASSERT_TRUE(program.OpenPort(true));
        running = RunningSimulators();
        ASSERT_EQ(running.size(), 1);
    }
    EXPECT_EQ(ProcessInfo(running.first()).state, 0) << "velsim outlived the application";
}

TEST_F(SimulatedPortTest, AMissingSimulatorIsReportedWhenConnecting)
{
    QTemporaryDir empty;
    const TTestPaths emptyPaths(empty.path());
    EXPECT_FALSE(port.OpenPort(false));
    port.ClosePort();
    ASSERT_EQ(warnings.size(), 1);
    EXPECT_TRUE(warnings.first().startsWith("Unable to open the serial interface! | "))
        << warnings.first().toStdString();
    EXPECT_TRUE(warnings.first().contains("velsim is missing")) << warnings.first().toStdString();
    EXPECT_TRUE(RunningSimulators().isEmpty());
}
