#pragma once

#include <QString>
#include <termios.h>

// Keeps the terminal settings a serial device had when velload found it and
// puts them back when velload is done with it (also after Ctrl+C, which ends
// the run normally): the download leaves the user's line settings on the
// device, which are not what another program on it expects.
class TTerminalKeeper {
public:
    // Reads the device's settings; does nothing for what is no terminal.
    explicit TTerminalKeeper(const QString &devicePath);
    ~TTerminalKeeper();
    // Why the device could not be opened and read (an errno), 0 when it could.
    int OpenError() const
    {
        return m_openError;
    }
    TTerminalKeeper(const TTerminalKeeper &) = delete;
    TTerminalKeeper &operator=(const TTerminalKeeper &) = delete;

private:
    int m_fd = -1;
    int m_openError = 0;
    termios m_found{};
};
