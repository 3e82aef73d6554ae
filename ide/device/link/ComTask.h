#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <semaphore>
#include <thread>

class TMcuComPort;

// The serial port's event thread. It blocks in poll() on the device and on a
// wake-up pipe, and hands each line event to the port's own thread with a
// blocking call. Everything the port's thread asks of it (suspend, resume, a
// new device, stop) is a flag plus a byte into the pipe: the port's thread
// never waits for this thread, which may itself be waiting in a hand-off.
// Suspensions are counted: the thread waits for events only while every
// suspension (its creation, Polling on, the final close) has been matched by
// a resumption.
class TMcuComTask {
public:
    explicit TMcuComTask(TMcuComPort *port);
    ~TMcuComTask(); // stops the thread and joins it

    void Suspend();
    void Resume();
    bool Running() const
    {
        return m_suspensions.load() == 0;
    }
    // The device to watch from now on, -1 for none.
    void SetDevice(int fd);
    // The device reported a hang-up or an error; it is no longer watched
    // until a device is set again.
    bool DeviceGone() const
    {
        return m_goneDevice.load() == m_device.load();
    }
    // Each device set is numbered; an event carries the number of the device
    // it came from, so that one still queued when the device changed is
    // dropped instead of acting on its successor.
    bool IsCurrent(unsigned device) const
    {
        return device == m_device.load();
    }
    // Input was reported and nobody read it: input is not watched again until
    // something reads (poll() would report the same bytes without end).
    void ParkInput();
    void InputConsumed();
    // The mask of the last event handed over.
    std::uint32_t EventMask() const
    {
        return m_eventMask.load();
    }
    // How many events were handed over so far.
    int EventCount() const
    {
        return m_eventCount.load();
    }

private:
    void Execute();
    std::uint32_t WaitForEvent(unsigned device);
    void HandOff(std::uint32_t mask, unsigned device);
    void Wake();
    void DrainWakeups();

    TMcuComPort *m_port;
    std::atomic<int> m_suspensions{1};
    std::atomic<int> m_fd{-1};
    std::atomic<unsigned> m_device{0};
    std::atomic<unsigned> m_goneDevice{~0u};
    std::atomic<bool> m_inputParked{false};
    std::atomic<bool> m_terminated{false};
    std::atomic<std::uint32_t> m_eventMask{0};
    std::atomic<int> m_eventCount{0};
    int m_wake[2] = {-1, -1};
    // The hand-off in progress, so that stopping can release it.
    std::mutex m_handOffLock;
    std::shared_ptr<std::counting_semaphore<>> m_pending;
    std::thread m_thread;
};
