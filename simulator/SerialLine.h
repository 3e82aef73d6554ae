// The module's serial line: received bytes wait in a bounded input buffer,
// bytes to send in a bounded output buffer. On a line (a pseudo-terminal),
// bytes that arrive while the input buffer is full are lost, as on a module;
// from a file or a pipe, input is read only as the buffer has room, so none
// is lost. Every wait of the module blocks
// in poll() here, on the line, the wake-up descriptor of the signal handler
// and the device's own event descriptor, so a reset command is seen in
// every state.
//
// Output: while someone listens and the output buffer is full, Write()
// blocks on the line (the program waits, as on a line with flow control);
// while nobody listens, output is dropped.
#pragma once

#include "LineDevice.h"
#include "ResetDetector.h"

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>

namespace velsim {

class CSerialLine {
public:
    static constexpr size_t kInputLimit = 4096; // on a line, bytes beyond it are lost
    static constexpr size_t kOutputLimit = 4096;
    static constexpr size_t kReadChunk = 4096;
    static constexpr size_t kWriteChunk = 512;

    explicit CSerialLine(CLineDevice &device);

    // The read end of the pipe the signal handlers write to; readable means
    // "stop".
    void SetWakeFd(int fd)
    {
        m_wakeFd = fd;
    }

    // Received bytes.
    size_t Available() const
    {
        return m_input.size();
    }
    int Peek() const
    {
        return m_input.empty() ? -1 : m_input.front();
    }
    int Read();
    void DiscardInput()
    {
        m_input.clear();
    }
    bool InputClosed() const
    {
        return m_inputClosed;
    }

    // Bytes to send. Returns false when the wait for room was cut short by a
    // reset or a stop request.
    bool Write(std::string_view bytes);
    // Waits until everything has been sent (or cannot be); false when cut
    // short.
    bool Drain();
    void DiscardOutput()
    {
        m_output.clear();
    }

    // One wait: blocks in poll() for at most `timeoutMs` (-1: until
    // something happens), then reads, writes and handles what is ready.
    void Pump(int timeoutMs);

    bool ResetRequested() const
    {
        return m_reset;
    }
    void ClearReset()
    {
        m_reset = false;
    }
    bool QuitRequested() const
    {
        return m_quit;
    }
    void RequestQuit()
    {
        m_quit = true;
    }
    bool Interrupted() const
    {
        return m_reset || m_quit;
    }
    bool Listening() const
    {
        return m_device.Listening() && !m_outputClosed;
    }
    bool PeerGone() const
    {
        return m_device.Gone();
    }
    // With this set, the other side going away (or no longer taking what is
    // sent) counts as a stop request.
    void SetQuitWhenGone(bool on)
    {
        m_quitWhenGone = on;
    }

private:
    // How many bytes the next read may take.
    size_t InputRoom() const;
    void Receive();
    void Send();
    void Take(const uint8_t *bytes, size_t count);

    CLineDevice &m_device;
    int m_wakeFd = -1;
    CResetDetector m_detector;
    std::deque<uint8_t> m_input;
    std::string m_output;
    bool m_inputClosed = false;
    bool m_outputClosed = false;
    bool m_reset = false;
    bool m_quit = false;
    bool m_wasListening = true;
    bool m_quitWhenGone = false;
};

} // namespace velsim
