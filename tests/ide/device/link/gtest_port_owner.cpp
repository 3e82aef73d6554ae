// The port has one owner at a time. While a transfer thread holds it, the
// port's own thread (the user-interface thread) neither uses the device nor
// sees its events; an event being handled when a transfer starts is finished
// before the transfer touches the line; and with no console connected the
// transfer closes the device before the event thread may watch it again.
// tools/tsan.sh runs these under ThreadSanitizer as well, which reports any
// access between the threads that bypasses the owner.

#include "../../support/ModulePeer.h"
#include "../../support/TestFiles.h"
#include "Transfer.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QThread>
#include <functional>
#include <gtest/gtest.h>
#include <semaphore>
#include <sys/ioctl.h>
#include <thread>

namespace {

const QList<QByteArray> kRecords = {":0300000002000DEE", ":04000300A0B0C0D019", ":00000001FF"};
const TTransferTimings kFast = {500, 1000, 2, 1};

// Waits without handling events, as a busy event handler does.
bool SpinUntil(const std::function<bool()> &condition, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QThread::msleep(2);
    }
    return true;
}

// The bytes waiting on the device, counted on the test's own descriptor.
int WaitingOnTheDevice(const TPtyPeer &peer)
{
    int count = 0;
    ::ioctl(peer.TerminalFd(), FIONREAD, &count);
    return count;
}

class PortOwnerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        EnsureCoreApplication();
        ASSERT_TRUE(peer.Valid());
        port.SetComPort(peer.Path());
        file = WriteTestFile(dir.filePath("p.hex"), kRecords.join("\r\n"));
    }
    // Starts the task and handles events until it ended, calling `look`
    // between events as the status bar looks at the port.
    void RunToTheEnd(TMcuLoadTask &task, const std::function<void()> &look = {})
    {
        bool ended = false;
        task.OnEnd = [&ended](TMcuLoadTask *) { ended = true; };
        if (!task.Running())
            task.Start();
        QElapsedTimer timer;
        timer.start();
        while (!ended && timer.elapsed() < 10000) {
            QCoreApplication::processEvents();
            if (look)
                look();
        }
        EXPECT_TRUE(ended);
    }

    TPtyPeer peer;
    TMcuComPort port;
    QTemporaryDir dir;
    QString file;
};

// The console is connected and handling received bytes when the download
// starts: the transfer waits until the handler is done, so the console never
// reads while the module answers the reset.
TEST_F(PortOwnerTest, AnEventBeingHandledWhenATransferStartsIsFinishedBeforeTheResetGoesOut)
{
    ASSERT_TRUE(port.OpenPort(false));
    TModulePeer module(peer, {}, kRecords);
    TMcuLoadTask task(port, file);
    task.Transfer().Timings = kFast;
    int events = 0;
    bool resetWhileHandling = false;
    QByteArray console;
    port.OnReceive = [&](TMcuComPort *sender, quint16 count) {
        if (events++ == 0) {
            task.Start();
            resetWhileHandling = SpinUntil([&] { return module.Resets() > 0; }, 300);
        }
        QByteArray chunk(count, 0);
        console.append(chunk.constData(), sender->ReadBuffer(chunk.data(), count));
    };
    peer.Write("x");
    ASSERT_TRUE(WaitFor([&] { return events > 0; }));
    RunToTheEnd(task);
    module.Join();
    EXPECT_FALSE(resetWhileHandling);
    EXPECT_EQ(task.ErrorText(), QString());
    EXPECT_EQ(console, QByteArray("x"));
    EXPECT_EQ(port.Requests(), 1);
    EXPECT_TRUE(port.EventThreadRunning());
}

// A firmware update with no console: the program the module starts prints at
// once, while the transfer is ending. The event thread must never watch the
// transfer's device, and the user-interface thread, looking at the port all
// along, never sees it open with the event thread running.
TEST_F(PortOwnerTest, WithNoConsoleTheTransferClosesTheDeviceBeforeTheEventThreadResumes)
{
    int handled = 0;
    port.OnReceive = [&handled](TMcuComPort *, quint16) { ++handled; };
    int overlaps = 0;
    for (int round = 0; round < 20; ++round) {
        TLoaderScript script;
        script.afterLast = "started\r\n";
        TModulePeer module(peer, script, kRecords);
        TMcuLoadTask task(port, file);
        task.Transfer().Timings = kFast;
        RunToTheEnd(task, [&] {
            const bool open = port.Open();
            if (open && port.EventThreadRunning() && port.Requests() == 1)
                ++overlaps;
        });
        module.Join();
        EXPECT_EQ(task.ErrorText(), QString()) << "round " << round;
        ::tcflush(peer.TerminalFd(), TCIFLUSH); // what the program printed
    }
    EXPECT_EQ(overlaps, 0);
    EXPECT_EQ(port.EventsSeen(), 0);
    EXPECT_EQ(handled, 0);
    EXPECT_FALSE(port.Open());
    EXPECT_EQ(port.Requests(), 0);
}

// A thread that holds the port as a transfer does, until released.
class TTransferOwner {
public:
    explicit TTransferOwner(TMcuComPort &port)
        : m_port(port)
        , m_thread([this] { Hold(); })
    {
        m_ready.acquire();
    }
    ~TTransferOwner()
    {
        Release();
    }
    void Release()
    {
        if (!m_thread.joinable())
            return;
        m_release.release();
        m_thread.join();
    }
    bool Opened() const
    {
        return m_opened;
    }
    // What was waiting to be read when the owner let go.
    int LeftToRead() const
    {
        return m_leftToRead;
    }

private:
    void Hold()
    {
        m_port.SetPolling(true);
        m_opened = m_port.OpenPort(true);
        m_ready.release();
        m_release.acquire();
        m_leftToRead = m_port.RxBufferCount();
        m_port.ClosePort();
        m_port.SetPolling(false);
    }

    TMcuComPort &m_port;
    bool m_opened = false;
    int m_leftToRead = -1;
    std::binary_semaphore m_ready{0};
    std::binary_semaphore m_release{0};
    std::thread m_thread;
};

struct TIntrusionCase {
    const char *name;
    // What another thread tries while the transfer owns the port; true when
    // the call reports that it did something.
    bool (*attempt)(TMcuComPort &port);
};

bool Write(TMcuComPort &port)
{
    return port.WriteString("key");
}

bool Read(TMcuComPort &port)
{
    char buffer[8];
    return port.ReadBuffer(buffer, 8) > 0;
}

bool WaitForReply(TMcuComPort &port)
{
    return port.WaitForChar('a', 50) || port.WaitForString("bc", 50);
}

bool CountInput(TMcuComPort &port)
{
    return port.RxBufferCount() > 0;
}

bool ChangeLine(TMcuComPort &port)
{
    port.SetBaudrate(br300);
    return port.Baudrate() == br300;
}

bool OpenAndClose(TMcuComPort &port)
{
    const bool opened = port.OpenPort(true);
    const bool closed = port.ClosePort();
    return opened || closed;
}

bool EndPolling(TMcuComPort &port)
{
    port.SetPolling(false);
    return !port.Polling() || port.EventThreadRunning();
}

class IntrusionTest : public PortOwnerTest, public ::testing::WithParamInterface<TIntrusionCase> { };

// Nothing another thread tries reaches the device or changes the port: the
// bytes stay for the owner, nothing goes out, the line and the count stay.
TEST_P(IntrusionTest, AnotherThreadCannotUseThePortATransferOwns)
{
    TTransferOwner owner(port);
    ASSERT_TRUE(owner.Opened());
    peer.Write("abc");
    ASSERT_TRUE(SpinUntil([&] { return WaitingOnTheDevice(peer) == 3; }, 2000));
    EXPECT_FALSE(GetParam().attempt(port));
    EXPECT_EQ(port.Requests(), 1);
    EXPECT_EQ(port.Baudrate(), br9600);
    owner.Release();
    EXPECT_EQ(owner.LeftToRead(), 3);
    EXPECT_TRUE(peer.ReadAvailable().isEmpty());
    EXPECT_EQ(port.Requests(), 0);
    EXPECT_FALSE(port.Polling());
}

INSTANTIATE_TEST_SUITE_P(Calls, IntrusionTest,
                         ::testing::Values(TIntrusionCase{"write", Write}, TIntrusionCase{"read", Read},
                                           TIntrusionCase{"wait_for_reply", WaitForReply},
                                           TIntrusionCase{"count_input", CountInput},
                                           TIntrusionCase{"change_line", ChangeLine},
                                           TIntrusionCase{"open_and_close", OpenAndClose},
                                           TIntrusionCase{"end_polling", EndPolling}),
                         [](const auto &info) { return std::string(info.param.name); });

} // namespace
