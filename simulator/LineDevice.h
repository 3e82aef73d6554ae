// The two ends of the serial line as file descriptors: standard input and
// output, a pseudo-terminal, or (in tests) any pair of descriptors.
#pragma once

namespace velsim {

class CLineDevice {
public:
    virtual ~CLineDevice() = default;
    virtual int InputFd() const = 0;
    virtual int OutputFd() const = 0;
    // A further descriptor to watch (-1 for none) and what to do when it is
    // readable: the pseudo-terminal learns there whether anyone listens.
    virtual int EventFd() const
    {
        return -1;
    }
    virtual void HandleEvent() { }
    // Whether someone is on the other end to receive what the module sends.
    virtual bool Listening() const
    {
        return true;
    }
    // Whether the other end was there and has gone.
    virtual bool Gone() const
    {
        return false;
    }
    // Drops what was sent but not yet received (the other end has gone).
    virtual void DiscardUnread() { }
    // Whether input waits on the device until the module has room for it (a
    // file or a pipe, which cannot lose data) instead of being lost when the
    // module's receive buffer is full (a real line).
    virtual bool HoldsInput() const
    {
        return true;
    }
};

// Input and output on two given descriptors, which the device does not own.
class CFdDevice : public CLineDevice {
public:
    CFdDevice(int inputFd, int outputFd)
        : m_input(inputFd)
        , m_output(outputFd)
    {
    }
    int InputFd() const override
    {
        return m_input;
    }
    int OutputFd() const override
    {
        return m_output;
    }

private:
    int m_input;
    int m_output;
};

} // namespace velsim
