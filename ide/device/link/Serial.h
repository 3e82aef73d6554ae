#pragma once

#include "LineSettings.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

class TMcuComTask;
class TSimulatedModule;

// Line events as the event thread reports them. Only received characters and
// line errors (which include the device going away) occur on POSIX; the other
// kinds keep their dispatch methods.
enum TComEvent : std::uint32_t {
    evRxChar = 0x01,
    evTxEmpty = 0x04,
    evCts = 0x08,
    evDsr = 0x10,
    evErr = 0x80,
};

// Read time-outs: the interval between two bytes, and a total of a constant
// plus a multiple of the bytes asked for.
struct TComTimeouts {
    int readInterval;
    int readTotalMultiplier;
    int readTotalConstant;
};

// The serial device the workbench talks to the module through. It opens one
// device exclusively in raw mode, applies the line settings, and delivers
// line events on the thread it lives on (the user-interface thread): an event
// thread blocks in poll() on the device and hands each event over with a
// blocking call. Opening and closing are counted requests, always in pairs;
// the device is released when the last user closes it.
//
// One owner. Only the thread that owns the port opens, closes, reads, writes,
// waits for replies or changes the line; calls from any other thread change
// nothing (reads and writes give 0, waits and opens false). The owner is the
// port's thread, except while Polling is on: then it is the thread that
// switched Polling on (a transfer thread, or the port's thread itself), until
// that thread switches it off. The hand-over:
//  - Taking the port (Polling on) holds the event thread and waits until an
//    event being handled on the port's thread is finished; an event the
//    event thread saw earlier is dropped when it arrives. This is the one
//    wait of a transfer thread for the port's thread besides starting the
//    simulator, so an event handler must not wait for a transfer thread (as
//    destroying a running download task does). Nothing the port's thread
//    calls waits for the event thread or for a transfer.
//  - Handing it back (Polling off) lets the event thread watch the device
//    again; a transfer closes its own request before, so a device it opened
//    is closed before the event thread may look at it.
// m_lock guards everything both threads read (the descriptor, the count, the
// device name, the line settings, the owner, an event being handled); the
// owner does its input and output outside the lock, since no other thread
// may close the descriptor meanwhile.
//
// The port name "Simulated module" opens the pseudo-terminal of velsim,
// started from ProgramDir by the first open. The simulator lives on the
// port's thread: a transfer thread's open has it started there (the port's
// thread must be handling events meanwhile, as under a modal dialog), and a
// transfer thread's last close leaves it running with its program, as a module
// keeps running when the line is closed. It ends when the last user on the
// port's own thread closes the port, when another device is chosen, and with
// the port.
class TMcuComPort : public QObject {
public:
    using TTickSource = std::function<qint64()>;
    using TNotifyEvent = std::function<void(TMcuComPort *sender)>;
    using TOnReceive = std::function<void(TMcuComPort *sender, quint16 count)>;
    using TOnWarning = std::function<void(const QString &message, const QString &detail)>;

    static constexpr int kQueueSize = 2048;
    static constexpr TComTimeouts kNormalTimeouts = {40, 1, 10};
    static constexpr TComTimeouts kShortTimeouts = {1, 0, 1};
    // A write gives up when the device takes nothing for this long (or, on a
    // slow line, for the time kStallBytes take at its bit rate).
    static constexpr int kWriteTimeoutMs = 3000;
    static constexpr int kStallBytes = 512;
    // A waiting write looks at a cancel this often.
    static constexpr int kWriteSliceMs = 50;

    explicit TMcuComPort(QObject *owner = nullptr);
    ~TMcuComPort() override;

    // --- Opening and closing (counted) ----------------------------------
    bool OpenPort(bool Silent);
    bool ClosePort(); // true when the count reached 0
    bool SetupPort();
    bool Open() const;
    int Requests() const;

    // While a debug session runs, the simulated module is the debugger's
    // pseudo-terminal at path; empty, it is velsim --pty again.
    void SetDebugDevice(const QString &path);

    // --- Line settings ----------------------------------------------------
    QString ComPort() const;
    void SetComPort(const QString &value);
    TBaudrate Baudrate() const
    {
        return Line().Baudrate;
    }
    void SetBaudrate(TBaudrate value);
    TDataBits Databits() const
    {
        return Line().Databits;
    }
    void SetDatabits(TDataBits value);
    TStopBits StopBits() const
    {
        return Line().StopBits;
    }
    void SetStopBits(TStopBits value);
    TParity Parity() const
    {
        return Line().Parity;
    }
    void SetParity(TParity value);
    // The four line settings as one value (TLineSettings::Pack); setting them
    // to the values in force does not touch the device.
    std::uint32_t LineSettings() const
    {
        return Line().Pack();
    }
    void SetLineSettings(std::uint32_t value);

    // --- Reading and writing ---------------------------------------------
    // A write waits for room in the driver's queue, but never without limit:
    // when the device takes nothing for the write time-out, the write gives
    // up with what it has sent and the port counts as stalled. While it is
    // stalled, writes do not wait at all; a write that goes through whole
    // ends the stall.
    int WriteBuffer(const char *buffer, quint16 Count);
    bool WriteString(const QByteArray &Text);
    void SetWriteTimeout(int ms);
    bool WriteStalled() const;
    // "The device ... does not take data." for the port's device.
    QString WriteStalledText() const;
    // From now on no write waits for room, also one waiting now (a signal
    // handler may call it: it only sets a flag).
    void CancelWrites();
    int ReadBuffer(char *buffer, quint16 Count);
    bool WaitForChar(quint8 Value, int Timeout);
    bool WaitForString(const QByteArray &Text, int Timeout);
    // Waits until every byte written has left the driver.
    void Drain();
    int RxBufferCount() const;
    int TxBufferCount() const;
    int TxBufferFree() const;

    // --- Polling: the calling thread owns the port and reads itself -------
    bool Polling() const;
    // On: the calling thread takes the port (refused while another thread
    // polls). Off: only the thread that switched it on hands the port back.
    void SetPolling(bool value);
    // Whether the event thread is allowed to wait for events (tests).
    bool EventThreadRunning() const;
    // Whether the device went away while open (the other side hung up).
    bool DeviceGone() const;
    // Events the event thread has seen since the port was made (tests).
    int EventsSeen() const;

    // The millisecond clock of the reply waits (tests inject their own).
    void SetTickSource(TTickSource source);

    // --- Events -------------------------------------------------------------
    TOnReceive OnReceive;
    TNotifyEvent OnTransmit;
    TNotifyEvent OnCTSChanged;
    TNotifyEvent OnDSRChanged;
    TNotifyEvent OnError;
    // Shown when a device cannot be opened (the workbench's message dialog;
    // a program without windows prints it).
    TOnWarning OnWarning;

    // Why a device cannot be opened, the second line of the warning's
    // detail: the device and the system's reason ("/dev/ttyUSB9: there is no
    // such device."), with the hint to join the dialout group when
    // permission was refused.
    static QString OpenFailedReason(const QString &device, int error);
    // Why the last open of this port failed (OpenFailedReason), silent opens
    // included; empty after one that succeeded.
    QString OpenError() const;

    // Runs the one dispatch method the event mask calls for.
    void HandleEvents(std::uint32_t mask);

protected:
    virtual void DoReceive();
    virtual void DoTransmit();
    virtual void DoError();
    virtual void DoCTSChanged();
    virtual void DoDSRChanged();

private:
    friend class TMcuComTask;

    TLineSettings Line() const;
    // Whether the calling thread owns the port; m_lock is held.
    bool OwnedByCaller() const;
    // The open descriptor when the calling thread owns the port, else -1.
    int OwnedFd() const;
    int OpenDevice();
    bool ResolveDevice(QString &device);
    QString SimulatorDevice();
    QString OwnSimulatorDevice(); // on the port's thread
    void StopSimulator();
    void ReleaseDevice();
    void CloseDevice();
    void FailOpen(bool silent, int error);
    void ApplyLine(const TLineSettings &line);
    static bool WaitReadable(int fd, int ms);
    enum class TRoom { kReady, kTimedOut, kCancelled, kGone };
    // Waits until the device takes more, the deadline (Ticks) or a cancel.
    TRoom WaitWritable(int fd, qint64 deadline) const;
    qint64 WriteTimeout() const;
    int ReadOne(int fd, char &byte);
    qint64 Ticks() const;
    void Consumed(int count);
    // Runs the delivered event unless the port was closed, taken by a
    // transfer or given another device after the event thread saw it.
    void DeliverEvent(std::uint32_t mask, unsigned device);
    bool BeginDelivery(unsigned device);
    void EndDelivery();

    std::unique_ptr<TMcuComTask> m_task;
    std::unique_ptr<TSimulatedModule> m_simulator; // the port's thread's alone
    QString m_debugDevice; // under m_lock
    QString m_openDetail; // why the last open failed, when the system's error does not say
    QString m_openError; // guarded by m_lock
    TComTimeouts m_timeouts = kNormalTimeouts; // the owner's alone
    int m_writeTimeoutMs = kWriteTimeoutMs;
    std::atomic<bool> m_writeStalled{false};
    std::atomic<bool> m_writesCancelled{false};
    static_assert(std::atomic<bool>::is_always_lock_free);
    TTickSource m_ticks;
    std::atomic<quint64> m_bytesRead{0};

    mutable std::mutex m_lock;
    std::condition_variable m_handled; // an event handler on the port's thread returned
    int m_fd = -1;
    int m_requests = 0;
    QString m_comPort = QStringLiteral("COM1");
    TLineSettings m_line;
    std::optional<std::thread::id> m_poller; // the owner while Polling is on
    int m_deliveries = 0; // event handlers running on the port's thread
};

// The program's port, made and owned by the program's application object
// (TProgramPort); there must be one.
TMcuComPort &SerialPort();
