// Everything of the module besides its program and its serial line: the
// clock, the virtual hardware, the display and the file store, and where
// changes of them are reported.
#pragma once

#include "ModuleClock.h"
#include "Trace.h"
#include "VirtualDisplay.h"
#include "VirtualFiles.h"
#include "VirtualHardware.h"

namespace velsim {

struct CMachine {
    CMachine()
        : m_hardware(m_trace, m_clock)
        , m_display(m_trace)
        , m_files(m_trace)
    {
    }

    // A program starts: the hardware and the display start over; the clock's
    // time, the EEPROM and the files stay.
    void Restart()
    {
        m_clock.Restart();
        m_hardware.Reset();
        m_display.Reset();
        m_files.CloseAll();
    }

    CTrace m_trace;
    CModuleClock m_clock;
    CVirtualHardware m_hardware;
    CVirtualDisplay m_display;
    CVirtualFiles m_files;
};

} // namespace velsim
