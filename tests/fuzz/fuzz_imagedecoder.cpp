// The simulated module's image decoder on any bytes as a program image:
// split into line records and every statement decoded.
#include "Fuzz.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    velsim::FuzzImageDecoder(data, size);
    return 0;
}
