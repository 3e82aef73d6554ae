#include "SerialLine.h"

#include <algorithm>
#include <cerrno>

#include <poll.h>
#include <unistd.h>

namespace velsim {

CSerialLine::CSerialLine(CLineDevice &device)
    : m_device(device)
{
}

int CSerialLine::Read()
{
    if (m_input.empty())
        return -1;
    const int byte = m_input.front();
    m_input.pop_front();
    return byte;
}

bool CSerialLine::Write(std::string_view bytes)
{
    while (!bytes.empty()) {
        if (!Listening()) {
            m_output.clear();
            return !Interrupted();
        }
        const size_t room = kOutputLimit - std::min(kOutputLimit, m_output.size());
        const size_t part = std::min(room, bytes.size());
        m_output.append(bytes.substr(0, part));
        bytes.remove_prefix(part);
        if (bytes.empty())
            break;
        Pump(-1);
        if (Interrupted())
            return false;
    }
    return !Interrupted();
}

bool CSerialLine::Drain()
{
    while (!m_output.empty() && Listening()) {
        Pump(-1);
        if (Interrupted())
            return false;
    }
    m_output.clear();
    return !Interrupted();
}

void CSerialLine::Pump(int timeoutMs)
{
    struct pollfd fds[4];
    nfds_t count = 0;
    const int inFd = m_inputClosed || InputRoom() == 0 ? -1 : m_device.InputFd();
    const int outFd = !m_output.empty() && Listening() ? m_device.OutputFd() : -1;
    int inSlot = -1;
    int outSlot = -1;
    if (inFd >= 0) {
        inSlot = static_cast<int>(count);
        fds[count++] = {inFd, POLLIN, 0};
    }
    if (outFd >= 0 && outFd == inFd) {
        fds[inSlot].events |= POLLOUT;
        outSlot = inSlot;
    } else if (outFd >= 0) {
        outSlot = static_cast<int>(count);
        fds[count++] = {outFd, POLLOUT, 0};
    }
    const int wakeSlot = m_wakeFd >= 0 ? static_cast<int>(count) : -1;
    if (wakeSlot >= 0)
        fds[count++] = {m_wakeFd, POLLIN, 0};
    const int eventSlot = m_device.EventFd() >= 0 ? static_cast<int>(count) : -1;
    if (eventSlot >= 0)
        fds[count++] = {m_device.EventFd(), POLLIN, 0};

    if (::poll(fds, count, timeoutMs) <= 0)
        return; // time-out, or a signal whose handler wrote to the wake-up pipe
    if (eventSlot >= 0 && fds[eventSlot].revents)
        m_device.HandleEvent();
    if (wakeSlot >= 0 && fds[wakeSlot].revents) {
        char drain[16];
        [[maybe_unused]] const ssize_t n = ::read(m_wakeFd, drain, sizeof drain);
        m_quit = true;
    }
    if (inSlot >= 0 && (fds[inSlot].revents & (POLLIN | POLLHUP | POLLERR)))
        Receive();
    if (outSlot >= 0 && (fds[outSlot].revents & (POLLOUT | POLLHUP | POLLERR)))
        Send();
    const bool listening = m_device.Listening();
    if (m_wasListening && !listening) {
        m_output.clear();
        m_device.DiscardUnread();
    }
    m_wasListening = listening;
    if (m_quitWhenGone && (m_device.Gone() || m_outputClosed))
        m_quit = true;
}

size_t CSerialLine::InputRoom() const
{
    if (!m_device.HoldsInput())
        return kReadChunk; // a line: read all that arrives, lose what does not fit
    return kInputLimit - std::min(kInputLimit, m_input.size());
}

void CSerialLine::Receive()
{
    uint8_t buffer[kReadChunk];
    const ssize_t n = ::read(m_device.InputFd(), buffer, std::min(sizeof buffer, InputRoom()));
    if (n > 0)
        Take(buffer, static_cast<size_t>(n));
    else if (n == 0 || (errno != EAGAIN && errno != EINTR))
        m_inputClosed = true; // end of input, or the line has failed: stop waiting on it
}

void CSerialLine::Take(const uint8_t *bytes, size_t count)
{
    for (size_t i = 0; i < count; ++i) {
        if (m_detector.Take(bytes[i])) {
            // Everything received before the command belonged to the program
            // that is stopped now; what follows it belongs to the loader.
            m_reset = true;
            m_input.clear();
            m_output.clear();
        } else if (m_input.size() < kInputLimit) {
            m_input.push_back(bytes[i]);
        }
    }
}

void CSerialLine::Send()
{
    const size_t part = std::min(m_output.size(), kWriteChunk);
    const ssize_t n = ::write(m_device.OutputFd(), m_output.data(), part);
    if (n > 0) {
        m_output.erase(0, static_cast<size_t>(n));
    } else if (n < 0 && errno != EAGAIN && errno != EINTR) {
        m_outputClosed = true; // nobody can receive any more
        m_output.clear();
    }
}

} // namespace velsim
