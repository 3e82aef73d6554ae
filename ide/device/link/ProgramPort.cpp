#include "ProgramPort.h"

#include <QtGlobal>

namespace {

TMcuComPort *Current = nullptr;

} // namespace

TProgramPort::TProgramPort()
    : m_previous(Current)
{
    Current = &m_port;
}

TProgramPort::~TProgramPort()
{
    Current = m_previous;
}

TMcuComPort &SerialPort()
{
    if (!Current)
        qFatal("SerialPort(): the application object has made no port");
    return *Current;
}
