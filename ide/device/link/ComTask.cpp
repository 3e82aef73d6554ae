#include "ComTask.h"

#include "Serial.h"

#include <QMetaObject>
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

TMcuComTask::TMcuComTask(TMcuComPort *port)
    : m_port(port)
{
    if (::pipe2(m_wake, O_CLOEXEC | O_NONBLOCK) != 0)
        m_wake[0] = m_wake[1] = -1;
    m_thread = std::thread([this] { Execute(); });
}

TMcuComTask::~TMcuComTask()
{
    {
        const std::lock_guard lock(m_handOffLock);
        m_terminated = true;
        if (m_pending)
            m_pending->release();
    }
    Wake();
    m_thread.join();
    for (int fd : m_wake)
        if (fd >= 0)
            ::close(fd);
}

void TMcuComTask::Suspend()
{
    ++m_suspensions;
    Wake();
}

void TMcuComTask::Resume()
{
    --m_suspensions;
    Wake();
}

void TMcuComTask::SetDevice(int fd)
{
    m_fd = fd;
    m_inputParked = false;
    ++m_device;
    Wake();
}

void TMcuComTask::ParkInput()
{
    m_inputParked = true;
}

void TMcuComTask::InputConsumed()
{
    if (m_inputParked.exchange(false))
        Wake();
}

void TMcuComTask::Wake()
{
    const char byte = 1;
    // A full pipe already wakes the thread.
    [[maybe_unused]] const ssize_t written = ::write(m_wake[1], &byte, 1);
}

void TMcuComTask::DrainWakeups()
{
    char buffer[64];
    while (::read(m_wake[0], buffer, sizeof buffer) > 0) { }
}

void TMcuComTask::Execute()
{
    while (!m_terminated) {
        const unsigned device = m_device.load();
        const std::uint32_t mask = WaitForEvent(device);
        if (mask) {
            m_eventMask = mask;
            ++m_eventCount;
            HandOff(mask, device);
        }
    }
}

// Blocks until the device reports something or the pipe wakes the thread;
// 0 when woken (the caller looks at the flags again).
std::uint32_t TMcuComTask::WaitForEvent(unsigned device)
{
    const bool watch = m_suspensions.load() == 0 && m_goneDevice.load() != device;
    const int fd = watch ? m_fd.load() : -1;
    // A parked device is still watched for a hang-up, which poll() always reports.
    pollfd fds[2] = {{m_wake[0], POLLIN, 0}, {fd, short(m_inputParked ? 0 : POLLIN), 0}};
    if (::poll(fds, 2, -1) < 0)
        return 0; // EINTR; nothing else can fail on two valid entries
    if (fds[0].revents) {
        // A change of the device, the suspensions or a stop: the pipe is
        // written before the device is closed, so a stale device number is
        // never acted on.
        DrainWakeups();
        return 0;
    }
    if (fds[1].revents & POLLIN)
        return evRxChar;
    if (fds[1].revents & (POLLHUP | POLLERR | POLLNVAL)) {
        m_goneDevice = device;
        return evErr;
    }
    return 0;
}

// The synchronised call: the event runs on the port's thread while this one
// waits for it to finish. Stopping releases the wait, and a port destroyed
// before the call ran drops the call with its other pending events.
void TMcuComTask::HandOff(std::uint32_t mask, unsigned device)
{
    auto done = std::make_shared<std::counting_semaphore<>>(0);
    {
        const std::lock_guard lock(m_handOffLock);
        if (m_terminated)
            return;
        m_pending = done;
        TMcuComPort *port = m_port;
        // The call takes the lock this thread posts it under, so that
        // ThreadSanitizer sees the hand-over it cannot see in Qt's queue.
        QMetaObject::invokeMethod(
            port,
            [this, port, mask, device, done] {
                {
                    const std::lock_guard posted(m_handOffLock);
                }
                port->DeliverEvent(mask, device);
                done->release();
            },
            Qt::QueuedConnection);
    }
    done->acquire();
    const std::lock_guard lock(m_handOffLock);
    m_pending.reset();
}
