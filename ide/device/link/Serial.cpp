#include "Serial.h"

#include "ComTask.h"
#include "Errors.h"
#include "Globals.h"
#include "SimulatedModule.h"

#include <QCoreApplication>
#include <QFile>
#include <QScopeGuard>
#include <QThread>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <semaphore>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#include <utility>

namespace {

const char *const kOpenFailed = "Unable to open the serial interface!";
const char *const kOpenFailedDetail = "Please check, if any other application already uses the selected device.";
const char *const kNoPermission =
    "You have no permission to use this device: on Linux, add your user to the \"dialout\" group and log in again.";

// The system's reasons for a refused open, in the user's words.
struct TOpenReason {
    int error;
    const char *text;
};

const TOpenReason kOpenReasons[] = {
    {ENOENT, "there is no such device"}, {ENODEV, "there is no such device"},
    {ENXIO, "there is no such device"},  {EACCES, "permission denied"},
    {EPERM, "permission denied"},        {EBUSY, "it is in use by another program"},
    {ENOTTY, "it is no serial device"},
};

QString ReasonText(int error)
{
    for (const TOpenReason &reason : kOpenReasons)
        if (reason.error == error)
            return QString::fromLatin1(reason.text);
    return SystemErrorText(error);
}

// A Unix 98 pseudo-terminal's terminal side (major numbers 136 to 143).
bool IsPseudoTerminal(int fd)
{
    struct stat st { };
    return ::fstat(fd, &st) == 0 && S_ISCHR(st.st_mode) && major(st.st_rdev) >= 136 && major(st.st_rdev) <= 143;
}

int QueueCount(int fd, unsigned long request)
{
    int count = 0;
    if (fd < 0 || ::ioctl(fd, request, &count) != 0)
        return 0;
    return count;
}

} // namespace

TMcuComPort::TMcuComPort(QObject *owner)
    : QObject(owner)
    , m_task(std::make_unique<TMcuComTask>(this))
{
}

TMcuComPort::~TMcuComPort()
{
    ReleaseDevice();
    m_task.reset();
    m_simulator.reset();
}

// ---------------------------------------------------------------------------
// The owner

bool TMcuComPort::OwnedByCaller() const
{
    if (m_poller)
        return *m_poller == std::this_thread::get_id();
    return QThread::currentThread() == thread();
}

int TMcuComPort::OwnedFd() const
{
    const std::lock_guard lock(m_lock);
    return OwnedByCaller() ? m_fd : -1;
}

bool TMcuComPort::Open() const
{
    const std::lock_guard lock(m_lock);
    return m_fd >= 0;
}

int TMcuComPort::Requests() const
{
    const std::lock_guard lock(m_lock);
    return m_requests;
}

QString TMcuComPort::ComPort() const
{
    const std::lock_guard lock(m_lock);
    return m_comPort;
}

TLineSettings TMcuComPort::Line() const
{
    const std::lock_guard lock(m_lock);
    return m_line;
}

bool TMcuComPort::Polling() const
{
    const std::lock_guard lock(m_lock);
    return m_poller.has_value();
}

// Taking the port waits for an event handler running on the port's thread,
// unless the port's thread takes it itself (from a handler, perhaps).
void TMcuComPort::SetPolling(bool value)
{
    std::unique_lock lock(m_lock);
    if (value) {
        if (QThread::currentThread() != thread())
            m_handled.wait(lock, [this] { return m_deliveries == 0; });
        if (m_poller)
            return; // the caller's already, or another thread's
        m_poller = std::this_thread::get_id();
        m_task->Suspend();
    } else if (m_poller == std::this_thread::get_id()) {
        m_poller.reset();
        m_task->Resume();
    }
}

// ---------------------------------------------------------------------------
// Opening and closing

bool TMcuComPort::OpenPort(bool Silent)
{
    {
        const std::lock_guard lock(m_lock);
        if (!OwnedByCaller())
            return false;
        ++m_requests;
        if (m_fd >= 0)
            return true;
    }
    const int fd = OpenDevice();
    if (fd < 0) {
        FailOpen(Silent, errno);
        return false;
    }
    if (!SetupPort()) {
        const int error = errno;
        CloseDevice();
        FailOpen(Silent, error);
        return false;
    }
    m_writeStalled = false; // a device that has not refused anything yet
    {
        const std::lock_guard lock(m_lock);
        m_openError.clear();
    }
    m_task->SetDevice(fd);
    m_task->Resume();
    return true;
}

// Opens the device for reading and writing, not as the controlling terminal,
// and for this process alone: TIOCEXCL keeps other programs out (root is not
// kept out by it), the lock keeps out every program that locks too.
int TMcuComPort::OpenDevice()
{
    QString device;
    if (!ResolveDevice(device))
        return -1;
    const QByteArray path = QFile::encodeName(device);
    const int fd = ::open(path.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return -1;
    if (!::isatty(fd)) {
        ::close(fd);
        errno = ENOTTY;
        return -1;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        errno = EBUSY;
        return -1;
    }
    ::ioctl(fd, TIOCEXCL);
    const std::lock_guard lock(m_lock);
    m_fd = fd;
    return fd;
}

// The device the port name stands for: a serial device, or the
// pseudo-terminal of the simulated module, started when it is not running.
bool TMcuComPort::ResolveDevice(QString &device)
{
    m_openDetail.clear();
    const QString name = ComPort();
    if (!TSimulatedModule::IsChosen(name)) {
        device = LineSettings::DevicePath(name);
        return true;
    }
    {
        const std::lock_guard lock(m_lock);
        device = m_debugDevice;
    }
    if (device.isEmpty())
        device = SimulatorDevice();
    if (!device.isEmpty())
        return true;
    errno = ENODEV;
    return false;
}

void TMcuComPort::SetDebugDevice(const QString &path)
{
    const std::lock_guard lock(m_lock);
    m_debugDevice = path;
}

// The simulator lives on the port's thread (the user-interface thread),
// which outlives a transfer thread that opens the port. The transfer thread
// posts the call while holding m_lock, which the call takes first, and waits
// for a semaphore released when Qt lets go of the call, run or dropped with
// the port: both hand-overs are seen by ThreadSanitizer, which sees neither
// Qt's event queue nor a blocking queued connection's wait.
QString TMcuComPort::SimulatorDevice()
{
    if (QThread::currentThread() == thread())
        return OwnSimulatorDevice();
    QString device;
    std::binary_semaphore done(0);
    std::shared_ptr<void> released(nullptr, [&done](void *) { done.release(); });
    {
        const std::lock_guard lock(m_lock);
        QMetaObject::invokeMethod(
            this,
            [this, &device, released] {
                {
                    const std::lock_guard posted(m_lock);
                }
                device = OwnSimulatorDevice();
            },
            Qt::QueuedConnection);
    }
    released.reset();
    done.acquire();
    return device;
}

QString TMcuComPort::OwnSimulatorDevice()
{
    if (m_simulator && m_simulator->Running())
        return m_simulator->DevicePath();
    m_simulator = std::make_unique<TSimulatedModule>(ProgramDir);
    QString error;
    if (!m_simulator->Start(&error))
        m_openDetail = error;
    return m_simulator->DevicePath();
}

void TMcuComPort::StopSimulator()
{
    if (QThread::currentThread() == thread() && m_simulator)
        m_simulator->Stop();
}

// The event thread lets go of the device before it is closed.
void TMcuComPort::ReleaseDevice()
{
    if (!Open())
        return;
    m_task->Suspend();
    m_task->SetDevice(-1);
    CloseDevice();
}

void TMcuComPort::CloseDevice()
{
    int fd = -1;
    {
        const std::lock_guard lock(m_lock);
        fd = std::exchange(m_fd, -1);
    }
    if (fd >= 0)
        ::close(fd);
}

QString TMcuComPort::OpenFailedReason(const QString &device, int error)
{
    QString reason = QStringLiteral("%1: %2.").arg(device, ReasonText(error));
    if (error == EACCES || error == EPERM)
        reason += ' ' + QString::fromLatin1(kNoPermission);
    return reason;
}

QString TMcuComPort::OpenError() const
{
    const std::lock_guard lock(m_lock);
    return m_openError;
}

// The simulated module's own reason (velsim missing, no answer) stands for
// the system's.
void TMcuComPort::FailOpen(bool silent, int error)
{
    const QString name = ComPort();
    const bool simulated = TSimulatedModule::IsChosen(name);
    const QString device = simulated ? name : LineSettings::DevicePath(name);
    const QString reason = m_openDetail.isEmpty() ? OpenFailedReason(device, error) : device + ": " + m_openDetail;
    {
        const std::lock_guard lock(m_lock);
        m_openError = reason;
    }
    if (!silent && OnWarning)
        OnWarning(QString::fromLatin1(kOpenFailed), QString::fromLatin1(kOpenFailedDetail) + '\n' + reason);
}

bool TMcuComPort::ClosePort()
{
    {
        const std::lock_guard lock(m_lock);
        if (!OwnedByCaller())
            return false;
        if (m_requests > 0)
            --m_requests;
        if (m_requests != 0)
            return false;
    }
    ReleaseDevice();
    StopSimulator();
    return true;
}

bool TMcuComPort::SetupPort()
{
    const int fd = OwnedFd();
    if (fd < 0)
        return false;
    termios t{};
    if (::tcgetattr(fd, &t) != 0 || !LineSettings::BuildTermios(t, Line()))
        return false;
    if (::tcsetattr(fd, TCSANOW, &t) != 0) {
        // A pseudo-terminal has no character framing: it refuses data bits
        // other than 8 and parity, and takes the rest.
        if (!IsPseudoTerminal(fd))
            return false;
        t.c_cflag = (t.c_cflag & ~(CSIZE | PARENB)) | CS8;
        if (::tcsetattr(fd, TCSANOW, &t) != 0)
            return false;
    }
    // DTR and RTS held on; a pseudo-terminal has no modem lines and refuses.
    int lines = TIOCM_DTR | TIOCM_RTS;
    ::ioctl(fd, TIOCMBIS, &lines);
    m_timeouts = kNormalTimeouts;
    return true;
}

// ---------------------------------------------------------------------------
// Line settings

void TMcuComPort::SetComPort(const QString &value)
{
    int count = 0;
    {
        const std::lock_guard lock(m_lock);
        if (!OwnedByCaller() || value == m_comPort)
            return;
        m_comPort = value;
        count = std::exchange(m_requests, 0);
    }
    if (count <= 0) {
        StopSimulator(); // one a transfer left running
        return;
    }
    ClosePort();
    OpenPort(false);
    const std::lock_guard lock(m_lock);
    m_requests = count;
}

void TMcuComPort::ApplyLine(const TLineSettings &line)
{
    {
        const std::lock_guard lock(m_lock);
        if (!OwnedByCaller() || line == m_line)
            return;
        m_line = line;
    }
    SetupPort(); // refused settings leave the port open as the platform keeps it
}

void TMcuComPort::SetBaudrate(TBaudrate value)
{
    TLineSettings line = Line();
    line.Baudrate = value;
    ApplyLine(line);
}

void TMcuComPort::SetDatabits(TDataBits value)
{
    TLineSettings line = Line();
    line.Databits = value;
    ApplyLine(line);
}

void TMcuComPort::SetStopBits(TStopBits value)
{
    TLineSettings line = Line();
    line.StopBits = value;
    ApplyLine(line);
}

void TMcuComPort::SetParity(TParity value)
{
    TLineSettings line = Line();
    line.Parity = value;
    ApplyLine(line);
}

void TMcuComPort::SetLineSettings(std::uint32_t value)
{
    ApplyLine(TLineSettings::Unpack(value));
}

// ---------------------------------------------------------------------------
// Reading and writing

int TMcuComPort::WriteBuffer(const char *buffer, quint16 Count)
{
    const int fd = OwnedFd();
    if (fd < 0)
        return 0;
    int written = 0;
    TRoom room = TRoom::kReady;
    qint64 deadline = m_writeStalled ? Ticks() : Ticks() + WriteTimeout();
    while (written < Count && room == TRoom::kReady) {
        const ssize_t n = ::write(fd, buffer + written, Count - written);
        if (n > 0) {
            written += int(n);
            deadline = Ticks() + WriteTimeout(); // the device takes data
        } else if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
            room = WaitWritable(fd, deadline); // the driver's queue is full
        } else {
            room = TRoom::kGone;
        }
    }
    if (written == Count)
        m_writeStalled = false;
    else if (room == TRoom::kTimedOut)
        m_writeStalled = true;
    return written;
}

// Polls in short slices, so a cancel from a signal handler that runs just
// before the poll is seen within one slice; a signal never restarts the
// whole wait.
TMcuComPort::TRoom TMcuComPort::WaitWritable(int fd, qint64 deadline) const
{
    for (;;) {
        if (m_writesCancelled)
            return TRoom::kCancelled;
        const qint64 left = deadline - Ticks();
        if (left <= 0)
            return TRoom::kTimedOut;
        pollfd p = {fd, POLLOUT, 0};
        const int ready = ::poll(&p, 1, int(std::min<qint64>(left, kWriteSliceMs)));
        if (ready < 0 && errno != EINTR)
            return TRoom::kGone;
        if (ready > 0)
            return p.revents & (POLLHUP | POLLERR | POLLNVAL) ? TRoom::kGone : TRoom::kReady;
    }
}

qint64 TMcuComPort::WriteTimeout() const
{
    const qint64 stallBytesMs = qint64(kStallBytes) * 10 * 1000 / LineSettings::BitsPerSecond(Line().Baudrate);
    return std::max<qint64>(m_writeTimeoutMs, stallBytesMs);
}

void TMcuComPort::SetWriteTimeout(int ms)
{
    m_writeTimeoutMs = ms;
}

bool TMcuComPort::WriteStalled() const
{
    return m_writeStalled;
}

QString TMcuComPort::WriteStalledText() const
{
    return QObject::tr("The device %1 does not take data.").arg(LineSettings::DevicePath(ComPort()));
}

void TMcuComPort::CancelWrites()
{
    m_writesCancelled = true;
}

bool TMcuComPort::WriteString(const QByteArray &Text)
{
    int written = 0;
    while (written < Text.size()) {
        const quint16 count = quint16(std::min<qsizetype>(Text.size() - written, 0xFFFF));
        const int n = WriteBuffer(Text.constData() + written, count);
        written += n;
        if (n < count)
            break;
    }
    return written == Text.size();
}

bool TMcuComPort::WaitReadable(int fd, int ms)
{
    pollfd p = {fd, POLLIN, 0};
    return ::poll(&p, 1, std::max(ms, 0)) > 0;
}

int TMcuComPort::ReadBuffer(char *buffer, quint16 Count)
{
    const int fd = OwnedFd();
    if (fd < 0 || Count == 0)
        return 0;
    const qint64 deadline = Ticks() + m_timeouts.readTotalConstant + qint64(m_timeouts.readTotalMultiplier) * Count;
    int got = 0;
    for (;;) {
        const ssize_t n = ::read(fd, buffer + got, Count - got);
        if (n > 0)
            got += int(n);
        else if (n == 0 || (errno != EAGAIN && errno != EINTR))
            break; // hung up or gone
        if (got == Count)
            break;
        const qint64 left = deadline - Ticks();
        if (left <= 0)
            break;
        const int wait = got > 0 ? int(std::min<qint64>(left, m_timeouts.readInterval)) : int(left);
        if (!WaitReadable(fd, wait))
            break;
    }
    Consumed(got);
    return got;
}

void TMcuComPort::Consumed(int count)
{
    if (count <= 0)
        return;
    m_bytesRead += count;
    m_task->InputConsumed();
}

// One byte if one is there: 1 when read, 0 when none is waiting, -1 when the
// device cannot be read any more (hung up).
int TMcuComPort::ReadOne(int fd, char &byte)
{
    const ssize_t n = ::read(fd, &byte, 1);
    if (n == 1) {
        Consumed(1);
        return 1;
    }
    return n < 0 && (errno == EAGAIN || errno == EINTR) ? 0 : -1;
}

bool TMcuComPort::WaitForChar(quint8 Value, int Timeout)
{
    const int fd = OwnedFd();
    if (fd < 0)
        return false;
    m_timeouts = kShortTimeouts;
    const qint64 end = Ticks() + Timeout;
    bool result = false;
    for (qint64 now = Ticks(); now < end; now = Ticks()) {
        char byte = 0;
        if (!WaitReadable(fd, int(std::min<qint64>(end - now, INT32_MAX))))
            continue;
        const int n = ReadOne(fd, byte);
        if (n < 0)
            break;
        if (n == 1) {
            result = quint8(byte) == Value;
            break;
        }
    }
    m_timeouts = kNormalTimeouts;
    return result;
}

bool TMcuComPort::WaitForString(const QByteArray &Text, int Timeout)
{
    const int fd = OwnedFd();
    if (fd < 0)
        return false;
    m_timeouts = kShortTimeouts;
    const qint64 end = Ticks() + Timeout;
    QByteArray window;
    bool result = false;
    for (qint64 now = Ticks(); now < end && !result; now = Ticks()) {
        char byte = 0;
        if (!WaitReadable(fd, int(std::min<qint64>(end - now, INT32_MAX))))
            continue;
        const int n = ReadOne(fd, byte);
        if (n < 0)
            break;
        if (n == 0)
            continue;
        window.append(byte);
        if (window.size() > Text.size())
            window.remove(0, 1);
        result = window == Text;
    }
    m_timeouts = kNormalTimeouts;
    return result;
}

void TMcuComPort::Drain()
{
    const int fd = OwnedFd();
    if (fd >= 0)
        ::tcdrain(fd);
}

int TMcuComPort::RxBufferCount() const
{
    return QueueCount(OwnedFd(), TIOCINQ);
}

int TMcuComPort::TxBufferCount() const
{
    return QueueCount(OwnedFd(), TIOCOUTQ);
}

int TMcuComPort::TxBufferFree() const
{
    return OwnedFd() >= 0 ? std::max(0, kQueueSize - TxBufferCount()) : 0;
}

// ---------------------------------------------------------------------------
// Polling and events

bool TMcuComPort::EventThreadRunning() const
{
    return m_task->Running();
}

bool TMcuComPort::DeviceGone() const
{
    return m_task->DeviceGone();
}

int TMcuComPort::EventsSeen() const
{
    return m_task->EventCount();
}

void TMcuComPort::SetTickSource(TTickSource source)
{
    m_ticks = std::move(source);
}

qint64 TMcuComPort::Ticks() const
{
    if (m_ticks)
        return m_ticks();
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void TMcuComPort::DeliverEvent(std::uint32_t mask, unsigned device)
{
    if (!BeginDelivery(device))
        return;
    const auto delivered = qScopeGuard([this] { EndDelivery(); });
    const quint64 before = m_bytesRead;
    HandleEvents(mask);
    if ((mask & evRxChar) && m_bytesRead == before)
        m_task->ParkInput();
}

// A transfer that takes the port from now on waits until EndDelivery.
bool TMcuComPort::BeginDelivery(unsigned device)
{
    const std::lock_guard lock(m_lock);
    if (m_fd < 0 || m_poller || !m_task->Running() || !m_task->IsCurrent(device))
        return false; // closed, taken by a transfer or another device after the event was seen
    ++m_deliveries;
    return true;
}

void TMcuComPort::EndDelivery()
{
    {
        const std::lock_guard lock(m_lock);
        --m_deliveries;
    }
    m_handled.notify_all();
}

void TMcuComPort::HandleEvents(std::uint32_t mask)
{
    if (mask & evRxChar)
        DoReceive();
    else if (mask & evTxEmpty)
        DoTransmit();
    else if (mask & evErr)
        DoError();
    else if (mask & evCts)
        DoCTSChanged();
    else if (mask & evDsr)
        DoDSRChanged();
}

// Line errors need no clearing on this platform: the driver reports none
// that would stop reading or writing.
void TMcuComPort::DoReceive()
{
    if (OnReceive)
        OnReceive(this, quint16(std::min(RxBufferCount(), 0xFFFF)));
}

void TMcuComPort::DoTransmit()
{
    if (OnTransmit)
        OnTransmit(this);
}

void TMcuComPort::DoError()
{
    if (OnError)
        OnError(this);
}

void TMcuComPort::DoCTSChanged()
{
    if (OnCTSChanged)
        OnCTSChanged(this);
}

void TMcuComPort::DoDSRChanged()
{
    if (OnDSRChanged)
        OnDSRChanged(this);
}
