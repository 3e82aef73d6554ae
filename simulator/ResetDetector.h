// Watches the received bytes for the reset command 01 30 81 1B, which stops
// whatever the module does and enters its loader.
#pragma once

#include <cstddef>
#include <cstdint>

namespace velsim {

class CResetDetector {
public:
    // True when this byte completed the reset command.
    bool Take(uint8_t byte);
    void Clear()
    {
        m_matched = 0;
    }

private:
    size_t m_matched = 0; // bytes of the command seen so far
};

} // namespace velsim
