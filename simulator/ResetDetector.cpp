#include "ResetDetector.h"

#include "ModuleMessages.h"

namespace velsim {

namespace {

constexpr size_t kResetLength = sizeof kResetCommand - 1;

uint8_t CommandByte(size_t i)
{
    return static_cast<uint8_t>(kResetCommand[i]);
}

} // namespace

bool CResetDetector::Take(uint8_t byte)
{
    // No proper prefix of the command is also a suffix of it, so a mismatch
    // restarts the match, with this byte as its possible first byte.
    if (byte == CommandByte(m_matched)) {
        if (++m_matched < kResetLength)
            return false;
        m_matched = 0;
        return true;
    }
    m_matched = byte == CommandByte(0) ? 1 : 0;
    return false;
}

} // namespace velsim
