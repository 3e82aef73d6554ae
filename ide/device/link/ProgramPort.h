#pragma once

#include "Serial.h"

// The program's serial port, owned by the program's application object (the
// workbench's holds one as a member): made with it, returned by SerialPort()
// while it lives, and closed (ending a simulated module) when it ends.
// velload makes a port of its own instead.
class TProgramPort {
public:
    TProgramPort();
    ~TProgramPort();
    TProgramPort(const TProgramPort &) = delete;
    TProgramPort &operator=(const TProgramPort &) = delete;

    TMcuComPort &Port()
    {
        return m_port;
    }

private:
    TMcuComPort m_port;
    TMcuComPort *m_previous; // the port SerialPort() returned before this one
};
