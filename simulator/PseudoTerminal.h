// The module's end of a pseudo-terminal: the workbench (or any terminal
// program) opens the device path as it would open a serial port.
//
// The simulator keeps one descriptor of the device side open itself, in
// raw mode: the line settings stay raw whatever the other side does between
// its sessions, and the line never hangs up. Who else has the device open
// is learnt from inotify's open and close events on the device path; with
// nobody there, nothing the module sends is kept.
#pragma once

#include "LineDevice.h"

#include <string>

namespace velsim {

class CPseudoTerminal : public CLineDevice {
public:
    CPseudoTerminal() = default;
    ~CPseudoTerminal() override;
    CPseudoTerminal(const CPseudoTerminal &) = delete;
    CPseudoTerminal &operator=(const CPseudoTerminal &) = delete;

    // Creates the pseudo-terminal; false with the reason in `error`.
    bool Open(std::string &error);
    const std::string &Path() const
    {
        return m_path;
    }

    int InputFd() const override
    {
        return m_master;
    }
    int OutputFd() const override
    {
        return m_master;
    }
    int EventFd() const override
    {
        return m_notify;
    }
    void HandleEvent() override;
    // A line: what arrives while the receive buffer is full is lost.
    bool HoldsInput() const override
    {
        return false;
    }
    bool Listening() const override;
    bool Gone() const override
    {
        return m_everOpened && m_peers == 0;
    }
    void DiscardUnread() override;

private:
    int m_master = -1;
    int m_keeper = -1; // the simulator's own descriptor of the device side
    int m_notify = -1; // inotify, watching the device path; -1 if unavailable
    int m_peers = 0; // descriptors of the device opened by others
    bool m_everOpened = false;
    std::string m_path;
};

} // namespace velsim
