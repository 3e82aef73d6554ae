// velload from the outside: its command line, exit statuses and messages,
// the settings file it shares with the workbench, --reset-only and
// --monitor, against a scripted module on a pseudo-terminal and against the
// simulated module.

#include "../../support/CaseNames.h"
#include "../../support/ModulePeer.h"
#include "../../support/TestFiles.h"
#include "LoadOptions.h"
#include "Transfer.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <csignal>
#include <gtest/gtest.h>
#include <optional>
#include <utility>

namespace {

const QByteArray kReset("\x01\x30\x81\x1B", 4);
const QList<QByteArray> kRecords = {":0300000002000DEE", ":04000300A0B0C0D019", ":00000001FF"};

QString BinDir()
{
    return qEnvironmentVariable("VELMO_BIN_DIR");
}

// --- The command line ------------------------------------------------------------

struct TParseCase {
    const char *name;
    QStringList args;
    bool valid;
    QString port, baud, file;
};

class ParseTest : public ::testing::TestWithParam<TParseCase> { };

TEST_P(ParseTest, OptionsAreCheckedAndOnlyTheGivenOnesAreSet)
{
    const TParseCase &c = GetParam();
    TLoadOptions o;
    QString error;
    ASSERT_EQ(LoadOptions::Parse(c.args, o, error), c.valid) << qPrintable(error);
    if (!c.valid) {
        EXPECT_FALSE(error.isEmpty());
        return;
    }
    EXPECT_EQ(o.port.value_or("-"), c.port);
    EXPECT_EQ(o.baudrate.value_or("-"), c.baud);
    EXPECT_EQ(o.fileName, c.file);
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, ParseTest,
    ::testing::Values(
        TParseCase{"file_only", {"a.hex"}, true, "-", "-", "a.hex"},
        TParseCase{"port_and_rate", {"--port", "/dev/x", "--baud=115200", "a.hex"}, true, "/dev/x", "115.2k", "a.hex"},
        TParseCase{"settings_caption_rate", {"--baud", "115.2k", "a.hex"}, true, "-", "115.2k", "a.hex"},
        TParseCase{"reset_only_without_file", {"--reset-only"}, true, "-", "-", ""},
        TParseCase{"dash_file_after_double_dash", {"--", "-a.hex"}, true, "-", "-", "-a.hex"},
        TParseCase{"no_file", {"--port", "COM2"}, false, {}, {}, {}},
        TParseCase{"two_files", {"a.hex", "b.hex"}, false, {}, {}, {}},
        TParseCase{"reset_only_with_file", {"--reset-only", "a.hex"}, false, {}, {}, {}},
        TParseCase{"unknown_rate", {"--baud", "1234", "a.hex"}, false, {}, {}, {}},
        TParseCase{"bad_data_bits", {"--data", "9", "a.hex"}, false, {}, {}, {}},
        TParseCase{"bad_parity", {"--parity", "mark", "a.hex"}, false, {}, {}, {}},
        TParseCase{"bad_stop_bits", {"--stop", "1.5", "a.hex"}, false, {}, {}, {}},
        TParseCase{"missing_value", {"a.hex", "--port"}, false, {}, {}, {}},
        TParseCase{"unknown_option", {"--fast", "a.hex"}, false, {}, {}, {}}),
    NameByField(&TParseCase::name));

TEST(VelloadSettings, OptionsReplaceTheSettingsFilesValuesOneByOne)
{
    TLoadOptions o;
    o.baudrate = "38400";
    TComDeviceState file;
    file.port = "/dev/pts/7";
    file.baudrate = "19200";
    file.stopbits = "2";
    const TPortSettings s = LoadOptions::Resolve(o, file);
    EXPECT_EQ(s.ComPort, "/dev/pts/7");
    EXPECT_EQ(s.Line, (TLineSettings{br38400, db8, sb20, paNONE}));
    o.port = "SIM";
    EXPECT_EQ(LoadOptions::Resolve(o, file).ComPort, Settings::kSimulatedModule);
}

// --- The program against a scripted module ---------------------------------------

class VelloadTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(peer.Valid());
        // A copy of velload in a folder of its own: the settings file it reads
        // is the one beside it.
        velload = dir.filePath("velload");
        ASSERT_TRUE(QFile::copy(BinDir() + "/velload", velload));
        hex = WriteTestFile(dir.filePath("p.hex"), kRecords.join("\r\n") + "\r\n");
        WriteTestFile(dir.filePath("cut.hex"), kRecords.mid(0, 2).join("\r\n") + "\r\n");
        WriteTestFile(dir.filePath("trailing.hex"), kRecords.join("\r\n") + "\r\n\r\n\n");
    }
    // The device's settings while a monitoring velload holds it; then the
    // end of its input ends it.
    termios WhileRunning(QProcess &process)
    {
        const termios t = peer.Attributes();
        process.closeWriteChannel();
        EXPECT_TRUE(process.waitForFinished(10000));
        EXPECT_EQ(process.exitCode(), 0);
        return t;
    }
    int Run(const QStringList &args, const QByteArray &input = {})
    {
        QProcess process;
        process.start(velload, args);
        process.write(input);
        process.closeWriteChannel();
        if (!process.waitForFinished(20000)) {
            process.kill();
            process.waitForFinished();
            return -1;
        }
        out = process.readAllStandardOutput();
        err = QString::fromLocal8Bit(process.readAllStandardError());
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }

    QTemporaryDir dir;
    TPtyPeer peer;
    QString velload;
    QString hex;
    QByteArray out;
    QString err;
};

struct TExitCase {
    const char *name;
    TLoaderScript script;
    bool port; // --port to the peer (else a device that does not exist)
    const char *file;
    int exit;
    const char *message; // %1: the file, <port>: the device
};

TLoaderScript Silent()
{
    TLoaderScript s;
    s.resetReplies.clear();
    return s;
}

TLoaderScript WrongAcknowledgement()
{
    TLoaderScript s;
    s.failAt = 0;
    s.failReply = "?";
    return s;
}

class VelloadExitTest : public VelloadTest, public ::testing::WithParamInterface<TExitCase> { };

TEST_P(VelloadExitTest, ExitStatusAndMessage)
{
    const TExitCase &c = GetParam();
    TModulePeer module(peer, c.script, kRecords, 3000);
    const QString port = c.port ? peer.Path() : dir.filePath("no-such-device");
    const QString file = c.file[0] ? QDir(dir.path()).filePath(c.file) : QString();
    QStringList args = {"--port", port};
    if (!file.isEmpty())
        args << file;
    EXPECT_EQ(Run(args), c.exit) << qPrintable(err);
    EXPECT_TRUE(err.contains(QString::fromUtf8(c.message).replace("<port>", port).arg(file))) << qPrintable(err);
    EXPECT_TRUE(out.isEmpty());
    EXPECT_FALSE(err.contains("download button")) << qPrintable(err); // no such button at a shell
    peer.Hangup(); // ends a module still waiting
    module.Join();
    if (c.exit == 0) {
        EXPECT_EQ(module.Received(), kReset + kRecords.join());
    } else if (c.exit == 2) {
        EXPECT_TRUE(module.Received().isEmpty()); // nothing sent
    }
}

INSTANTIATE_TEST_SUITE_P(
    Outcomes, VelloadExitTest,
    ::testing::Values(TExitCase{"success", {}, true, "p.hex", 0, "%1: 3 records sent."},
                      TExitCase{
                          "no_reset", Silent(), true, "p.hex", 1,
                          "Download aborted!\n  No target reset - download canceled!\n  Please check the device and "
                          "line settings (--port, --baud)"},
                      TExitCase{"no_response", WrongAcknowledgement(), true, "p.hex", 1,
                                "Download aborted!\n  No response - download canceled!\n  Please check"},
                      TExitCase{"no_device",
                                {},
                                false,
                                "p.hex",
                                1,
                                "Unable to open the selected serial interface!\n  Please check, if any other "
                                "application already uses this device.\n  "},
                      TExitCase{"no_device_named", {}, false, "p.hex", 1, "<port>: there is no such device."},
                      TExitCase{"missing_file", {}, true, "none.hex", 2, "Unable to read the download file \"%1\": "},
                      TExitCase{"folder_as_file", {}, true, ".", 2, "Unable to read the download file \""},
                      TExitCase{"endless_device",
                                {},
                                true,
                                "/dev/zero",
                                2,
                                "Unable to read the download file \"/dev/zero\": too large for a HEX file"},
                      TExitCase{"no_end_of_file_record",
                                {},
                                true,
                                "cut.hex",
                                2,
                                "\"%1\" is no complete HEX file: the end-of-file record after line 2 is missing"},
                      TExitCase{"empty_lines_after_the_end", {}, true, "trailing.hex", 0, "%1: 3 records sent."},
                      TExitCase{"no_file", {}, true, "", 2, "no HEX file given"}),
    NameByField(&TExitCase::name));

TEST_F(VelloadTest, WithoutOptionsTheSettingsFileBesideItNamesDeviceAndLine)
{
    WriteTestFile(dir.filePath("Korvid.ini"),
                  "[COM-Device]\r\nPort=" + peer.Path().toUtf8() + "\r\nBaudrate=19200\r\nStopbits=2\r\n");
    TModulePeer module(peer, {}, kRecords);
    // Monitoring after the download keeps velload on the device, whose
    // settings it puts back when it ends.
    QProcess process;
    process.start(velload, {"--monitor", hex});
    module.Join();
    EXPECT_EQ(module.Received(), kReset + kRecords.join());
    // The result is printed once the transfer has put the user's settings back.
    process.setReadChannel(QProcess::StandardError);
    EXPECT_TRUE(WaitFor(
        [&] {
            process.waitForReadyRead(10);
            return process.peek(256).contains("records sent.");
        },
        10000));
    const termios t = WhileRunning(process);
    EXPECT_EQ(cfgetospeed(&t), speed_t(B19200)); // the user's settings are back
    EXPECT_TRUE(t.c_cflag & CSTOPB);
}

TEST_F(VelloadTest, AnOptionReplacesTheSettingsFilesValue)
{
    WriteTestFile(dir.filePath("Korvid.ini"),
                  "[COM-Device]\r\nPort=" + peer.Path().toUtf8() + "\r\nBaudrate=19200\r\n");
    QProcess process;
    process.start(velload, {"--reset-only", "--monitor", "--baud", "38400"});
    EXPECT_EQ(peer.Read(4, 5000), kReset);
    const termios t = WhileRunning(process);
    EXPECT_EQ(cfgetospeed(&t), speed_t(B38400));
}

// --- The device's own settings ---------------------------------------------------------

struct TRestoreCase {
    const char *name;
    QStringList args; // after --port DEVICE
    bool interrupt; // Ctrl+C once the reset command is out
};

class VelloadRestoreTest : public VelloadTest, public ::testing::WithParamInterface<TRestoreCase> { };

TEST_P(VelloadRestoreTest, TheDeviceGetsBackTheSettingsVelloadFound)
{
    // A device another program left cooked at 19200 bit/s.
    termios cooked = peer.Attributes();
    cooked.c_lflag |= ICANON | ECHO | ISIG;
    cooked.c_iflag |= ICRNL;
    cooked.c_oflag |= OPOST | ONLCR;
    cfsetspeed(&cooked, B19200);
    ASSERT_EQ(::tcsetattr(peer.TerminalFd(), TCSANOW, &cooked), 0);
    const termios found = peer.Attributes();
    // Ctrl+C comes once the reset is out, read here, not by a module.
    std::optional<TModulePeer> module;
    if (!GetParam().interrupt)
        module.emplace(peer, TLoaderScript{}, kRecords);
    QProcess process;
    process.start(velload, QStringList{"--port", peer.Path()} + GetParam().args);
    if (GetParam().interrupt) {
        ASSERT_EQ(peer.Read(4, 5000), kReset);
        ::kill(pid_t(process.processId()), SIGINT);
    }
    process.closeWriteChannel();
    ASSERT_TRUE(process.waitForFinished(20000));
    const termios after = peer.Attributes();
    peer.Hangup(); // ends a module still waiting for records
    if (module)
        module->Join();
    EXPECT_EQ(cfgetospeed(&after), cfgetospeed(&found));
    EXPECT_EQ(after.c_lflag, found.c_lflag);
    EXPECT_EQ(after.c_iflag, found.c_iflag);
    EXPECT_EQ(after.c_oflag, found.c_oflag);
    EXPECT_EQ(after.c_cflag, found.c_cflag);
}

INSTANTIATE_TEST_SUITE_P(
    Runs, VelloadRestoreTest,
    ::testing::Values(TRestoreCase{"download", {"p.hex"}, false}, TRestoreCase{"reset_only", {"--reset-only"}, false},
                      TRestoreCase{"monitor_ended_by_ctrl_c", {"--reset-only", "--monitor"}, true}),
    NameByField(&TRestoreCase::name));

TEST_F(VelloadTest, ResetOnlySendsTheResetCommandAndNothingElse)
{
    EXPECT_EQ(Run({"--port", peer.Path(), "--reset-only"}), 0) << qPrintable(err);
    EXPECT_EQ(peer.Read(5, 300), kReset);
}

TEST_F(VelloadTest, MonitorCopiesBothWaysUntilTheEndOfInput)
{
    TLoaderScript script;
    script.afterLast = "running\r\n"; // the program's first output, at once after the last record
    TModulePeer module(peer, script, kRecords);
    QProcess process;
    process.start(velload, {"--port", peer.Path(), "--monitor", hex});
    EnsureCoreApplication();
    ASSERT_TRUE(WaitFor(
        [&] {
            process.waitForReadyRead(10);
            return process.peek(64).contains("running\r\n");
        },
        10000));
    module.Join();
    process.write("keys");
    process.waitForBytesWritten(5000);
    EXPECT_EQ(peer.Read(4, 5000), "keys");
    process.closeWriteChannel();
    ASSERT_TRUE(process.waitForFinished(10000));
    EXPECT_EQ(process.exitCode(), 0);
    EXPECT_EQ(process.readAllStandardOutput(), "running\r\n");
}

TEST_F(VelloadTest, MonitorEndsWhenTheModuleGoesAway)
{
    QProcess process;
    process.start(velload, {"--port", peer.Path(), "--reset-only", "--monitor"});
    ASSERT_EQ(peer.Read(4, 5000), kReset);
    peer.Hangup();
    ASSERT_TRUE(process.waitForFinished(10000));
    EXPECT_EQ(process.exitCode(), 1);
    EXPECT_TRUE(process.readAllStandardError().contains("The serial interface went away."));
}

// --- A module that stops reading ----------------------------------------------------------

struct TStalledCase {
    const char *name;
    int signal; // sent once the device's queue is full; 0: none
    qint64 withinMs; // velload ends this long after the signal (or the start of the wait)
    const char *message;
};

class VelloadStalledTest : public VelloadTest, public ::testing::WithParamInterface<TStalledCase> { };

// The peer never reads what velload --monitor sends from its input: the
// write that waits for room ends with the signal, or on its own after the
// write time-out, with status 1 and a message.
TEST_P(VelloadStalledTest, AMonitorWritingToADeviceThatTakesNothingEnds)
{
    const TStalledCase &c = GetParam();
    EnsureCoreApplication();
    QProcess process;
    process.start(velload, {"--port", peer.Path(), "--reset-only", "--monitor"});
    ASSERT_EQ(peer.Read(4, 5000), kReset);
    process.write(QByteArray(1 << 20, 'x'));
    // The device's queue is full once the count of unread bytes stays.
    int unread = -1;
    ASSERT_TRUE(WaitFor(
        [&] {
            const int before = std::exchange(unread, peer.Unread());
            QThread::msleep(100);
            return unread >= 4000 && before == unread;
        },
        10000))
        << unread;
    QElapsedTimer timer;
    timer.start();
    if (c.signal != 0)
        ::kill(pid_t(process.processId()), c.signal);
    ASSERT_TRUE(process.waitForFinished(20000));
    EXPECT_LT(timer.elapsed(), c.withinMs);
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 1);
    const QString err = QString::fromLocal8Bit(process.readAllStandardError());
    EXPECT_TRUE(err.contains(QString::fromUtf8(c.message).arg(peer.Path()))) << qPrintable(err);
}

INSTANTIATE_TEST_SUITE_P(Ends, VelloadStalledTest,
                         ::testing::Values(TStalledCase{"ctrl_c", SIGINT, 1000, "velload: Stopped."},
                                           TStalledCase{"terminated", SIGTERM, 1000, "velload: Stopped."},
                                           TStalledCase{"write_time_out", 0, 3000 + 2000,
                                                        "velload: The device %1 does not take data."}),
                         NameByField(&TStalledCase::name));

// --- The program against the simulated module ------------------------------------------

TEST_F(VelloadTest, DownloadsAndRunsAProgramOnTheSimulatedModule)
{
    const QString source = WriteTestFile(dir.filePath("ready.bas"), "PRINT \"ready\"\r\nEND\r\n");
    QProcess velc;
    velc.start(BinDir() + "/velc", {source});
    ASSERT_TRUE(velc.waitForFinished(20000));
    ASSERT_TRUE(QFile::exists(dir.filePath("ready.hex"))) << velc.readAllStandardOutput().constData();
    QProcess velsim;
    const QString link = dir.filePath("module");
    velsim.start(BinDir() + "/velsim", {"--pty", "--link", link, "--once"});
    EnsureCoreApplication();
    ASSERT_TRUE(WaitFor([&] { return QFile::exists(link); }, 10000));

    QProcess process;
    process.start(velload, {"--port", link, "--monitor", dir.filePath("ready.hex")});
    ASSERT_TRUE(WaitFor(
        [&] {
            process.waitForReadyRead(10);
            return process.peek(64).contains("ready");
        },
        10000));
    process.closeWriteChannel();
    ASSERT_TRUE(process.waitForFinished(10000));
    EXPECT_EQ(process.exitCode(), 0);
    EXPECT_TRUE(process.readAllStandardError().contains("records sent."));
    velsim.kill();
    velsim.waitForFinished();
}

// --- A reader that goes away ------------------------------------------------------------

TEST(VelloadOutput, AClosedOutputPipeEndsNoRunBySignal)
{
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    ::close(ends[0]);
    QProcess process;
    process.setChildProcessModifier([&ends] { ::dup2(ends[1], STDOUT_FILENO); });
    process.start(BinDir() + "/velload", {"--help"});
    ASSERT_TRUE(process.waitForFinished(10000));
    ::close(ends[1]);
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 0);
}

TEST(VelloadSimulatedModule, PortSimStartsTheSimulatorBesideVelloadForTheRun)
{
    QTemporaryDir dir;
    const QString source = WriteTestFile(dir.filePath("ready.bas"), "PRINT \"ready\"\r\nEND\r\n");
    QProcess velc;
    velc.start(BinDir() + "/velc", {source});
    ASSERT_TRUE(velc.waitForFinished(20000));
    EnsureCoreApplication();
    QProcess process;
    process.start(BinDir() + "/velload", {"--port", "sim", "--monitor", dir.filePath("ready.hex")});
    ASSERT_TRUE(WaitFor(
        [&] {
            process.waitForReadyRead(10);
            return process.peek(64).contains("ready");
        },
        20000))
        << process.readAllStandardError().constData();
    process.closeWriteChannel();
    ASSERT_TRUE(process.waitForFinished(10000));
    EXPECT_EQ(process.exitCode(), 0);
}

} // namespace
