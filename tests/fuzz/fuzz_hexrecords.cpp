// The simulated module's loader on any bytes arriving on the serial line:
// HEX records recognised, acknowledged or rejected, and a completed image
// decoded.
#include "Fuzz.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    velsim::FuzzHexRecords(data, size);
    return 0;
}
