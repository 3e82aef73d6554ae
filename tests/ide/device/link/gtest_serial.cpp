// The serial port on pseudo-terminals with a scripted peer: counted opening
// and closing, refused devices, line settings as the device reads them back,
// reply waits, received-data events, polling, and a peer that goes away.

#include "../../support/ChildCheck.h"
#include "../../support/PtyPeer.h"
#include "Serial.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>

namespace {

speed_t OutputSpeed(const TPtyPeer &peer)
{
    const termios t = peer.Attributes();
    return cfgetospeed(&t);
}

class SerialPortTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        EnsureCoreApplication();
        ASSERT_TRUE(peer.Valid());
        port.SetComPort(peer.Path());
        port.OnWarning = [this](const QString &message, const QString &detail) {
            warnings << message + " | " + detail;
        };
    }

    TPtyPeer peer;
    TMcuComPort port;
    QStringList warnings;
};

TEST_F(SerialPortTest, OpeningIsCountedAndTheLastCloseReleases)
{
    EXPECT_TRUE(port.OpenPort(false));
    EXPECT_TRUE(port.OpenPort(false));
    EXPECT_EQ(port.Requests(), 2);
    EXPECT_FALSE(port.ClosePort());
    EXPECT_TRUE(port.Open());
    EXPECT_TRUE(port.ClosePort());
    EXPECT_FALSE(port.Open());
    EXPECT_TRUE(port.ClosePort()); // a close too many leaves the count at 0
    EXPECT_EQ(port.Requests(), 0);
    EXPECT_TRUE(warnings.isEmpty());
}

struct TRefusedCase {
    const char *name;
    bool silent;
};

class RefusedDeviceTest : public SerialPortTest, public ::testing::WithParamInterface<TRefusedCase> { };

TEST_P(RefusedDeviceTest, AFailedOpenKeepsItsRequestAndWarnsUnlessSilent)
{
    port.SetComPort(QDir::tempPath() + "/velmo-no-such-device");
    EXPECT_FALSE(port.OpenPort(GetParam().silent));
    EXPECT_FALSE(port.Open());
    EXPECT_EQ(port.Requests(), 1);
    EXPECT_TRUE(port.ClosePort());
    EXPECT_EQ(port.Requests(), 0);
    if (GetParam().silent)
        EXPECT_TRUE(warnings.isEmpty());
    else
        EXPECT_EQ(warnings,
                  QStringList({"Unable to open the serial interface! | Please check, if any other "
                               "application already uses the selected device.\n" +
                               port.ComPort() + ": there is no such device."}));
    EXPECT_EQ(port.OpenError(), port.ComPort() + ": there is no such device.");
}

INSTANTIATE_TEST_SUITE_P(Silent, RefusedDeviceTest,
                         ::testing::Values(TRefusedCase{"warns", false}, TRefusedCase{"silent", true}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(SerialPortTest, AFileThatIsNoTerminalIsRefused)
{
    QTemporaryDir dir;
    QFile file(dir.filePath("plain"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    port.SetComPort(file.fileName());
    EXPECT_FALSE(port.OpenPort(true));
    EXPECT_FALSE(port.Open());
    EXPECT_EQ(port.OpenError(), file.fileName() + ": it is no serial device.");
}

TEST_F(SerialPortTest, ADeviceInUseByAnotherPortIsRefused)
{
    ASSERT_TRUE(port.OpenPort(false));
    TMcuComPort second;
    second.SetComPort(peer.Path());
    QStringList secondWarnings;
    second.OnWarning = [&](const QString &message, const QString &detail) { secondWarnings << message + detail; };
    EXPECT_FALSE(second.OpenPort(false));
    EXPECT_EQ(secondWarnings,
              QStringList({"Unable to open the serial interface!Please check, if any other application "
                           "already uses the selected device.\n" +
                           peer.Path() + ": it is in use by another program."}));
    EXPECT_TRUE(port.Open());
}

struct TReasonCase {
    const char *name;
    int error;
    const char *reason;
};

class OpenReasonTest : public ::testing::TestWithParam<TReasonCase> { };

TEST_P(OpenReasonTest, TheReasonNamesTheDeviceAndOnlyARefusedPermissionHintsAtTheGroup)
{
    const TReasonCase &c = GetParam();
    const QString reason = TMcuComPort::OpenFailedReason("/dev/ttyUSB9", c.error);
    EXPECT_TRUE(reason.startsWith(QString("/dev/ttyUSB9: ") + c.reason + ".")) << reason.toStdString();
    const bool permission = c.error == EACCES || c.error == EPERM;
    EXPECT_EQ(reason.contains("\"dialout\" group"), permission) << reason.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Errors, OpenReasonTest,
                         ::testing::Values(TReasonCase{"missing", ENOENT, "there is no such device"},
                                           TReasonCase{"no_hardware", ENXIO, "there is no such device"},
                                           TReasonCase{"gone", ENODEV, "there is no such device"},
                                           TReasonCase{"no_access", EACCES, "permission denied"},
                                           TReasonCase{"not_permitted", EPERM, "permission denied"},
                                           TReasonCase{"in_use", EBUSY, "it is in use by another program"},
                                           TReasonCase{"no_terminal", ENOTTY, "it is no serial device"},
                                           TReasonCase{"other", EIO, "Input/output error"}),
                         [](const auto &info) { return std::string(info.param.name); });

// The same on a real device, where the test does not run as root.
TEST_F(SerialPortTest, ADeviceWithoutPermissionSaysSoInTheDetail)
{
    ASSERT_EQ(::chmod(peer.Path().toLocal8Bit().constData(), 0), 0);
    // Root opens every device: the open runs as "nobody" where it can.
    TChildSetup setup;
    setup.asNobody = true;
    const TChildResult result = RunInChild(setup, [&]() -> std::string {
        if (port.OpenPort(false))
            return "the device opened";
        if (warnings.size() != 1)
            return std::to_string(warnings.size()) + " warnings";
        if (!warnings[0].contains("\"dialout\" group"))
            return warnings[0].toStdString();
        return {};
    });
    if (result.status == TChildResult::Unavailable)
        GTEST_SKIP() << result.message;
    EXPECT_EQ(result.status, TChildResult::Passed) << result.message;
}

struct TLineCase {
    const char *name;
    TLineSettings line;
    speed_t speed;
    tcflag_t size;
    tcflag_t parity; // PARENB | PARODD | CMSPAR bits expected
    bool twoStopBits;
};

class LineSettingsTest : public SerialPortTest, public ::testing::WithParamInterface<TLineCase> { };

// What the port asks of the driver, bit by bit.
TEST_P(LineSettingsTest, TheTerminalSettingsCarryTheLineSettings)
{
    const TLineCase &c = GetParam();
    termios t{};
    ASSERT_TRUE(LineSettings::BuildTermios(t, c.line));
    EXPECT_EQ(cfgetospeed(&t), c.speed);
    EXPECT_EQ(cfgetispeed(&t), c.speed);
    EXPECT_EQ(t.c_cflag & CSIZE, c.size);
    EXPECT_EQ(t.c_cflag & (PARENB | PARODD | CMSPAR), c.parity);
    EXPECT_EQ((t.c_cflag & CSTOPB) != 0, c.twoStopBits);
    EXPECT_EQ(t.c_cflag & (CRTSCTS | CLOCAL | CREAD), tcflag_t(CLOCAL | CREAD));
    EXPECT_EQ(t.c_iflag & (IXON | IXOFF | INPCK), 0u);
    EXPECT_EQ(t.c_lflag & (ICANON | ECHO | ISIG), 0u);
    EXPECT_EQ(t.c_cc[VMIN], 0);
}

// What the device reads back. A pseudo-terminal has no character framing:
// it keeps 8 data bits and no parity enable, and refuses to be told
// otherwise, so the port applies the rest; the bit rate, the parity kind
// and the stop bits read back.
TEST_P(LineSettingsTest, TheDeviceReadsBackTheSettings)
{
    const TLineCase &c = GetParam();
    port.SetLineSettings(c.line.Pack());
    ASSERT_TRUE(port.OpenPort(false));
    const termios t = peer.Attributes();
    EXPECT_EQ(cfgetospeed(&t), c.speed);
    EXPECT_EQ(t.c_cflag & (PARODD | CMSPAR), c.parity & (PARODD | CMSPAR));
    EXPECT_EQ((t.c_cflag & CSTOPB) != 0, c.twoStopBits);
    EXPECT_EQ(t.c_cflag & CRTSCTS, 0u);
    EXPECT_EQ(t.c_iflag & (IXON | IXOFF), 0u);
    EXPECT_EQ(t.c_lflag & (ICANON | ECHO), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, LineSettingsTest,
    ::testing::Values(TLineCase{"default_9600_8N1", {br9600, db8, sb10, paNONE}, B9600, CS8, 0, false},
                      TLineCase{"s7E2_300", {br300, db7, sb20, paEVEN}, B300, CS7, PARENB, true},
                      TLineCase{"s8O1_115200", {br115200, db8, sb10, paODD}, B115200, CS8, PARENB | PARODD, false},
                      TLineCase{
                          "s6M1_57600", {br57600, db6, sb10, paMARK}, B57600, CS6, PARENB | PARODD | CMSPAR, false},
                      TLineCase{"s5S15_1200", {br1200, db5, sb15, paSPACE}, B1200, CS5, PARENB | CMSPAR, true}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(SerialPortTest, FourDataBitsCannotBeOpened)
{
    port.SetDatabits(db4);
    EXPECT_FALSE(port.OpenPort(false));
    EXPECT_EQ(warnings.size(), 1);
    EXPECT_EQ(port.Requests(), 1);
}

TEST_F(SerialPortTest, SettingsMadeWhileClosedWaitForTheOpenAndOpenOnesApplyAtOnce)
{
    ASSERT_TRUE(port.OpenPort(false));
    port.ClosePort();
    port.SetBaudrate(br38400);
    EXPECT_EQ(OutputSpeed(peer), B9600);
    ASSERT_TRUE(port.OpenPort(false));
    EXPECT_EQ(OutputSpeed(peer), B38400);
    port.SetBaudrate(br2400);
    EXPECT_EQ(OutputSpeed(peer), B2400);
}

TEST_F(SerialPortTest, TheSameLineSettingsDoNotTouchTheDevice)
{
    ASSERT_TRUE(port.OpenPort(false));
    // Someone else changes the device; settings equal to the port's own
    // must not write over that.
    termios t = peer.Attributes();
    cfsetospeed(&t, B600);
    cfsetispeed(&t, B600);
    ASSERT_EQ(::tcsetattr(peer.TerminalFd(), TCSANOW, &t), 0);
    port.SetLineSettings(port.LineSettings());
    EXPECT_EQ(OutputSpeed(peer), B600);
    TLineSettings other = TLineSettings::Unpack(port.LineSettings());
    other.Parity = paODD;
    port.SetLineSettings(other.Pack());
    EXPECT_EQ(OutputSpeed(peer), B9600);
    EXPECT_EQ(peer.Attributes().c_cflag & PARODD, tcflag_t(PARODD));
}

TEST_F(SerialPortTest, ChangingTheDeviceWhileOpenMovesTheConnectionAndKeepsTheCount)
{
    ASSERT_TRUE(port.OpenPort(false));
    ASSERT_TRUE(port.OpenPort(false));
    TPtyPeer other;
    port.SetComPort(other.Path());
    EXPECT_TRUE(port.Open());
    EXPECT_EQ(port.Requests(), 2);
    EXPECT_TRUE(port.WriteString("hello"));
    EXPECT_EQ(other.Read(5), QByteArray("hello"));
    EXPECT_TRUE(peer.ReadAvailable().isEmpty());
}

TEST_F(SerialPortTest, WritesAndReadsOnAClosedPortDoNothing)
{
    char buffer[4];
    EXPECT_EQ(port.WriteBuffer("abc", 3), 0);
    EXPECT_FALSE(port.WriteString("abc"));
    EXPECT_EQ(port.ReadBuffer(buffer, 4), 0);
    EXPECT_FALSE(port.WaitForChar('x', 10));
    EXPECT_EQ(port.RxBufferCount(), 0);
    EXPECT_EQ(port.TxBufferFree(), 0);
}

TEST_F(SerialPortTest, QueueCountsAndDrain)
{
    ASSERT_TRUE(port.OpenPort(false));
    port.SetPolling(true);
    peer.Write("12345");
    ASSERT_TRUE(WaitFor([&] { return port.RxBufferCount() == 5; }));
    char buffer[8];
    EXPECT_EQ(port.ReadBuffer(buffer, 8), 5);
    EXPECT_EQ(port.RxBufferCount(), 0);
    EXPECT_EQ(port.TxBufferFree(), TMcuComPort::kQueueSize);
    EXPECT_TRUE(port.WriteString("abc"));
    port.Drain();
    EXPECT_EQ(peer.Read(3), QByteArray("abc"));
}

// --- Writes to a device that stops taking data --------------------------------

struct TStallCase {
    const char *name;
    int timeoutMs; // the port's write time-out
    int cancelAfterMs; // another thread cancels the writes then; -1: never
    bool stalled; // the port counts as stalled afterwards
    qint64 withinMs; // the write gives up before this
};

class WriteStallTest : public SerialPortTest, public ::testing::WithParamInterface<TStallCase> { };

// The peer never reads: the driver's queue fills and the write must give up
// instead of waiting for room for ever.
TEST_P(WriteStallTest, AWriteThatFindsNoRoomGivesUp)
{
    const TStallCase &c = GetParam();
    port.SetBaudrate(br115200);
    port.SetWriteTimeout(c.timeoutMs);
    ASSERT_TRUE(port.OpenPort(false));
    const QByteArray flood(1 << 20, 'x');
    // The clock starts before the canceller's sleep, so the cancel can never
    // come sooner than the clock says.
    QElapsedTimer timer;
    timer.start();
    std::thread canceller;
    if (c.cancelAfterMs >= 0)
        canceller = std::thread([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(c.cancelAfterMs));
            port.CancelWrites();
        });
    EXPECT_FALSE(port.WriteString(flood));
    EXPECT_LT(timer.elapsed(), c.withinMs);
    EXPECT_GE(timer.elapsed(), std::max(c.cancelAfterMs, 0));
    if (canceller.joinable())
        canceller.join();
    EXPECT_EQ(port.WriteStalled(), c.stalled);
}

INSTANTIATE_TEST_SUITE_P(Stalls, WriteStallTest,
                         ::testing::Values(TStallCase{"write_time_out", 200, -1, true, 2000},
                                           TStallCase{"cancelled_before_the_time_out", 60000, 150, false, 1000},
                                           TStallCase{"cancelled_before_the_write", 60000, 0, false, 1000}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(SerialPortTest, AStalledPortWritesWithoutWaitingUntilAWriteGoesThroughWhole)
{
    port.SetBaudrate(br115200);
    port.SetWriteTimeout(200);
    ASSERT_TRUE(port.OpenPort(false));
    EXPECT_FALSE(port.WriteString(QByteArray(1 << 20, 'x')));
    ASSERT_TRUE(port.WriteStalled());
    QElapsedTimer timer;
    timer.start();
    EXPECT_FALSE(port.WriteString("more")); // the queue is still full
    EXPECT_LT(timer.elapsed(), 100);
    while (!peer.ReadAvailable().isEmpty()) { } // the device takes data again
    EXPECT_TRUE(port.WriteString("more"));
    EXPECT_FALSE(port.WriteStalled());
    EXPECT_TRUE(port.WriteStalledText().contains(peer.Path())) << qPrintable(port.WriteStalledText());
}

struct TWaitCase {
    const char *name;
    QByteArray peerSends;
    QByteArray expected; // one byte for WaitForChar, else WaitForString
    bool result;
};

class ReplyWaitTest : public SerialPortTest, public ::testing::WithParamInterface<TWaitCase> { };

// Every wait ends either on the reply or when the injected clock passes the
// time-out, which it does after a few reads of the clock.
TEST_P(ReplyWaitTest, WaitsForTheReply)
{
    const TWaitCase &c = GetParam();
    qint64 now = 0;
    port.SetTickSource([&now] { return now += 5; });
    ASSERT_TRUE(port.OpenPort(false));
    port.SetPolling(true);
    peer.Write(c.peerSends);
    ASSERT_TRUE(WaitFor([&] { return port.RxBufferCount() == c.peerSends.size(); }));
    const bool result =
        c.expected.size() == 1 ? port.WaitForChar(quint8(c.expected[0]), 100) : port.WaitForString(c.expected, 100);
    EXPECT_EQ(result, c.result);
}

INSTANTIATE_TEST_SUITE_P(Replies, ReplyWaitTest,
                         ::testing::Values(TWaitCase{"char_arrives", ".", ".", true},
                                           TWaitCase{"char_other_first", "x.", ".", false},
                                           TWaitCase{"char_never", "", ".", false},
                                           TWaitCase{"string_after_noise", "xyOK", "OK", true},
                                           TWaitCase{"string_split_noise", "OxOK", "OK", true},
                                           TWaitCase{"string_only_first_byte", "O", "OK", false},
                                           TWaitCase{"string_never", "", "OK", false}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(SerialPortTest, AReplyWaitTimesOutInRealMilliseconds)
{
    ASSERT_TRUE(port.OpenPort(false));
    port.SetPolling(true);
    QElapsedTimer timer;
    timer.start();
    EXPECT_FALSE(port.WaitForString("OK", 30));
    EXPECT_GE(timer.elapsed(), 29);
}

TEST_F(SerialPortTest, ReceivedBytesArriveAsEventsOnThePortsThread)
{
    QByteArray received;
    QList<bool> onMainThread;
    port.OnReceive = [&](TMcuComPort *sender, quint16 count) {
        onMainThread << (QThread::currentThread() == QCoreApplication::instance()->thread());
        QByteArray chunk(count, 0);
        received.append(chunk.constData(), sender->ReadBuffer(chunk.data(), count));
    };
    ASSERT_TRUE(port.OpenPort(false));
    QByteArray all;
    for (int i = 0; i < 256; ++i)
        all.append(char(i));
    peer.Write(all);
    ASSERT_TRUE(WaitFor([&] { return received.size() == all.size(); }));
    EXPECT_EQ(received, all);
    EXPECT_FALSE(onMainThread.contains(false));
}

TEST_F(SerialPortTest, PollingHoldsTheEventThreadAndSuspensionsAreCounted)
{
    int events = 0;
    port.OnReceive = [&](TMcuComPort *, quint16) { ++events; };
    EXPECT_FALSE(port.EventThreadRunning());
    port.SetPolling(true);
    ASSERT_TRUE(port.OpenPort(false));
    EXPECT_FALSE(port.EventThreadRunning()); // held by the polling
    peer.Write("x");
    char byte = 0;
    ASSERT_TRUE(port.WaitForChar('x', 5000)); // the transfer reads the byte itself
    EXPECT_EQ(events, 0);
    port.SetPolling(false);
    EXPECT_TRUE(port.EventThreadRunning());
    peer.Write("y");
    ASSERT_TRUE(WaitFor([&] { return events > 0; }));
    EXPECT_EQ(port.ReadBuffer(&byte, 1), 1);
    port.ClosePort();
    EXPECT_FALSE(port.EventThreadRunning());
    port.SetPolling(true);
    port.SetPolling(false);
    EXPECT_FALSE(port.EventThreadRunning()); // the close still holds it
}

TEST_F(SerialPortTest, UnreadInputIsReportedOnceUntilSomebodyReads)
{
    int events = 0;
    port.OnReceive = [&](TMcuComPort *, quint16) { ++events; };
    ASSERT_TRUE(port.OpenPort(false));
    peer.Write("abc");
    ASSERT_TRUE(WaitFor([&] { return events == 1; }));
    // The handler read nothing: the same bytes are not reported again.
    EXPECT_FALSE(WaitFor([&] { return events > 1; }, 100));
    char buffer[3];
    EXPECT_EQ(port.ReadBuffer(buffer, 3), 3);
    peer.Write("d");
    EXPECT_TRUE(WaitFor([&] { return events == 2; }));
}

TEST_F(SerialPortTest, OnlyTheHighestPriorityEventOfAWakeUpIsDispatched)
{
    QStringList dispatched;
    port.OnReceive = [&](TMcuComPort *, quint16) { dispatched << "receive"; };
    port.OnTransmit = [&](TMcuComPort *) { dispatched << "transmit"; };
    port.OnError = [&](TMcuComPort *) { dispatched << "error"; };
    port.OnCTSChanged = [&](TMcuComPort *) { dispatched << "cts"; };
    port.OnDSRChanged = [&](TMcuComPort *) { dispatched << "dsr"; };
    port.HandleEvents(evRxChar | evErr | evCts);
    port.HandleEvents(evTxEmpty | evErr);
    port.HandleEvents(evErr | evCts | evDsr);
    port.HandleEvents(evCts | evDsr);
    port.HandleEvents(evDsr);
    port.HandleEvents(0);
    EXPECT_EQ(dispatched, QStringList({"receive", "transmit", "error", "cts", "dsr"}));
}

// A serial adapter unplugged while connected: the event thread reports the
// error once and stops watching the dead device, reads and writes give 0,
// closing works, and the device opens again once it is back.
TEST(SerialPortVanishing, ThePortSurvivesThePeerGoingAwayAndReopens)
{
    EnsureCoreApplication();
    QTemporaryDir dir;
    const QString link = dir.filePath("module");
    auto first = std::make_unique<TPtyPeer>();
    first->CloseTerminal();
    ASSERT_TRUE(QFile::link(first->Path(), link));

    TMcuComPort port;
    port.SetComPort(link);
    int errors = 0;
    QByteArray received;
    port.OnError = [&](TMcuComPort *) { ++errors; };
    port.OnReceive = [&](TMcuComPort *sender, quint16 count) {
        QByteArray chunk(count, 0);
        received.append(chunk.constData(), sender->ReadBuffer(chunk.data(), count));
    };
    ASSERT_TRUE(port.OpenPort(false));
    first->Write("last words");
    ASSERT_TRUE(WaitFor([&] { return received == "last words"; }));
    first->Hangup();
    ASSERT_TRUE(WaitFor([&] { return port.DeviceGone() && errors == 1; }));
    EXPECT_FALSE(WaitFor([&] { return errors > 1; }, 100)); // no further wake-ups

    char buffer[8];
    EXPECT_EQ(port.ReadBuffer(buffer, 8), 0);
    EXPECT_FALSE(port.WriteString("anyone?"));
    EXPECT_FALSE(port.WaitForChar('x', 50));
    EXPECT_TRUE(port.ClosePort());
    EXPECT_FALSE(port.Open());

    TPtyPeer second;
    second.CloseTerminal();
    ASSERT_TRUE(QFile::remove(link));
    ASSERT_TRUE(QFile::link(second.Path(), link));
    ASSERT_TRUE(port.OpenPort(false));
    EXPECT_FALSE(port.DeviceGone());
    second.Write("back");
    EXPECT_TRUE(WaitFor([&] { return received.endsWith("back"); }));
    EXPECT_TRUE(port.WriteString("hi"));
    EXPECT_EQ(second.Read(2), QByteArray("hi"));
}

// An event of the old device (a hang-up reports input and an error) that is
// still queued when the port moves to a new one is dropped: the new device is
// neither reported gone nor left unwatched.
TEST(SerialPortVanishing, AQueuedHangUpDoesNotReachTheNextDevice)
{
    EnsureCoreApplication();
    QTemporaryDir dir;
    const QString link = dir.filePath("module");
    auto first = std::make_unique<TPtyPeer>();
    first->CloseTerminal();
    ASSERT_TRUE(QFile::link(first->Path(), link));
    TMcuComPort port;
    port.SetComPort(link);
    int errors = 0;
    QByteArray received;
    port.OnError = [&](TMcuComPort *) { ++errors; };
    port.OnReceive = [&](TMcuComPort *sender, quint16 count) {
        QByteArray chunk(count, 0);
        received.append(chunk.constData(), sender->ReadBuffer(chunk.data(), count));
    };
    ASSERT_TRUE(port.OpenPort(false));
    first->Hangup();
    // The event thread sees the hang-up and waits for this thread, which
    // closes the port and opens the next device before handling events.
    QElapsedTimer timer;
    timer.start();
    while (port.EventsSeen() == 0 && timer.elapsed() < 5000)
        QThread::yieldCurrentThread();
    ASSERT_EQ(port.EventsSeen(), 1);
    EXPECT_TRUE(port.ClosePort());
    TPtyPeer second;
    second.CloseTerminal();
    ASSERT_TRUE(QFile::remove(link));
    ASSERT_TRUE(QFile::link(second.Path(), link));
    ASSERT_TRUE(port.OpenPort(false));
    QCoreApplication::processEvents(); // the old device's event, before any new byte
    second.Write("fresh");
    EXPECT_TRUE(WaitFor([&] { return received == "fresh"; }));
    EXPECT_EQ(errors, 0);
    EXPECT_FALSE(port.DeviceGone());
}

// Destroying a port whose event thread waits in a hand-off returns, and the
// event that was never handled is dropped with the port.
TEST(SerialPortLifetime, DestroyingThePortWithAnEventPendingReturns)
{
    EnsureCoreApplication();
    TPtyPeer peer;
    auto port = std::make_unique<TMcuComPort>();
    port->SetComPort(peer.Path());
    int calls = 0;
    port->OnReceive = [&](TMcuComPort *, quint16) { ++calls; };
    ASSERT_TRUE(port->OpenPort(false));
    peer.Write("pending");
    // The event thread sees the bytes and waits for this thread, which
    // handles no events before the port goes.
    QElapsedTimer timer;
    timer.start();
    while (port->EventsSeen() == 0 && timer.elapsed() < 5000)
        QThread::yieldCurrentThread();
    ASSERT_EQ(port->EventsSeen(), 1);
    port.reset();
    QCoreApplication::processEvents();
    EXPECT_EQ(calls, 0);
}

} // namespace
